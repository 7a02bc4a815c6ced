// The texts of the main window in both languages and its design-time texts.
// Generated once from the design tables; edit with care: every space and tatweel counts.
#include "presentation/Captions.h"

namespace Captions {

const QList<LanguageCaption> &languageTable()
{
    static const QList<LanguageCaption> table = {
        { QStringLiteral("LB(12)"), QStringLiteral("بانگى بـــــهيانى"),
          QStringLiteral("أذان الصباح") },
        { QStringLiteral("LB(13)"), QStringLiteral("شــــــروق"), QStringLiteral("الشــــروق") },
        { QStringLiteral("LB(14)"), QStringLiteral("بانگى نـــــيوةرِؤ"),
          QStringLiteral("أذان الظهر") },
        { QStringLiteral("LB(15)"), QStringLiteral("بانگى عـــــهسر"),
          QStringLiteral("أذان العصر") },
        { QStringLiteral("LB(16)"), QStringLiteral("بانگى مـــهغريب"),
          QStringLiteral("أذان المغرب") },
        { QStringLiteral("LB(17)"), QStringLiteral("بانگى عـــــيشاء"),
          QStringLiteral("أذان العشاء") },
        { QStringLiteral("LB(29)"), QStringLiteral("ناوى شار"), QStringLiteral("اسم المدينة") },
        { QStringLiteral("LB(30)"), QStringLiteral("بانگ بيژ"), QStringLiteral("المؤذن") },
        { QStringLiteral("LB(39)"), QStringLiteral(" دهست بيكرد پيش چهند خولهكيك "),
          QStringLiteral(" إبتداء قبل مدة الدقائق ") },
        { QStringLiteral("LB(31)"), QStringLiteral("(+,-) دهنگ"), QStringLiteral("(+,-) صوت") },
        { QStringLiteral("LB(36)"), QStringLiteral("بهروارى هيجرى"),
          QStringLiteral("تاريخ الهجري") },
        { QStringLiteral("Frame1"), QStringLiteral(" كاتهكانى بانگ "),
          QStringLiteral(" اوقات الصلاة ") },
        { QStringLiteral("Frame2"), QStringLiteral("شوين و ناوى بانگ بيژهكان + بهرزو نزمى دهنگ"),
          QStringLiteral("الموقع و اسم المؤذن + تحكم الصوت") },
        { QStringLiteral("Check1"), QStringLiteral("كاربكات له كاتى سهرهتاى كومبيوتهر"),
          QStringLiteral("بدء في حالة التشغيل الكمبيوتر ") },
        { QStringLiteral("Command2"), QStringLiteral("كات ژمير"), QStringLiteral("الساعة") },
        { QStringLiteral("Label6"), QStringLiteral("بهرنامهى Tirvelon"),
          QStringLiteral("برنامج Delkaro") },
        { QStringLiteral("Label5"), QStringLiteral("دهربارهى بهرنامه"),
          QStringLiteral("حولة البرنامج") },
        { QStringLiteral("Label8"), QStringLiteral("زمــان"), QStringLiteral("اللغة") },
    };
    return table;
}

const QStringList &kurdishMuezzins()
{
    static const QStringList list = {
        QStringLiteral("بانگبيَژى مهككهى پيروَز"),    QStringLiteral("بانگبيَژى قاهيرة"),
        QStringLiteral("بانگبيَژ Halvendi"),         QStringLiteral("بانگبيَژى تركى"),
        QStringLiteral("بانگبيَژى مزگهوتى قوباء 1"), QStringLiteral("بانگبيَژى مدينهى مونهووهره"),
        QStringLiteral("بانگبيَژ Sormanek"),
    };
    return list;
}

const QStringList &arabicMuezzins()
{
    static const QStringList list = {
        QStringLiteral("مؤذن المكة المكرمة"), QStringLiteral("مؤذن القاهرة"),
        QStringLiteral("مؤذن Halvendi"),      QStringLiteral("مؤذن التركية"),
        QStringLiteral("مؤذن القباء 1"),      QStringLiteral("مؤذن المدينة المنورة"),
        QStringLiteral("مؤذن Sormanek"),
    };
    return list;
}

const QStringList &kurdishCities()
{
    static const QStringList list = {
        QStringLiteral("ههوليَر"), QStringLiteral("نينوى"), QStringLiteral("سليمانية"),
        QStringLiteral("كركوك"),  QStringLiteral("دهوك"),
    };
    return list;
}

const QStringList &arabicCities()
{
    static const QStringList list = {
        QStringLiteral("اربيل"), QStringLiteral("نينوى"), QStringLiteral("سليمانية"),
        QStringLiteral("كركوك"), QStringLiteral("دهوك"),
    };
    return list;
}

const QStringList &designCities()
{
    static const QStringList list = {
        QStringLiteral("ههوليَر"), QStringLiteral("نينوى"), QStringLiteral("سليمانية"),
        QStringLiteral("كركوك"),  QStringLiteral("دهوك"),
    };
    return list;
}

const QStringList &designMuezzins()
{
    static const QStringList list = {
        QStringLiteral("بانگبيَژى مهككهى پيروَز"),    QStringLiteral("بانگبيَژى قاهيرة"),
        QStringLiteral("بانگبيَژ Halvendi"),         QStringLiteral("بانگبيَژى تركى"),
        QStringLiteral("بانگبيَژى مزگهوتى قوباء 1"), QStringLiteral("بانگبيَژى مزگهوتى قوباء 2"),
        QStringLiteral("بانگبيَژ Sormanek"),
    };
    return list;
}

const QStringList &languageNames()
{
    static const QStringList list = {
        QStringLiteral("عربي"),
        QStringLiteral("كوردى"),
    };
    return list;
}

const QStringList &fontFaces()
{
    static const QStringList list = {
        QStringLiteral("Tahoma"),
        QStringLiteral("Tahoma-K"),
    };
    return list;
}

const QStringList &designSlotNames()
{
    static const QStringList list = {
        QStringLiteral(" بانگى بهيانـى "), QStringLiteral(" شــــــــروق "),
        QStringLiteral(" بانگى نيوهروَ "),  QStringLiteral(" بانگى عهســـر "),
        QStringLiteral(" بانگى مـهغريب "), QStringLiteral(" بانگى عيشــاء "),
    };
    return list;
}

const QStringList &alertPhrases()
{
    static const QStringList list = {
        QStringLiteral(" بانگى بهيانـيه"),  QStringLiteral(" شــــــــروقه "),
        QStringLiteral(" بانگى نيوهروَيه "), QStringLiteral(" بانگى عةســـره "),
        QStringLiteral(" بانگى مـهغريبه "), QStringLiteral(" بانگى عيشــايه "),
    };
    return list;
}

QString design(const QString &control)
{
    static const QHash<QString, QString> captions = {
        { QStringLiteral("Label5"), QStringLiteral("دهربارهى بهرنامه") },
        { QStringLiteral("Label6"), QStringLiteral("بهرنامهى Tirvelon") },
        { QStringLiteral("Label4"), QStringLiteral("__") },
        { QStringLiteral("Label1"), QStringLiteral("X") },
        { QStringLiteral("Frame1"), QStringLiteral(" كاتهكانى بانگ ") },
        { QStringLiteral("Frame2"), QStringLiteral("شوين و ناوى بانگ بيژهكان + بهرزو نزمى دهنگ") },
        { QStringLiteral("LB(30)"), QStringLiteral("ناوى بانگ بيَژ") },
        { QStringLiteral("LB(29)"), QStringLiteral("  ناوى شــــار ") },
        { QStringLiteral("LB(39)"), QStringLiteral(" دهست پيَكردنى پيَش چهند خولهكيَك") },
        { QStringLiteral("LB(31)"), QStringLiteral("دهنگ(-,+)") },
        { QStringLiteral("Command2"), QStringLiteral("كات ژميَر") },
        { QStringLiteral("Label8"), QStringLiteral("زمــان") },
        { QStringLiteral("Check1"), QStringLiteral("كار بكات له كاتى سهرهتاى كوَمپيوتهر ") },
        { QStringLiteral("LB(26)"), QStringLiteral("00:00:00 AM") },
        { QStringLiteral("LB(35)"), QStringLiteral("00/00/0000") },
        { QStringLiteral("LB(36)"), QStringLiteral("  بهروارى هيجرى ") },
        { QStringLiteral("Command1"), QStringLiteral("4") },
        { QStringLiteral("Label3"), QStringLiteral("00:00:00 AM") },
        { QStringLiteral("Label7.tooltip"),
          QStringLiteral(
                  "كهواته چوَنم فهرمان پىَ كردى ئاوا بكه , واته زيادو كهمى لهناو كارهكانت مهكه") },
    };
    return captions.value(control);
}

QString cityApologyStart()
{
    return QStringLiteral("ببووره شارى ");
}

QString cityApologyEnd()
{
    return QStringLiteral("م داخل نهكردووه ");
}

QString trayTipTitle()
{
    return QStringLiteral("    Tirvelon");
}

QString trayTipHint()
{
    return QStringLiteral("  دوو كليك داگره  ");
}

QString tipSlotName(int slot, int language)
{
    if (slot < 0 || slot > 5)
        return QString();
    const LanguageCaption &name = languageTable().at(slot); // LB(12)..LB(17)
    QString text = language == 1 ? name.kurdish : name.arabic;
    return text.remove(QChar(0x0640));
}

QString tipTimeLeft(int language)
{
    return language == 1 ? QStringLiteral("پاش") : QStringLiteral("بعد");
}

QString exitQuestionKurdishStart()
{
    return QStringLiteral(" ئايه د");
}

QString exitQuestionKurdishEnd()
{
    return QStringLiteral("نيايت بهرنامهكه دابخهيت ");
}

QString exitQuestionArabic()
{
    return QStringLiteral("هل تريد الخروج من البرنامج ");
}

QString alertPhrase()
{
    return QStringLiteral("       ئيَستا كاتـــى ");
}

QString hijriSuffix()
{
    return QStringLiteral(" هـ ");
}

QString hijriAdjustTitle(int language)
{
    return language == 0 ? QStringLiteral("تعديل التاريخ الهجري")
                         : QStringLiteral("راستكردنهوهى بهروارى هيجرى");
}

QString aboutOwnRecordings(int language)
{
    // Written like the about pictures' text, in today's Sorani letters. The file's name is
    // isolated left to right, or its number would be drawn after "mp3".
    const QString example = QChar(0x2066) + QStringLiteral("5.mp3") + QChar(0x2069);
    return language == 0
            ? QStringLiteral("لتسمع تسجيلاتك ضع ملفاً باسم ملف البرنامج (مثل %1) في هذا المجلد:")
                      .arg(example)
            : QStringLiteral("بۆ تۆمارەکانی خۆت فایلێک بە ناوی فایلی بەرنامەکە (وەک %1) بخەرە "
                             "ئەم بوخچەیەوە:")
                      .arg(example);
}

QString signedNumber(int value)
{
    // Isolated left to right, or the sign would be drawn after the digits.
    const QString number = value > 0 ? QStringLiteral("+%1").arg(value)
            : value < 0              ? QStringLiteral("-%1").arg(-value)
                                     : QStringLiteral("0");
    return QChar(0x2066) + number + QChar(0x2069);
}

namespace {
// Arabic counts three to ten minutes in the plural and other numbers in the singular.
QString arabicMinutes(int count)
{
    const int n = count < 0 ? -count : count;
    return n >= 3 && n <= 10 ? QStringLiteral("دقائق") : QStringLiteral("دقيقة");
}
} // namespace

QString hijriAdjustItem(int days, int language)
{
    // Read right to left (the mark), with the signed number isolated left to right.
    const QString unit = language == 0 ? QStringLiteral("يوم") : QStringLiteral("روَژ");
    return QString(QChar(0x200F)) + signedNumber(days) + QLatin1Char(' ') + unit;
}

// The prayer menu's Kurdish is written with the captions' own letters (heh for the Kurdish e,
// alef maksura at a word's end, the Arabic kaf, a fatha over ye and waw for its long vowels).
QString prayerCallHeading(int language)
{
    return language == 0 ? QStringLiteral("الأذان") : QStringLiteral("بانگدان");
}

QString prayerMinutesHeading(int language)
{
    return language == 0 ? QStringLiteral("تعديل الوقت") : QStringLiteral("گوَرينى كات");
}

QString prayerRemindHeading(int language)
{
    return language == 0 ? QStringLiteral("تذكير قبل الوقت") : QStringLiteral("بيرخستنهوه پيَش كات");
}

QString prayerModeItem(int mode, int language)
{
    static const QStringList kurdish
            = { QStringLiteral("بانگ و نيشاندان"), QStringLiteral("تهنها نيشاندان، بيَ دهنگ"),
                QStringLiteral("هيچ") };
    static const QStringList arabic
            = { QStringLiteral("الأذان مع الإظهار"), QStringLiteral("إظهار فقط، بدون صوت"),
                QStringLiteral("لا شيء") };
    return (language == 0 ? arabic : kurdish).value(mode);
}

QString prayerRemindItem(int minutes, int language)
{
    if (minutes == 0)
        return language == 0 ? QStringLiteral("بدون تذكير") : QStringLiteral("بيَ بيرخستنهوه");
    const QString number = QChar(0x2066) + QString::number(minutes) + QChar(0x2069);
    return QString(QChar(0x200F))
            + (language == 0 ? QStringLiteral("قبل %1 ") + arabicMinutes(minutes)
                             : QStringLiteral("%1 خولهك پيَش"))
                      .arg(number);
}

QString prayerMinutesSuffix(int language)
{
    return language == 0 ? QStringLiteral(" دقيقة") : QStringLiteral(" خولهك");
}

QString prayerMovedTip(int minutes, int language)
{
    return QString(QChar(0x200F))
            + (language == 0 ? QStringLiteral("الوقت معدل %1 ") + arabicMinutes(minutes)
                             : QStringLiteral("كات گوَردراوه %1 خولهك"))
                      .arg(signedNumber(minutes));
}

QString reminderStart(int minutesLeft, int language)
{
    const QString number = QChar(0x2066) + QString::number(minutesLeft) + QChar(0x2069);
    return QString(QChar(0x200F))
            + (language == 0 ? QStringLiteral("بقي %1 ") + arabicMinutes(minutesLeft)
                               + QStringLiteral(" على ")
                             : QStringLiteral("%1 خولهك ماوه بوَ "))
                      .arg(number);
}

QString callCame(const QString &prayerName, const QString &time, int language)
{
    const QString shown
            = QChar(0x2066) + time.left(5) + QLatin1Char(' ') + time.right(2) + QChar(0x2069);
    return QString(QChar(0x200F)) + prayerName
            + (language == 0 ? QStringLiteral(" كان الساعة ") + shown
                             : QStringLiteral(" له كاتژميَر ") + shown + QStringLiteral(" بوو"));
}

} // namespace Captions
