#include "appointmentmenu.h"
#include "binaryfile.h"
#include "calendarstore.h"
#include "categorystore.h"
#include "marksources.h"
#include "oadate.h"
#include "plannertoolbar.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "translations.h"
#include "weeknumber.h"
#include "yearplan.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>

using namespace Store;

namespace {

// The store's appointment form, answered at once: every item shown is saved (or not) as told.
class FormRecorder : public StoreUi
{
public:
    struct Shown
    {
        QString subject;
        QString categories;
        double start = 0;
        double end = 0;
        bool allDay = false;
        bool reminder = false;
        bool recurring = false;
        std::optional<double> openedOn;
    };

    bool editAppointment(AppointmentItem &item, std::optional<double> openedOn) override
    {
        shown.append({item.Subject(), item.Categories(), item.Start(), item.End(),
                      item.AllDayEvent(), item.ReminderSet(), item.IsRecurring(), openedOn});
        if (save)
            item.Save();
        return save;
    }
    FolderPtr pickFolder(NameSpace &) override { return nullptr; }
    bool editCategories(AppointmentItem &, NameSpace &) override { return false; }
    void displayFolder(Folder &) override {}

    bool save = true;
    QList<Shown> shown;
};

QByteArray Event(const QByteArray &uid, const QByteArray &summary, const QByteArray &lines,
                 const QByteArray &category = "Holiday")
{
    return Vevent(uid, "SUMMARY:" + summary + "\r\nCATEGORIES:" + category + "\r\n" + lines);
}

class PointerTest : public ::testing::Test
{
protected:
    PointerTest()
    {
        folder = dir.path() + "/Team/Calendar/Planning";
        QDir().mkpath(folder);
        WriteAll(dir.path() + "/Team/.quorvel-store", "[Store]\nName=Team\nUserName=Ana\n");
        const QByteArray y = QByteArray::number(year);
        WriteAll(folder + "/fair.ics",
                 Event("fair", "Fair",
                       "DTSTART;VALUE=DATE:" + y + "0305\r\nDTEND;VALUE=DATE:" + y + "0306\r\n"));
        WriteAll(folder + "/trip.ics",
                 Event("trip", "Trip",
                       "DTSTART;VALUE=DATE:" + y + "0505\r\nDTEND;VALUE=DATE:" + y + "0507\r\n"));
        WriteAll(folder + "/standup.ics",
                 Event("standup", "Stand-up",
                       "DTSTART;VALUE=DATE:" + y + "0701\r\nDTEND;VALUE=DATE:" + y +
                           "0702\r\nRRULE:FREQ=WEEKLY;COUNT=6\r\n"));
        WriteAll(folder + "/request.ics",
                 "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nMETHOD:REQUEST\r\nBEGIN:VEVENT\r\nUID:req\r\n"
                 "SUMMARY:Budget review\r\nCATEGORIES:Holiday\r\nDTSTART;VALUE=DATE:" +
                     y +
                     "0910\r\n"
                     "DTEND;VALUE=DATE:" +
                     y + "0911\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        options.storeDir = dir.path() + "/Team";
        Store::Application::setSharedOptions(options);
        env = std::make_unique<ScopedEnv>("TMP", QFile::encodeName(dir.path()));
        {
            auto session = std::make_shared<NameSpace>(options);
            const FolderPtr f = FolderAtPath(*session, "Team\\Calendar\\Planning");
            CategoryStore(dialogs, session, f->EntryID(), f->StoreID())
                .SaveCategories({{"Holiday", "Other"}, {0x9FDDA6, 0xCCCCCC}},
                                "PLEASE IGNORE - Quorvel Category Colours: Default");
        }
        SetStoreUi(&form);
    }
    ~PointerTest() override
    {
        SetStoreUi(nullptr);
        Store::Application::setSharedOptions({});
    }

    std::unique_ptr<YearPlan> open(bool allEvents = false)
    {
        auto plan = std::make_unique<YearPlan>(nullptr, &dialogs);
        plan->resize(1400, 900);
        plan->show();
        plan->ReadProperties(MapPropertyBag(
            {{"Folder", "Team\\Calendar\\Planning"}, {"AllEvents", allEvents ? "True" : "False"}}));
        EXPECT_TRUE(waitFor(
            [&] { return plan->pendingUpdates() == 0 && plan->state().store->Count() > 0; }));
        dialogs.clear();
        return plan;
    }

    static bool waitFor(const std::function<bool()> &done, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    // The pixel of a day's cell in band of its month row, on the grid canvas.
    static QPoint cell(YearPlan &plan, int month, int day, int band = 1)
    {
        const PlannerYear &y = plan.state().year;
        const int row = y.RowOfMonth(month);
        return column(plan, row, y.LeadIn(row) + day, band);
    }
    static QPoint column(YearPlan &plan, int row, int column, int band = 1)
    {
        const GridGeometry &g = plan.geometry();
        const double x = (column - 0.5) * g.DayWidth;
        const double y = (plan.state().RowBands[row - 1] + band - 0.5) * g.BandHeight;
        return QPoint(int(x / plan.px()), int(y / plan.py()));
    }

    static void mouse(QWidget *w, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::MouseButtons()
                                                                         : button;
        QMouseEvent e(type, at, w->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static void drag(YearPlan &plan, QPoint from, QPoint to)
    {
        QWidget *grid = plan.gridCanvas();
        mouse(grid, QEvent::MouseMove, from);
        mouse(grid, QEvent::MouseButtonPress, from);
        mouse(grid, QEvent::MouseMove, to);
        mouse(grid, QEvent::MouseButtonRelease, to);
    }
    static void pickCategory(YearPlan &plan, int index)
    {
        plan.newAppointmentMenu()->actions()[index - 1]->trigger();
    }

    QStringList filesInFolder() const { return QDir(folder).entryList({"*.ics"}, QDir::Files); }

    int year = QDate::currentDate().year();
    QTemporaryDir dir;
    QString folder;
    Store::ProfileOptions options;
    std::unique_ptr<ScopedEnv> env;
    ScriptedDialogs dialogs;
    FormRecorder form;
};

} // namespace

TEST_F(PointerTest, APenDragAcrossTwoMonthsHighlightsThemAndCreatesTheItem)
{
    auto plan = open();
    pickCategory(*plan, 1);
    ASSERT_TRUE(plan->planner().CategorySelectionActive());
    EXPECT_TRUE(plan->bulletLabel()->isVisibleTo(plan.get()));
    EXPECT_EQ(plan->dateLabel()->text(), "Holiday");

    QWidget *grid = plan->gridCanvas();
    const QImage before = plan->gridCanvas()->canvas().image().copy();
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 28));
    mouse(grid, QEvent::MouseButtonPress, cell(*plan, 3, 28));
    mouse(grid, QEvent::MouseMove, cell(*plan, 4, 2));
    const QImage during = plan->gridCanvas()->canvas().image().copy();
    auto changed = [&](QPoint p) { return during.pixel(p) != before.pixel(p); };
    // Band 1 of March from the 28th to its last day, and of April from the 1st to the 2nd.
    for (int d : {28, 29, 30, 31})
        EXPECT_TRUE(changed(cell(*plan, 3, d))) << "March " << d;
    for (int d : {1, 2})
        EXPECT_TRUE(changed(cell(*plan, 4, d))) << "April " << d;
    EXPECT_FALSE(changed(cell(*plan, 3, 27)));
    EXPECT_FALSE(changed(cell(*plan, 4, 3)));
    EXPECT_FALSE(changed(cell(*plan, 3, 28, 2))) << "only the day-number band";
    const QString y = QString::number(year % 100);
    EXPECT_EQ(plan->dateLabel()->text(), "Holiday  3/28/" + y + " to 4/2/" + y);

    const QStringList filesBefore = filesInFolder();
    mouse(grid, QEvent::MouseButtonRelease, cell(*plan, 4, 2));
    EXPECT_EQ(plan->gridCanvas()->canvas().image(), before) << "the highlight is gone";
    EXPECT_FALSE(plan->planner().CategorySelectionActive());
    ASSERT_EQ(form.shown.size(), 1);
    EXPECT_EQ(OADate::toDateTime(form.shown[0].start), QDateTime(QDate(year, 3, 28), QTime(0, 0)));
    EXPECT_EQ(OADate::toDateTime(form.shown[0].end), QDateTime(QDate(year, 4, 3), QTime(0, 0)));
    EXPECT_TRUE(form.shown[0].allDay);
    EXPECT_EQ(form.shown[0].categories, "Holiday");
    EXPECT_FALSE(form.shown[0].reminder);

    // The file on disk: whole days to the exclusive end, the category, no alarm.
    QStringList added = filesInFolder();
    for (const QString &f : filesBefore)
        added.removeAll(f);
    ASSERT_EQ(added.size(), 1);
    const QByteArray text = ReadAll(folder + "/" + added[0]);
    const QByteArray yy = QByteArray::number(year);
    EXPECT_TRUE(text.contains("DTSTART;VALUE=DATE:" + yy + "0328")) << text.constData();
    EXPECT_TRUE(text.contains("DTEND;VALUE=DATE:" + yy + "0403")) << text.constData();
    EXPECT_TRUE(text.contains("CATEGORIES:Holiday"));
    EXPECT_FALSE(text.contains("VALARM"));

    // The bar comes through the folder's change notification.
    const int row = plan->state().year.RowOfMonth(3);
    const int q = plan->state().year.LeadIn(row) + 28;
    EXPECT_TRUE(waitFor([&] {
        for (int b = 2; b <= plan->hitMap().bands(); ++b)
            if (!plan->hitMap().at(row, q, b).isEmpty())
                return true;
        return false;
    }));
}

TEST_F(PointerTest, BackwardsClampedAndOutsideTheMonth)
{
    auto plan = open();
    const PlannerYear &y = plan->state().year;
    auto created = [&] {
        return std::pair(OADate::toDateTime(form.shown.last().start).date(),
                         OADate::toDateTime(form.shown.last().end).date());
    };
    pickCategory(*plan, 1);
    drag(*plan, cell(*plan, 4, 2), cell(*plan, 3, 28));
    ASSERT_EQ(form.shown.size(), 1);
    EXPECT_EQ(created(), std::pair(QDate(year, 3, 28), QDate(year, 4, 3))) << "as forwards";

    // Past the month's last day: its last day. Into the lead-in: day 1.
    pickCategory(*plan, 1);
    const int march = y.RowOfMonth(3);
    drag(*plan, cell(*plan, 3, 29), column(*plan, march, y.LastColumn(march) + 1));
    ASSERT_EQ(form.shown.size(), 2);
    EXPECT_EQ(created(), std::pair(QDate(year, 3, 29), QDate(year, 4, 1)));
    int month = 1;
    while (y.LeadIn(y.RowOfMonth(month)) < 2)
        ++month;
    pickCategory(*plan, 1);
    drag(*plan, cell(*plan, month, 3), column(*plan, y.RowOfMonth(month), 1));
    ASSERT_EQ(form.shown.size(), 3);
    EXPECT_EQ(created(), std::pair(QDate(year, month, 1), QDate(year, month, 4)));

    // A press on a grey cell ends pen mode and creates nothing.
    pickCategory(*plan, 1);
    drag(*plan, column(*plan, march, y.LastColumn(march) + 1), cell(*plan, 3, 5));
    EXPECT_FALSE(plan->planner().CategorySelectionActive());
    EXPECT_EQ(form.shown.size(), 3);
    // So do clicks on the headings and on the date label.
    for (QWidget *w :
         {static_cast<QWidget *>(plan->monthColumn()), static_cast<QWidget *>(plan->dayHeadings()),
          static_cast<QWidget *>(plan->dateLabel())}) {
        pickCategory(*plan, 2);
        mouse(w, QEvent::MouseButtonPress, QPoint(5, 5));
        EXPECT_FALSE(plan->planner().CategorySelectionActive()) << qPrintable(w->objectName());
    }
}

TEST_F(PointerTest, TimedAppointmentsStartAtTheNearestHalfHour)
{
    auto plan = open(true);
    struct Row
    {
        QTime now;
        QTime start, end;
    } rows[] = {{QTime(10, 7), QTime(10, 0), QTime(10, 30)},
                {QTime(10, 20), QTime(10, 30), QTime(11, 0)}};
    for (const Row &row : rows) {
        plan->commands().setClock([&] { return QDateTime(QDate(year, 1, 1), row.now); });
        pickCategory(*plan, 1);
        drag(*plan, cell(*plan, 6, 10), cell(*plan, 6, 10));
        ASSERT_FALSE(form.shown.isEmpty());
        EXPECT_FALSE(form.shown.last().allDay);
        EXPECT_EQ(OADate::toDateTime(form.shown.last().start),
                  QDateTime(QDate(year, 6, 10), row.start));
        EXPECT_EQ(OADate::toDateTime(form.shown.last().end),
                  QDateTime(QDate(year, 6, 10), row.end));
    }
}

TEST_F(PointerTest, TheAppointmentMenuOffersWhatThePlaceHas)
{
    auto plan = open();
    QWidget *grid = plan->gridCanvas();
    auto *menu = static_cast<AppointmentMenu *>(plan->appointmentMenu());
    auto rightClick = [&](QPoint at) {
        mouse(grid, QEvent::MouseMove, at);
        mouse(grid, QEvent::MouseButtonPress, at, Qt::RightButton);
        EXPECT_TRUE(menu->isVisible());
        menu->hide();
    };
    rightClick(cell(*plan, 3, 20, 2)); // nothing there
    EXPECT_FALSE(menu->editAction()->isEnabled());
    EXPECT_FALSE(menu->deleteAction()->isEnabled());
    EXPECT_FALSE(menu->clearAction()->isEnabled());
    rightClick(cell(*plan, 3, 5, 2)); // the fair
    EXPECT_TRUE(menu->editAction()->isEnabled());
    EXPECT_TRUE(menu->deleteAction()->isEnabled());
    pickCategory(*plan, 1);
    rightClick(cell(*plan, 3, 20, 2));
    EXPECT_TRUE(menu->clearAction()->isEnabled()) << "in pen mode";
    menu->clearAction()->trigger();
    EXPECT_FALSE(plan->planner().CategorySelectionActive());
}

TEST_F(PointerTest, DeletingAnOccurrenceAsksAndTakesTheSeries)
{
    auto plan = open();
    auto standups = [&] {
        int n = 0;
        for (const CalEvent &e : *plan->state().store)
            n += e.Subject == "Stand-up";
        return n;
    };
    ASSERT_EQ(standups(), 6);
    QHash<QString, QByteArray> files;
    for (const QString &f : filesInFolder())
        files.insert(f, ReadAll(folder + "/" + f));
    mouse(plan->gridCanvas(), QEvent::MouseMove, cell(*plan, 7, 8, 2)); // the second week
    ASSERT_FALSE(plan->pointer().hoveredKey().isEmpty());

    dialogs.queueAnswer(Dialogs::Answer::No);
    static_cast<AppointmentMenu *>(plan->appointmentMenu())->deleteAction()->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::Question);
    EXPECT_EQ(dialogs.shown()[0].text, "Delete this appointment Stand-up?");
    EXPECT_FALSE(dialogs.shown()[0].defaultYes) << "No is the default";
    EXPECT_EQ(standups(), 6);
    for (const QString &f : filesInFolder())
        EXPECT_EQ(ReadAll(folder + "/" + f), files.value(f)) << qPrintable(f);
    EXPECT_EQ(filesInFolder().size(), files.size());

    // On a read-only file system the file stays, the user is told, and the year shows it again.
    dialogs.clear();
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    FailWritesAfter(0, EROFS);
    static_cast<AppointmentMenu *>(plan->appointmentMenu())->deleteAction()->trigger();
    FailWritesAfter(-1, 0);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].text, "Can't open your file for that type of access.");
    EXPECT_EQ(ReadAll(folder + "/standup.ics"), files.value("standup.ics"));
    EXPECT_EQ(standups(), 6);

    mouse(plan->gridCanvas(), QEvent::MouseMove, cell(*plan, 7, 8, 2));
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    static_cast<AppointmentMenu *>(plan->appointmentMenu())->deleteAction()->trigger();
    EXPECT_EQ(standups(), 0) << "every occurrence";
    EXPECT_FALSE(QFileInfo::exists(folder + "/standup.ics"));
    EXPECT_TRUE(plan->hitMap()
                    .at(plan->state().year.RowOfMonth(7),
                        plan->state().year.LeadIn(plan->state().year.RowOfMonth(7)) + 1, 2)
                    .isEmpty());
}

TEST_F(PointerTest, OpeningAppointmentsAndOnesThatWentBehindOurBack)
{
    auto plan = open();
    QWidget *grid = plan->gridCanvas();
    auto click = [&](QPoint at) {
        mouse(grid, QEvent::MouseMove, at);
        mouse(grid, QEvent::MouseButtonPress, at);
        mouse(grid, QEvent::MouseButtonRelease, at);
    };
    form.save = false;
    click(cell(*plan, 9, 10, 2));
    ASSERT_EQ(form.shown.size(), 1);
    EXPECT_EQ(form.shown[0].subject, "Budget review") << "the request's own appointment";
    EXPECT_FALSE(form.shown[0].openedOn && form.shown[0].recurring);
    click(cell(*plan, 3, 20, 2)); // an empty day opens nothing
    EXPECT_EQ(form.shown.size(), 1);
    // The third stand-up opens the series, which the form is told was opened on that day.
    click(cell(*plan, 7, 15, 2));
    ASSERT_EQ(form.shown.size(), 2);
    EXPECT_TRUE(form.shown[1].recurring);
    ASSERT_TRUE(form.shown[1].openedOn);
    EXPECT_EQ(OADate::toDateTime(*form.shown[1].openedOn).date(), QDate(year, 7, 15));
    EXPECT_EQ(OADate::toDateTime(form.shown[1].start).date(), QDate(year, 7, 1));
    form.shown.removeLast();

    mouse(grid, QEvent::MouseMove, cell(*plan, 5, 5, 2));
    ASSERT_TRUE(QFile::remove(folder + "/trip.ics"));
    const QPoint trip = cell(*plan, 5, 5, 2) + QPoint(1, 0);
    mouse(grid, QEvent::MouseMove, trip);
    mouse(grid, QEvent::MouseButtonPress, trip);
    mouse(grid, QEvent::MouseButtonRelease, trip);
    EXPECT_EQ(form.shown.size(), 1);
    // The move over the bar found no item for its zones, and the click no item to open.
    EXPECT_EQ(dialogs.texts(),
              QStringList({"Cannot get appointment",
                           "Unable to locate event, please refresh and try again."}));
}

// An empty marked day names its marks in the label and the tooltip, after its week; a bar on a
// marked day still names the appointment.
TEST_F(PointerTest, AMarkedDayNamesItsMarks)
{
    auto plan = open();
    const QByteArray y = QByteArray::number(year);
    WriteAll(dir.path() + "/school.ics",
             Vevent("term", "SUMMARY:Term break\r\nDTSTART;VALUE=DATE:" + y +
                                "0319\r\nDTEND;VALUE=DATE:" + y + "0322\r\n"));
    WriteAll(dir.path() + "/more.ics",
             Vevent("open", "SUMMARY:Open day\r\nDTSTART;VALUE=DATE:" + y +
                                "0320\r\nDTEND;VALUE=DATE:" + y + "0321\r\n"));
    plan->planner().setMarkSources({{MarkSource::Kind::File, dir.path() + "/school.ics"},
                                    {MarkSource::Kind::File, dir.path() + "/more.ics"}},
                                   false);
    QWidget *grid = plan->gridCanvas();
    const QDate day(year, 3, 20);
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 20, 3));
    EXPECT_EQ(
        plan->dateLabel()->text(),
        QLocale().toString(day, QLocale::ShortFormat) +
            QStringLiteral(", week %1, Term break, Open day").arg(WeekOfYear(day, QLocale())));
    EXPECT_EQ(grid->toolTip(), "Term break\nOpen day");
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 23, 3));
    EXPECT_EQ(grid->toolTip(), "") << "the day after the break";
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

TEST_F(PointerTest, HoverTextsAndTooltips)
{
    WriteAll(folder + "/two.ics",
             Event("two", "Two days",
                   "DTSTART;VALUE=DATE:" + QByteArray::number(year) +
                       "0305\r\nDTEND;VALUE=DATE:" + QByteArray::number(year) + "0307\r\n"));
    WriteAll(folder + "/call.ics",
             Event("call", "Call",
                   "DTSTART;TZID=America/New_York:" + QByteArray::number(year) +
                       "0318T090000\r\nDTEND;TZID=America/New_York:" + QByteArray::number(year) +
                       "0318T100000\r\n"));
    auto plan = open(true);
    QWidget *grid = plan->gridCanvas();
    const QString y = QString::number(year % 100);
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 5, 2));
    // Whole days name no zone; a timed appointment names its own.
    EXPECT_EQ(plan->dateLabel()->text(), "3/5/" + y + ", Fair");
    EXPECT_EQ(grid->toolTip(), "Fair");
    EXPECT_EQ(grid->cursor().shape(), Qt::PointingHandCursor);
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 5, 3));
    EXPECT_EQ(plan->dateLabel()->text(), "3/5/" + y + " to 3/6/" + y + ", Two days");
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 18, 2));
    EXPECT_TRUE(plan->dateLabel()->text().endsWith(", Call [America/New_York to America/New_York]"))
        << qPrintable(plan->dateLabel()->text());
    mouse(grid, QEvent::MouseMove, cell(*plan, 3, 20, 2));
    const auto week = [](const QDate &d) {
        return QStringLiteral(", week %1").arg(WeekOfYear(d, QLocale()));
    };
    EXPECT_EQ(plan->dateLabel()->text(), "3/20/" + y + week(QDate(year, 3, 20)))
        << "an empty day names its week";
    EXPECT_EQ(grid->toolTip(), "");
    EXPECT_EQ(grid->cursor().shape(), Qt::ArrowCursor);
    int month = 1;
    const PlannerYear &py = plan->state().year;
    while (py.LeadIn(py.RowOfMonth(month)) < 1)
        ++month;
    mouse(grid, QEvent::MouseMove, column(*plan, py.RowOfMonth(month), 1, 2));
    const QDate before = QDate(year, month, 1).addDays(-py.LeadIn(py.RowOfMonth(month)));
    EXPECT_EQ(plan->dateLabel()->text(),
              QLocale().toString(before, QLocale::ShortFormat) + week(before))
        << "a lead-in cell shows a day of the month before";
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

// The pointer stands still over the grid while the year changes under it (a key, the toolbar's
// arrows): the date label shows the day of the new year there at once.
TEST_F(PointerTest, DateLabelAfterAYearChange)
{
    auto plan = open();
    QWidget *grid = plan->gridCanvas();
    const QPoint at = cell(*plan, 3, 20, 2);
    mouse(grid, QEvent::MouseMove, at);
    const auto shortDate = [](const QDate &d) {
        return QLocale().toString(d, QLocale::ShortFormat) +
               QStringLiteral(", week %1").arg(WeekOfYear(d, QLocale()));
    };
    EXPECT_EQ(plan->dateLabel()->text(), shortDate(QDate(year, 3, 20)));
    // March 20th sits in another column next year: the label names the cell's day, not the old one.
    const PlannerYear next(year + 1, 1);
    const int column = plan->state().year.LeadIn(plan->state().year.RowOfMonth(3)) + 20;
    const QDate there = OADate::toDate(next.DateOfCell(column, next.RowOfMonth(3)));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(plan.get(), &down);
    EXPECT_EQ(plan->dateLabel()->text(), shortDate(there));
    plan->toolBar()->findChild<QToolButton *>("Back")->click();
    EXPECT_EQ(plan->dateLabel()->text(), shortDate(QDate(year, 3, 20)));
    // Off the grid, a year change leaves the label alone.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid, &leave);
    plan->dateLabel()->clear();
    QApplication::sendEvent(plan.get(), &down);
    EXPECT_EQ(plan->dateLabel()->text(), "");
}

TEST_F(PointerTest, HeadingTooltipsInTheUsersLanguage)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        auto plan = open();
        const QPoint march = cell(*plan, 3, 1);
        mouse(plan->monthColumn(), QEvent::MouseMove, QPoint(5, march.y()));
        EXPECT_EQ(plan->monthColumn()->toolTip(), QString::fromUtf8("März"));
        mouse(plan->dayHeadings(), QEvent::MouseMove, QPoint(2, 5));
        EXPECT_EQ(plan->dayHeadings()->toolTip(), "Sonntag");
        mouse(plan->dayHeadings(), QEvent::MouseMove, QPoint(cell(*plan, 3, 1).x() + 0, 5));
        mouse(plan->dayHeadings(), QEvent::MouseMove, QPoint(column(*plan, 1, 37).x(), 5));
        EXPECT_EQ(plan->dayHeadings()->toolTip(), "Montag") << "column 37 is a Monday";
    }
    QLocale::setDefault(before);
}

TEST_F(PointerTest, TheKeysAndTheWheel)
{
    auto plan = open();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(plan.get(), &down);
    EXPECT_EQ(plan->yearLabel()->text(), "Year " + QString::number(year + 1));
    QKeyEvent up(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(plan.get(), &up);
    EXPECT_EQ(plan->yearLabel()->text(), "Year " + QString::number(year));

    plan->resize(1000, 320); // the grid scrolls
    QApplication::processEvents();
    ASSERT_TRUE(plan->gridScrollBar()->isVisibleTo(plan.get()));
    const int top = plan->gridCanvas()->y();
    QWheelEvent wheel(QPointF(20, 20), plan->gridCanvas()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plan->gridCanvas(), &wheel);
    EXPECT_GT(plan->gridScrollBar()->value(), 0);
    EXPECT_LT(plan->gridCanvas()->y(), top);
    EXPECT_EQ(plan->monthColumn()->y(), plan->gridCanvas()->y());

    // With Ctrl a notch goes a month: to the next month's top, back to the top of the month
    // shown; a month's name takes the window to its top.
    plan->resize(1000, 200);
    QApplication::processEvents();
    const auto monthTop = [&](int row) {
        return std::min(
            int(std::lround(plan->state().RowBands[row - 1] * plan->geometry().BandHeight)),
            plan->gridScrollBar()->maximum());
    };
    ASSERT_GT(plan->gridScrollBar()->maximum(), monthTop(6)) << "half a year to scroll through";
    const auto ctrlWheel = [&](int delta) {
        QWheelEvent notch(QPointF(20, 20), plan->gridCanvas()->mapToGlobal(QPointF(20, 20)),
                          QPoint(), QPoint(0, delta), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plan->gridCanvas(), &notch);
        return plan->gridScrollBar()->value();
    };
    plan->gridScrollBar()->setValue(monthTop(3) + 10);
    EXPECT_EQ(ctrlWheel(-120), monthTop(4));
    EXPECT_EQ(ctrlWheel(-120), monthTop(5));
    EXPECT_EQ(ctrlWheel(120), monthTop(4));
    plan->gridScrollBar()->setValue(monthTop(4) + 10);
    EXPECT_EQ(ctrlWheel(120), monthTop(4)) << "first the top of the month shown";
    const int below = (monthTop(5) - monthTop(4)) / 2;
    plan->gridScrollBar()->setValue(monthTop(4) + below);
    const QPoint onMay(5, int((monthTop(5) + 30) / plan->py()));
    mouse(plan->monthColumn(), QEvent::MouseButtonPress, onMay);
    mouse(plan->monthColumn(), QEvent::MouseButtonRelease, onMay);
    EXPECT_EQ(plan->gridScrollBar()->value(), monthTop(5)) << "clicked on May's name";
}

TEST_F(PointerTest, TheLogoOpensTheHelpPageAndItsMenuTheAboutBox)
{
    auto plan = open();
    mouse(plan->logo(), QEvent::MouseButtonPress, QPoint(2, 2));
    mouse(plan->logo(), QEvent::MouseButtonRelease, QPoint(2, 2));
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().kind, ScriptedDialogs::Kind::Address);
    EXPECT_TRUE(dialogs.shown().last().text.startsWith("file:///"));
    EXPECT_TRUE(dialogs.shown().last().text.endsWith("/index.html"));
    EXPECT_TRUE(QFileInfo::exists(QUrl(dialogs.shown().last().text).toLocalFile()));
    // Where no browser can be started, the planner says so, and where the page is.
    dialogs.browsersFail = true;
    mouse(plan->logo(), QEvent::MouseButtonPress, QPoint(2, 2));
    mouse(plan->logo(), QEvent::MouseButtonRelease, QPoint(2, 2));
    EXPECT_EQ(dialogs.shown().last().kind, ScriptedDialogs::Kind::Message);
    EXPECT_TRUE(dialogs.shown().last().text.startsWith("The help page could not be opened"));
    EXPECT_TRUE(dialogs.shown().last().text.endsWith("/index.html"));
    dialogs.browsersFail = false;
    mouse(plan->logo(), QEvent::MouseButtonPress, QPoint(2, 2), Qt::RightButton);
    auto *help = plan->findChild<QMenu *>("mnuHelp");
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    help->actions()[0]->trigger();
    help->hide();
    EXPECT_EQ(dialogs.shown().last().kind, ScriptedDialogs::Kind::About);
}

TEST_F(PointerTest, MarkupInASubjectOrCategoryIsShownAsTextNeverRead)
{
    // Rendered as markup, the image would make the label read /dev/zero until memory runs out.
    const QByteArray y = QByteArray::number(year);
    WriteAll(folder + "/image.ics",
             Event("image", "<img src=\"/dev/zero\">",
                   "DTSTART;VALUE=DATE:" + y + "0805\r\nDTEND;VALUE=DATE:" + y + "0806\r\n",
                   "<b>Work</b>"));
    WriteAll(folder + "/bold.ics",
             Event("bold", "<b>x</b>",
                   "DTSTART;VALUE=DATE:" + y + "0810\r\nDTEND;VALUE=DATE:" + y + "0811\r\n"));
    {
        auto session = std::make_shared<NameSpace>(options);
        const FolderPtr f = FolderAtPath(*session, "Team\\Calendar\\Planning");
        CategoryStore(dialogs, session, f->EntryID(), f->StoreID())
            .SaveCategories(
                {{"Holiday", "<img src=\"/dev/zero\">", "Other"}, {0x9FDDA6, 0x3050F0, 0xCCCCCC}},
                "PLEASE IGNORE - Quorvel Category Colours: Default");
    }
    auto plan = open();
    QWidget *grid = plan->gridCanvas();
    QLabel *label = plan->dateLabel();
    const auto shown = [](const QString &tip) {
        return Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip;
    };
    for (const auto &[day, subject] :
         {std::pair{5, QString("<img src=\"/dev/zero\">")}, std::pair{10, QString("<b>x</b>")}}) {
        mouse(grid, QEvent::MouseMove, cell(*plan, 8, day, 2));
        EXPECT_TRUE(label->text().contains(subject)) << qPrintable(label->text());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(shown(grid->toolTip()), subject) << qPrintable(grid->toolTip());
        label->grab(); // draws it: as markup this reads the image
    }
    // A pen's category name reaches the same label.
    pickCategory(*plan, 2);
    EXPECT_EQ(label->text(), "<img src=\"/dev/zero\">");
    label->grab();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

namespace {

void press(QWidget *w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(w, &up);
}

// The grid with the focus and the keyboard's cursor on the year's first day.
QWidget *FocusGrid(YearPlan &plan)
{
    QApplication::setActiveWindow(&plan);
    QWidget *grid = plan.gridCanvas();
    grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    press(grid, Qt::Key_Home, Qt::ControlModifier);
    return grid;
}

} // namespace

TEST_F(PointerTest, TheKeyboardCursorMovesOverTheDaysAndAcrossYears)
{
    auto plan = open();
    QWidget *grid = FocusGrid(*plan);
    ASSERT_TRUE(grid->hasFocus());
    GridKeyboard &keys = plan->keyboard();
    EXPECT_EQ(keys.day(), QDate(year, 1, 1));
    const QString y = QString::number(year % 100);
    EXPECT_TRUE(plan->dateLabel()->text().startsWith("1/1/" + y + ", week ")) << "as on hover";

    press(grid, Qt::Key_End);
    EXPECT_EQ(keys.day(), QDate(year, 1, 31));
    press(grid, Qt::Key_Right);
    EXPECT_EQ(keys.day(), QDate(year, 2, 1));
    press(grid, Qt::Key_Down);
    EXPECT_EQ(keys.day().month(), 3);
    EXPECT_EQ(plan->state().year.LeadIn(3) + keys.day().day(), plan->state().year.LeadIn(2) + 1)
        << "the same weekday column";
    press(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(keys.day(), QDate(year, 12, 31));

    // A year change keeps the date, and the cursor stays in the year shown.
    press(grid, Qt::Key_PageDown);
    EXPECT_EQ(plan->yearLabel()->text(), "Year " + QString::number(year + 1));
    EXPECT_EQ(keys.day(), QDate(year + 1, 12, 31));
    press(grid, Qt::Key_PageUp);
    EXPECT_EQ(keys.day(), QDate(year, 12, 31));

    // The cursor scrolls into view in a window that shows a few months.
    plan->resize(1000, 300);
    QApplication::processEvents();
    ASSERT_TRUE(plan->gridScrollBar()->isVisibleTo(plan.get()));
    press(grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(plan->gridScrollBar()->value(), 0);
    press(grid, Qt::Key_End, Qt::ControlModifier);
    const double decemberTop =
        plan->state().RowBands[11] * plan->geometry().BandHeight - plan->gridScrollBar()->value();
    EXPECT_GE(decemberTop, 0);
    EXPECT_LE(decemberTop, plan->gridScrollBar()->pageStep());

    // The cursor is drawn over the image while the grid has the focus, never into it.
    const QImage image = plan->gridCanvas()->canvas().image().copy();
    const QImage shown = grid->grab().toImage();
    const GridKeyboard::Marks marks = keys.marks();
    const int x = int(marks.cursor.left() / plan->px()) + 2;
    int blue = 0;
    for (int y = int(marks.cursor.top() / plan->py()); y < int(marks.cursor.bottom() / plan->py());
         ++y)
        blue += QColor(shown.pixel(x, y)) == QColor(0x00, 0x5A, 0xD2);
    EXPECT_GT(blue, 4) << "the dashed frame's left side";
    EXPECT_EQ(plan->gridCanvas()->canvas().image(), image);
}

TEST_F(PointerTest, AppointmentsOpenedDeletedAndCreatedWithTheKeyboardAlone)
{
    auto plan = open();
    QWidget *grid = FocusGrid(*plan);
    GridKeyboard &keys = plan->keyboard();
    auto goTo = [&](QDate day) {
        press(grid, Qt::Key_Home, Qt::ControlModifier);
        while (keys.day().month() < day.month())
            press(grid, Qt::Key_Down);
        press(grid, Qt::Key_Home);
        while (keys.day() < day)
            press(grid, Qt::Key_Right);
        ASSERT_EQ(keys.day(), day);
    };

    // Tab chooses the fair on its day and names it in the label; past the last one the focus
    // moves on.
    goTo(QDate(year, 3, 5));
    ASSERT_EQ(keys.keysOnDay().size(), 1);
    press(grid, Qt::Key_Tab);
    EXPECT_FALSE(keys.chosenKey().isEmpty());
    EXPECT_TRUE(plan->dateLabel()->text().endsWith("Fair"))
        << qPrintable(plan->dateLabel()->text());
    EXPECT_FALSE(keys.marks().chosen.isEmpty());
    press(grid, Qt::Key_Return);
    ASSERT_EQ(form.shown.size(), 1);
    EXPECT_EQ(form.shown[0].subject, "Fair");
    press(grid, Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(keys.chosenKey().isEmpty()) << "Alt+Down goes round";
    press(grid, Qt::Key_Escape);
    EXPECT_TRUE(keys.chosenKey().isEmpty());
    press(grid, Qt::Key_Tab);
    press(grid, Qt::Key_Tab);
    EXPECT_FALSE(grid->hasFocus()) << "Tab past the day's last appointment";
    grid->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(keys.day(), QDate(year, 3, 5)) << "the cursor stays where it was";

    // Delete asks first; No keeps the file.
    press(grid, Qt::Key_Tab);
    dialogs.queueAnswer(Dialogs::Answer::No);
    press(grid, Qt::Key_Delete);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Delete this appointment Fair?");
    EXPECT_TRUE(QFileInfo::exists(folder + "/fair.ics"));
    dialogs.queueAnswer(Dialogs::Answer::Yes);
    press(grid, Qt::Key_Delete);
    EXPECT_FALSE(QFileInfo::exists(folder + "/fair.ics"));
    EXPECT_TRUE(keys.keysOnDay().isEmpty());

    // Shift and the arrows select days across a month end; the menu key's New Appointment opens
    // the form for them with the category, as a pen drag does.
    goTo(QDate(year, 3, 30));
    press(grid, Qt::Key_Right, Qt::ShiftModifier);
    press(grid, Qt::Key_Right, Qt::ShiftModifier);
    press(grid, Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(keys.run());
    EXPECT_EQ(keys.run()->first, QDate(year, 3, 30));
    EXPECT_EQ(keys.run()->second, QDate(year, 4, 2));
    EXPECT_EQ(keys.marks().run.size(), 2) << "a strip in each month";
    const QString y = QString::number(year % 100);
    EXPECT_EQ(plan->dateLabel()->text(), "3/30/" + y + " to 4/2/" + y);
    press(grid, Qt::Key_Menu);
    EXPECT_TRUE(plan->appointmentMenu()->isVisible());
    EXPECT_FALSE(
        static_cast<AppointmentMenu *>(plan->appointmentMenu())->editAction()->isEnabled());
    pickCategory(*plan, 1);
    plan->appointmentMenu()->hide();
    EXPECT_FALSE(plan->planner().CategorySelectionActive()) << "no pen mode from the keyboard";
    ASSERT_EQ(form.shown.size(), 2);
    EXPECT_EQ(OADate::toDateTime(form.shown[1].start), QDateTime(QDate(year, 3, 30), QTime(0, 0)));
    EXPECT_EQ(OADate::toDateTime(form.shown[1].end), QDateTime(QDate(year, 4, 3), QTime(0, 0)));
    EXPECT_EQ(form.shown[1].categories, "Holiday");
    EXPECT_FALSE(keys.run()) << "the run ends with the new appointment";

    // From the pointer, the same menu item still starts pen mode.
    mouse(grid, QEvent::MouseMove, cell(*plan, 6, 10, 2));
    mouse(grid, QEvent::MouseButtonPress, cell(*plan, 6, 10, 2), Qt::RightButton);
    pickCategory(*plan, 1);
    plan->appointmentMenu()->hide();
    EXPECT_TRUE(plan->planner().CategorySelectionActive());
}

TEST_F(PointerTest, AScreenReaderFindsTheYearAsATableOfDays)
{
    const QByteArray y = QByteArray::number(year);
    WriteAll(folder + "/visit.ics",
             Event("visit", "Visit",
                   "DTSTART;VALUE=DATE:" + y + "0305\r\nDTEND;VALUE=DATE:" + y + "0306\r\n",
                   "Other"));
    auto plan = open();
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(plan->gridCanvas());
    ASSERT_TRUE(table);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), "Year " + QString::number(year));
    QAccessibleTableInterface *t = table->tableInterface();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), 12);
    EXPECT_EQ(t->columnCount(), 37);
    EXPECT_EQ(table->childCount(), 12 * 37);
    EXPECT_EQ(t->rowDescription(2), "March");
    EXPECT_EQ(t->columnDescription(0), "Sunday");
    EXPECT_EQ(t->columnDescription(8), "Monday");

    // 5 March: both appointments, in band order, with their categories.
    const PlannerYear &py = plan->state().year;
    const int column = py.LeadIn(3) + 5;
    QAccessibleInterface *fifth = t->cellAt(2, column - 1);
    ASSERT_TRUE(fifth);
    EXPECT_EQ(fifth->role(), QAccessible::Cell);
    EXPECT_EQ(fifth->text(QAccessible::Name),
              QLocale().toString(QDate(year, 3, 5), QLocale::LongFormat) +
                  ": Fair (Holiday), Visit (Other)");
    EXPECT_EQ(table->indexOfChild(fifth), 2 * 37 + column - 1);
    EXPECT_EQ(fifth->parent(), table);
    QAccessibleTableCellInterface *cell = fifth->tableCellInterface();
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->rowIndex(), 2);
    EXPECT_EQ(cell->columnIndex(), column - 1);
    ASSERT_EQ(cell->rowHeaderCells().size(), 1);
    EXPECT_EQ(cell->rowHeaderCells()[0]->text(QAccessible::Name), "March");
    EXPECT_EQ(cell->columnHeaderCells()[0]->text(QAccessible::Name),
              QLocale::c().dayName(QDate(year, 3, 5).dayOfWeek()));
    EXPECT_FALSE(fifth->state().invisible);
    EXPECT_EQ(t->cellAt(2, column - 1), fifth) << "one interface per cell";
    // An empty day is named by its date alone; a column outside February has no day.
    EXPECT_EQ(t->cellAt(2, column)->text(QAccessible::Name),
              QLocale().toString(QDate(year, 3, 6), QLocale::LongFormat));
    EXPECT_TRUE(t->cellAt(1, 36)->state().invisible);
    EXPECT_TRUE(t->cellAt(1, 36)->text(QAccessible::Name).isEmpty());
    EXPECT_FALSE(fifth->rect().isEmpty());
    EXPECT_EQ(table->childAt(fifth->rect().center().x(), fifth->rect().center().y()), fifth);

    // The table's focused cell follows the cursor. (The focus event its moves send reaches only
    // a platform with assistive technology listening; offscreen there is none.)
    QWidget *grid = FocusGrid(*plan);
    press(grid, Qt::Key_Right);
    ASSERT_TRUE(table->focusChild());
    EXPECT_TRUE(table->focusChild()->state().focused);
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name),
              QLocale().toString(QDate(year, 1, 2), QLocale::LongFormat));

    // The controls around the grid say what they are.
    for (QToolButton *b : plan->toolBar()->findChildren<QToolButton *>()) {
        if (!b->isEnabled() || b->objectName().isEmpty())
            continue;
        QAccessibleInterface *button = QAccessible::queryAccessibleInterface(b);
        EXPECT_FALSE(button->text(QAccessible::Name).isEmpty()) << qPrintable(b->objectName());
        EXPECT_EQ(button->text(QAccessible::Description), b->toolTip())
            << qPrintable(b->objectName());
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(plan->logo())->text(QAccessible::Name),
              "Quorvel");
}

TEST_F(PointerTest, TabGoesFromTheToolbarToTheGridToTheLegendWhichTheKeysWork)
{
    auto plan = open();
    QApplication::setActiveWindow(plan.get());
    QStringList chain;
    QWidget *w = plan.get();
    for (int i = 0; i < 40; ++i) {
        w = w->nextInFocusChain();
        if (w == plan.get())
            break;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(plan.get()) && w->isEnabled() &&
            !w->focusProxy())
            chain << w->objectName();
    }
    // The chain is a ring: read it from the grid on.
    const int grid = int(chain.indexOf("pic1"));
    ASSERT_GE(grid, 0) << qPrintable(chain.join(' '));
    const auto at = [&](int offset) {
        return chain[(grid + offset + chain.size()) % chain.size()];
    };
    EXPECT_EQ(at(-1), "About") << qPrintable(chain.join(' '));
    EXPECT_EQ(at(-2), "Print");
    EXPECT_EQ(at(1), "cmdRefresh");
    EXPECT_EQ(at(2), "picCats");
    EXPECT_FALSE(chain.contains(QString())) << "every stop is named";

    // The legend: Down to the second category, Space picks it as a click does, the grid's
    // Shift+arrows then choose the days and Enter creates the appointment.
    QWidget *list = plan->legendPanel()->list();
    list->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    press(list, Qt::Key_Down);
    EXPECT_EQ(plan->legendPanel()->keyRow(), 2);
    press(list, Qt::Key_Space);
    EXPECT_EQ(plan->planner().SelectedCategory(), 2);
    QAccessibleInterface *rows = QAccessible::queryAccessibleInterface(list);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->role(), QAccessible::List);
    EXPECT_EQ(rows->childCount(), 2);
    EXPECT_EQ(rows->child(1)->text(QAccessible::Name), "Other");
    EXPECT_TRUE(rows->child(1)->state().selected) << "the picked category";
    EXPECT_TRUE(rows->child(1)->state().focused);
    EXPECT_FALSE(rows->child(0)->state().selected);

    QWidget *canvas = FocusGrid(*plan);
    press(canvas, Qt::Key_Down);
    const QDate first = plan->keyboard().day();
    press(canvas, Qt::Key_Right, Qt::ShiftModifier);
    GeneralDateFormat dates;
    EXPECT_EQ(plan->dateLabel()->text(), "Other  " + dates.format(OADate::fromDateTime(first)) +
                                             " to " +
                                             dates.format(OADate::fromDateTime(first.addDays(1))));
    press(canvas, Qt::Key_Return);
    ASSERT_EQ(form.shown.size(), 1);
    EXPECT_EQ(form.shown[0].categories, "Other");
    EXPECT_EQ(OADate::toDateTime(form.shown[0].start).date(), first);
    EXPECT_EQ(OADate::toDateTime(form.shown[0].end).date(), first.addDays(2));
    EXPECT_FALSE(plan->planner().CategorySelectionActive());
}

TEST_F(PointerTest, ADarkDesktopKeepsItsColoursInTheToolbar)
{
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::Window, QColor(40, 40, 44));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
    QApplication::setPalette(dark);
    {
        auto plan = open();
        EXPECT_EQ(plan->toolBar()->palette().color(QPalette::Window), QColor(40, 40, 44));
        EXPECT_EQ(plan->dateLabel()->palette().color(QPalette::WindowText), QColor(235, 235, 235));
    }
    QApplication::setPalette(before);
    auto plan = open();
    EXPECT_NE(plan->toolBar()->palette().color(QPalette::Window), QColor(40, 40, 44))
        << "a light desktop keeps the planner's own toolbar";
}

// Back to the year just left: its appointments are taken from memory while its cache file is as
// it was read, and read anew once the file changed.
TEST_F(PointerTest, ChangingBackToTheYearLeftTakesItFromMemory)
{
    auto plan = open();
    const QString cache = plan->cacheFiles().cacheFile;
    const EventStore *shown = plan->state().store.get();
    const int count = plan->state().store->Count();
    const QString fair =
        plan->hitMap().at(plan->state().year.RowOfMonth(3),
                          plan->state().year.LeadIn(plan->state().year.RowOfMonth(3)) + 5, 2);
    ASSERT_FALSE(fair.isEmpty());
    plan->ChangeYear(1);
    EXPECT_NE(plan->state().store.get(), shown);
    plan->ChangeYear(-1);
    EXPECT_EQ(plan->state().store.get(), shown) << "kept";
    EXPECT_EQ(plan->state().store->Count(), count);
    EXPECT_EQ(plan->hitMap().at(plan->state().year.RowOfMonth(3),
                                plan->state().year.LeadIn(plan->state().year.RowOfMonth(3)) + 5, 2),
              fair);

    ASSERT_TRUE(waitFor([&] { return plan->pendingUpdates() == 0; }));
    plan->ChangeYear(1);
    ASSERT_TRUE(QFile::remove(cache)); // as another planner's rebuild replaces it
    plan->ChangeYear(-1);
    EXPECT_NE(plan->state().store.get(), shown) << "the file changed: read again";
}

TEST_F(PointerTest, AClickPutsTheKeyboardsCursorOnTheDayClicked)
{
    auto plan = open();
    QWidget *grid = FocusGrid(*plan);
    mouse(grid, QEvent::MouseMove, cell(*plan, 6, 10, 2));
    mouse(grid, QEvent::MouseButtonPress, cell(*plan, 6, 10, 2));
    mouse(grid, QEvent::MouseButtonRelease, cell(*plan, 6, 10, 2));
    EXPECT_EQ(plan->keyboard().day(), QDate(year, 6, 10));
    press(grid, Qt::Key_Right);
    EXPECT_EQ(plan->keyboard().day(), QDate(year, 6, 11));
    const PlannerYear &y = plan->state().year;
    if (y.LeadIn(y.RowOfMonth(6)) > 0) { // a grey cell before the 1st leaves it
        mouse(grid, QEvent::MouseMove, column(*plan, y.RowOfMonth(6), 1, 2));
        mouse(grid, QEvent::MouseButtonPress, column(*plan, y.RowOfMonth(6), 1, 2));
        EXPECT_EQ(plan->keyboard().day(), QDate(year, 6, 11));
    }
}

// Looking at a year for a while reads the next one: the change to it reads no file.
TEST_F(PointerTest, TheNextYearIsReadWhileTheUserLooksAtThisOne)
{
    const QByteArray next = QByteArray::number(year + 1);
    WriteAll(folder + "/next.ics",
             Event("next", "Next year's fair",
                   "DTSTART;VALUE=DATE:" + next + "0305\r\nDTEND;VALUE=DATE:" + next + "0306\r\n"));
    auto plan = open();
    // The next year's cache made by its first rebuild; then the year before shown, so that the
    // year kept in memory for going back is not the next one.
    for (int delta : {1, -1, -1, 1}) {
        plan->ChangeYear(delta);
        ASSERT_TRUE(waitFor([&] { return plan->pendingUpdates() == 0; }, 20000));
    }
    int loads = 0;
    QObject::connect(&plan->planner().session(), &YearSession::indicatorChanged,
                     [&](quint32 colour) { loads += colour == Indicator::kLoading; });
    waitFor([] { return false; }, YearSession::kReadAheadDelayMs + 700);
    EXPECT_EQ(loads, 0) << "reading ahead shows nothing";
    plan->ChangeYear(1);
    EXPECT_EQ(loads, 0) << "the year was in memory";
    ASSERT_EQ(plan->state().store->Count(), 1);
    EXPECT_EQ(plan->state().store->begin()->Subject, "Next year's fair");
    EXPECT_EQ(plan->yearLabel()->text(), "Year " + QString::number(year + 1));
    plan->ChangeYear(1); // two ahead: never read
    EXPECT_EQ(loads, 1);
}

// The window in German and French: the toolbar, the menus and a question; English, the source,
// stays as it is under C and en_US.
TEST_F(PointerTest, TheWindowSpeaksTheUsersLanguage)
{
    const auto deleteQuestion = [&](YearPlan &plan) {
        QWidget *grid = FocusGrid(plan);
        for (int i = 0; i < 2; ++i)
            press(grid, Qt::Key_Down);
        press(grid, Qt::Key_Home);
        while (plan.keyboard().day() < QDate(year, 3, 5))
            press(grid, Qt::Key_Right);
        press(grid, Qt::Key_Tab);
        dialogs.queueAnswer(Dialogs::Answer::No);
        press(grid, Qt::Key_Delete);
        return dialogs.shown().isEmpty() ? QString() : dialogs.shown().last().text;
    };
    struct Row
    {
        QLocale locale;
        const char *print, *year, *edit, *question;
    } rows[] = {
        {QLocale(QLocale::German, QLocale::Germany), "Drucken", "Jahr %1", "Termin bearbeiten",
         "Den Termin „Fair“ löschen?"},
        {QLocale(QLocale::French, QLocale::France), "Imprimer", "Année %1",
         "Modifier le rendez-vous", "Supprimer le rendez-vous « Fair » ?"},
        {QLocale::c(), "Print", "Year %1", "Edit Appointment", "Delete this appointment Fair?"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "Print", "Year %1", "Edit Appointment",
         "Delete this appointment Fair?"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(qPrintable(r.locale.name()));
        LoadTranslations(*QCoreApplication::instance(), r.locale);
        auto plan = open();
        EXPECT_EQ(plan->commandBar()->button(Command::Print)->text(), QString::fromUtf8(r.print));
        EXPECT_EQ(plan->yearLabel()->text(), QString::fromUtf8(r.year).arg(year));
        EXPECT_EQ(static_cast<AppointmentMenu *>(plan->appointmentMenu())->editAction()->text(),
                  QString::fromUtf8(r.edit));
        EXPECT_EQ(deleteQuestion(*plan), QString::fromUtf8(r.question));
        dialogs.clear();
        // At 800 x 500 no button of the toolbar is cut off, nor the legend's names.
        plan->resize(800, 500);
        QApplication::processEvents();
        for (QToolButton *b : plan->toolBar()->findChildren<QToolButton *>()) {
            if (!b->isVisible() || b->objectName().isEmpty() || b->objectName() == "Status")
                continue;
            EXPECT_GE(b->width(), b->minimumSizeHint().width()) << qPrintable(b->objectName());
            EXPECT_LE(b->mapTo(plan.get(), QPoint(b->width(), 0)).x(), plan->width())
                << qPrintable(b->objectName());
        }
    }
    UnloadTranslations(*QCoreApplication::instance());
}

// From the keyboard and for a screen reader, a subject in markup is the text it is too.
TEST_F(PointerTest, MarkupInASubjectReachesTheKeyboardAndTheScreenReaderAsText)
{
    const QByteArray y = QByteArray::number(year);
    WriteAll(folder + "/bold.ics",
             Event("bold", "<b>x</b>",
                   "DTSTART;VALUE=DATE:" + y + "0305\r\nDTEND;VALUE=DATE:" + y + "0306\r\n",
                   "<i>Work</i>"));
    auto plan = open();
    QWidget *grid = FocusGrid(*plan);
    press(grid, Qt::Key_Down);
    press(grid, Qt::Key_Down);
    press(grid, Qt::Key_Home);
    while (plan->keyboard().day() < QDate(year, 3, 5))
        press(grid, Qt::Key_Right);
    QStringList chosen;
    for (int i = 0; i < 2; ++i) {
        press(grid, Qt::Key_Tab);
        chosen << plan->dateLabel()->text();
        plan->dateLabel()->grab();
    }
    EXPECT_TRUE(chosen.join('\n').contains("<b>x</b>")) << qPrintable(chosen.join('\n'));
    EXPECT_EQ(plan->dateLabel()->textFormat(), Qt::PlainText);
    const PlannerYear &py = plan->state().year;
    QAccessibleInterface *cell =
        QAccessible::queryAccessibleInterface(grid)->tableInterface()->cellAt(
            2, py.LeadIn(py.RowOfMonth(3)) + 4);
    EXPECT_TRUE(cell->text(QAccessible::Name).contains("<b>x</b> (<i>Work</i>)"))
        << qPrintable(cell->text(QAccessible::Name));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}
