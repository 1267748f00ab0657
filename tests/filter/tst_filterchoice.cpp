#include "filterchoice.h"
#include "filtermodel.h"
#include "namespace.h"
#include "regio.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "usersettings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList kLegends = {"", "Work", "Travel", "Holiday", "A", "B", "D"};

FilterChoice Open(const QString &text, bool usingAnd = false,
                  FilterChoice::MasterReader master = {})
{
    FilterModel filter(", ");
    filter.SetFilter(text);
    filter.SetFilterMode(usingAnd);
    return FilterChoice(filter, kLegends, ", ", std::move(master));
}

QStringList Ticked(const FilterChoice &c)
{
    QStringList out;
    for (int i = 0; i < c.entries().size(); ++i)
        if (c.isTicked(i))
            out << c.entries()[i];
    return out;
}

} // namespace

TEST(FilterChoice, TheListAndTheTextInStep)
{
    FilterChoice c = Open("A, B", true);
    EXPECT_EQ(c.entries(), QStringList({"A", "B", "D", "Holiday", "Travel", "Work"}));
    EXPECT_EQ(Ticked(c), QStringList({"A", "B"}));
    EXPECT_EQ(c.text(), "A, B");
    EXPECT_TRUE(c.usingAnd());
    EXPECT_TRUE(c.clearEnabled());

    // In the order chosen, not the list's.
    c.tick(int(c.entries().indexOf("D")), true);
    EXPECT_EQ(c.text(), "A, B, D");
    c.tick(int(c.entries().indexOf("A")), false);
    EXPECT_EQ(c.text(), "B, D");
    EXPECT_EQ(c.chosen(), QStringList({"B", "D"}));

    // Typed text ticks an entry only once it parses to its name.
    c.textEdited("Wor");
    EXPECT_EQ(Ticked(c), QStringList());
    c.textEdited("Work");
    EXPECT_EQ(Ticked(c), QStringList({"Work"}));
    c.textEdited("Work, Nowhere");
    EXPECT_EQ(Ticked(c), QStringList({"Work"})) << "an unknown name is kept, ticking nothing";
    EXPECT_EQ(c.chosen(), QStringList({"Work", "Nowhere"}));

    c.clear();
    EXPECT_EQ(c.text(), "");
    EXPECT_FALSE(c.clearEnabled());
    EXPECT_EQ(Ticked(c), QStringList());

    // An empty filter opens with nothing ticked and Clear disabled.
    const FilterChoice empty = Open("");
    EXPECT_EQ(Ticked(empty), QStringList());
    EXPECT_FALSE(empty.clearEnabled());
}

TEST(FilterChoice, TheMasterListMergedAndSortedWithoutLetterCase)
{
    FilterChoice c = Open("Work", false, [] {
        return std::optional<QStringList>({"work", "Travel", " Errands ", "zebra", ""});
    });
    EXPECT_EQ(c.entries(), QStringList({"A", "B", "D", "Holiday", "Travel", "Work"}))
        << "the master list only on request";
    c.setIncludeMasterList(true);
    const QStringList entries = c.entries();
    EXPECT_EQ(entries.count("Travel"), 1) << "the same name once";
    EXPECT_TRUE(entries.contains("work") && entries.contains("Work")) << "each case of a name";
    EXPECT_TRUE(entries.contains("Errands")) << "trimmed";
    EXPECT_EQ(entries.last(), "zebra") << "lower case sorts with its letter";
    EXPECT_EQ(Ticked(c), QStringList({"Work"}));
    QStringList lower = entries;
    for (QString &e : lower)
        e = e.toLower();
    EXPECT_TRUE(std::is_sorted(lower.begin(), lower.end())) << qPrintable(entries.join(' '));

    // Without a master list to be had, the list is the planner's.
    FilterChoice none = Open("", false, [] { return std::optional<QStringList>(); });
    none.setIncludeMasterList(true);
    EXPECT_EQ(none.entries().size(), 6);
}

TEST(FilterChoice, SortTextListIgnoresCase)
{
    QStringList list = {"delta", "Bravo", "alpha", "Charlie", "bravo", "ALPHA"};
    SortTextList(list, 0, int(list.size()) - 1);
    for (qsizetype i = 1; i < list.size(); ++i)
        EXPECT_LE(list[i - 1].compare(list[i], Qt::CaseInsensitive), 0)
            << qPrintable(list.join(' '));
    QStringList one = {"x"}, none;
    SortTextList(one, 0, 0);
    SortTextList(none, 0, -1);
    EXPECT_EQ(one, QStringList({"x"}));
}

TEST(FilterChoice, OkStoresTheFilterUnderTheTitle)
{
    QTemporaryDir home;
    ScopedSettingsHome settings(home.path());
    FilterModel filter(", ");
    FilterChoice c(filter, kLegends, ", ", {});
    c.tick(int(c.entries().indexOf("Travel")), true);
    c.tick(int(c.entries().indexOf("Holiday")), true);
    c.setUsingAnd(true);
    ScriptedDialogs dialogs;
    c.accept(filter, "Team", dialogs);
    EXPECT_EQ(filter.FilterText(), "Travel, Holiday");
    EXPECT_EQ(filter.FilterDisplayText(), "Travel AND Holiday");
    EXPECT_TRUE(dialogs.texts().isEmpty());
    FilterModel read(", ");
    read.restore("Team");
    EXPECT_EQ(read.FilterText(), "Travel, Holiday");
    EXPECT_TRUE(read.FilterUsingAnd());

    // Settings that cannot be written: the filter applies, and one message says it was not kept.
    WriteAll(home.path() + "/blocked", "a file, not a directory");
    ScopedSettingsHome blocked(home.path() + "/blocked");
    c.tick(int(c.entries().indexOf("Travel")), false);
    c.accept(filter, "Team", dialogs);
    EXPECT_EQ(filter.FilterText(), "Holiday");
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_EQ(dialogs.texts()[0],
              QStringLiteral("The filter applies now, but it could not be kept for next time: %1 "
                             "cannot be written.")
                  .arg(UserSettings().fileName()));
}

TEST(MasterCategories, FromTheRegistryOrTheStoreByVersion)
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("registry.ini"),
             "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\9.0\\Outlook\\Categories]\n"
             "MasterList=\"Business;Gifts;Holiday\"\n"
             "[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Outlook\\Categories]\n"
             // "Büro;Ideas" as UTF-16 little-endian bytes
             "MasterList=hex:42,00,fc,00,72,00,6f,00,3b,00,49,00,64,00,65,00,61,00,73,00\n");
    ScriptedDialogs dialogs;
    RegIO registry(dialogs, dir.filePath("registry.ini"));
    EXPECT_EQ(ReadMasterCategories(ClientVersion{9}, registry, nullptr),
              QStringList({"Business", "Gifts", "Holiday"}));
    EXPECT_EQ(ReadMasterCategories(ClientVersion{11}, registry, nullptr),
              QStringList({QString::fromUtf8("Büro"), "Ideas"}));
    EXPECT_EQ(ReadMasterCategories(ClientVersion{10}, registry, nullptr), std::nullopt)
        << "no value: nothing";
    EXPECT_EQ(ReadMasterCategories(ClientVersion{-1}, registry, nullptr), std::nullopt);

    QDir().mkpath(dir.filePath("Team/Calendar"));
    WriteAll(dir.filePath("Team/.quorvel-store"),
             "[Categories]\n1\\Name=Work\n1\\Color=8\n2\\Name=Gifts\n2\\Color=3\nsize=2\n");
    Store::ProfileOptions options;
    options.storeDir = dir.filePath("Team");
    Store::NameSpace session(options);
    EXPECT_EQ(ReadMasterCategories(ClientVersion{16}, registry, &session),
              QStringList({"Work", "Gifts", ""}))
        << "the store's list and one empty position";
}
