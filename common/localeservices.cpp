#include "localeservices.h"

int AnsiCodePageOf(const QLocale &locale)
{
    switch (locale.language()) {
    case QLocale::Japanese:
        return 932;
    case QLocale::Korean:
        return 949;
    case QLocale::Chinese:
        if (locale.script() == QLocale::TraditionalHanScript)
            return 950;
        if (locale.script() == QLocale::SimplifiedHanScript)
            return 936;
        switch (locale.territory()) {
        case QLocale::Taiwan:
        case QLocale::HongKong:
        case QLocale::Macau:
            return 950;
        default:
            return 936;
        }
    case QLocale::Thai:
        return 874;
    case QLocale::Polish:
    case QLocale::Czech:
    case QLocale::Slovak:
    case QLocale::Hungarian:
    case QLocale::Slovenian:
    case QLocale::Croatian:
    case QLocale::Romanian:
    case QLocale::Albanian:
    case QLocale::Bosnian:
    case QLocale::LowerSorbian:
    case QLocale::UpperSorbian:
        return locale.script() == QLocale::CyrillicScript ? 1251 : 1250;
    case QLocale::Serbian:
        return locale.script() == QLocale::LatinScript ? 1250 : 1251;
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
    case QLocale::Bulgarian:
    case QLocale::Macedonian:
    case QLocale::Kazakh:
    case QLocale::Kyrgyz:
    case QLocale::Tatar:
    case QLocale::Mongolian:
    case QLocale::Bashkir:
        return 1251;
    case QLocale::Greek:
        return 1253;
    case QLocale::Turkish:
        return 1254;
    case QLocale::Azerbaijani:
    case QLocale::Uzbek:
        return locale.script() == QLocale::CyrillicScript ? 1251 : 1254;
    case QLocale::Hebrew:
    case QLocale::Yiddish:
        return 1255;
    case QLocale::Arabic:
    case QLocale::Persian:
    case QLocale::Urdu:
        return 1256;
    case QLocale::Estonian:
    case QLocale::Latvian:
    case QLocale::Lithuanian:
        return 1257;
    default:
        return 1252;
    }
}

CalendarNames LoadCalendarNames(const QLocale &locale)
{
    CalendarNames names;
    for (int m = 1; m <= 12; ++m) {
        names.MonthNames[m - 1] = locale.standaloneMonthName(m, QLocale::LongFormat);
        names.MonthShortNames[m - 1] = locale.standaloneMonthName(m, QLocale::ShortFormat);
    }
    for (int d = 1; d <= 7; ++d) {
        names.DayNames[d] = locale.standaloneDayName(d, QLocale::LongFormat);
        const QString shortName = locale.standaloneDayName(d, QLocale::ShortFormat);
        // Two characters, not two UTF-16 units: a surrogate pair stays whole.
        const QList<uint> codePoints = shortName.toUcs4();
        names.DayShortNames[d] =
            codePoints.size() > 2
                ? QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), 2)
                : shortName;
    }
    names.DayNames[0] = names.DayNames[7];
    names.DayShortNames[0] = names.DayShortNames[7];
    return names;
}

int CharSetOfCodePage(int codePage)
{
    switch (codePage) {
    case 932:
        return 128;
    case 936:
        return 134;
    case 949:
        return 129;
    case 950:
        return 136;
    case 1250:
        return 238;
    case 1251:
        return 204;
    case 1252:
        return 0;
    case 1253:
        return 161;
    case 1254:
        return 162;
    case 1255:
        return 177;
    case 1256:
        return 178;
    case 1257:
        return 186;
    default:
        return 1;
    }
}
