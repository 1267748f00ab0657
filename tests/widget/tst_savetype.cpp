#include "savetypedialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
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
    auto *hint = dialog.findChild<QLabel *>("lblDateHint");
    EXPECT_TRUE(ok->toolTip().startsWith("\"not a date\" is not a day."))
        << "OK says why it is off";
    EXPECT_EQ(hint->text(), ok->toolTip());
    to->setText(QLocale().toString(QDate(2027, 6, 30), QLocale::ShortFormat));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(ok->toolTip().isEmpty());
    EXPECT_TRUE(hint->text().isEmpty());

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

TEST(SaveTypeDialog, ADateTypedIntoABoxReplacesItsDate)
{
    SaveTypeDialog dialog(2026);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
    auto *from = dialog.findChild<QLineEdit *>("tbFrom");
    for (Qt::FocusReason reason : {Qt::MouseFocusReason, Qt::TabFocusReason}) {
        dialog.findChild<QRadioButton *>("rbCatsOnly")->setFocus();
        from->setFocus(reason);
        QApplication::processEvents();
        for (const QChar c : QStringLiteral("1/1/2035")) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(from, &press);
        }
        EXPECT_EQ(from->text(), "1/1/2035") << reason;
        EXPECT_EQ(dialog.choice().request().from, QDate(2035, 1, 1));
        from->setText("1/1/2026");
    }
}
