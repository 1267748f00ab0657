#include "calendarstore.h"
#include "canvaswidget.h"
#include "categorycolours.h"
#include "categorystore.h"
#include "filterdialog.h"
#include "legendpanel.h"
#include "marksources.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "yearplan.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Store;

namespace {

class LegendTest : public ::testing::Test
{
protected:
    LegendTest()
    {
        QDir().mkpath(dir.path() + "/Team/Calendar/Planning");
        WriteAll(dir.path() + "/Team/.quorvel-store", "[Store]\nName=Team\nUserName=Ana\n");
        const QByteArray y = QByteArray::number(QDate::currentDate().year());
        for (const auto &[uid, category] :
             {std::pair("a", "Work"), std::pair("b", "Travel"), std::pair("c", "Unknown")})
            WriteAll(dir.path() + "/Team/Calendar/Planning/" + uid + ".ics",
                     Vevent(uid, QByteArray("SUMMARY:") + uid + "\r\nCATEGORIES:" + category +
                                     "\r\nDTSTART;VALUE=DATE:" + y +
                                     "0310\r\nDTEND;VALUE=DATE:" + y + "0312\r\n"));
        options.storeDir = dir.path() + "/Team";
        Store::Application::setSharedOptions(options);
        env = std::make_unique<ScopedEnv>("TMP", QFile::encodeName(dir.path()));
        save({{"Work", "Travel", "Other"}, {0x0000FF, 0x00FF00, 0xCCCCCC}});
    }
    ~LegendTest() override { Store::Application::setSharedOptions({}); }

    void save(const CategoryTable &table)
    {
        auto session = std::make_shared<NameSpace>(options);
        const FolderPtr f = FolderAtPath(*session, "Team\\Calendar\\Planning");
        CategoryStore(dialogs, session, f->EntryID(), f->StoreID())
            .SaveCategories(table, "PLEASE IGNORE - Quorvel Category Colours: Legend test");
    }

    // The table as another program reads it from the folder's hidden item.
    QStringList readBack()
    {
        QProcess list;
        list.start(QUORVEL_LIST, {"--store", options.storeDir, "--categories", "Legend test",
                                  "Team\\Calendar\\Planning"});
        list.waitForFinished(30000);
        return QString::fromUtf8(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    // The folder's file of the table item.
    QString tableFile() const
    {
        const QDir folder(dir.path() + "/Team/Calendar/Planning");
        for (const QString &name : folder.entryList({"*.ics"}, QDir::Files))
            if (ReadAll(folder.filePath(name)).contains("Category Colours: Legend test"))
                return folder.filePath(name);
        return QString();
    }

    std::unique_ptr<YearPlan> open(bool hideOthers = false)
    {
        auto plan = std::make_unique<YearPlan>(nullptr, &dialogs);
        plan->resize(1400, 900);
        plan->show();
        plan->ReadProperties(MapPropertyBag({{"Folder", "Team\\Calendar\\Planning"},
                                             {"TitleName", "Legend test"},
                                             {"HideNonCategoryItems", hideOthers}}));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 5000 &&
               (plan->pendingUpdates() > 0 || plan->state().store->Count() == 0))
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        dialogs.clear();
        return plan;
    }

    static void click(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                      QEvent::Type type = QEvent::MouseButtonPress)
    {
        QMouseEvent e(type, at, w->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // The middle of a legend row, in the list's pixels.
    static QPoint row(YearPlan &plan, int i)
    {
        const LegendRows &rows = plan.legendPanel()->legend().rows();
        return QPoint(40, int((rows.bottoms[i - 1] + rows.bottoms[i]) / 2 / plan.py()));
    }

    QTemporaryDir dir;
    Store::ProfileOptions options;
    std::unique_ptr<ScopedEnv> env;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(LegendTest, ClicksPickAndPutAwayACategory)
{
    auto plan = open();
    QWidget *list = plan->legendPanel()->list();
    click(list, row(*plan, 2));
    EXPECT_EQ(plan->planner().SelectedCategory(), 2);
    EXPECT_EQ(plan->dateLabel()->text(), "Travel");
    EXPECT_EQ(plan->gridCanvas()->cursor().shape(), Qt::BitmapCursor) << "the pen";
    click(list, row(*plan, 2));
    EXPECT_EQ(plan->planner().SelectedCategory(), 0) << "a second left click puts it away";
    EXPECT_EQ(plan->dateLabel()->text(), "");
    click(list, row(*plan, 3));
    click(list, row(*plan, 3), Qt::RightButton);
    EXPECT_EQ(plan->planner().SelectedCategory(), 3) << "the right button keeps it";
    EXPECT_TRUE(plan->legendPanel()->menu()->isVisible());
    QStringList captions;
    for (QAction *a : plan->legendPanel()->menu()->actions())
        captions << a->text();
    EXPECT_EQ(captions, QStringList({"Rename", "Colour", "Delete", "New Category"}));
    plan->legendPanel()->menu()->hide();
    click(list, QPoint(40, list->height() - 2));
    EXPECT_EQ(plan->planner().SelectedCategory(), 0) << "below the rows";
}

// The calendars of marked days have rows of their own below the categories, with their colours;
// a click there picks no category and a double click renames nothing.
TEST_F(LegendTest, MarkedDaysHaveRowsBelowTheCategories)
{
    auto plan = open();
    const qsizetype categories = plan->state().categories.names.size();
    const QByteArray y = QByteArray::number(QDate::currentDate().year());
    WriteAll(dir.filePath("school.ics"),
             Vevent("term", "SUMMARY:Autumn break\r\nDTSTART;VALUE=DATE:" + y +
                                "1026\r\nDTEND;VALUE=DATE:" + y + "1028\r\n"));
    plan->planner().setMarkSources({{MarkSource::Kind::File, dir.filePath("school.ics")}}, false);
    const LegendRows &rows = plan->legendPanel()->legend().rows();
    ASSERT_EQ(rows.count(), categories + 1);
    QWidget *list = plan->legendPanel()->list();
    const QPoint mark = row(*plan, int(categories) + 1);
    const QImage image = list->grab().toImage();
    const int swatchY = int((rows.bottoms[categories] + 90) / plan->py()); // inside its swatch
    const QRgb swatch = image.pixel(int(120 / plan->px()), swatchY);
    EXPECT_EQ(swatch & 0xFFFFFF, qRgb(0xF8, 0xC8, 0xC8) & 0xFFFFFF) << "the first source's colour";
    click(list, mark);
    EXPECT_EQ(plan->planner().SelectedCategory(), 0);
    click(list, mark, Qt::LeftButton, QEvent::MouseButtonDblClick);
    EXPECT_FALSE(plan->legendPanel()->editor()->isVisibleTo(plan.get()));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << qPrintable(dialogs.texts().join('\n'));
}

TEST_F(LegendTest, RenamingInPlace)
{
    auto plan = open();
    QWidget *list = plan->legendPanel()->list();
    QLineEdit *editor = plan->legendPanel()->editor();
    // A double click on a row not picked yet: its first press picks it.
    auto rename = [&](int i, const QString &text, int key = Qt::Key_Return) {
        plan->planner().SelectCategory(0);
        click(list, row(*plan, i));
        click(list, row(*plan, i), Qt::LeftButton, QEvent::MouseButtonDblClick);
        EXPECT_TRUE(editor->isVisibleTo(plan.get()));
        EXPECT_EQ(editor->selectedText(), plan->state().categories.names[i - 1]);
        editor->setText(text);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        EXPECT_FALSE(editor->isVisibleTo(plan.get()));
    };
    const QStringList before = readBack();
    rename(1, "Travel");
    EXPECT_EQ(dialogs.texts(), QStringList({"The category Travel already exists"}));
    rename(1, "Work"); // its own name: the editor just closes
    EXPECT_EQ(dialogs.texts().size(), 1);
    rename(1, "Trips", Qt::Key_Escape);
    EXPECT_EQ(readBack(), before) << "nothing was saved";
    // A double click on the row picked already (its first press puts the row away) renames it.
    plan->planner().SelectCategory(2);
    click(list, row(*plan, 2));
    click(list, row(*plan, 2), Qt::LeftButton, QEvent::MouseButtonDblClick);
    EXPECT_TRUE(editor->isVisibleTo(plan.get()));
    EXPECT_EQ(editor->selectedText(), "Travel");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor, &escape);
    rename(1, "Trips|away");
    EXPECT_EQ(readBack(), QStringList({"Tripsaway|255", "Travel|65280", "Other|13421772"}));
    EXPECT_EQ(plan->planner().SelectedCategory(), 0);
    EXPECT_EQ(plan->newAppointmentMenu()->actions()[0]->text(), "Tripsaway");
}

TEST_F(LegendTest, ARenameToNothingKeepsTheName)
{
    auto plan = open();
    QWidget *list = plan->legendPanel()->list();
    QLineEdit *editor = plan->legendPanel()->editor();
    const QStringList before = readBack();
    for (const QString &blank : {QString(), QString("   "), QString(" | \t")}) {
        plan->planner().SelectCategory(0);
        click(list, row(*plan, 2));
        click(list, row(*plan, 2), Qt::LeftButton, QEvent::MouseButtonDblClick);
        ASSERT_TRUE(editor->isVisibleTo(plan.get()));
        editor->setText(blank);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(editor, &press);
        EXPECT_FALSE(editor->isVisibleTo(plan.get()));
        EXPECT_EQ(plan->state().categories.names[1], "Travel");
    }
    EXPECT_EQ(readBack(), before) << "nothing was saved";
    EXPECT_TRUE(dialogs.texts().isEmpty());
    // A new category of blanks is no category either.
    dialogs.queueInput("  |  ");
    plan->categoryEditor().NewCategory();
    EXPECT_EQ(readBack(), before);
}

TEST_F(LegendTest, NewCategoriesDeletionsAndColours)
{
    auto plan = open();
    CategoryEditor &edit = plan->categoryEditor();
    dialogs.queueInput("Sales");
    edit.NewCategory();
    ASSERT_EQ(dialogs.shown()[0].text, "Enter name of new category");
    EXPECT_EQ(dialogs.shown()[0].title, "New Category");
    const QString fresh = QString::number(OutlookColourOf(8));
    EXPECT_EQ(readBack(),
              QStringList({"Work|255", "Travel|65280", "Sales|" + fresh, "Other|13421772"}))
        << "before the catch-all, in a light colour of its own";
    edit.NewCategory(); // cancelled: nothing
    EXPECT_EQ(readBack().size(), 4);

    // The same colour again shows nothing; another category's colour is refused.
    plan->planner().SelectCategory(1);
    dialogs.clear();
    dialogs.queueColour(0x0000FF);
    plan->CatColour();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::Colour);
    EXPECT_EQ(dialogs.shown()[0].colour, 0x0000FFu) << "preselected";
    plan->planner().SelectCategory(1);
    dialogs.queueColour(0x00FF00);
    plan->CatColour();
    ASSERT_EQ(dialogs.shown().size(), 3);
    EXPECT_EQ(dialogs.shown()[2].text, "This colour has already been used.");
    EXPECT_EQ(dialogs.shown()[2].title, "Category Colour Picker");
    EXPECT_EQ(dialogs.shown()[2].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(readBack()[0], "Work|255");
    plan->planner().SelectCategory(1);
    dialogs.queueColour(0x123456);
    plan->CatColour();
    EXPECT_EQ(readBack()[0], "Work|1193046");
    EXPECT_EQ(plan->planner().SelectedCategory(), 0);

    // Deleting the last category makes the one before it the catch-all.
    plan->planner().SelectCategory(4);
    plan->CatDelete();
    EXPECT_EQ(readBack(), QStringList({"Work|1193046", "Travel|65280", "Sales|" + fresh}));
    const EventStore &store = *plan->state().store;
    for (const CalEvent &e : store) {
        if (e.Categories == "Unknown") {
            EXPECT_EQ(e.CatIndex, 3) << "the new catch-all";
        }
    }
}

TEST_F(LegendTest, NewCategoryAfterTheCatchAllWhenOthersAreHidden)
{
    auto plan = open(true);
    dialogs.queueInput("Sales");
    plan->categoryEditor().NewCategory();
    EXPECT_EQ(readBack(), QStringList({"Work|255", "Travel|65280", "Other|13421772",
                                       "Sales|" + QString::number(OutlookColourOf(8))}));
}

TEST_F(LegendTest, OneCategoryIsAlwaysKept)
{
    save({{"Only"}, {0x00FF00}});
    auto plan = open();
    plan->planner().SelectCategory(1);
    plan->CatDelete();
    EXPECT_EQ(dialogs.texts(),
              QStringList({"Cannot delete all the categories; at least one must be retained."}));
    EXPECT_EQ(readBack(), QStringList({"Only|65280"}));
}

TEST_F(LegendTest, TheFilterDialogFromTheToolbar)
{
    QTemporaryDir home;
    ScopedSettingsHome settings(home.path());
    auto plan = open();
    auto visible = [&] {
        int n = 0;
        for (const CalEvent &e : *plan->state().store)
            n += plan->state().isVisible(e);
        return n;
    };
    ASSERT_EQ(visible(), 3);
    // Whatever the dialog is asked to do once it shows.
    auto whenShown = [](const std::function<void(FilterDialog &)> &act) {
        QTimer::singleShot(0, [act] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<FilterDialog *>(w); d && d->isVisible())
                    act(*d);
        });
    };
    QToolButton *filter = plan->toolBar()->findChild<QToolButton *>("Filter");
    whenShown([](FilterDialog &d) {
        auto *list = d.findChild<QListWidget *>("lbCategories");
        const QList<QListWidgetItem *> travel = list->findItems("Travel", Qt::MatchExactly);
        travel[0]->setCheckState(Qt::Checked);
        d.findChild<QPushButton *>("OKButton")->click();
    });
    filter->click();
    EXPECT_EQ(plan->filter().FilterText(), "Travel");
    EXPECT_EQ(filter->toolTip(), "Active Filter: Travel");
    EXPECT_EQ(visible(), 1);

    // Cancel leaves the settings file as it was, byte for byte.
    const QString file =
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Rudi Zuvevid", "Rudi Zuvevid")
            .fileName();
    const QByteArray stored = ReadAll(file);
    whenShown([](FilterDialog &d) {
        d.findChild<QPushButton *>("ClearButton")->click();
        d.findChild<QCheckBox *>("cbAND")->setChecked(true);
        d.findChild<QPushButton *>("CancelButton")->click();
    });
    filter->click();
    EXPECT_EQ(ReadAll(file), stored);
    EXPECT_EQ(plan->filter().FilterText(), "Travel");

    // Clear and OK: an empty filter, and every event shows.
    whenShown([](FilterDialog &d) {
        EXPECT_EQ(d.findChild<QLineEdit *>("tbFilter")->text(), "Travel");
        d.findChild<QPushButton *>("ClearButton")->click();
        EXPECT_FALSE(d.findChild<QPushButton *>("ClearButton")->isEnabled());
        d.findChild<QPushButton *>("OKButton")->click();
    });
    filter->click();
    EXPECT_EQ(plan->filter().FilterText(), "");
    EXPECT_EQ(filter->toolTip(), "Click to define a filter");
    EXPECT_EQ(visible(), 3);
    EXPECT_EQ(
        QSettings(file, QSettings::IniFormat).value("Filtering Legend test/Active").toString(), "");
    EXPECT_EQ(dialogs.waiting(), 0);
    EXPECT_GE(dialogs.mostWaiting(), 1) << "the wait cursor while the dialog was made";

    // Settings that cannot be written: OK applies the filter and says once it was not kept.
    WriteAll(home.path() + "/blocked", "a file, not a directory");
    ScopedSettingsHome blocked(home.path() + "/blocked");
    whenShown([](FilterDialog &d) {
        d.findChild<QLineEdit *>("tbFilter")->setText("Work");
        d.findChild<QPushButton *>("OKButton")->click();
    });
    filter->click();
    EXPECT_EQ(plan->filter().FilterText(), "Work");
    EXPECT_EQ(filter->toolTip(), "Active Filter: Work");
    EXPECT_EQ(visible(), 1);
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].startsWith("The filter applies now, but it could not be kept"));
}

namespace {

// The store's categories dialog, answered with a list of names.
class CategoriesAnswer : public StoreUi
{
public:
    bool editAppointment(AppointmentItem &, std::optional<double>) override { return false; }
    FolderPtr pickFolder(NameSpace &) override { return nullptr; }
    bool editCategories(AppointmentItem &item, NameSpace &) override
    {
        offered = item.Categories();
        if (cancel)
            return false;
        item.setCategories(answer);
        return true;
    }
    void displayFolder(Folder &) override {}

    QString offered;
    QString answer;
    bool cancel = false;
};

} // namespace

TEST_F(LegendTest, TheCategoriesCommandTakesTheStoresDialogAndMasterColours)
{
    {
        NameSpace session(options);
        session.setCategories({{"Holiday", 5}, {"Travel", 8}});
    }
    CategoriesAnswer ui;
    SetStoreUi(&ui);
    auto plan = open();
    ui.answer = "Holiday, Work, Fresh";
    plan->toolBar()->findChild<QToolButton *>("Categories")->click();
    EXPECT_EQ(ui.offered, "Work, Travel, Other") << "the table's names";
    // Holiday from the master list, Work from the old table, Fresh a light colour of its own.
    EXPECT_EQ(readBack(), QStringList({"Holiday|10476966", "Work|255",
                                       "Fresh|" + QString::number(OutlookColourOf(8))}));
    EXPECT_EQ(plan->newAppointmentMenu()->actions().size(), 3);

    // A category added in the dialog comes after the catch-all in its list: the catch-all
    // stays last.
    ui.answer = "Holiday, Fresh, Later";
    plan->toolBar()->findChild<QToolButton *>("Categories")->click();
    ASSERT_EQ(readBack().size(), 3);
    EXPECT_TRUE(readBack().last().startsWith("Fresh|")) << qPrintable(readBack().join(' '));
    EXPECT_TRUE(readBack()[1].startsWith("Later|"));

    ui.answer = "";
    plan->toolBar()->findChild<QToolButton *>("Categories")->click();
    EXPECT_EQ(dialogs.texts(), QStringList({"You must specify at least one category!"}));
    EXPECT_EQ(readBack().size(), 3);
    SetStoreUi(nullptr);
}

TEST_F(LegendTest, CancelInTheCategoriesDialogKeepsEveryColour)
{
    {
        NameSpace session(options);
        session.setCategories({{"Work", 5}, {"Travel", 8}});
    }
    CategoriesAnswer ui;
    ui.cancel = true;
    SetStoreUi(&ui);
    auto plan = open();
    const QStringList before = readBack();
    const QString table = tableFile();
    const QDateTime written = QFileInfo(table).lastModified();
    const QByteArray bytes = ReadAll(table);
    plan->toolBar()->findChild<QToolButton *>("Categories")->click();
    EXPECT_EQ(ui.offered, "Work, Travel, Other") << "the dialog was shown";
    EXPECT_EQ(readBack(), before) << "the team's colours, not the master list's";
    EXPECT_EQ(ReadAll(table), bytes) << "the table item is not rewritten";
    EXPECT_EQ(QFileInfo(table).lastModified(), written);
    EXPECT_TRUE(dialogs.texts().isEmpty());
    SetStoreUi(nullptr);
}
