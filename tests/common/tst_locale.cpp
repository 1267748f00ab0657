#include "localefont.h"
#include "localeservices.h"

#include <gtest/gtest.h>

TEST(LocaleServices, CodePages)
{
    struct Row
    {
        const char *locale;
        int codePage;
    } rows[] = {
        {"en_GB", 1252}, {"de_DE", 1252}, {"ja_JP", 932},  {"zh_CN", 936},  {"zh_TW", 950},
        {"zh_HK", 950},  {"ko_KR", 949},  {"th_TH", 874},  {"pl_PL", 1250}, {"cs_CZ", 1250},
        {"ru_RU", 1251}, {"uk_UA", 1251}, {"sr_RS", 1251}, {"el_GR", 1253}, {"tr_TR", 1254},
        {"he_IL", 1255}, {"ar_EG", 1256}, {"fa_IR", 1256}, {"lt_LT", 1257}, {"hi_IN", 1252},
    };
    for (const Row &r : rows)
        EXPECT_EQ(AnsiCodePageOf(QLocale(r.locale)), r.codePage) << r.locale;
    EXPECT_EQ(AnsiCodePageOf(QLocale("sr_Latn_RS")), 1250);
}

TEST(LocaleServices, NamesInThreeLanguages)
{
    const CalendarNames en = LoadCalendarNames(QLocale("en_GB"));
    EXPECT_EQ(en.MonthNames[0], "January");
    EXPECT_EQ(en.MonthNames[11], "December");
    EXPECT_EQ(en.MonthNames[12], "");
    EXPECT_EQ(en.MonthShortNames[8], "Sept");
    EXPECT_EQ(en.DayNames[1], "Monday");
    EXPECT_EQ(en.DayNames[7], "Sunday");
    EXPECT_EQ(en.DayNames[0], en.DayNames[7]);
    EXPECT_EQ(en.DayShortNames[1], "Mo") << "three-letter names are cut to two";
    EXPECT_EQ(en.DayShortNames[0], "Su");

    const CalendarNames de = LoadCalendarNames(QLocale("de_DE"));
    EXPECT_EQ(de.MonthNames[2], QString::fromUtf8("März"));
    EXPECT_EQ(de.DayNames[3], "Mittwoch");
    EXPECT_EQ(de.DayShortNames[3], "Mi");

    const CalendarNames ja = LoadCalendarNames(QLocale("ja_JP"));
    EXPECT_EQ(ja.MonthNames[0], QString::fromUtf8("1月"));
    EXPECT_EQ(ja.DayNames[7], QString::fromUtf8("日曜日"));
    EXPECT_EQ(ja.DayShortNames[7], QString::fromUtf8("日")) << "short names stay whole";

    const CalendarNames ru = LoadCalendarNames(QLocale("ru_RU"));
    EXPECT_EQ(ru.MonthNames[0], QString::fromUtf8("январь")) << "stand-alone, not genitive";
}

TEST(LocaleFont, CharacterSetsNamesAndSizes)
{
    LocaleFont small;
    small.font.setPointSize(8);
    ApplyLocaleFont(small, 936);
    EXPECT_EQ(small.charSet, 134);
    EXPECT_EQ(small.font.family(), QString::fromUtf16(u"\u5B8B\u4F53"));
    EXPECT_EQ(small.font.pointSize(), 9);

    LocaleFont large;
    large.font.setPointSize(10);
    ApplyLocaleFont(large, 936);
    EXPECT_EQ(large.font.pointSize(), 10);

    LocaleFont jp;
    ApplyLocaleFont(jp, 932);
    EXPECT_EQ(jp.charSet, 128);
    EXPECT_EQ(jp.font.family(), QString::fromUtf16(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF"));

    LocaleFont western;
    western.font.setFamily("Serif");
    western.font.setPointSize(7);
    ApplyLocaleFont(western, 1251);
    EXPECT_EQ(western.charSet, 204);
    EXPECT_EQ(western.font.pointSize(), 7) << "only East Asian fonts are raised to 9";

    LocaleFont thai;
    ApplyLocaleFont(thai, 874);
    EXPECT_EQ(thai.charSet, 1);
    for (int cp : {1250, 1252, 1253, 1254, 1255, 1256, 1257})
        EXPECT_NE(CharSetOfCodePage(cp), 1) << cp;
}
