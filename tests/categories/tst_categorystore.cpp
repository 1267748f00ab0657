#include "categorycolours.h"
#include "categorystore.h"
#include "eventstore.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace Store;

namespace {

const QString kSubject = "PLEASE IGNORE - Quorvel Category Colours: Default";

QByteArray Appointment(const QByteArray &uid, const QString &subject, const QString &body)
{
    QString escaped = body;
    escaped.replace("\\", "\\\\").replace("\n", "\\n").replace(",", "\\,").replace(";", "\\;");
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nSUMMARY:" + subject.toUtf8() +
           "\r\nDTSTART:20110101T013000\r\nDTEND:20110101T013000\r\n"
           "DESCRIPTION:" +
           escaped.toUtf8() + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

class CategoryTest : public ::testing::Test
{
protected:
    CategoryTest()
    {
        QDir().mkpath(dir.path() + "/S/Calendar");
        options.storeDir = dir.path() + "/S";
        Application::setSharedOptions(options);
        session = std::make_shared<NameSpace>(options);
        folder = session->GetDefaultFolder(9);
    }
    ~CategoryTest() override { Application::setSharedOptions({}); }

    CategoryStore store()
    {
        return CategoryStore(dialogs, session, folder->EntryID(), folder->StoreID());
    }
    CategoryTable load(const QString &subject = kSubject)
    {
        CategoryTable t;
        store().LoadCategories(t, subject);
        return t;
    }
    // Writes the count straight onto the stored item, as another planner version might.
    void storeCount(int count)
    {
        auto helper = std::dynamic_pointer_cast<MapiFolder>(
            Application::shared()->CreateObject("TKCDO.tkMAPIFolder"));
        helper->setItem(folder);
        HiddenItemPtr item = helper->hiddenItems()->item(kSubject);
        item->setFields(
            QString::number(
                item->GetIDsFromNames(CategoryStore::kPropertySet, "NumberOfCategories") | 3),
            count);
        item->Save();
    }
    int items() { return int(QDir(folder->directory()).entryList({"*.ics"}).size()); }

    QTemporaryDir dir;
    ProfileOptions options;
    NameSpacePtr session;
    FolderPtr folder;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(CategoryTest, DefaultTableAndTheFirstSave)
{
    const CategoryTable t = load();
    ASSERT_EQ(t.names.size(), 15);
    EXPECT_EQ(t.names[0], "Unused 01");
    EXPECT_EQ(t.colours[0], 878787u);
    EXPECT_EQ(t.names[13], "Unused 14");
    EXPECT_EQ(t.colours[13], 747474u);
    EXPECT_EQ(t.names[14], "Other") << "the catch-all";
    EXPECT_EQ(t.colours[14], 0xCCCCCCu);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(items(), 0) << "loading writes nothing";

    store().SaveCategories(t, kSubject);
    ASSERT_EQ(items(), 1);
    const QByteArray file =
        ReadAll(folder->directory() + "/" + QDir(folder->directory()).entryList({"*.ics"})[0]);
    EXPECT_TRUE(file.contains("X-QUORVEL-MESSAGE-CLASS:IPM.Calendar.Quorvel.Categories"));
    EXPECT_TRUE(file.contains("X-NAME=NumberOfCategories;X-TYPE=3:15"));
    EXPECT_TRUE(file.contains("{FFF40745-D92F-4C11-9E14-92701F001EB3}"));
    EXPECT_EQ(folder->Items()->Count(), 0) << "the table is no appointment";

    // Another session (as another process would) reads the same table.
    NameSpace other(options);
    CategoryTable read;
    CategoryStore(dialogs, std::make_shared<NameSpace>(options), folder->EntryID(),
                  folder->StoreID())
        .LoadCategories(read, kSubject);
    EXPECT_EQ(read.names, t.names);
    EXPECT_EQ(read.colours, t.colours);
}

TEST_F(CategoryTest, StoredCountsAreChecked)
{
    CategoryTable t{{"Sales, North", "Other"}, {0x00FF8800, 0xCCCCCC}};
    store().SaveCategories(t, kSubject);
    EXPECT_EQ(load().names, t.names) << "a name with a comma survives the file";

    storeCount(499);
    dialogs.clear();
    CategoryTable big;
    EXPECT_FALSE(store().ReadCategoryStore(big, kSubject))
        << "499 is accepted but its names are missing";
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.startsWith("Error loading categories "));

    for (int rejected : {500, -1}) {
        storeCount(rejected);
        CategoryTable untouched{{"x"}, {1}};
        dialogs.clear();
        EXPECT_FALSE(store().ReadCategoryStore(untouched, kSubject)) << rejected;
        EXPECT_EQ(untouched.names, QStringList{"x"}) << "the table is not touched";
        EXPECT_TRUE(dialogs.shown().isEmpty());
        EXPECT_EQ(load().names.size(), 15) << "the default table instead";
    }
    storeCount(0);
    EXPECT_TRUE(load().names.isEmpty()) << "a count of 0 is an empty table";
}

TEST_F(CategoryTest, AcceptedCountOf499)
{
    CategoryTable t;
    for (int i = 1; i <= 499; ++i) {
        t.names << QString("C%1").arg(i);
        t.colours << quint32(i);
    }
    store().SaveCategories(t, kSubject);
    const CategoryTable back = load();
    EXPECT_EQ(back.names.size(), 499);
    EXPECT_EQ(back.colours.last(), 499u);
}

TEST_F(CategoryTest, ATableSavedByOneProcessIsReadByAnother)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ScriptedDialogs quiet;
        auto session = std::make_shared<NameSpace>(options);
        const FolderPtr f = session->GetDefaultFolder(9);
        CategoryStore(quiet, session, f->EntryID(), f->StoreID())
            .SaveCategories({{"From the other process", "Other"}, {0x123456, 0xCCCCCC}}, kSubject);
        _exit(quiet.shown().isEmpty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const CategoryTable t = load();
    EXPECT_EQ(t.names, QStringList({"From the other process", "Other"}));
    EXPECT_EQ(t.colours.first(), 0x123456u);
}

TEST_F(CategoryTest, AShorterTableOverALongerOne)
{
    store().SaveCategories({{"A", "B", "C"}, {1, 2, 3}}, kSubject);
    store().SaveCategories({{"Z"}, {9}}, kSubject);
    const CategoryTable t = load();
    EXPECT_EQ(t.names, QStringList{"Z"});
    EXPECT_EQ(items(), 1) << "updated in place";
    const QByteArray file =
        ReadAll(folder->directory() + "/" + QDir(folder->directory()).entryList({"*.ics"})[0]);
    EXPECT_TRUE(file.contains("X-NAME=Category3")) << "the old, higher positions stay";
}

TEST_F(CategoryTest, TwoTitlesKeepTwoTables)
{
    const QString west = "PLEASE IGNORE - Quorvel Category Colours: West";
    const QString east = "PLEASE IGNORE - Quorvel Category Colours: O'Brien's East";
    store().SaveCategories({{"W"}, {1}}, west);
    store().SaveCategories({{"E"}, {2}}, east);
    EXPECT_EQ(load(west).names, QStringList{"W"});
    EXPECT_EQ(load(east).names, QStringList{"E"});
    EXPECT_EQ(items(), 2);
}

TEST_F(CategoryTest, OlderListsInAppointmentBodies)
{
    // Under the current subject, a header and one line are enough.
    WriteAll(folder->directory() + "/legacy.ics",
             Appointment("l1", kSubject, "--DO NOT EDIT LIST MANUALLY--\r\nTravel|255"));
    CategoryTable t = load();
    EXPECT_EQ(t.names, QStringList{"Travel"});
    EXPECT_EQ(t.colours, QList<quint32>{255});
    QFile::remove(folder->directory() + "/legacy.ics");

    // Under the old fixed subject two lines are too few: the item is deleted.
    WriteAll(folder->directory() + "/old.ics",
             Appointment("l2", CategoryStore::kOldSubject, "header\r\nTravel|255"));
    EXPECT_EQ(load().names.size(), 15);
    EXPECT_FALSE(QFile::exists(folder->directory() + "/old.ics"));

    // With three lines it is adopted and takes the current subject.
    WriteAll(folder->directory() + "/old.ics",
             Appointment("l3", CategoryStore::kOldSubject, "header\r\nTravel|255\r\nWork|65280"));
    EXPECT_EQ(load().names, QStringList({"Travel", "Work"}));
    EXPECT_TRUE(ReadAll(folder->directory() + "/old.ics").contains("SUMMARY:" + kSubject.toUtf8()));

    // A title with an apostrophe still finds its own list.
    const QString obrien = "PLEASE IGNORE - Quorvel Category Colours: O'Brien";
    WriteAll(folder->directory() + "/obrien.ics",
             Appointment("l4", obrien, "header\r\nSales|16711680"));
    EXPECT_EQ(load(obrien).names, QStringList{"Sales"});
}

// The older lists are found by a filter dated 31 December 2010, written and read in the user's
// locale: a list from 2011 is found in every locale.
TEST_F(CategoryTest, OlderListsAreFoundInEveryLocale)
{
    for (const QByteArray &name : UserLocaleNames()) {
        SCOPED_TRACE(name.toStdString());
        const ScopedLocale locale(name);
        session = std::make_shared<NameSpace>(options);
        WriteAll(folder->directory() + "/legacy.ics",
                 Appointment("l1", kSubject, "--DO NOT EDIT LIST MANUALLY--\r\nTravel|255"));
        EXPECT_EQ(load().names, QStringList{"Travel"});
        QFile::remove(folder->directory() + "/legacy.ics");
    }
}

TEST(CategoryHelpers, NamesListsAndTrimming)
{
    EXPECT_EQ(GetStringList({{"A", "B", "Sales|x"}, {1, 2, 3}}),
              QStringList({"", "A", "B", "Sales"}));
    EXPECT_EQ(GetStringList({}), QStringList{""});
    EXPECT_EQ(CleanCategoryName("  "), "");
    EXPECT_EQ(CleanCategoryName(" A|b\tc "), " Abc ") << "outer spaces stay";
    EXPECT_EQ(TrimControlChars("\r\n\t A B \x01\r\n"), "A B");
    EXPECT_EQ(TrimControlChars("\x01\x02 "), "");
    EXPECT_EQ(OutlookColourOf(1), 0x9693EDu);
    EXPECT_EQ(OutlookColourOf(15), 0u);
    EXPECT_EQ(OutlookColourOf(26), 0xFFFFFFu);
}

TEST(CategoryHelpers, ATableOfTheCategoriesInUse)
{
    EventStore store;
    const auto add = [&](const QString &id, const QString &categories, int day) {
        auto e = std::make_unique<CalEvent>();
        e->EventID = id;
        e->Categories = categories;
        e->StartDate = 46000 + day;
        InsertEventSorted(store, std::move(e));
    };
    add("a", "Work, Family", 1);
    add("b", "", 2);
    add("c", "Travel", 3);
    add("d", " Work ,Garden", 4);
    EXPECT_EQ(CategoriesInUse(store, ","), (QStringList{"Work", "Family", "Travel", "Garden"}));

    // In order of first use, each in a colour of its own that black text reads on, then the
    // catch-all in the calendar's colour.
    QStringList used;
    for (int i = 0; i < 20; ++i)
        used << QStringLiteral("Team %1").arg(i);
    const CategoryTable table = CategoryTableOfUse(used + QStringList{"Team 3", "Other"}, 0x336699);
    ASSERT_EQ(table.names.size(), 15) << "the default table's fourteen and the catch-all";
    EXPECT_EQ(table.names.mid(0, 14), used.mid(0, 14));
    EXPECT_EQ(table.names.last(), "Other");
    EXPECT_EQ(table.colours.last(), ReadableUnderBlackText(0x336699));
    const QSet<quint32> distinct(table.colours.cbegin(), table.colours.cend() - 1);
    EXPECT_EQ(distinct.size(), 14);
    for (const quint32 c : distinct) {
        const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
        EXPECT_GT(0.299 * r + 0.587 * g + 0.114 * b, 120) << std::hex << c;
    }
    EXPECT_EQ(CategoryTableOfUse({"Work"}, std::nullopt).colours.last(), 0xCCCCCCu);
    // A dark calendar colour is lightened until black text reads on it, keeping its hue; a
    // light one is kept as it is.
    const quint32 lightened = ReadableUnderBlackText(0xC2783A); // #3A78C2
    const int r = lightened & 0xFF, g = (lightened >> 8) & 0xFF, b = (lightened >> 16) & 0xFF;
    EXPECT_GE(0.299 * r + 0.587 * g + 0.114 * b, 140);
    EXPECT_LT(0.299 * r + 0.587 * g + 0.114 * b, 160) << "no whiter than needed";
    EXPECT_TRUE(r < g && g < b) << "still blue: " << std::hex << lightened;
    EXPECT_EQ(ReadableUnderBlackText(0x9FDDA6), 0x9FDDA6u);
    EXPECT_EQ(ReadableUnderBlackText(0x000000), 0x8C8C8Cu) << "black becomes a mid grey";
    EXPECT_EQ(ColourOfHexText("#3366CC"), 0xCC6633u);
    for (const char *no : {"", "#3366C", "3366CCC", "#33G6CC"})
        EXPECT_FALSE(ColourOfHexText(no)) << no;
    EXPECT_EQ(CategoryTableOfUse({}, 0x336699).names, DefaultCategoryTable().names)
        << "no category in use: the default table";
}
