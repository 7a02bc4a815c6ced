#include "mainwindow/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tirvelon"));
    MainWindow window;
    window.show();
    return app.exec();
}
