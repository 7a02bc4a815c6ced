#include "about/AboutWindow.h"

#include "presentation/Captions.h"
#include "presentation/Pictures.h"
#include "presentation/Twips.h"
#include "presentation/VbLabel.h"

#include <QDir>
#include <QLabel>
#include <QPainter>

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return Twips::rect(left, top, width, height);
}

void setFlat(QLabel *label)
{
    label->setFrameStyle(QFrame::NoFrame);
}

// Appearance 3-D with a single border: a thin sunken frame.
void setPressed(QLabel *label)
{
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLabel *ownRecordingsLabel(QWidget *window, const QRect &place, const QFont &font,
                           const QString &text)
{
    auto *label = new QLabel(text, window);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    label->setLayoutDirection(Qt::RightToLeft);
    label->setFont(font);
    setTextColour(label, QColor(0x22, 0x26, 0x20)); // the pictures' ink
    setFlat(label);
    return label;
}

} // namespace

AboutWindow::AboutWindow(int uiLanguage, const QString &ownRecordings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Form1"));
    resize(Twips::toPixels(5625), Twips::toPixels(3180));
    const qreal ratio = Pictures::screenRatio();
    m_background = Pictures::load(QStringLiteral(":/about_background.png"), ratio);

    // Created back to front: the Kurdish picture, the Arabic one, then the two marks.
    const char *pictures[2] = { ":/about_ar.png", ":/about_ku.png" };
    for (int i = 1; i >= 0; --i) {
        Image1[i] = new QLabel(this);
        Image1[i]->setGeometry(twipsRect(0, 0, 5580, 3135));
        Image1[i]->setScaledContents(true);
        Image1[i]->setAccessibleDescription(QStringLiteral("Image1(%1)").arg(i));
        const QPixmap picture = Pictures::load(QString::fromLatin1(pictures[i]), ratio);
        if (!picture.isNull())
            Image1[i]->setPixmap(picture);
        Image1[i]->setVisible(false);
    }

    Label1 = new VbLabel(this);
    Label1->setText(QStringLiteral("X"));
    Label1->setGeometry(twipsRect(5160, 0, 345, 255));
    Label1->setAlignment(Qt::AlignCenter);
    QFont closeFont(QStringLiteral("Microsoft Sans Serif"));
    closeFont.setPointSizeF(9);
    closeFont.setBold(true);
    Label1->setFont(closeFont);
    setTextColour(Label1, QColor(0xFF, 0x00, 0x00));
    setFlat(Label1);
    connect(Label1, &VbLabel::mousePressed, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            Label1_MouseDown();
    });
    connect(Label1, &VbLabel::mouseReleased, this, [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            Label1_MouseUp();
    });
    // A press and a release both on the mark; released elsewhere it only looks.
    connect(Label1, &VbLabel::clicked, this, [this] { Label1_Click(); });
    Label1->setAccessibleDescription(QStringLiteral("AboutWindow.Label1"));

    Label2 = new QLabel(QStringLiteral("V 6.0"), this);
    Label2->setGeometry(twipsRect(4680, 1860, 495, 255));
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setAccessibleDescription(QStringLiteral("AboutWindow.Label2"));
    setFlat(Label2);

    // Over the space the pictures leave for them: the sentence in the pictures' own face (the
    // bundled font), and the folder, which can be selected and copied.
    const int language = uiLanguage == 0 ? 0 : 1;
    QFont script;
    script.setFamilies(
            { QStringLiteral("Noto Naskh Arabic"), Captions::fontFaces().value(language) });
    script.setPixelSize(10);
    QFont latin(QStringLiteral("Arial"));
    latin.setPixelSize(10);
    Label3 = ownRecordingsLabel(this, QRect(20, 154, 332, 18), script,
                                Captions::aboutOwnRecordings(language));
    Label3->setAccessibleDescription(QStringLiteral("AboutWindow.Label3"));
    Label4 = ownRecordingsLabel(this, QRect(20, 172, 332, 14), latin,
                                QDir::toNativeSeparators(ownRecordings));
    Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label4->setAccessibleDescription(QStringLiteral("AboutWindow.Label4"));
    Label3->setVisible(!ownRecordings.isEmpty());
    Label4->setVisible(!ownRecordings.isEmpty());

    Form_Load(uiLanguage);
}

void AboutWindow::Form_Load(int uiLanguage)
{
    // Only 0 and 1 exist; any other index would name no picture, so it shows the Kurdish one,
    // as the program's other windows do.
    QLabel *picture = Image1[uiLanguage == 0 ? 0 : 1];
    picture->setVisible(true);
    setFixedHeight(picture->height());
    setFixedWidth(picture->width());
}

void AboutWindow::Label1_MouseDown()
{
    setPressed(Label1);
    setTextColour(Label1, QColor(0xFF, 0x00, 0x00));
}

void AboutWindow::Label1_MouseUp()
{
    setFlat(Label1);
    setTextColour(Label1, QColor(0xFF, 0x00, 0x00));
}

void AboutWindow::Label1_Click()
{
    close();
}

void AboutWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x00, 0xC8, 0x73));
    if (!m_background.isNull())
        painter.drawPixmap(0, 0, m_background);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    // Over the main window wherever it has been dragged to.
    if (QWidget *owner = parentWidget()) {
        const QRect area = owner->window()->frameGeometry();
        move(area.center() - rect().center());
    }
    QDialog::showEvent(event);
}
