// The desktop's calendars, with the desktop's calendar service running for real (tst_eds.sh):
// what its own client writes is listed, drawn and heard; what the planner writes reaches it.
// GLib's headers name a member "signals": they come before Qt's.
#include <libecal/libecal.h>

#include "appointmentcommands.h"
#include "appointmentitem.h"
#include "calendarstore.h"
#include "categorystore.h"
#include "desktopcalendars.h"
#include "edscalendars.h"
#include "folderpath.h"
#include "import.h"
#include "oadate.h"
#include "scripteddialogs.h"
#include "storeui.h"
#include "testsupport.h"
#include "yearplan.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kTeam = QStringLiteral("Desktop Calendars\\Team");
const QString kYear = QString::number(QDate::currentDate().year());

QByteArray AllDay(const QString &uid, const QString &summary, const QString &from,
                  const QString &to, const QString &category)
{
    return ("BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:" + summary +
            "\r\nCATEGORIES:" + category + "\r\nDTSTART;VALUE=DATE:" + kYear + from +
            "\r\nDTEND;VALUE=DATE:" + kYear + to + "\r\nEND:VEVENT\r\n")
        .toUtf8();
}

// The calendar "Team" through the service's own client, as another program uses it.
class Team
{
public:
    Team()
    {
        registry = e_source_registry_new_sync(nullptr, nullptr);
        ESource *source = registry ? e_source_registry_ref_source(registry, "team") : nullptr;
        if (source) {
            client = E_CAL_CLIENT(e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                            guint32(-1), nullptr, nullptr));
            g_object_unref(source);
        }
    }
    ~Team()
    {
        if (client)
            g_object_unref(client);
        if (registry)
            g_object_unref(registry);
    }
    bool put(const QByteArray &event, bool isNew)
    {
        ICalComponent *c = i_cal_component_new_from_string(event.constData());
        const bool ok =
            isNew ? e_cal_client_create_object_sync(client, c, E_CAL_OPERATION_FLAG_NONE, nullptr,
                                                    nullptr, nullptr)
                  : e_cal_client_modify_object_sync(client, c, E_CAL_OBJ_MOD_ALL,
                                                    E_CAL_OPERATION_FLAG_NONE, nullptr, nullptr);
        g_object_unref(c);
        return ok;
    }
    // Many new events in one call, as an import by another client sends them.
    bool putAll(const QList<QByteArray> &events)
    {
        GSList *list = nullptr;
        for (const QByteArray &e : events)
            list = g_slist_prepend(list, i_cal_component_new_from_string(e.constData()));
        GSList *uids = nullptr;
        const bool ok = e_cal_client_create_objects_sync(client, list, E_CAL_OPERATION_FLAG_NONE,
                                                         &uids, nullptr, nullptr);
        g_slist_free_full(uids, g_free);
        g_slist_free_full(list, g_object_unref);
        return ok;
    }
    bool remove(const QString &uid)
    {
        return e_cal_client_remove_object_sync(client, uid.toUtf8().constData(), nullptr,
                                               E_CAL_OBJ_MOD_ALL, E_CAL_OPERATION_FLAG_NONE,
                                               nullptr, nullptr);
    }
    // Every event's text, master and overrides.
    QByteArray all()
    {
        GSList *list = nullptr;
        QByteArray text;
        if (e_cal_client_get_object_list_sync(client, "#t", &list, nullptr, nullptr)) {
            for (GSList *l = list; l; l = l->next) {
                gchar *s = i_cal_component_as_ical_string(static_cast<ICalComponent *>(l->data));
                text += s;
                g_free(s);
            }
        }
        g_slist_free_full(list, g_object_unref);
        return text;
    }

    ESourceRegistry *registry = nullptr;
    ECalClient *client = nullptr;
};

// The store's appointment form, filled in and saved as a user would.
class Form : public Store::StoreUi
{
public:
    bool editAppointment(Store::AppointmentItem &item, std::optional<double>) override
    {
        item.setSubject("Planning day");
        item.Save();
        return true;
    }
    Store::FolderPtr pickFolder(Store::NameSpace &) override { return nullptr; }
    bool editCategories(Store::AppointmentItem &, Store::NameSpace &) override { return false; }
    void displayFolder(Store::Folder &) override {}
};

class DesktopCalendarsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsSet("QT_NO_GLIB"))
            << "the service's signals come through GLib's main loop";
        Store::UseDesktopCalendars();
        ASSERT_TRUE(team.client) << "run by tst_eds.sh, which starts the service";
        options.storeDir = Store::kDesktopStoreOption;
        Store::Application::setSharedOptions(options);
        // The calendar as the test left it last: empty.
        GSList *list = nullptr;
        e_cal_client_get_object_list_sync(team.client, "#t", &list, nullptr, nullptr);
        for (GSList *l = list; l; l = l->next)
            team.remove(i_cal_component_get_uid(static_cast<ICalComponent *>(l->data)));
        g_slist_free_full(list, g_object_unref);
    }
    void TearDown() override { Store::Application::setSharedOptions({}); }

    Store::FolderPtr folder(Store::NameSpacePtr session, const QString &path = kTeam)
    {
        return Store::FolderAtPath(*session, path);
    }
    bool settle(YearPlan &plan, const std::function<bool()> &also)
    {
        return WaitFor([&] { return plan.pendingUpdates() == 0 && also(); });
    }
    QStringList subjects(YearPlan &plan)
    {
        QStringList out;
        for (int i = 1; i <= plan.state().store->Count(); ++i)
            out << plan.state().store->Item(i).Subject;
        out.sort();
        return out;
    }

    Team team;
    Store::ProfileOptions options;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(DesktopCalendarsTest, TheDesktopsCalendarsAreFoldersWithTheirNamesAndColours)
{
    auto session = std::make_shared<Store::NameSpace>(options);
    const QStringList paths = Store::FolderPaths(*session);
    EXPECT_TRUE(paths.contains(kTeam)) << qPrintable(paths.join(", "));
    EXPECT_TRUE(paths.contains("Desktop Calendars\\Personal")) << qPrintable(paths.join(", "));
    bool found = false;
    for (const Store::CalendarChoice &c : Store::CalendarsOf(*session)) {
        if (c.path == kTeam) {
            found = true;
            EXPECT_EQ(c.displayName, "Team");
            EXPECT_EQ(c.colour.toLower(), "#62a0ea");
        }
    }
    EXPECT_TRUE(found);
    // Without a profile or calendars of khal's, the user's default calendar is the default.
    EXPECT_EQ(session->GetDefaultFolder(Store::olFolderCalendar)->FolderPath(),
              "Desktop Calendars\\Personal");
    const Store::FolderPtr team = folder(session);
    ASSERT_TRUE(team);
    EXPECT_EQ(session->GetFolderFromID(team->EntryID(), team->StoreID())->FolderPath(), kTeam);
}

TEST_F(DesktopCalendarsTest, WhatAnotherClientWroteIsListedAndDrawnInItsCategorysColour)
{
    ASSERT_TRUE(
        team.put(AllDay("kickoff@other", "Kick-off <b>now</b>", "0310", "0313", "Project"), true));
    QProcess list;
    list.start(QUORVEL_LIST, {"--store", "desktop:", kTeam, kYear + "-01-01", kYear + "-12-31"});
    ASSERT_TRUE(list.waitForFinished(30000));
    const QString listed = QString::fromUtf8(list.readAllStandardOutput());
    EXPECT_TRUE(
        listed.startsWith(kYear + "-03-10\t" + kYear + "-03-13\t1\tKick-off <b>now</b>\tProject\t"))
        << qPrintable(listed) << qPrintable(list.readAllStandardError());

    // The colour table is a hidden event of the calendar, which another client keeps too.
    {
        auto session = std::make_shared<Store::NameSpace>(options);
        const Store::FolderPtr f = folder(session);
        CategoryStore(dialogs, session, f->EntryID(), f->StoreID())
            .SaveCategories({{"Project", "Other"}, {0x9FDDA6, 0xCCCCCC}},
                            "PLEASE IGNORE - Quorvel Category Colours: Team");
    }
    EXPECT_TRUE(team.all().contains("X-QUORVEL-HIDDEN:TRUE"));
    {
        auto session = std::make_shared<Store::NameSpace>(options);
        const Store::FolderPtr f = folder(session);
        CategoryTable table;
        ASSERT_TRUE(CategoryStore(dialogs, session, f->EntryID(), f->StoreID())
                        .LoadCategories(table, "PLEASE IGNORE - Quorvel Category Colours: Team"));
        EXPECT_EQ(table.names, QStringList({"Project", "Other"}));
        EXPECT_EQ(f->Items()->Count(), 1) << "the table is not an appointment";
    }

    YearPlan plan(nullptr, &dialogs);
    plan.resize(1400, 900);
    plan.ReadProperties(
        MapPropertyBag({{"Folder", kTeam}, {"TitleName", "Team"}, {"DisplaySubject", "True"}}));
    ASSERT_TRUE(settle(plan, [&] { return plan.state().store->Count() == 1; }))
        << qPrintable(dialogs.texts().join('\n'));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(plan.state().store->Item(1).Subject, "Kick-off <b>now</b>");
    EXPECT_TRUE(QFileInfo::exists(plan.cacheFiles().cacheFile));
    const CalEvent &e = plan.state().store->Item(1);
    const GridGeometry &g = plan.geometry();
    const int row = plan.state().year.RowOfMonth(3);
    const int x = int(((e.StartDay - 1) + 1.5) * g.DayWidth / plan.px());
    const int y = int((plan.state().RowBands[row - 1] + 1.5) * g.BandHeight / plan.py());
    const QImage &image = plan.gridCanvas()->canvas().image();
    EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, qRgb(166, 221, 159) & 0xFFFFFF);

    // A change and a removal by the other client reach the running planner.
    ASSERT_TRUE(
        team.put(AllDay("kickoff@other", "Kick-off moved", "0317", "0318", "Project"), false));
    EXPECT_TRUE(settle(plan, [&] { return subjects(plan) == QStringList{"Kick-off moved"}; }))
        << qPrintable(subjects(plan).join(", "));
    ASSERT_TRUE(team.put(AllDay("second@other", "Second", "0601", "0602", "Other"), true));
    EXPECT_TRUE(settle(plan, [&] {
        return subjects(plan) == QStringList({"Kick-off moved", "Second"});
    })) << qPrintable(subjects(plan).join(", "));
    ASSERT_TRUE(team.remove("kickoff@other"));
    EXPECT_TRUE(settle(plan, [&] { return subjects(plan) == QStringList{"Second"}; }))
        << qPrintable(subjects(plan).join(", "));

    // The synchroniser, with a connection of its own to the service, leaves a year nobody
    // changed as it is when the next planner opens it.
    const QString cache = plan.cacheFiles().cacheFile;
    const std::optional<Store::FileStamp> kept = Store::StampOf(cache);
    ASSERT_TRUE(kept);
    YearPlan again(nullptr, &dialogs);
    again.resize(1400, 900);
    again.ReadProperties(
        MapPropertyBag({{"Folder", kTeam}, {"TitleName", "Team"}, {"DisplaySubject", "True"}}));
    ASSERT_TRUE(settle(again, [&] { return subjects(again) == QStringList{"Second"}; }));
    EXPECT_EQ(Store::StampOf(cache), kept) << "an unchanged year was written again";
}

TEST_F(DesktopCalendarsTest, WhatThePlannerWritesReachesTheServiceAndNothingElse)
{
    auto session = std::make_shared<Store::NameSpace>(options);
    const Store::FolderPtr f = folder(session);
    ASSERT_TRUE(f);
    const Store::AppointmentItemPtr a = f->Items()->Add();
    a->setSubject("Review");
    a->setCategories("Project, Team");
    a->setAllDayEvent(true);
    a->setStart(OADate::fromDateTime(QDate(kYear.toInt(), 5, 4), QTime()));
    a->setEnd(OADate::fromDateTime(QDate(kYear.toInt(), 5, 6), QTime()));
    a->Save();
    QByteArray text = team.all();
    EXPECT_TRUE(text.contains("SUMMARY:Review")) << text.constData();
    EXPECT_TRUE(text.contains("CATEGORIES:Project\r\nCATEGORIES:Team")) << text.constData();
    EXPECT_TRUE(text.contains("DTSTAMP:")) << text.constData();
    EXPECT_TRUE(text.contains("LAST-MODIFIED:")) << text.constData();
    EXPECT_TRUE(text.contains("DTSTART;VALUE=DATE:" + kYear.toUtf8() + "0504")) << text.constData();
    EXPECT_EQ(QDir(f->directory()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"color", "displayname"}))
        << "no item is written beside the service";

    // An edit of the times counts a new sequence; the item keeps its identifier.
    const QString id = a->EntryID();
    a->setEnd(OADate::fromDateTime(QDate(kYear.toInt(), 5, 8), QTime()));
    a->Save();
    text = team.all();
    EXPECT_TRUE(text.contains("SEQUENCE:1")) << text.constData();
    EXPECT_TRUE(text.contains("DTEND;VALUE=DATE:" + kYear.toUtf8() + "0508")) << text.constData();
    EXPECT_EQ(session->GetItemFromID(id)->EntryID(), id);

    // One occurrence of a series goes; then the whole of an item.
    ASSERT_TRUE(team.put("BEGIN:VEVENT\r\nUID:weekly@other\r\nDTSTAMP:20260101T000000Z\r\n"
                         "SUMMARY:Weekly\r\nDTSTART;VALUE=DATE:" +
                             kYear.toUtf8() + "0105\r\nDTEND;VALUE=DATE:" + kYear.toUtf8() +
                             "0106\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nEND:VEVENT\r\n",
                         true));
    const Store::ItemsPtr weekly = f->Items()->Restrict("[Subject] = 'Weekly'");
    weekly->setIncludeRecurrences(true);
    QList<Store::ItemPtr> occurrences = weekly->all();
    ASSERT_EQ(occurrences.size(), 3);
    occurrences[1]->Delete();
    EXPECT_EQ(weekly->all().size(), 2);
    EXPECT_TRUE(team.all().contains("EXDATE")) << team.all().constData();
    a->Delete();
    EXPECT_FALSE(team.all().contains("SUMMARY:Review"));
    EXPECT_EQ(f->Items()->Count(), 1);
}

TEST_F(DesktopCalendarsTest, AReadOnlyCalendarRefusesAWriteWithTheReasonAndKeepsNothingHalf)
{
    auto session = std::make_shared<Store::NameSpace>(options);
    const Store::FolderPtr birthdays =
        folder(session, "Desktop Calendars\\Birthdays & Anniversaries");
    ASSERT_TRUE(birthdays) << qPrintable(Store::FolderPaths(*session).join(", "));
    const Store::AppointmentItemPtr a = birthdays->Items()->Add();
    a->setSubject("Party");
    a->setStart(OADate::fromDateTime(QDate(kYear.toInt(), 7, 1), QTime(18, 0)));
    a->setEnd(OADate::fromDateTime(QDate(kYear.toInt(), 7, 1), QTime(20, 0)));
    try {
        a->Save();
        ADD_FAILURE() << "saved into a read-only calendar";
    } catch (const QvError &e) {
        EXPECT_TRUE(e.description().contains("read-only")) << qPrintable(e.description());
        EXPECT_TRUE(e.description().contains("Birthdays")) << qPrintable(e.description());
    }
    EXPECT_EQ(birthdays->Items()->Count(), 0);
}

TEST_F(DesktopCalendarsTest, WithoutAProfileThePlannerOpensTheDesktopsDefaultCalendar)
{
    QProcess host;
    host.setProcessEnvironment([] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }());
    host.start(QUORVEL_HOST, {"--print-properties"});
    ASSERT_TRUE(host.waitForFinished(60000));
    const QString said = QString::fromUtf8(host.readAllStandardOutput());
    EXPECT_TRUE(said.contains("Folder=Desktop Calendars\\Personal"))
        << qPrintable(said) << qPrintable(host.readAllStandardError());
}

TEST_F(DesktopCalendarsTest, AnAppointmentMadeWithThePenIsSavedThroughTheServiceAndDrawn)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1400, 900);
    plan.ReadProperties(MapPropertyBag({{"Folder", kTeam}, {"TitleName", "Team"}}));
    ASSERT_TRUE(settle(plan, [&] { return QFileInfo::exists(plan.cacheFiles().cacheFile); }));
    ASSERT_EQ(plan.state().store->Count(), 0);

    // Where a drag with the pen over 4 and 5 May ends: the form, then the save.
    Form form;
    Store::SetStoreUi(&form);
    const int year = kYear.toInt();
    AppointmentCommands(plan.planner())
        .CreateAppointment(OADate::fromDateTime(QDate(year, 5, 4), QTime()),
                           OADate::fromDateTime(QDate(year, 5, 5), QTime()), "Project");
    Store::SetStoreUi(nullptr);
    const QByteArray text = team.all();
    EXPECT_TRUE(text.contains("SUMMARY:Planning day")) << text.constData();
    EXPECT_TRUE(text.contains("CATEGORIES:Project")) << text.constData();
    EXPECT_TRUE(text.contains("DTSTART;VALUE=DATE:" + kYear.toUtf8() + "0504")) << text.constData();
    EXPECT_TRUE(text.contains("DTSTAMP:")) << text.constData();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    // The planner hears its own appointment back from the service and draws it.
    EXPECT_TRUE(settle(plan, [&] { return subjects(plan) == QStringList{"Planning day"}; }))
        << qPrintable(subjects(plan).join(", "));
}

TEST_F(DesktopCalendarsTest, AnImportByAnotherClientIsHeardWhole)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1400, 900);
    plan.ReadProperties(MapPropertyBag({{"Folder", kTeam}, {"TitleName", "Team"}}));
    ASSERT_TRUE(settle(plan, [&] { return QFileInfo::exists(plan.cacheFiles().cacheFile); }));
    // More than the planner reads one by one: the batch is read with the calendar.
    QList<QByteArray> events;
    for (int i = 0; i < 150; ++i) {
        const QDate day = QDate(kYear.toInt(), 1, 1).addDays(i * 2);
        events << AllDay(QString("import-%1@other").arg(i), QString("Imported %1").arg(i),
                         day.toString("MMdd"), day.addDays(1).toString("MMdd"), "Project");
    }
    ASSERT_TRUE(team.putAll(events));
    EXPECT_TRUE(settle(plan, [&] { return plan.state().store->Count() == 150; }))
        << plan.state().store->Count();
    ASSERT_TRUE(
        team.put(AllDay("import-7@other", "Imported 7, moved", "1201", "1202", "Project"), false));
    EXPECT_TRUE(settle(plan, [&] { return subjects(plan).contains("Imported 7, moved"); }));
    EXPECT_EQ(plan.state().store->Count(), 150);
}

// Calendars other programs wrote, with zones, recurrences and overrides of every kind: through
// the service they read exactly as from a vdir (the service rewrites zones and adds EXDATEs for
// overrides; the year must not change).
TEST_F(DesktopCalendarsTest, CalendarsOtherProgramsWroteReadAsFromAVdir)
{
    const QStringList files = {
        "icalendar/issue_1050_forward_timezone_reference.ics",
        "icalendar/issue_1081_event_with_rrule.ics",
        "icalendar/issue_1081_tzid_param.ics",
        "icalendar/issue_1231_recurrence.ics",
        "icalendar/issue_156_RDATE_with_PERIOD_TZID_khal.ics",
        "icalendar/issue_218_bad_tzid.ics",
        "icalendar/issue_237_fail_to_parse_timezone_with_non_ascii_tzid.ics",
        "icalendar/issue_722_missing_VTIMEZONE_custom.ics",
        "icalendar/issue_722_timezone_transition_ambiguity.ics",
        "icalendar/multiple_timezones.ics",
        "icalendar/timezone_rdate.ics",
        "khal/cal_lots_of_timezones.ics",
        "khal/event_d_rdate.ics",
        "khal/event_dt_local_missing_tz.ics",
        "khal/event_dt_mixed_awareness.ics",
        "khal/event_dt_multi_recuid_no_master.ics",
    };
    const auto year = [](Store::Folder &folder) {
        Store::ItemsPtr items = folder.Items();
        items->setIncludeRecurrences(true);
        items = items->Restrict(RangeRestriction(QDate(2000, 1, 1), QDate(2030, 12, 31)));
        QStringList lines;
        for (const Store::ItemPtr &i : items->all()) {
            const Store::AppointmentItemPtr a = Store::AppointmentOf(i);
            lines << QString("%1 %2 %3 %4 %5")
                         .arg(a->Start(), 0, 'f', 6)
                         .arg(a->End(), 0, 'f', 6)
                         .arg(a->AllDayEvent())
                         .arg(a->Subject(), a->Categories());
        }
        lines.sort();
        return lines;
    };
    for (const QString &name : files) {
        SCOPED_TRACE(qPrintable(name));
        const QByteArray text = ReadAll(QUORVEL_CORPUS "/" + name);
        ASSERT_FALSE(text.isEmpty());
        QTemporaryDir vdir;
        QDir().mkpath(vdir.path() + "/Calendar");
        Store::ProfileOptions plain;
        plain.storeDir = vdir.path();
        auto files = std::make_shared<Store::NameSpace>(plain);
        const Store::FolderPtr there = files->GetDefaultFolder(Store::olFolderCalendar);
        Store::ImportCalendar(*there, text);
        const QStringList expected = year(*there);
        ASSERT_FALSE(expected.isEmpty());

        SetUp(); // the calendar empty again
        auto session = std::make_shared<Store::NameSpace>(options);
        const Store::FolderPtr team = folder(session);
        Store::ImportCalendar(*team, text);
        EXPECT_EQ(year(*folder(std::make_shared<Store::NameSpace>(options))), expected);
    }
}
