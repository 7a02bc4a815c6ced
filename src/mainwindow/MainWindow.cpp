#include "mainwindow/MainWindow.h"

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Tirvelon"));
    setFixedSize(491, 272);
}
