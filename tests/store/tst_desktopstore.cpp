// The store of the desktop's calendars over a calendar service of the test's making: what the
// object model makes of a service's objects, its changes and its refusals, without the real
// service (tst_eds runs that).
#include "calendarstore.h"
#include "desktopcalendars.h"
#include "fakedesktop.h"
#include "folderpath.h"
#include "helperobjects.h"
#include "hiddenitem.h"
#include "hiddenitems.h"
#include "import.h"
#include "oadate.h"
#include "qverror.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Store;

namespace {

QByteArray Calendar(const QString &uid, const QString &body)
{
    return ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:" + uid +
            "\r\nDTSTAMP:20260101T000000Z\r\n" + body + "END:VEVENT\r\nEND:VCALENDAR\r\n")
        .toUtf8();
}

class DesktopStoreTest : public ::testing::Test
{
protected:
    DesktopStoreTest()
        : config("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + "/config")),
          data("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/data")),
          cache("XDG_CACHE_HOME", QFile::encodeName(dir.path() + "/cache")),
          khal("VDIRSYNCER_CONFIG", QFile::encodeName(dir.path() + "/none"))
    {
        desktop = std::make_shared<FakeCalendars>();
        SetDesktopCalendarsConnector([this] { return running ? desktop : nullptr; });
        team().put("retreat", Calendar("retreat", "SUMMARY:Retreat\r\nCATEGORIES:Team\r\n"
                                                  "DTSTART;VALUE=DATE:20260310\r\n"
                                                  "DTEND;VALUE=DATE:20260313\r\n"));
        team().put("weekly", Calendar("weekly", "SUMMARY:Weekly\r\nDTSTART:20260105T090000\r\n"
                                                "DTEND:20260105T100000\r\n"
                                                "RRULE:FREQ=WEEKLY;COUNT=3\r\n"));
        options.storeDir = kDesktopStoreOption;
    }
    ~DesktopStoreTest() override { SetDesktopCalendarsConnector({}); }

    FakeSource &team() { return desktop->source("team-1"); }
    HiddenItemsPtr hidden(const FolderPtr &f)
    {
        auto helper = std::dynamic_pointer_cast<MapiFolder>(
            Application(options).CreateObject("TKCDO.tkMAPIFolder"));
        helper->setItem(f);
        return helper->hiddenItems();
    }
    NameSpacePtr session() { return std::make_shared<NameSpace>(options); }
    static QStringList Subjects(const QList<ItemPtr> &items)
    {
        QStringList out;
        for (const ItemPtr &i : items)
            out << AppointmentOf(i)->Subject();
        return out;
    }

    QTemporaryDir dir;
    ScopedEnv config, data, cache, khal;
    std::shared_ptr<FakeCalendars> desktop;
    bool running = true;
    ProfileOptions options;
};

} // namespace

TEST_F(DesktopStoreTest, TheDesktopsCalendarsAreAStoreWhereverTheServiceRuns)
{
    const NameSpacePtr s = session();
    EXPECT_EQ(FolderPaths(*s), QStringList({"Desktop Calendars", "Desktop Calendars\\Birthdays",
                                            "Desktop Calendars\\Team"}));
    EXPECT_EQ(s->GetDefaultFolder(olFolderCalendar)->FolderPath(), "Desktop Calendars\\Team");
    const FolderPtr teamFolder = FolderAtPath(*s, "Desktop Calendars\\Team");
    ASSERT_TRUE(teamFolder);
    EXPECT_EQ(CollectionDisplayName(teamFolder->directory()), "Team");
    EXPECT_EQ(CollectionColour(teamFolder->directory()), "#62A0EA");
    EXPECT_EQ(s->GetFolderFromID(teamFolder->EntryID(), teamFolder->StoreID())->FolderPath(),
              "Desktop Calendars\\Team");

    // Beside a profile's stores, never their default; without a profile or khal's calendars,
    // the desktop's default calendar; and nothing where the service does not run.
    QDir().mkpath(dir.path() + "/vdir/Calendar");
    WriteAll(dir.path() + "/profile.ini",
             "[Stores]\n1\\Root=" + QFile::encodeName(dir.path() + "/vdir") +
                 "\n1\\Name=Mine\nsize=1\n");
    options = {};
    options.profile = dir.path() + "/profile.ini";
    EXPECT_EQ(session()->GetDefaultFolder(olFolderCalendar)->FolderPath(), "Mine\\Calendar");
    EXPECT_TRUE(FolderAtPath(*session(), "Desktop Calendars\\Team"));
    options.profile = dir.path() + "/no-such-profile.ini";
    EXPECT_EQ(session()->GetDefaultFolder(olFolderCalendar)->FolderPath(),
              "Desktop Calendars\\Team");
    running = false;
    EXPECT_FALSE(FolderAtPath(*session(), "Desktop Calendars\\Team"));
    options.profile = dir.path() + "/profile.ini";
    EXPECT_EQ(FolderPaths(*session()), QStringList({"Mine", "Mine\\Calendar"}));
}

TEST_F(DesktopStoreTest, AServicesObjectsReadAsAVdirsFilesDo)
{
    team().put("broken", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:broken\r\nSUMMARY:x\r\n");
    const FolderPtr f = FolderAtPath(*session(), "Desktop Calendars\\Team");
    ItemsPtr items = f->Items();
    items->setIncludeRecurrences(true);
    items = items->Restrict(RangeRestriction(QDate(2026, 1, 1), QDate(2026, 12, 31)));
    items->Sort("[Start]");
    EXPECT_EQ(Subjects(items->all()), QStringList({"Weekly", "Weekly", "Weekly", "Retreat"}));
    EXPECT_EQ(items->leftOut().size(), 1) << qPrintable(items->leftOut().join('\n'));
    EXPECT_EQ(AppointmentOf(items->all().constLast())->Categories(), "Team");
    // Each item's identifier is its own and stays for the next session.
    const QString id = items->all().constLast()->EntryID();
    EXPECT_EQ(AppointmentOf(session()->GetItemFromID(id))->Subject(), "Retreat");
    // The stamps a rebuild compares change with an object's text alone.
    const QHash<QString, FileStamp> before = f->Items()->fileStamps();
    team().put("weekly", Calendar("weekly", "SUMMARY:Weekly, later\r\nDTSTART:20260105T100000\r\n"
                                            "DTEND:20260105T110000\r\n"));
    const QHash<QString, FileStamp> after = f->Items()->fileStamps();
    EXPECT_EQ(before.size(), 3);
    EXPECT_EQ(before[ObjectKey("retreat")], after[ObjectKey("retreat")]);
    EXPECT_NE(before[ObjectKey("weekly")], after[ObjectKey("weekly")]);

    // While the calendar's revision stays, the stamps are those kept, in any session; a change
    // through another client is read again.
    team().wholeReads = 0;
    EXPECT_EQ(FolderAtPath(*session(), "Desktop Calendars\\Team")->Items()->fileStamps(), after);
    EXPECT_EQ(team().wholeReads, 0);
    team().held.remove(ObjectKey("retreat"));
    ++team().revisionNumber;
    EXPECT_EQ(f->Items()->fileStamps().size(), 2);
    EXPECT_EQ(team().wholeReads, 1);
    // A kept file that does not read back is only a guide: the calendar is read.
    const QString kept = QDir(dir.path() + "/cache/quorvel/folders")
                             .entryList({"*.stamps"}, QDir::Files, QDir::Name)
                             .value(0);
    ASSERT_FALSE(kept.isEmpty());
    WriteAll(dir.path() + "/cache/quorvel/folders/" + kept,
             "quorvel-stamps 1 " + QByteArray::number(team().revisionNumber) +
                 "\nkey not-a-number\n");
    EXPECT_EQ(f->Items()->fileStamps().size(), 2);
    EXPECT_EQ(team().wholeReads, 2);
}

TEST_F(DesktopStoreTest, TheColourTableIsFoundWithoutReadingTheWholeCalendar)
{
    {
        const FolderPtr f = FolderAtPath(*session(), "Desktop Calendars\\Team");
        const HiddenItemPtr table = hidden(f)->Add("IPM.Quorvel.Categories");
        table->setSubject("Colours: Team");
        table->Save();
    }
    EXPECT_EQ(team().held.size(), 3) << "the table is one more object of the calendar";
    const FolderPtr f = FolderAtPath(*session(), "Desktop Calendars\\Team");
    team().wholeReads = 0;
    ASSERT_TRUE(hidden(f)->item("Colours: Team"));
    EXPECT_EQ(hidden(f)->Count(), 1);
    EXPECT_TRUE(f->Items()->Find("[Subject] = 'Retreat'"));
    EXPECT_FALSE(f->Items()->Find("[Subject] = 'Colours: Team'")) << "hidden items are not items";
    EXPECT_EQ(team().wholeReads, 0) << "a start would read every event to find them";
    EXPECT_EQ(f->Items()->Count(), 2);
}

TEST_F(DesktopStoreTest, ChangesTheServiceTellsAreTheFoldersNotifications)
{
    const FolderPtr f = FolderAtPath(*session(), "Desktop Calendars\\Team");
    const ItemsPtr items = f->Items();
    QStringList heard;
    QObject::connect(items.get(), &Items::ItemAdd,
                     [&](const ItemPtr &i) { heard << "add " + AppointmentOf(i)->Subject(); });
    QObject::connect(items.get(), &Items::ItemChange,
                     [&](const ItemPtr &i) { heard << "change " + AppointmentOf(i)->Subject(); });
    QObject::connect(items.get(), &Items::ItemRemove, [&] { heard << "remove"; });
    EXPECT_TRUE(team().watched);
    team().changeByOthers("new", Calendar("new", "SUMMARY:New\r\nDTSTART:20260601T090000\r\n"
                                                 "DTEND:20260601T100000\r\n"));
    team().changeByOthers("retreat", Calendar("retreat", "SUMMARY:Retreat moved\r\n"
                                                         "DTSTART;VALUE=DATE:20260317\r\n"
                                                         "DTEND;VALUE=DATE:20260318\r\n"));
    team().changeByOthers("weekly", {});
    EXPECT_EQ(heard, QStringList({"add New", "change Retreat moved", "remove"}));
    EXPECT_EQ(Subjects(items->all()), QStringList({"New", "Retreat moved"}));
}

TEST_F(DesktopStoreTest, WritesGoToTheServiceAndARefusalKeepsWhatThereWas)
{
    const FolderPtr f = FolderAtPath(*session(), "Desktop Calendars\\Team");
    const AppointmentItemPtr a = f->Items()->Add();
    a->setSubject("Review");
    a->setStart(OADate::fromDateTime(QDate(2026, 5, 4), QTime(9, 0)));
    a->setEnd(OADate::fromDateTime(QDate(2026, 5, 4), QTime(10, 0)));
    a->Save();
    ASSERT_EQ(team().held.size(), 3);
    EXPECT_EQ(QDir(f->directory()).entryList(QDir::Files), QStringList({"color", "displayname"}));
    const QString id = a->EntryID();
    EXPECT_EQ(AppointmentOf(session()->GetItemFromID(id))->Subject(), "Review");
    a->Delete();
    EXPECT_EQ(team().held.size(), 2);

    const FolderPtr birthdays = FolderAtPath(*session(), "Desktop Calendars\\Birthdays");
    desktop->source("bday").refusal = "The calendar Birthdays is read-only";
    const AppointmentItemPtr party = birthdays->Items()->Add();
    party->setSubject("Party");
    try {
        party->Save();
        ADD_FAILURE() << "a read-only calendar took a write";
    } catch (const QvError &e) {
        EXPECT_TRUE(e.description().contains("read-only")) << qPrintable(e.description());
    }
    EXPECT_TRUE(desktop->source("bday").held.isEmpty());
}

TEST_F(DesktopStoreTest, AnImportAddsNewEventsAndReplacesThoseOfTheirUid)
{
    const FolderPtr f = FolderAtPath(*session(), "Desktop Calendars\\Team");
    const QByteArray text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:retreat\r\nSUMMARY:Retreat, "
        "again\r\nDTSTART;VALUE=DATE:20260310\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:fair\r\n"
        "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260505\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const ImportResult result = ImportCalendar(*f, text);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(team().held.size(), 3);
    EXPECT_TRUE(f->Items()->Find("[Subject] = 'Retreat, again'"));
}

TEST_F(DesktopStoreTest, ACalendarThatCannotBeReadIsSaidAndReadsAsEmpty)
{
    const NameSpacePtr s = session();
    const FolderPtr f = FolderAtPath(*s, "Desktop Calendars\\Team");
    team().failure = "The calendar Team cannot be read: the account is offline";
    EXPECT_EQ(f->Items()->Count(), 0);
    EXPECT_TRUE(s->warnings().join('\n').contains("the account is offline"))
        << qPrintable(s->warnings().join('\n'));
    EXPECT_FALSE(hidden(f)->item("Colours: Team"));
    team().failure.clear();
    EXPECT_EQ(f->Items()->Count(), 2) << "read again once the service answers";
}
