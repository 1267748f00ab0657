#include "calendarstore.h"
#include "knowncalendars.h"
#include "plannerwindow.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "usersettings.h"
#include "viewswitches.h"
#include "yearplan.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Someone with two calendars khal reads, "Work" of timed meetings and "Family", and no set-up
// of Quorvel's.
class WindowTest : public ::testing::Test
{
protected:
    WindowTest()
    {
        const QByteArray y = QByteArray::number(QDate::currentDate().year());
        for (const char *name : {"work", "family"})
            QDir().mkpath(dir.filePath(QString("cals/") + name));
        QDir().mkpath(dir.filePath("config/khal"));
        QDir().mkpath(dir.filePath("tmp"));
        WriteAll(dir.filePath("config/khal/config"),
                 "[calendars]\n  [[work]]\n    path = " + dir.filePath("cals/work").toUtf8() +
                     "\n  [[family]]\n    path = " + dir.filePath("cals/family").toUtf8() + "\n");
        WriteAll(dir.filePath("cals/work/displayname"), "Work\n");
        WriteAll(dir.filePath("cals/family/displayname"), "Family\n");
        WriteAll(dir.filePath("cals/work/standup.ics"),
                 Vevent("standup", "SUMMARY:Stand-up\r\nCATEGORIES:Meetings\r\nDTSTART:" + y +
                                       "0310T091500\r\nDTEND:" + y + "0310T093000\r\n"));
        WriteAll(dir.filePath("cals/work/fair.ics"),
                 Vevent("fair", "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:" + y +
                                    "0505\r\nDTEND;VALUE=DATE:" + y + "0507\r\n"));
        WriteAll(dir.filePath("cals/family/picnic.ics"),
                 Vevent("picnic", "SUMMARY:Picnic\r\nDTSTART;VALUE=DATE:" + y +
                                      "0606\r\nDTEND;VALUE=DATE:" + y + "0607\r\n"));
        Store::Application::setSharedOptions({});
        forget();
    }
    ~WindowTest() override
    {
        forget();
        Store::Application::setSharedOptions({});
    }
    // The settings this test writes, which outlive it.
    static void forget()
    {
        QSettings host(QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
        host.remove("Host/calendar");
        QSettings user = UserSettings();
        user.remove("Filtering Default");
    }

    Store::FolderPtr folder(const QString &name)
    {
        session = Store::Application::shared()->GetNamespace("MAPI");
        for (const Store::CalendarChoice &c : Store::CalendarsOf(*session))
            if (c.displayName == name)
                return Store::FolderAtPath(*session, c.path);
        return nullptr;
    }
    static bool loaded(YearPlan *plan)
    {
        return WaitFor([plan] {
            return plan && plan->pendingUpdates() == 0 && plan->state().store->Count() > 0;
        });
    }
    static QStringList subjects(YearPlan *plan)
    {
        QStringList s;
        for (const CalEvent &e : *plan->state().store)
            s << e.Subject;
        s.sort();
        return s;
    }

    QTemporaryDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config"))};
    ScopedEnv vdirsyncer{"VDIRSYNCER_CONFIG", QFile::encodeName(dir.filePath("none"))};
    ScopedEnv tmp{"TMP", QFile::encodeName(dir.filePath("tmp"))};
    Store::NameSpacePtr session;
    ScriptedDialogs dialogs;
};

} // namespace

// The View menu's two switches: on for a calendar without a page, each switched off for the
// title and kept for the next opening; timed appointments leave the year when switched off.
TEST_F(WindowTest, TheViewSwitchesShowTimedAppointmentsAndSubjectsAndAreKeptForTheTitle)
{
    PlannerWindow window(&dialogs);
    window.resize(1200, 700);
    window.show();
    const Store::FolderPtr work = folder("Work");
    ASSERT_TRUE(work);
    window.showCalendar(OpenedOf(*work));
    ASSERT_TRUE(loaded(window.planner()));
    EXPECT_EQ(window.windowTitle(), "Work - Quorvel");
    QAction *timed = window.action("timed");
    QAction *subjectsShown = window.action("subjects");
    ASSERT_TRUE(timed && subjectsShown);
    EXPECT_TRUE(timed->isChecked());
    EXPECT_TRUE(subjectsShown->isChecked());
    EXPECT_EQ(subjects(window.planner()), QStringList({"Fair", "Stand-up"}));

    subjectsShown->trigger();
    EXPECT_FALSE(window.planner()->planner().DisplaySubject());
    EXPECT_TRUE(window.planner()->planner().AllEvents());
    timed->trigger();
    EXPECT_FALSE(window.planner()->planner().AllEvents());
    EXPECT_TRUE(WaitFor([&] { return subjects(window.planner()) == QStringList({"Fair"}); }))
        << qPrintable(subjects(window.planner()).join(", "));
    const std::optional<ViewSwitches> kept = StoredViewSwitches("Default");
    ASSERT_TRUE(kept);
    EXPECT_FALSE(kept->timedAppointments);
    EXPECT_FALSE(kept->subjects);

    // Opened again: as switched, not as a calendar without a page starts.
    const OpenedFolder again = OpenedOf(*work);
    EXPECT_FALSE(again.bag.ReadProperty("AllEvents", true).toBool());
    EXPECT_FALSE(again.bag.ReadProperty("DisplaySubject", true).toBool());
    timed->trigger();
    EXPECT_TRUE(WaitFor([&] { return subjects(window.planner()).size() == 2; }))
        << "switched on again, the meeting comes back with the rebuild";

    // Week numbers: off until switched on, then kept for the title and drawn.
    QAction *weeks = window.action("weeks");
    ASSERT_TRUE(weeks);
    EXPECT_FALSE(weeks->isChecked());
    EXPECT_FALSE(window.planner()->state().WeekNumbers);
    weeks->trigger();
    EXPECT_TRUE(window.planner()->state().WeekNumbers);
    ASSERT_TRUE(StoredViewSwitches("Default"));
    EXPECT_TRUE(StoredViewSwitches("Default")->weekNumbers);
    window.showCalendar(OpenedOf(*work));
    ASSERT_TRUE(loaded(window.planner()));
    EXPECT_TRUE(window.planner()->state().WeekNumbers) << "the next opening has them";
    EXPECT_TRUE(window.action("weeks")->isChecked());
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

// Open Calendar lists the session's calendars by their names, opens the one picked in place of
// the one shown, and remembers it as the calendar to open next.
TEST_F(WindowTest, OpenCalendarListsTheCalendarsByNameOpensThePickedOneAndRemembersIt)
{
    PlannerWindow window(&dialogs);
    window.resize(1200, 700);
    window.show();
    window.showCalendar(OpenedOf(*folder("Work")));
    ASSERT_TRUE(loaded(window.planner()));
    YearPlan *before = window.planner();

    QStringList offered;
    int offeredCurrent = -2;
    window.setCalendarPicker(
        [&](QWidget *, const QList<Store::CalendarChoice> &calendars, int current) {
            for (const Store::CalendarChoice &c : calendars)
                offered << c.displayName;
            offeredCurrent = current;
            return int(offered.indexOf("Family"));
        });
    window.action("open")->trigger();
    EXPECT_EQ(offered.size(), 2);
    EXPECT_TRUE(offered.contains("Work") && offered.contains("Family"))
        << qPrintable(offered.join(", "));
    EXPECT_EQ(offeredCurrent, offered.indexOf("Work")) << "the calendar shown is picked at first";
    ASSERT_NE(window.planner(), before);
    ASSERT_TRUE(loaded(window.planner()));
    EXPECT_EQ(window.windowTitle(), "Family - Quorvel");
    EXPECT_EQ(subjects(window.planner()), QStringList({"Picnic"}));
    EXPECT_EQ(QDir(Store::RememberedCalendar()), QDir(dir.filePath("cals/family")));
    const Store::FolderPtr next = RememberedFolder(*session);
    ASSERT_TRUE(next);
    EXPECT_EQ(QDir(next->directory()), QDir(dir.filePath("cals/family")))
        << "the next start opens it";

    // Cancelled: nothing changes.
    window.setCalendarPicker(
        [](QWidget *, const QList<Store::CalendarChoice> &, int) { return -1; });
    YearPlan *family = window.planner();
    window.action("open")->trigger();
    EXPECT_EQ(window.planner(), family);

    // A calendar that went away is not opened the next time.
    ASSERT_TRUE(QDir(dir.filePath("cals/family")).removeRecursively());
    Store::Application::setSharedOptions({});
    session = Store::Application::shared()->GetNamespace("MAPI");
    EXPECT_FALSE(RememberedFolder(*session));
}

// The picker itself: names that occur in two stores say which store, the current one is picked
// first, Open returns the one chosen and Cancel none.
TEST(CalendarPicker, NamesTheStoreWhereNamesRepeatAndReturnsThePick)
{
    const QList<Store::CalendarChoice> calendars{{"a\\x", "Work", "a", "/a/x", "#3A78C2"},
                                                 {"b\\y", "Work", "b", "/b/y", ""},
                                                 {"b\\z", "Family", "b", "/b/z", ""}};
    for (const bool open : {true, false}) {
        QStringList rows;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            auto *list = d->findChild<QListWidget *>("calendars");
            ASSERT_TRUE(list);
            for (int i = 0; i < list->count(); ++i)
                rows << list->item(i)->text();
            EXPECT_EQ(list->currentRow(), 1);
            list->setCurrentRow(2);
            auto *buttons = d->findChild<QDialogButtonBox *>();
            buttons->button(open ? QDialogButtonBox::Open : QDialogButtonBox::Cancel)->click();
        });
        EXPECT_EQ(PickCalendar(nullptr, calendars, 1), open ? 2 : -1);
        EXPECT_EQ(rows, QStringList({"Work (a)", "Work (b)", "Family"}));
    }
}

// Day marks chosen in the window: kept for the title, marked at once and at the next opening;
// the dialog removes a source, and Cancel keeps them as they were.
TEST_F(WindowTest, DayMarksAreChosenKeptAndShown)
{
    PlannerWindow window(&dialogs);
    window.resize(1200, 700);
    window.show();
    const Store::FolderPtr work = folder("Work");
    window.showCalendar(OpenedOf(*work));
    ASSERT_TRUE(loaded(window.planner()));
    const QByteArray y = QByteArray::number(QDate::currentDate().year());
    WriteAll(dir.filePath("school.ics"),
             Vevent("term", "SUMMARY:Autumn break\r\nDTSTART;VALUE=DATE:" + y +
                                "1026\r\nDTEND;VALUE=DATE:" + y + "1028\r\n"));
    const QList<MarkSource> chosen{{MarkSource::Kind::File, dir.filePath("school.ics")},
                                   {MarkSource::Kind::Calendar, folder("Family")->FolderPath()}};
    window.planner()->planner().setMarkSources(chosen, true);
    const QDate autumn(QDate::currentDate().year(), 10, 27);
    ASSERT_TRUE(window.planner()->state().marks->at(autumn));
    EXPECT_EQ(window.planner()->state().marks->at(autumn)->first().name, "Autumn break");
    const QDate picnic(QDate::currentDate().year(), 6, 6);
    ASSERT_TRUE(window.planner()->state().marks->at(picnic)) << "the family calendar's day";
    EXPECT_EQ(StoredMarkSources("Default"), chosen);
    window.showCalendar(OpenedOf(*work));
    ASSERT_TRUE(loaded(window.planner()));
    EXPECT_TRUE(window.planner()->state().marks->at(autumn)) << "kept for the next opening";
    window.planner()->planner().setMarkSources({}, true);

    for (const bool ok : {false, true}) {
        QList<MarkSource> sources = chosen;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_TRUE(d);
            auto *list = d->findChild<QListWidget *>("sources");
            ASSERT_EQ(list->count(), 2);
            EXPECT_EQ(list->item(0)->text(), "school");
            list->setCurrentRow(0);
            d->findChild<QPushButton *>("remove")->click();
            EXPECT_EQ(list->count(), 1);
            ok ? d->accept() : d->reject();
        });
        EXPECT_EQ(EditMarkSources(nullptr, sources, {}), ok);
        EXPECT_EQ(sources.size(), ok ? 1 : 2);
    }
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}
