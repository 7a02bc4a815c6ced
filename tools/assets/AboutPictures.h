#pragma once

#include <QImage>
#include <QRect>
#include <QString>

// The about window's pictures: the about text in Arabic and in Kurdish on a framed cream page,
// and the window's own green background under them.
class AboutPictures
{
public:
    enum class Language { Arabic, Kurdish };

    // scriptFamily draws the Arabic-script text, latinFamily the program's name.
    AboutPictures(const QString &scriptFamily, const QString &latinFamily);

    // The page without any text; picture() draws the text onto a copy of it. scale 2 draws the
    // name@2x.png pictures, for screens at 125 % and more; the areas below are in 1x pixels.
    QImage page(int scale = 1) const;
    QImage picture(Language language, int scale = 1) const;
    static QImage windowBackground(int scale = 1);

    // Where the about window draws its own marks over the picture: nothing of ours goes there.
    static QRect closeMarkArea() { return QRect(344, 0, 28, 17); }
    static QRect versionMarkArea() { return QRect(312, 124, 33, 17); }
    // The window writes there how to use one's own recordings, with this computer's folder.
    static QRect ownRecordingsArea() { return QRect(20, 154, 332, 32); }

private:
    struct Texts
    {
        QString subtitle;
        QString body;
        QString version;
        QString cities;
        QString footer;
    };
    static Texts texts(Language language);

    QString m_scriptFamily;
    QString m_latinFamily;
};
