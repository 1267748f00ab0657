#include "commandline.h"

#include <gtest/gtest.h>

namespace {

QString Apply(const QStringList &args, MapPropertyBag &bag, int &year)
{
    QCommandLineParser parser;
    DescribeHostOptions(parser);
    EXPECT_TRUE(parser.parse(QStringList{"quorvel"} + args)) << qPrintable(parser.errorText());
    return ApplyPlannerOptions(parser, bag, year);
}

} // namespace

TEST(CommandLine, PropertiesOverTheFoldersPage)
{
    MapPropertyBag bag({{"Folder", "Team\\Calendar"},
                        {"TitleName", "From the page"},
                        {"StartMonth", "3"},
                        {"AllEvents", "False"}});
    int year = -1;
    EXPECT_EQ(Apply({"--title", "O'Brien & Sons", "--start-month", "9", "--year", "2025",
                     "--all-events", "--display-subject", "--hide-non-category-items"},
                    bag, year),
              "");
    EXPECT_EQ(year, 2025);
    EXPECT_EQ(bag.ReadProperty("Folder", QString()).toString(), "Team\\Calendar") << "kept";
    EXPECT_EQ(bag.ReadProperty("TitleName", QString()).toString(), "O'Brien & Sons");
    EXPECT_EQ(bag.ReadProperty("StartMonth", 1).toInt(), 9);
    for (const char *name : {"AllEvents", "DisplaySubject", "HideNonCategoryItems"})
        EXPECT_TRUE(bag.ReadProperty(name, false).toBool()) << name;

    // Nothing given leaves the page's values; the year is today's planner year then.
    MapPropertyBag page({{"TitleName", "From the page"}, {"AllEvents", "False"}});
    EXPECT_EQ(Apply({}, page, year), "");
    EXPECT_EQ(year, 0);
    EXPECT_EQ(page.ReadProperty("TitleName", QString()).toString(), "From the page");
    EXPECT_FALSE(page.ReadProperty("AllEvents", true).toBool());

    for (const QStringList &wrong :
         {QStringList{"--start-month", "13"}, QStringList{"--start-month", "x"},
          QStringList{"--year", "99"}, QStringList{"--year", "next"}})
        EXPECT_NE(Apply(wrong, page, year), "") << qPrintable(wrong.join(' '));
}
