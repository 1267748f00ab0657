#include "qtdialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

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
