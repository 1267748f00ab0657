#include "icalitem.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

// Files of three other projects, fuzzer finds among them. A few of the fuzzer's files take the
// calendar library seconds to parse, so this runs on its own.
TEST(Corpus, EveryFileReadsWithoutACrash)
{
    // Each either splits into items or is refused with a reason.
    if (!QDir(QStringLiteral(QUORVEL_CORPUS)).exists())
        GTEST_SKIP() << "no corpus at " << QUORVEL_CORPUS << " (shared/ beside the checkout)";
    int files = 0, items = 0, refused = 0;
    QDirIterator it(QStringLiteral(QUORVEL_CORPUS), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(".txt") || path.endsWith(".md") || path.contains("LICENSE"))
            continue;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
        const QByteArray text = f.readAll();
        QStringList problems;
        const auto split = IcalItem::split(text, &problems);
        for (const auto &item : split) {
            // Every item can be expanded and written back.
            item->occurrences(At(1990, 1, 1), At(2030, 12, 31));
            EXPECT_FALSE(item->serialize().isEmpty());
        }
        ++files;
        items += int(split.size());
        refused += split.isEmpty();
    }
    EXPECT_GT(files, 200);
    EXPECT_GT(items, 1100) << "large.ics alone holds about 1,160 UIDs";
    EXPECT_GT(refused, 0) << "the broken files are refused, not read as empty events";
}

