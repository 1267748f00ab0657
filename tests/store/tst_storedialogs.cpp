#include "binaryfile.h"
#include "filterdate.h"
#include "oadate.h"
#include "qverror.h"
#include "storedialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cerrno>

using namespace Store;

namespace {

// Runs fill on the next modal dialog, then closes it with OK (or Cancel).
void OnNextDialog(std::function<void(QDialog &)> fill, bool ok = true)
{
    QTimer::singleShot(0, [fill, ok] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        fill(*dialog);
        ok ? dialog->accept() : dialog->reject();
    });
}

class DialogTest : public ::testing::Test
{
protected:
    DialogTest()
    {
        QDir().mkpath(dir.path() + "/Calendar/Projects/Archive");
        options.storeDir = dir.path();
        session = std::make_shared<NameSpace>(options);
        session->setCategories({{"Holiday", 5}, {"Work", 6}});
        SetStoreUi(&ui);
    }
    ~DialogTest() override { SetStoreUi(nullptr); }

    QTemporaryDir dir;
    ProfileOptions options;
    NameSpacePtr session;
    StoreDialogs ui;
};

} // namespace

TEST_F(DialogTest, TheFormSavesWhatWasEntered)
{
    AppointmentItemPtr item = session->GetDefaultFolder(9)->Items()->Add();
    OnNextDialog([](QDialog &d) {
        d.findChild<QLineEdit *>("subject")->setText("Kick-off");
        d.findChild<QLineEdit *>("location")->setText("Room Alster");
        d.findChild<QDateTimeEdit *>("start")->setDateTime(
            QDateTime(QDate(2027, 1, 11), QTime(0, 0)));
        d.findChild<QDateTimeEdit *>("end")->setDateTime(
            QDateTime(QDate(2027, 1, 13), QTime(0, 0)));
        d.findChild<QCheckBox *>("allDay")->setChecked(true);
        d.findChild<QLineEdit *>("categories")->setText("Work, Team");
        d.findChild<QPlainTextEdit *>("body")->setPlainText("Agenda to follow.");
    });
    item->Display(true);
    ASSERT_FALSE(item->EntryID().isEmpty());
    auto back = std::dynamic_pointer_cast<AppointmentItem>(
        NameSpace(options).GetItemFromID(item->EntryID()));
    EXPECT_EQ(back->Subject(), "Kick-off");
    EXPECT_EQ(back->Location(), "Room Alster");
    EXPECT_TRUE(back->AllDayEvent());
    EXPECT_EQ(back->Start(), At(2027, 1, 11));
    EXPECT_EQ(back->End(), At(2027, 1, 14)) << "the form's last day is included";
    EXPECT_EQ(back->Categories(), "Work, Team");
    EXPECT_EQ(back->Body(), "Agenda to follow.");

    // Cancel changes nothing.
    OnNextDialog([](QDialog &d) { d.findChild<QLineEdit *>("subject")->setText("gone"); }, false);
    back->Display(true);
    EXPECT_EQ(std::dynamic_pointer_cast<AppointmentItem>(
                  NameSpace(options).GetItemFromID(item->EntryID()))
                  ->Subject(),
              "Kick-off");
}

// OK on a full disk: the form says so and stays open with what was entered; OK again once there
// is room saves it.
TEST_F(DialogTest, AFormThatCannotBeSavedStaysOpen)
{
    AppointmentItemPtr item = session->GetDefaultFolder(9)->Items()->Add();
    QString warning;
    OnNextDialog([&](QDialog &form) {
        form.findChild<QLineEdit *>("subject")->setText("Kick-off");
        FailWritesAfter(10, ENOSPC);
        QTimer::singleShot(0, [&warning, &form] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            warning = box->text();
            FailWritesAfter(-1, 0);
            box->accept();
            QTimer::singleShot(0, [&form] {
                EXPECT_EQ(QApplication::activeModalWidget(), &form);
                EXPECT_EQ(form.findChild<QLineEdit *>("subject")->text(), "Kick-off");
                form.accept();
            });
        });
    });
    item->Display(true);
    FailWritesAfter(-1, 0);
    EXPECT_TRUE(warning.contains("Disk full")) << qPrintable(warning);
    ASSERT_FALSE(item->EntryID().isEmpty());
    EXPECT_EQ(std::dynamic_pointer_cast<AppointmentItem>(
                  NameSpace(options).GetItemFromID(item->EntryID()))
                  ->Subject(),
              "Kick-off");
}

TEST_F(DialogTest, PickingAFolder)
{
    OnNextDialog([](QDialog &d) {
        auto *tree = d.findChild<QTreeWidget *>("folders");
        const auto found = tree->findItems("Projects", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        tree->setCurrentItem(found[0]);
    });
    FolderPtr picked = session->PickFolder();
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->FolderPath(), QDir(dir.path()).dirName() + "\\Calendar\\Projects");
    OnNextDialog([](QDialog &) {}, false);
    EXPECT_EQ(session->PickFolder(), nullptr);
}

TEST_F(DialogTest, CategoriesFromTheMasterListAndNewOnes)
{
    AppointmentItemPtr item = session->GetDefaultFolder(9)->Items()->Add();
    item->setCategories("Work");
    OnNextDialog([](QDialog &d) {
        auto *list = d.findChild<QListWidget *>("categories");
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);
        list->item(0)->setCheckState(Qt::Checked);
        d.findChild<QLineEdit *>("newCategory")->setText("Customer");
        d.findChild<QPushButton *>("addCategory")->click();
    });
    item->ShowCategoriesDialog();
    EXPECT_EQ(item->Categories(), "Holiday, Work, Customer");
    QStringList master;
    for (const MasterCategory &m : NameSpace(options).Categories()) {
        master << m.Name;
        if (m.Name == "Customer") {
            EXPECT_EQ(m.Color, 8) << "a colour of its own, never none (a white swatch)";
        }
    }
    EXPECT_EQ(master, QStringList({"Holiday", "Work", "Customer"}));
}

TEST(StoreWithoutWindows, ShowingOneIsAnError)
{
    QTemporaryDir dir;
    ProfileOptions options;
    options.storeDir = dir.path();
    NameSpace session(options);
    EXPECT_THROW(session.PickFolder(), QvError);
    EXPECT_THROW(session.GetDefaultFolder(9)->Items()->Add()->Display(true), QvError);
}

TEST_F(DialogTest, ASeriesOpenedFromOneOccurrenceSaysSoAndWhichDay)
{
    const QString folder = dir.path() + "/Calendar";
    WriteAll(folder + "/weekly.ics",
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:weekly\r\nSUMMARY:Stand-up\r\n"
             "DTSTART:20260105T090000\r\nDTEND:20260105T091500\r\nRRULE:FREQ=WEEKLY\r\n"
             "END:VEVENT\r\nEND:VCALENDAR\r\n");
    WriteAll(folder + "/once.ics",
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:once\r\nSUMMARY:Fair\r\n"
             "DTSTART:20260107T090000\r\nDTEND:20260107T100000\r\nEND:VEVENT\r\n"
             "END:VCALENDAR\r\n");
    QStringList notes;
    const auto open = [&](const QString &file, std::optional<double> on) {
        ItemsPtr items = session->GetDefaultFolder(9)->Items();
        AppointmentItemPtr found;
        for (ItemPtr i = items->GetFirst(); i; i = items->GetNext())
            if (AppointmentItemPtr a = AppointmentOf(i); a && a->Subject() == file)
                found = a;
        ASSERT_TRUE(found);
        OnNextDialog(
            [&](QDialog &d) {
                auto *note = d.findChild<QLabel *>("seriesNote");
                notes << (note ? note->text() : QString());
                EXPECT_TRUE(!note || note->textFormat() == Qt::PlainText);
            },
            false);
        found->Display(true, on);
    };
    open("Stand-up", OADate::fromDateTime(QDate(2026, 1, 19), QTime(9, 0)));
    open("Stand-up", std::nullopt);
    open("Fair", std::nullopt);
    ASSERT_EQ(notes.size(), 3);
    const auto day = [](QDate d) {
        return QLocale().toString(d, WithFourDigitYear(QLocale().dateFormat(QLocale::ShortFormat)));
    };
    EXPECT_TRUE(notes[0].contains("repeats")) << qPrintable(notes[0]);
    EXPECT_TRUE(notes[0].contains(day(QDate(2026, 1, 5)))) << qPrintable(notes[0]);
    EXPECT_TRUE(notes[0].contains(day(QDate(2026, 1, 19)))) << qPrintable(notes[0]);
    EXPECT_TRUE(notes[1].contains("repeats"));
    EXPECT_FALSE(notes[1].contains("You opened")) << "no day given, none named";
    EXPECT_TRUE(notes[2].isEmpty()) << "a single appointment has no note";
}

TEST_F(DialogTest, TheFormShowsWholeYearsReadsTwoDigitOnesAsTheNearestAndAsksForDecades)
{
    AppointmentItemPtr item = session->GetDefaultFolder(9)->Items()->Add();
    item->setSubject("Fair");
    QStringList asked;
    OnNextDialog([&](QDialog &d) {
        auto *start = d.findChild<QDateTimeEdit *>("start");
        auto *end = d.findChild<QDateTimeEdit *>("end");
        EXPECT_TRUE(start->displayFormat().contains("yyyy")) << qPrintable(start->displayFormat());
        EXPECT_TRUE(start->text().contains(QString::number(start->date().year())));
        // Typed in the locale's short form with a two-digit year, as a user would.
        const QString shortForm = QLocale().dateTimeFormat(QLocale::ShortFormat);
        for (auto [edit, when] : {std::pair{start, QDateTime(QDate(2026, 2, 7), QTime(10, 0))},
                                  std::pair{end, QDateTime(QDate(2099, 2, 7), QTime(11, 0))}}) {
            auto *line = edit->findChild<QLineEdit *>();
            ASSERT_TRUE(line);
            line->setText(QLocale().toString(when, shortForm));
            edit->interpretText();
        }
        EXPECT_EQ(start->date(), QDate(2026, 2, 7)) << qPrintable(start->text());
        EXPECT_EQ(end->date(), QDate(1999, 2, 7))
            << "\"99\" is 1999, the nearest to now, never 2099: " << qPrintable(end->text());
        // A range of decades: the form asks before saving; No keeps it open, then Cancel.
        end->setDateTime(QDateTime(QDate(2040, 2, 7), QTime(11, 0)));
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_TRUE(box);
            asked << box->text();
            box->button(QMessageBox::No)->click();
            QTimer::singleShot(0, [] {
                if (auto *form = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    form->reject();
            });
        });
    });
    item->Display(true);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains("more than ten years")) << qPrintable(asked[0]);
    EXPECT_TRUE(item->EntryID().isEmpty()) << "not saved";
}
