#include "savetypedialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

TEST(SaveTypeDialog, CaptionsAndTheOkRule)
{
    SaveTypeDialog dialog(2026);
    EXPECT_EQ(dialog.windowTitle(), "Save");
    auto *both = dialog.findChild<QRadioButton *>("rbCatsAndAppts");
    auto *only = dialog.findChild<QRadioButton *>("rbCatsOnly");
    auto *to = dialog.findChild<QLineEdit *>("tbTo");
    auto *ok = dialog.findChild<QPushButton *>("OKButton");
    EXPECT_EQ(both->text(), "Categories && Appointments");
    EXPECT_TRUE(both->isChecked());
    EXPECT_EQ(only->text(), "Categories Only");
    EXPECT_TRUE(ok->isEnabled());
    to->setText("not a date");
    EXPECT_FALSE(ok->isEnabled());
    only->setChecked(true);
    EXPECT_TRUE(ok->isEnabled());
    both->setChecked(true);
    EXPECT_FALSE(ok->isEnabled());
    to->setText(QLocale().toString(QDate(2027, 6, 30), QLocale::ShortFormat));
    EXPECT_TRUE(ok->isEnabled());

    QTimer::singleShot(0, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<SaveTypeDialog *>(w); d && d->isVisible())
                d->findChild<QPushButton *>("OKButton")->click();
    });
    const std::optional<ExportRequest> asked = SaveTypeDialog::ask(2026, nullptr);
    ASSERT_TRUE(asked);
    EXPECT_FALSE(asked->categoriesOnly);
    EXPECT_EQ(asked->from, QDate(2026, 1, 1));
    EXPECT_EQ(asked->to, QDate(2026, 12, 31));
}
