#include "AboutPictures.h"

#include "ChromePictures.h"
#include "Ornament.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTextLayout>
#include <QTextOption>

namespace {

const QSize pictureSize(372, 209);
const QColor brandGreen(0x00, 0xc8, 0x73); // the about window's colour
const QColor inkGreen(0x0a, 0x5c, 0x34);
const QColor ink(0x22, 0x26, 0x20);
const QColor gold(0xc4, 0x9a, 0x3c);
const QColor cream(0xfb, 0xf8, 0xec);

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Right-to-left text wrapped to the width of box, lineStep pixels from one baseline to the next
// (the font's own spacing leaves too much air for this small page). The text's direction decides
// where each line starts, the alignment where it sits.
void drawRtl(QPainter &p, const QRectF &box, qreal lineStep, const QString &text, const QFont &font,
             const QColor &colour, Qt::Alignment alignment)
{
    QTextOption option(alignment);
    option.setTextDirection(Qt::RightToLeft);
    option.setWrapMode(QTextOption::WordWrap);
    QTextLayout layout(text, font);
    layout.setTextOption(option);
    layout.beginLayout();
    const QFontMetricsF metrics(font);
    qreal baseline = box.top() + metrics.ascent();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, baseline - line.ascent()));
        baseline += lineStep;
    }
    layout.endLayout();
    p.setPen(colour);
    layout.draw(&p, QPointF(box.left(), 0));
}

} // namespace

AboutPictures::AboutPictures(const QString &scriptFamily, const QString &latinFamily)
    : m_scriptFamily(scriptFamily)
    , m_latinFamily(latinFamily)
{ }

AboutPictures::Texts AboutPictures::texts(Language language)
{
    if (language == Language::Arabic) {
        return { QStringLiteral("ساعة مواقيت الصلاة"),
                 QStringLiteral("يعرض البرنامج مواقيت اليوم الستة لمدينتك، ويرفع الأذان بصوت "
                                "المؤذن الذي تختاره عند دخول كل وقت."),
                 QStringLiteral("الإصدار 6.0"),
                 QStringLiteral("المدن: اربيل، نينوى، سليمانية، كركوك، دهوك"),
                 QStringLiteral("الخط: Noto Naskh Arabic، برخصة SIL OFL 1.1") };
    }
    return { QStringLiteral("کاتژمێری کاتەکانی بانگ"),
             QStringLiteral("ئەم بەرنامەیە هەموو ڕۆژێک شەش کاتەکەی بانگی شارەکەت پیشان دەدات و "
                            "لە کاتی هەر بانگێکدا بە دەنگی ئەو بانگبێژەی هەڵتبژاردووە بانگ دەدات."),
             QStringLiteral("وەشانی 6.0"),
             QStringLiteral("شارەکان: ههولێر، نینەوا، سلێمانی، کەرکووک، دهۆک"),
             QStringLiteral("فۆنت: Noto Naskh Arabic، بە مۆڵەتی SIL OFL 1.1") };
}

QImage AboutPictures::page(int scale) const
{
    const QRect area(QPoint(0, 0), pictureSize);
    QImage image = ChromePictures::canvas(pictureSize, scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Cream page, a little warmer towards the edges.
    QRadialGradient paper(QPointF(186, 100), 230);
    paper.setColorAt(0, cream);
    paper.setColorAt(1, QColor(0xee, 0xe6, 0xc8));
    p.fillRect(area, paper);
    Ornament::starLattice(p, QRectF(area), 26, QColor(0x00, 0x96, 0x55, 18));

    // Frame in the window's green with a gold hairline inside.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(brandGreen.darker(115), 3));
    p.drawRect(QRectF(1.5, 1.5, area.width() - 3, area.height() - 3));
    p.setPen(QPen(gold, 1));
    p.drawRect(QRectF(5.5, 5.5, area.width() - 11, area.height() - 11));

    // Corner stars; the top right corner stays plain for the close mark.
    for (const QPointF &corner : { QPointF(14, 14), QPointF(14, 195), QPointF(358, 195) }) {
        p.setPen(QPen(gold.darker(130), 0.8));
        p.setBrush(brandGreen);
        p.drawPath(Ornament::eightPointStar(corner, 6));
    }

    // Rules under the heading and through the version mark's row, with a cartouche that the
    // window's own "V 6.0" label fills.
    Ornament::rule(p, 40, 332, 51, gold);
    const QRectF cartouche = QRectF(versionMarkArea()).adjusted(-2, -1, 2, 1);
    Ornament::rule(p, 24, cartouche.left() - 4, 132.5, gold);
    p.setPen(QPen(gold, 1));
    p.setBrush(QColor(0xff, 0xfd, 0xf4));
    p.drawRoundedRect(cartouche.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.end();
    return image;
}

QImage AboutPictures::picture(Language language, int scale) const
{
    const Texts t = texts(language);
    QImage image = page(scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // The program's name in Latin letters, flanked by two stars.
    const QFont title = pixelFont(m_latinFamily, 24, true);
    p.setFont(title);
    p.setPen(inkGreen);
    p.drawText(QRectF(40, 5, 292, 30), Qt::AlignCenter, QStringLiteral("Tirvelon"));
    const qreal half = p.fontMetrics().horizontalAdvance(QStringLiteral("Tirvelon")) / 2.0;
    for (const qreal x : { 186 - half - 16, 186 + half + 16 }) {
        p.setPen(QPen(gold.darker(130), 0.8));
        p.setBrush(gold);
        p.drawPath(Ornament::eightPointStar(QPointF(x, 21), 5));
    }

    // Only the regular face: it is the one in the bundled font file. Latin words inside the
    // Arabic-script lines (the font's name) come from the Latin face.
    const auto script = [this](int pixels) {
        QFont f = pixelFont(m_scriptFamily, pixels);
        f.setFamilies({ m_scriptFamily, m_latinFamily });
        return f;
    };
    const Qt::Alignment centred = Qt::AlignHCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignAbsolute;
    drawRtl(p, QRectF(40, 33, 292, 16), 16, t.version, script(10), inkGreen, centred);
    drawRtl(p, QRectF(30, 52, 312, 24), 24, t.subtitle, script(16), inkGreen, centred);
    drawRtl(p, QRectF(20, 78, 332, 40), 20, t.body, script(12), ink, right);
    drawRtl(p, QRectF(20, 135, 332, 20), 20, t.cities, script(12), ink, centred);
    drawRtl(p, QRectF(30, 186, 312, 16), 16, t.footer, script(9), QColor(0x5a, 0x5e, 0x50),
            centred);
    p.end();
    return image;
}

QImage AboutPictures::windowBackground(int scale)
{
    const QRect area(QPoint(0, 0), pictureSize);
    QImage image = ChromePictures::canvas(pictureSize, scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, area.height());
    fill.setColorAt(0, brandGreen.lighter(112));
    fill.setColorAt(1, brandGreen.darker(118));
    p.fillRect(area, fill);
    Ornament::starLattice(p, QRectF(area), 30, QColor(255, 255, 255, 40));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(brandGreen.darker(150), 2));
    p.drawRect(QRectF(1, 1, area.width() - 2, area.height() - 2));
    p.end();
    return image;
}
