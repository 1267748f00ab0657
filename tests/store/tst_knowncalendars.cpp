#include "calendarstore.h"
#include "qverror.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Store;

namespace {

QStringList PathsOf(const QList<KnownCalendar> &calendars)
{
    QStringList out;
    for (const KnownCalendar &c : calendars)
        out << c.path;
    return out;
}

// A user's home with vdir collections in it, as vdirsyncer leaves them.
class KnownCalendarsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *dir : {".calendars/home", ".calendars/work", ".calendars/.status",
                                "sync/team/one", "sync/team/two", "sync/solo", "contacts/people"})
            QDir().mkpath(home.filePath(dir));
        WriteAll(home.filePath(".calendars/work/displayname"), "Work (shared)\n");
        WriteAll(home.filePath(".calendars/work/color"), "#ff8800\n");
        WriteAll(home.filePath(".calendars/home/color"), "dark green\n"); // not a colour
    }
    QString path(const char *rel) const { return home.filePath(rel); }

    QTemporaryDir home;
};

} // namespace

TEST_F(KnownCalendarsTest, KhalsCalendarsWithTheDefaultFirstAndDiscoveredOnes)
{
    const QString config = R"(
# the khal configuration
[calendars]

  [[private]]
    path = ~/.calendars/home/
    color = dark green

  [[office]]
    path = "~/.calendars/work"   # quoted, with a comment
    readonly = True

  [[team]]
    path = ~/sync/team/*
    type = discover

  [[birthdays]]
    path = ~/contacts/people
    type = birthdays

  [[gone]]
    path = ~/nowhere

[default]
default_calendar = office
)";
    const QList<KnownCalendar> found = KhalCalendars(config, home.path());
    EXPECT_EQ(PathsOf(found), (QStringList{path(".calendars/work"), path(".calendars/home"),
                                           path("sync/team/one"), path("sync/team/two")}));
    ASSERT_EQ(found.size(), 4);
    EXPECT_EQ(found[0].name, "office");
    EXPECT_EQ(found[0].displayName, "Work (shared)");
    EXPECT_EQ(found[0].colour, "#FF8800");
    EXPECT_EQ(found[1].displayName, "private");
    EXPECT_EQ(found[1].colour, "") << "a colour name is no colour number";
    EXPECT_EQ(found[2].name, "one");

    // Variables as the tools expand them; a configuration that is none finds nothing.
    qputenv("QUORVEL_TEST_CALENDARS", QFile::encodeName(path(".calendars")));
    EXPECT_EQ(PathsOf(KhalCalendars("[calendars]\n[[a]]\npath = ${QUORVEL_TEST_CALENDARS}/home\n",
                                    "/elsewhere")),
              QStringList{path(".calendars/home")});
    qunsetenv("QUORVEL_TEST_CALENDARS");
    EXPECT_TRUE(KhalCalendars("", home.path()).isEmpty());
    EXPECT_TRUE(KhalCalendars("path = ~/.calendars/home\n[[x]]\n[", home.path()).isEmpty());
}

TEST_F(KnownCalendarsTest, VdirsyncersFilesystemStoragesOfCalendars)
{
    const QString config = R"(
[general]
status_path = "~/.vdirsyncer/status/"

[pair team]
a = "team_local"
b = "team_remote"
collections = ["from a", "from b"]

[pair solo]
a = "solo_local"
b = "solo_remote"
collections = null

[storage team_local]
type = "filesystem"
path = "~/sync/team/"
fileext = ".ics"

[storage solo_local]
type = "filesystem"
path = "~/sync/solo"
fileext = ".ics"

[storage people]
type = "filesystem"
path = "~/contacts/"
fileext = ".vcf"

[storage team_remote]
type = "caldav"
url = "https://example.org/"
)";
    const QList<KnownCalendar> found = VdirsyncerCalendars(config, home.path());
    EXPECT_EQ(PathsOf(found),
              (QStringList{path("sync/team/one"), path("sync/team/two"), path("sync/solo")}));
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[2].name, "solo_local") << "a storage that is one collection goes by its name";
}

TEST_F(KnownCalendarsTest, TheSessionOpensThemAsStoresOfTheirFoldersAlone)
{
    // Two calendars in one directory that holds more, one in another; a profile takes precedence.
    WriteAll(path(".calendars/work/fair.ics"),
             Vevent("fair", "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260310\r\n"));
    QDir().mkpath(path(".calendars/notes"));
    const QList<KnownCalendar> known = {
        {path(".calendars/work"), "office", "Work", ""},
        {path(".calendars/home"), "private", "private", ""},
        {path("sync/solo"), "solo", "solo", ""},
    };
    const QList<KnownStore> stores = KnownStores(known);
    ASSERT_EQ(stores.size(), 2);
    EXPECT_EQ(stores[0].name, "calendars");
    EXPECT_EQ(stores[0].root, path(".calendars"));
    EXPECT_EQ(stores[0].defaultCalendar, "work");
    EXPECT_EQ(stores[0].folders, (QStringList{"work", "home"}));
    EXPECT_EQ(stores[1].name, "sync");
    EXPECT_EQ(KnownStores({known[0], {path("x/calendars/a"), "a", "a", ""}})[1].name,
              "calendars (2)");

    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty());
    QDir().mkpath(config + "/khal");
    WriteAll(config + "/khal/config",
             "[calendars]\n[[office]]\npath = " + path(".calendars/work").toUtf8() +
                 "\n[[private]]\npath = " + path(".calendars/home").toUtf8() + "\n");
    {
        NameSpace session{ProfileOptions()};
        const FolderPtr calendar = session.GetDefaultFolder(olFolderCalendar);
        EXPECT_EQ(calendar->FolderPath(), "calendars\\work");
        EXPECT_EQ(calendar->Items()->Count(), 1);
        EXPECT_EQ(FolderPaths(session),
                  (QStringList{"calendars", "calendars\\home", "calendars\\work"}))
            << "the directory's other folders are not the user's calendars";
    }
    QTemporaryDir other;
    WriteAll(other.filePath("profile.ini"), "[Stores]\nsize=0\n");
    ProfileOptions withProfile;
    withProfile.profile = other.filePath("profile.ini");
    NameSpace profiled(withProfile);
    EXPECT_TRUE(FolderPaths(profiled).isEmpty());
    QFile::remove(config + "/khal/config");
}

TEST(StoreDefaultFolder, AStoreWithoutCalendarOpensItsOnlyCalendarFolder)
{
    QTemporaryDir dir;
    ProfileOptions options;
    options.storeDir = dir.path();
    QDir().mkpath(dir.filePath("personal"));
    EXPECT_EQ(NameSpace(options).GetDefaultFolder(olFolderCalendar)->FolderPath(),
              QFileInfo(dir.path()).fileName() + "\\personal");

    // Two of them: which one is not guessed.
    QDir().mkpath(dir.filePath("work"));
    EXPECT_THROW(NameSpace(options).GetDefaultFolder(olFolderCalendar), QvError);

    // A store that names its calendar opens that or nothing.
    WriteAll(dir.filePath(".quorvel-store"), "[Store]\nDefaultCalendar=work\n");
    EXPECT_EQ(NameSpace(options).GetDefaultFolder(olFolderCalendar)->Name(), "work");
    WriteAll(dir.filePath(".quorvel-store"), "[Store]\nDefaultCalendar=Plans\n");
    QDir(dir.filePath("work")).removeRecursively();
    EXPECT_THROW(NameSpace(options).GetDefaultFolder(olFolderCalendar), QvError);
}
