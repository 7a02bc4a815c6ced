#pragma once

#include "presentation/VbLabel.h"

#include <QDialog>
#include <QPixmap>

class QLabel;

// One picture carrying the whole about text in the interface language, with the version mark
// and a red close mark drawn over it. Borderless; shown modally by the main window.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // uiLanguage: the main window's language index at opening (0 Arabic, 1 Kurdish);
    // ownRecordings: the folder where the user's own recordings take the shipped ones' place.
    explicit AboutWindow(int uiLanguage, const QString &ownRecordings = QString(),
                         QWidget *parent = nullptr);

    VbLabel *Label1; // the close mark "X"
    QLabel *Label2;  // the version mark
    QLabel *Label3;  // how to use one's own recordings
    QLabel *Label4;  // and the folder they go into
    QLabel *Image1[2];

    void Label1_MouseDown();
    void Label1_MouseUp();
    void Label1_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load(int uiLanguage);

    QPixmap m_background;
};
