#include "binaryfile.h"
#include "cacherecord.h"
#include "categorystore.h"
#include "filtermodel.h"
#include "legendpanel.h"
#include "propertybag.h"
#include "qverror.h"
#include "remotesyncher.h"
#include "scripteddialogs.h"
#include "syncher.h"
#include "testsupport.h"
#include "yearplan.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QByteArray AllDay(const QByteArray &uid, const QByteArray &summary, const QByteArray &from,
                  const QByteArray &to, const QByteArray &category)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nSUMMARY:" + summary + "\r\nCATEGORIES:" + category +
           "\r\nDTSTART;VALUE=DATE:" + from + "\r\nDTEND;VALUE=DATE:" + to +
           "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

class PlannerTest : public ::testing::Test
{
protected:
    PlannerTest()
    {
        const QString year = QString::number(QDate::currentDate().year());
        const QString last = QString::number(QDate::currentDate().year() - 1);
        QDir().mkpath(dir.path() + "/Team/Calendar/Planning");
        WriteAll(dir.path() + "/Team/.quorvel-store",
                 "[Store]\nName=Team\nUserName=Ana\n[Categories]\n1\\Name=Holiday\n1\\Color="
                 "5\nsize=1\n");
        WriteAll(
            dir.path() + "/Team/Calendar/Planning/a.ics",
            AllDay("a", "Retreat", (year + "0310").toUtf8(), (year + "0313").toUtf8(), "Holiday"));
        WriteAll(
            dir.path() + "/Team/Calendar/Planning/b.ics",
            AllDay("b", "Old fair", (last + "0505").toUtf8(), (last + "0507").toUtf8(), "Other"));
        options.storeDir = dir.path() + "/Team";
        Store::Application::setSharedOptions(options);
        env = std::make_unique<ScopedEnv>("TMP", QFile::encodeName(dir.path()));
    }
    ~PlannerTest() override { Store::Application::setSharedOptions({}); }

    // Waits until the planner has no rebuild pending and holds appointments.
    bool settle(YearPlan &plan, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            if (plan.pendingUpdates() == 0 && plan.state().store->Count() > 0)
                return true;
        }
        return false;
    }

    QTemporaryDir dir;
    Store::ProfileOptions options;
    std::unique_ptr<ScopedEnv> env;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(PlannerTest, ABagOpensTheFolderAndDrawsItsYear)
{
    // The folder keeps the colours of the planner titled Team.
    {
        auto session = std::make_shared<Store::NameSpace>(options);
        const Store::FolderPtr folder = Store::FolderAtPath(*session, "Team\\Calendar\\Planning");
        CategoryStore(dialogs, session, folder->EntryID(), folder->StoreID())
            .SaveCategories({{"Holiday", "Other"}, {0x9FDDA6, 0xCCCCCC}},
                            "PLEASE IGNORE - Quorvel Category Colours: Team");
    }
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1400, 900);
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"},
                                        {"TitleName", "Team"},
                                        {"DisplaySubject", "True"}}));
    ASSERT_TRUE(settle(plan)) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(plan.state().store->Count(), 1) << "last year's fair is not in this year";
    EXPECT_EQ(plan.state().store->Item(1).Subject, "Retreat");
    EXPECT_EQ(plan.yearLabel()->text(), "Year " + QString::number(QDate::currentDate().year()));
    EXPECT_TRUE(plan.cacheFiles().cacheFile.startsWith(dir.path() + "/Ana"));
    EXPECT_TRUE(QFile::exists(plan.cacheFiles().cacheFile));
    EXPECT_EQ(plan.CategoryStoreSubject(), "PLEASE IGNORE - Quorvel Category Colours: Team");
    // The folder's table of the title, and one "New Appointment" item per category.
    EXPECT_EQ(plan.state().categories.names, QStringList({"Holiday", "Other"}));
    QStringList captions;
    for (QAction *a : plan.newAppointmentMenu()->actions())
        captions << a->text();
    EXPECT_EQ(captions, QStringList({"Holiday", "Other"}));
    plan.state().categories = {{"Only"}, {1}};
    plan.RebuildCategoryMenu();
    ASSERT_EQ(plan.newAppointmentMenu()->actions().size(), 1) << "items past the table go";
    EXPECT_EQ(plan.newAppointmentMenu()->actions()[0]->text(), "Only");
    plan.state().categories = {{"Holiday", "Other"}, {0x9FDDA6, 0xCCCCCC}};
    EXPECT_EQ(plan.clientVersion().major, 16);
    EXPECT_TRUE(plan.toolBar()->findChild<QToolButton *>("Categories")->isVisibleTo(&plan));

    // The bar is on the grid canvas, in the category's colour, on 11 March.
    const CalEvent &e = plan.state().store->Item(1);
    const GridGeometry &g = plan.geometry();
    const int row = plan.state().year.RowOfMonth(3);
    const int x = int(((e.StartDay - 1) + 1.5) / 1.0 * g.DayWidth / plan.px());
    const int y = int((plan.state().RowBands[row - 1] + 1.5) * g.BandHeight / plan.py());
    const QImage &image = plan.gridCanvas()->canvas().image();
    EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, qRgb(166, 221, 159) & 0xFFFFFF);
    EXPECT_FALSE(plan.hitMap().at(row, e.StartDay + 1, e.Band).isEmpty());
}

TEST_F(PlannerTest, TallAndShortControls)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1400, 1400);
    plan.show(); // resize events reach shown widgets
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    EXPECT_GE(plan.geometry().BandHeight, 100);
    EXPECT_FALSE(plan.gridScrollBar()->isVisibleTo(&plan));

    plan.resize(1000, 320);
    QApplication::processEvents();
    EXPECT_EQ(plan.geometry().BandHeight, 100);
    ASSERT_TRUE(plan.gridScrollBar()->isVisibleTo(&plan));
    const int top = plan.gridCanvas()->y();
    EXPECT_EQ(plan.monthColumn()->y(), top);
    plan.gridScrollBar()->setValue(plan.gridScrollBar()->maximum());
    EXPECT_LT(plan.gridCanvas()->y(), top);
    EXPECT_EQ(plan.monthColumn()->y(), plan.gridCanvas()->y()) << "they scroll together";
}

// An ampersand in a category name is shown in the "New Appointment" menu, not taken for a
// shortcut marker ("R&D" would show as "RD" with the D underlined).
TEST_F(PlannerTest, AmpersandInACategoryName)
{
    YearPlan plan(nullptr, &dialogs);
    plan.state().categories = {{"R&D", "Tom && Jerry", "Plain"}, {1, 2, 3}};
    plan.RebuildCategoryMenu();
    QStringList shown;
    for (QAction *a : plan.newAppointmentMenu()->actions())
        shown << a->iconText();
    EXPECT_EQ(shown, QStringList({"R&D", "Tom && Jerry", "Plain"}));
}

// A narrow window keeps the legend whole and gives the grid what is left.
TEST_F(PlannerTest, NarrowWindowKeepsTheLegendWhole)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1400, 900);
    plan.show();
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    // Its rows keep their width; a short window adds the legend's scroll bar beside them.
    const int legend = plan.legendPanel()->list()->width();
    for (const QSize size : {QSize(700, 450), QSize(480, 320), QSize(1920, 1080)}) {
        plan.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(plan.legendPanel()->list()->width(), legend) << size.width();
        EXPECT_LE(plan.legendPanel()->geometry().right(), size.width()) << "on the window";
        EXPECT_LE(plan.gridCanvas()->x() + plan.geometry().GridWidth / plan.px(),
                  plan.legendPanel()->x() + 1)
            << "the grid stops before the legend at " << size.width();
    }
}

TEST_F(PlannerTest, BackAndNextLoadTheirYear)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1200, 800);
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    const int year = QDate::currentDate().year();
    plan.toolBar()->findChild<QToolButton *>("Back")->click();
    EXPECT_EQ(plan.yearLabel()->text(), "Year " + QString::number(year - 1));
    EXPECT_TRUE(plan.cacheFiles().cacheFile.contains(QString::number(year - 1)));
    ASSERT_TRUE(settle(plan));
    EXPECT_EQ(plan.state().store->Item(1).Subject, "Old fair");
    plan.toolBar()->findChild<QToolButton *>("Next")->click();
    ASSERT_TRUE(settle(plan));
    EXPECT_EQ(plan.state().store->Item(1).Subject, "Retreat");
}

TEST_F(PlannerTest, PropertyBagRoundTripAndDefaults)
{
    YearPlan plan(nullptr, &dialogs);
    QList<QString> changed;
    QObject::connect(&plan, &YearPlan::propertyChanged, [&](const QString &n) { changed << n; });
    plan.setFolder("Team\\Calendar");
    plan.setAllEvents(true);
    plan.setDisplaySubject(true);
    plan.setHideNonCategoryItems(true);
    plan.setTitleName("Sales");
    plan.setAppointmentForm("IPM.Appointment.Custom");
    plan.setStartMonth(7);
    EXPECT_EQ(changed.size(), 7);
    EXPECT_EQ(plan.CategoryStoreSubject(), "PLEASE IGNORE - Quorvel Category Colours: Sales");
    MapPropertyBag bag;
    plan.WriteProperties(bag);
    EXPECT_EQ(bag.values().keys().size(), 7);

    YearPlan other(nullptr, &dialogs);
    other.ReadProperties(bag);
    EXPECT_EQ(other.Folder(), "Team\\Calendar");
    EXPECT_TRUE(other.AllEvents());
    EXPECT_TRUE(other.DisplaySubject());
    EXPECT_TRUE(other.HideNonCategoryItems());
    EXPECT_EQ(other.TitleName(), "Sales");
    EXPECT_EQ(other.AppointmentForm(), "IPM.Appointment.Custom");
    EXPECT_EQ(other.StartMonth(), 7);

    YearPlan empty(nullptr, &dialogs);
    empty.ReadProperties(MapPropertyBag());
    EXPECT_EQ(empty.TitleName(), "Default");
    EXPECT_EQ(empty.AppointmentForm(), "IPM.Appointment");
    EXPECT_EQ(empty.StartMonth(), 1);
    EXPECT_EQ(empty.Folder(), "");
    settle(empty, 500);
}

TEST_F(PlannerTest, FailuresOfTheRefreshSequence)
{
    // A folder that does not exist is the default calendar, without a message.
    YearPlan missing(nullptr, &dialogs);
    missing.ReadProperties(MapPropertyBag({{"Folder", "Team\\Nowhere"}}));
    settle(missing, 500);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));

    // A synchroniser that cannot be created: step 9, after the cached year is drawn.
    YearPlan warm(nullptr, &dialogs);
    warm.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(warm)); // the cache now exists
    dialogs.clear();
    YearPlan plan(nullptr, &dialogs);
    plan.setSyncherFactory([](const Store::ProfileOptions &) -> std::unique_ptr<SyncherLink> {
        throw QvError(429, "ActiveX component can't create object");
    });
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Error while initialising the background processing, the cache file will not be "
              "updated from the calender (Step:9). \n\nError: 429 ActiveX component can't create "
              "object");
    EXPECT_EQ(plan.state().store->Count(), 1) << "the year was drawn from the cache first";
}

// A synchroniser that takes requests and has not answered yet: a first rebuild under way.
class SilentLink : public SyncherLink
{
public:
    void UpdateCache() override { ++requests; }
    void CancelUpdate() override {}
    int requests = 0;
};

// A year without a cache yet says over its empty grid that it is being read, until its first
// rebuild reports; a year read before shows no such line.
TEST_F(PlannerTest, TheFirstReadOfAYearIsSaidOverTheEmptyGrid)
{
    const auto notices = [](YearPlan &plan) {
        const QImage &image = plan.gridCanvas()->canvas().image();
        int n = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                n += (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFE1;
        return n;
    };
    SilentLink *link = nullptr;
    {
        YearPlan first(nullptr, &dialogs);
        first.resize(1400, 900);
        first.setSyncherFactory([&](const Store::ProfileOptions &) {
            auto made = std::make_unique<SilentLink>();
            link = made.get();
            return std::unique_ptr<SyncherLink>(std::move(made));
        });
        first.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
        QApplication::processEvents();
        ASSERT_TRUE(link);
        EXPECT_GT(link->requests, 0);
        EXPECT_TRUE(first.planner().session().readingFirstTime());
        EXPECT_GT(notices(first), 100) << "the line over the grid";
        EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
    }
    YearPlan read(nullptr, &dialogs);
    read.resize(1400, 900);
    read.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(read));
    EXPECT_FALSE(read.planner().session().readingFirstTime());
    EXPECT_EQ(notices(read), 0);
}

TEST_F(PlannerTest, TheStoredFilterOfTheTitleHidesAppointments)
{
    FilterModel stored(", ");
    stored.SetFilter("Work, Travel");
    stored.SetFilterMode(false);
    stored.save("Filtered planner");

    YearPlan plan(nullptr, &dialogs);
    plan.resize(1200, 800);
    plan.ReadProperties(MapPropertyBag(
        {{"Folder", "Team\\Calendar\\Planning"}, {"TitleName", "Filtered planner"}}));
    ASSERT_TRUE(settle(plan));
    EXPECT_EQ(plan.filter().FilterDisplayText(), "Work OR Travel");
    EXPECT_EQ(plan.toolBar()->findChild<QToolButton *>("Filter")->toolTip(),
              "Active Filter: Work OR Travel");
    // The Holiday retreat stays in the store but takes no band and no place in the hit map.
    ASSERT_EQ(plan.state().store->Count(), 1);
    EXPECT_EQ(plan.state().store->Item(1).Band, 0);
    EXPECT_EQ(plan.state().RowBands[12], 48);
}

TEST_F(PlannerTest, ChangesByAnotherProcessShowWithinTwoSecondsAndReachTheCache)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1200, 800);
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    ASSERT_NE(dynamic_cast<RemoteSyncher *>(plan.updater().link()), nullptr)
        << "the planner's synchroniser is quorvel-sync's";

    const QString folder = dir.path() + "/Team/Calendar/Planning/";
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    auto subjects = [&] {
        QStringList out;
        for (const CalEvent &e : *plan.state().store)
            out.append(e.Subject);
        return out;
    };
    // Another program changes the folder; the planner must show it within two seconds.
    auto byAnotherProcess = [&](const char *what, const QString &script,
                                const std::function<bool()> &shown) {
        ASSERT_EQ(QProcess::execute("sh", {"-c", script}), 0) << script.toStdString();
        QElapsedTimer t;
        t.start();
        while (!shown() && t.elapsed() < 2000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(shown()) << script.toStdString() << ": " << subjects().join(", ").toStdString();
        RecordProperty(std::string(what) + "_ms", int(t.elapsed()));
        // And the cache on disk then holds what the planner holds.
        auto cacheMatches = [&] {
            BinaryFile f = BinaryFile::open(plan.cacheFiles().cacheFile);
            CacheRecordReader reader(f);
            QStringList cached;
            CacheRecord r;
            while (!reader.atEnd() && reader.read(r))
                cached.append(r.Subject);
            return plan.pendingUpdates() == 0 && cached == subjects();
        };
        t.restart();
        while (!cacheMatches() && t.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(cacheMatches()) << script.toStdString();
    };

    WriteAll(dir.path() + "/new.ics",
             AllDay("c", "Launch", year + "0101", year + "0103", "Holiday"));
    byAnotherProcess("added", "cp '" + dir.path() + "/new.ics' '" + folder + "c.ics'", [&] {
        return subjects() == QStringList({"Launch", "Retreat"});
    });
    WriteAll(dir.path() + "/changed.ics",
             AllDay("c", "Relaunch", year + "0601", year + "0602", "Holiday"));
    byAnotherProcess("changed",
                     "cp '" + dir.path() + "/changed.ics' '" + folder + "c.tmp' && mv '" + folder +
                         "c.tmp' '" + folder + "c.ics'",
                     [&] {
                         return subjects() == QStringList({"Retreat", "Relaunch"});
                     });
    byAnotherProcess("deleted", "rm '" + folder + "c.ics'",
                     [&] { return subjects() == QStringList({"Retreat"}); });
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

TEST_F(PlannerTest, TheToolbarKeepsItsPlacesAndTheControlOneFont)
{
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1200, 800);
    plan.show();
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    QToolButton *back = plan.toolBar()->findChild<QToolButton *>("Back");
    QToolButton *next = plan.toolBar()->findChild<QToolButton *>("Next");
    for (int i = 0; i < 3; ++i) {
        next->click();
        QApplication::processEvents();
        const QRect label = plan.yearLabel()->geometry();
        EXPECT_FALSE(label.intersects(back->geometry())) << "after Next " << i + 1;
        EXPECT_FALSE(label.intersects(next->geometry()));
        EXPECT_TRUE(plan.yearLabel()->isVisibleTo(&plan));
    }
    // Every command can be pressed, by keyboard too.
    for (QToolButton *b : {back, next, plan.toolBar()->findChild<QToolButton *>("About"),
                           plan.toolBar()->findChild<QToolButton *>("Print")}) {
        EXPECT_TRUE(b->isEnabled());
        EXPECT_NE(b->focusPolicy() & Qt::TabFocus, 0);
        EXPECT_FALSE(b->accessibleName().isEmpty());
    }
    plan.toolBar()->findChild<QToolButton *>("About")->click();
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().aboutBox.caption, "About Quorvel");
    // The grid's text is in the control's own font, and nothing stands in the corner.
    EXPECT_EQ(plan.gridCanvas()->font.font.family(), plan.font().family());
    EXPECT_EQ(plan.monthColumn()->font.font.family(), plan.font().family());
    for (QLabel *label : plan.findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->isVisibleTo(&plan) && label->geometry().contains(1, 1)) {
            EXPECT_EQ(label->text(), "") << qPrintable(label->objectName());
        }
    }
}

TEST_F(PlannerTest, FilesLeftOutOfTheCalendarAreCountedAndNamed)
{
    const QString folder = dir.path() + "/Team/Calendar/Planning/";
    WriteAll(folder + "broken.ics", "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:half");
    YearPlan plan(nullptr, &dialogs);
    QStringList statuses;
    QObject::connect(&plan, &YearPlan::StatusChange,
                     [&](const QString &text) { statuses << text; });
    plan.resize(1200, 800);
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    QAction *leftOut = plan.findChild<QAction *>("mnuLeftOut");
    ASSERT_TRUE(leftOut);
    QElapsedTimer t;
    t.start();
    while (!leftOut->isVisible() && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(leftOut->isVisible()) << qPrintable(statuses.join('\n'));
    EXPECT_EQ(
        statuses.constLast(),
        "1 calendar file was left out; \"Calendar files left out\" in the help menu names it.");
    EXPECT_EQ(plan.findChild<QWidget *>("shpUpdate")->toolTip(), statuses.constLast());
    leftOut->trigger();
    ASSERT_FALSE(dialogs.shown().isEmpty());
    const ScriptedDialogs::Shown &report = dialogs.shown().constLast();
    EXPECT_EQ(report.kind, ScriptedDialogs::Kind::Report);
    EXPECT_EQ(report.title, "Calendar files left out");
    EXPECT_EQ(report.lines, QStringList({folder + "broken.ics: skipped, not an iCalendar file"}));

    // Mended, the next rebuild says nothing of it.
    QFile::remove(folder + "broken.ics");
    plan.planner().ReloadPlanner();
    t.restart();
    while (leftOut->isVisible() && t.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(leftOut->isVisible());
    EXPECT_EQ(statuses.constLast(), "");
}

TEST_F(PlannerTest, ATallYearKeepsWhatIsShownAndDrawsWhatScrollsIn)
{
    const QString year = QString::number(QDate::currentDate().year());
    for (int i = 0; i < 300; ++i) {
        const QByteArray uid = "dec" + QByteArray::number(i);
        WriteAll(
            dir.path() + "/Team/Calendar/Planning/" + uid + ".ics",
            AllDay(uid, "Crowd", (year + "1201").toUtf8(), (year + "1220").toUtf8(), "Holiday"));
    }
    YearPlan plan(nullptr, &dialogs);
    plan.resize(1000, 320);
    plan.show();
    plan.ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"}}));
    ASSERT_TRUE(settle(plan));
    ASSERT_TRUE(plan.gridScrollBar()->isVisibleTo(&plan));
    CanvasWidget *grid = plan.gridCanvas();
    EXPECT_LT(grid->canvas().image().height(), grid->height() / 2)
        << "the image keeps what is shown, not the whole tall grid";

    // The last band of December, at the bottom of the grid, is drawn once scrolled to.
    const PlannerState &state = plan.state();
    const CalEvent *lowest = nullptr;
    for (const CalEvent &e : *state.store)
        if (!lowest || e.Band > lowest->Band)
            lowest = &e;
    ASSERT_NE(lowest, nullptr);
    const GridGeometry &g = plan.geometry();
    const int row = state.year.RowOfMonth(12);
    const QPoint bar(
        int((lowest->StartDay + 0.5) * g.DayWidth / plan.px()),
        int((state.RowBands[row - 1] + lowest->Band - 0.5) * g.BandHeight / plan.py()));
    const auto pixelOnScreen = [&] {
        const QImage shown = grid->grab().toImage();
        return shown.pixel(bar) & 0xFFFFFF;
    };
    const quint32 colour = state.categories.colours[lowest->CatIndex - 1]; // 0x00BBGGRR
    const QRgb holiday =
        qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF) & 0xFFFFFF;
    EXPECT_NE(pixelOnScreen(), holiday) << "below the image before scrolling";
    plan.gridScrollBar()->setValue(plan.gridScrollBar()->maximum());
    EXPECT_TRUE(grid->covered());
    EXPECT_EQ(pixelOnScreen(), holiday);
    EXPECT_FALSE(plan.hitMap().at(row, lowest->StartDay + 1, lowest->Band).isEmpty());

    // Back at the top the first rows are drawn again.
    plan.gridScrollBar()->setValue(0);
    const CalEvent *retreat = nullptr;
    for (const CalEvent &e : *state.store)
        if (e.Subject == "Retreat")
            retreat = &e;
    ASSERT_NE(retreat, nullptr);
    const int march = state.year.RowOfMonth(3);
    const QPoint top(
        int((retreat->StartDay + 0.5) * g.DayWidth / plan.px()),
        int((state.RowBands[march - 1] + retreat->Band - 0.5) * g.BandHeight / plan.py()));
    EXPECT_EQ(grid->grab().toImage().pixel(top) & 0xFFFFFF, holiday);
}
