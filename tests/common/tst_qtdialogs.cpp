#include "qtdialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// The lines a text of the message box is laid out in at a width, as the box's label lays it out.
QStringList LinesAt(const QString &html, int width)
{
    QTextDocument doc;
    doc.setHtml(html);
    doc.setTextWidth(width);
    doc.documentLayout(); // lays the blocks out
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout *layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines << b.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

} // namespace

TEST(MessageBoxText, WrapsAtSpacesNeverInsideAPath)
{
    const QString path = "/tmp/quorvel-tests/Team/Calendar/.~a0b1c2d3.ics.tmp";
    const QString text = "Disk full (" + path + ")\n\nError: 61 The disk is full.";
    // From the width the path needs (the box is made that wide) up: the default breaker would
    // break after one of its slashes at each of them.
    const int needed =
        QFontMetrics(QTextDocument().defaultFont()).horizontalAdvance("(" + path + ")") + 20;
    for (int width : {needed, needed + 60, needed + 140, needed + 220}) {
        const QStringList lines = LinesAt(MessageBoxHtml(text), width);
        QString joined = lines.join(QString()).remove(QChar(0x2060));
        joined.replace(QChar::LineSeparator, QChar('\n'));
        EXPECT_TRUE(joined.contains("(" + path + ")")) << "the path on one line at " << width;
        for (QString line : lines) {
            line.remove(QChar(0x2060));
            if (line.contains('/')) {
                EXPECT_TRUE(line.contains("(" + path + ")"))
                    << line.toStdString() << " at " << width;
            }
        }
    }
}

TEST(MessageBoxText, EveryCharacterAsItIs)
{
    QTextDocument doc;
    doc.setHtml(MessageBoxHtml("Subject <b>R&D</b>  \"x\"\nnext"));
    EXPECT_EQ(doc.toPlainText().remove(QChar(0x2060)),
              QString("Subject <b>R&D</b>  \"x\"") + QChar('\n') + "next")
        << "no tag, both spaces, the line break";
    doc.setHtml(MessageBoxHtml("Disk full (/tmp/a-b/c.ics)"));
    EXPECT_EQ(doc.toPlainText().remove(QChar(0x2060)), "Disk full (/tmp/a-b/c.ics)");
}

namespace {

// The desktop's dialogs with the browser left out: the addresses they would open.
class OpeningDialogs : public QtDialogs
{
public:
    OpeningDialogs() : QtDialogs(nullptr) {}
    bool openAddress(const QString &address) override
    {
        opened << address;
        return true;
    }
    QStringList opened;
};

} // namespace

TEST(AboutBox, TheLogoAndTheHeadingOpenTheProductPage)
{
    OpeningDialogs dialogs;
    Dialogs::About box{"About Quorvel", "Quorvel Version 1.2 Build 3", "Quorvel Year Planner",
                       "The Quorvel is designed to display events.",
                       "file:///usr/share/quorvel/index.html"};
    QTimer::singleShot(0, [&] {
        QWidget *shown = QApplication::activeModalWidget();
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->windowTitle(), "About Quorvel");
        shown->findChild<QToolButton *>("aboutLogo")->click();
        auto *heading = shown->findChild<QLabel *>("aboutHeading");
        EXPECT_TRUE(heading->text().contains("Quorvel Version 1.2 Build 3"));
        emit heading->linkActivated(box.address);
        shown->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    dialogs.about(box);
    EXPECT_EQ(dialogs.opened, QStringList({box.address, box.address}));
}

// Every style of box, with short and long texts: the whole text is shown, with or without an
// icon (a box without one used to keep a fixed small size and cut the text off).
TEST(MessageBox, EveryStyleShowsItsWholeText)
{
    const QString texts[] = {
        "The category Travel already exists",
        "Quorvel Data saved",
        "Error calculating the month bands, please refresh planner.\n\nError: 6 Overflow",
        "Error while initialising the background processing, the cache file will not be updated "
        "from the calender (Step:9). \n\nError: 429 ActiveX component can't create object "
        "/home/someone/.local/share/quorvel/caldav/quorvel_example_org_ana/calendar",
    };
    for (const Dialogs::Icon icon :
         {Dialogs::Icon::None, Dialogs::Icon::Information, Dialogs::Icon::Exclamation,
          Dialogs::Icon::Critical, Dialogs::Icon::Question}) {
        for (const QString &text : texts) {
            SCOPED_TRACE(qPrintable(QString("icon %1: %2").arg(int(icon)).arg(text)));
            QtDialogs dialogs(nullptr);
            QTimer::singleShot(0, [&] {
                QWidget *shown = QApplication::activeModalWidget();
                ASSERT_TRUE(shown);
                auto *label = shown->findChild<QLabel *>("qt_msgbox_label");
                ASSERT_TRUE(label);
                // The label is given the room its text asks for: its longest line whole, up to a
                // width a line is read at, and the height of its lines at that width.
                const QFontMetrics m = label->fontMetrics();
                int longest = 0;
                for (const QString &line : QString(text).split('\n'))
                    longest = std::max(longest, m.horizontalAdvance(line));
                EXPECT_GE(label->width(), std::min(longest, m.averageCharWidth() * 60));
                EXPECT_GE(label->height(), label->heightForWidth(label->width()));
                EXPECT_TRUE(shown->rect().contains(label->geometry()));
                shown->findChild<QDialogButtonBox *>()->buttons().first()->click();
            });
            dialogs.message(text, Dialogs::Buttons::Ok, icon, QString());
        }
    }
}

// A failure during a background refresh: the box comes up beside the window without taking the
// keyboard, the keys typed meanwhile reach the window, and the same failure again is one box.
TEST(MessageBox, ANoticeNeverTakesTheKeysTypedMeanwhile)
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    edit->setFocus();
    QApplication::processEvents();
    {
        QtDialogs dialogs(&window);
        const QString text =
            "Error calculating the month bands, please refresh planner.\n\nError: 6 Overflow";
        dialogs.notice(text);
        dialogs.notice(text);
        QApplication::processEvents();
        const QList<QMessageBox *> boxes = window.findChildren<QMessageBox *>();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0]->isVisible());
        EXPECT_FALSE(boxes[0]->isModal());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(boxes[0]->findChild<QLabel *>("qt_msgbox_label")->text().contains("Overflow"));
        for (const char c : {'a', 'b'}) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A + (c - 'a'), Qt::NoModifier, QString(c));
            QApplication::sendEvent(QApplication::focusWidget(), &key);
        }
        EXPECT_EQ(edit->text(), "ab");
        boxes[0]->findChild<QDialogButtonBox *>()->buttons().first()->click();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.findChildren<QMessageBox *>().isEmpty()) << "closed is gone";
        dialogs.notice(text);
        EXPECT_EQ(window.findChildren<QMessageBox *>().size(), 1) << "and may come again";
    }
}
