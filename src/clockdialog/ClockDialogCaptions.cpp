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
        // In today's Sorani letters (ە, ی, ک, ێ), which any Arabic-script face draws right;
        // the captions above keep the letters of the old Kurdish fonts.
        c.refusal = QStringLiteral("بۆ گۆڕینی کات مافی بەڕێوەبەر پێویستە، ڕێکخستنەکانی بەروار و "
                                   "کاتی سیستەم دەکرێنەوە.");
    } else {
        c.timeBand = QStringLiteral("الوقت ");
        c.dateBand = QStringLiteral("التاريخ ");
        c.heading = QStringLiteral("تعديل الوقت والتاريخ الكمبيوتر");
        c.applyButton = QStringLiteral("التعديل");
        c.windowTitle = QStringLiteral("تعديل الساعة");
        c.refusal = QStringLiteral(
                "يتطلب تغيير الوقت صلاحيات المسؤول، وستفتح الآن إعدادات التاريخ والوقت في النظام.");
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
