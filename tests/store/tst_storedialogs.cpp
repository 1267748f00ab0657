#include "binaryfile.h"
#include "oadate.h"
#include "qverror.h"
#include "storedialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDir>
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
    for (const MasterCategory &m : NameSpace(options).Categories())
        master << m.Name;
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
