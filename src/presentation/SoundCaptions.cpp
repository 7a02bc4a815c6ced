#include "presentation/SoundCaptions.h"

namespace {
QString pick(int language, const char16_t *arabic, const char16_t *kurdish)
{
    return QString::fromUtf16(language == 0 ? arabic : kurdish);
}
} // namespace

namespace SoundCaptions {

QString dawnHeading(int language)
{
    return pick(language, u"أذان الفجر", u"بانگی بەیانی");
}

QString startupHeading(int language)
{
    return pick(language, u"صوت بدء التشغيل", u"دەنگی دەستپێکردن");
}

QString chooseItem(int language)
{
    return pick(language, u"اختيار تسجيل…", u"هەڵبژاردنی تۆمارێک…");
}

QString shippedItem(int language)
{
    return pick(language, u"التسجيل المرفق بالبرنامج", u"تۆماری بەرنامەکە");
}

QString ownMark(int language)
{
    return pick(language, u" (تسجيلك)", u" (تۆماری خۆت)");
}

QString chooseTitle(int language)
{
    return pick(language, u"اختيار تسجيل", u"هەڵبژاردنی تۆمار");
}

QString chooseFilters(int language)
{
    return pick(language, u"التسجيلات (*.mp3 *.wav *.flac);;كل الملفات (*)",
                u"تۆمارەکان (*.mp3 *.wav *.flac);;هەموو فایلەکان (*)");
}

QString refusal(int verdict, int minimumSeconds, int language)
{
    switch (verdict) {
    case 1:
        return pick(language, u"تعذّرت قراءة هذا الملف.", u"ئەم فایلە ناخوێندرێتەوە.");
    case 2:
        return pick(language, u"الملف أكبر من 50 ميغابايت.", u"فایلەکە لە 50 مێگابایت گەورەترە.");
    case 3:
        return pick(language, u"لا يحوي هذا الملف صوتاً يستطيع البرنامج تشغيله.",
                    u"ئەم فایلە هیچ دەنگێکی تێدا نییە کە بەرنامەکە لێی بدات.");
    case 4:
        if (minimumSeconds <= 1)
            return pick(language, u"التسجيل أقصر من ثانية واحدة.",
                        u"تۆمارەکە لە یەک چرکە کورتترە.");
        return language == 0 ? QStringLiteral("التسجيل أقصر من %1 ثوانٍ.").arg(minimumSeconds)
                             : QStringLiteral("تۆمارەکە لە %1 چرکە کورتترە.").arg(minimumSeconds);
    case 5:
        return pick(language, u"التسجيل أطول من 15 دقيقة.", u"تۆمارەکە لە 15 خولەک درێژترە.");
    case 6:
        return pick(language, u"تعذّر نسخ التسجيل إلى مجلد البرنامج، وبقي التسجيل السابق.",
                    u"نەتوانرا تۆمارەکە بۆ بوخچەی بەرنامەکە کۆپی بکرێت، تۆمارەکەی پێشوو ماوە.");
    case 7:
        return pick(language, u"تعذّر حذف تسجيلك، وما زال هو المستخدم.",
                    u"نەتوانرا تۆمارەکەی خۆت بسڕدرێتەوە، هێشتا ئەوە بەکاردێت.");
    default:
        return QString();
    }
}

QString shippedQuestion(int language)
{
    return pick(language, u"هل تريد العودة إلى التسجيل المرفق بالبرنامج؟ سيُحذف تسجيلك.",
                u"دەتەوێت بگەڕێیتەوە سەر تۆماری بەرنامەکە؟ تۆمارەکەی خۆت دەسڕدرێتەوە.");
}

QString meetingHeading(int language)
{
    return pick(language, u"أثناء اجتماع أو عرض", u"لە کاتی کۆبوونەوە یان پێشکەشکردندا");
}

QString meetingItem(int choice, int language)
{
    switch (choice) {
    case 0:
        return pick(language, u"الأذان كالمعتاد", u"بانگ وەک هەمیشە");
    case 1:
        return pick(language, u"الأذان بصوت خافت", u"بانگ بە دەنگی نزم");
    default:
        return pick(language, u"الشريط وحده", u"تەنها شریتەکە");
    }
}

QString trayNote(int language, bool windows)
{
    if (windows)
        return pick(language,
                    u"البرنامج يعمل هنا في منطقة الإشعارات. إن لم تجد أيقونته فانقر السهم بجانب "
                    u"الساعة؛ ولإبقائها على شريط المهام: الإعدادات ← التخصيص ← شريط المهام ← "
                    u"أيقونات علبة النظام الأخرى.",
                    u"بەرنامەکە لێرە لە ناوچەی ئاگادارکردنەوەکاندا کار دەکات. ئەگەر ئایکۆنەکەیت "
                    u"نەبینی، کرتە لە تیرەکەی تەنیشت کاتژمێرەکە بکە؛ بۆ ئەوەی لەسەر شریتی "
                    u"ئەرکەکان بمێنێتەوە: ڕێکخستنەکان ← تایبەتکردن ← شریتی ئەرکەکان ← ئایکۆنەکانی "
                    u"تری سینیی سیستەم.");
    return pick(language, u"البرنامج يعمل هنا في منطقة الإشعارات؛ انقر أيقونته لفتح نافذته.",
                u"بەرنامەکە لێرە لە ناوچەی ئاگادارکردنەوەکاندا کار دەکات؛ کرتە لە ئایکۆنەکەی بکە "
                u"بۆ کردنەوەی پەنجەرەکەی.");
}

} // namespace SoundCaptions
