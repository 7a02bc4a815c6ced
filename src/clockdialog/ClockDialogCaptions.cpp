#include "clockdialog/ClockDialogCaptions.h"

ClockDialogCaptions ClockDialogCaptions::forLanguage(int uiLanguage)
{
    ClockDialogCaptions c;
    if (uiLanguage != 0) {
        c.timeBand = QStringLiteral("كــات  ");
        c.dateBand = QStringLiteral("بهروار ");
        c.heading = QStringLiteral("راستكردنهوهى بهروارو كاتژميَرى كوَمپيوتهر");
        c.applyButton = QStringLiteral("رِاست كردنهوهى ");
        c.windowTitle = QStringLiteral("راست كردنهوهى كات ژمير");
    } else {
        c.timeBand = QStringLiteral("الوقت ");
        c.dateBand = QStringLiteral("التاريخ ");
        c.heading = QStringLiteral("تعديل الوقت والتاريخ الكمبيوتر");
        c.applyButton = QStringLiteral("التعديل");
        c.windowTitle = QStringLiteral("تعديل الساعة");
    }
    return c;
}

ClockDialogCaptions ClockDialogCaptions::design()
{
    ClockDialogCaptions c;
    c.timeBand = QStringLiteral("  كــات  ");
    c.dateBand = QStringLiteral(" بهروار ");
    c.heading = QStringLiteral("راستكردنهوهى بهروارو كاتژميَرى كوَمپيوتهر");
    c.applyButton = QStringLiteral("رِاست كردنهوهى ");
    c.windowTitle = QStringLiteral("راست كردنهوهى كات ژمير");
    return c;
}
