#include "filtermodel.h"
#include "testsupport.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FilterModel, NoFilterShowsEverything)
{
    FilterModel f;
    EXPECT_FALSE(f.IsFilteredOut(""));
    EXPECT_FALSE(f.IsFilteredOut("Anything"));
    EXPECT_EQ(f.ShowFilterState().tooltip, "Click to define a filter");
    EXPECT_FALSE(f.ShowFilterState().active);
}

TEST(FilterModel, AndOrAndTheEdgesOfComparison)
{
    FilterModel f(", ");
    f.SetFilter("A, B");
    f.SetFilterMode(true);
    struct Row
    {
        const char *name;
        const char *categories;
        bool andHidden, orHidden;
    } rows[] = {
        {"all named, among others", "B, D, A", false, false},
        {"only one of them", "A", true, false},
        {"none of them", "C", true, true},
        {"no categories at all", "", true, true},
        {"pieces are trimmed", "  B ,   A  ", false, false},
        {"letter case matters", "a, b", true, true},
    };
    for (const Row &r : rows)
        EXPECT_EQ(f.IsFilteredOut(r.categories), r.andHidden) << "AND: " << r.name;
    f.SetFilterMode(false);
    for (const Row &r : rows)
        EXPECT_EQ(f.IsFilteredOut(r.categories), r.orHidden) << "OR: " << r.name;

    // Filter names are compared as they stand: an untrimmed name matches no trimmed piece.
    f.SetFilter("A ,  B");
    EXPECT_EQ(f.FilterCategories(), QStringList({"A ", " B"}));
    EXPECT_TRUE(f.IsFilteredOut("A")) << "\"A \" is not A";
    EXPECT_TRUE(f.IsFilteredOut("B"));
    f.SetFilter("A, B");
    EXPECT_FALSE(f.IsFilteredOut("  B  "));
}

TEST(FilterModel, DisplayTextAndButton)
{
    FilterModel f("; ");
    f.SetFilter("A; B; D");
    EXPECT_EQ(f.FilterDisplayText(), "A; B; D") << "until the mode is set";
    f.SetFilterMode(false);
    EXPECT_EQ(f.FilterDisplayText(), "A OR B OR D");
    EXPECT_EQ(f.ShowFilterState().tooltip, "Active Filter: A OR B OR D");
    EXPECT_TRUE(f.ShowFilterState().active);
    f.SetFilterMode(true);
    EXPECT_EQ(f.FilterDisplayText(), "A AND B AND D");
}

TEST(FilterModel, StoredPerTitle)
{
    EXPECT_EQ(FilterModel::SectionOf("West"), "Filtering West");
    EXPECT_EQ(FilterModel::SectionOf(""), "Filtering ") << "a trailing space for an empty title";

    FilterModel west(", ");
    west.SetFilter("Travel, Work");
    west.SetFilterMode(true);
    west.save("West filter test");

    FilterModel read(", ");
    read.restore("West filter test");
    EXPECT_EQ(read.FilterText(), "Travel, Work");
    EXPECT_TRUE(read.FilterUsingAnd());
    read.restore("East filter test, never stored");
    EXPECT_EQ(read.FilterText(), "");
    EXPECT_FALSE(read.FilterUsingAnd()) << "a missing key is OR mode";

    // Only the exact text "False" is OR mode.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Rudi Zuvevid", "Rudi Zuvevid");
    for (const char *stored : {"false", "True", "yes", ""}) {
        settings.setValue(FilterModel::SectionOf("Mode test") + "/UsingAND", stored);
        settings.sync();
        read.restore("Mode test");
        EXPECT_TRUE(read.FilterUsingAnd()) << stored;
    }
    settings.setValue(FilterModel::SectionOf("Mode test") + "/UsingAND", "False");
    settings.sync();
    read.restore("Mode test");
    EXPECT_FALSE(read.FilterUsingAnd());
}

TEST(FilterModel, EveryTitleKeepsItsOwnSection)
{
    QTemporaryDir home;
    ScopedSettingsHome settings(home.path());
    const QStringList titles = {"West", "West/", "A/B", "A", "A\\B", "50%", "West%2F", "/"};
    for (qsizetype i = 0; i < titles.size(); ++i) {
        FilterModel f(", ");
        f.SetFilter(QStringLiteral("Filter %1").arg(i));
        f.SetFilterMode(i % 2);
        f.save(titles[i]);
    }
    for (qsizetype i = 0; i < titles.size(); ++i) {
        FilterModel f(", ");
        f.restore(titles[i]);
        EXPECT_EQ(f.FilterText(), QStringLiteral("Filter %1").arg(i)) << qPrintable(titles[i]);
        EXPECT_EQ(f.FilterUsingAnd(), bool(i % 2)) << qPrintable(titles[i]);
    }
    // Titles without "/" and "\" keep the sections they always had.
    QSettings stored(QSettings::IniFormat, QSettings::UserScope, "Rudi Zuvevid", "Rudi Zuvevid");
    EXPECT_EQ(stored.value("Filtering West/Active").toString(), "Filter 0");
    EXPECT_EQ(stored.value("Filtering 50%/Active").toString(), "Filter 5");
    EXPECT_FALSE(stored.contains("Filtering A/B/Active")) << "no nesting under the title A";
}

// Settings that cannot be written (their directory is a file) are reported, and the settings
// that were there stay as they were.
TEST(FilterModel, ASaveThatCannotBeWrittenIsReported)
{
    QTemporaryDir home;
    {
        ScopedSettingsHome settings(home.path());
        FilterModel f(", ");
        f.SetFilter("Travel");
        EXPECT_TRUE(f.save("Kept"));
    }
    const QString file = home.path() + "/Rudi Zuvevid/Rudi Zuvevid.ini";
    const QByteArray before = ReadAll(file);
    ASSERT_FALSE(before.isEmpty());
    WriteAll(home.path() + "/blocked", "a file, not a directory");
    {
        ScopedSettingsHome settings(home.path() + "/blocked");
        FilterModel f(", ");
        f.SetFilter("Work");
        EXPECT_FALSE(f.save("Kept"));
    }
    EXPECT_EQ(ReadAll(file), before);
}
