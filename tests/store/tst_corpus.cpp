#include "icalitem_p.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

// Files of three other projects, fuzzer finds among them. A few of the fuzzer's files take the
// calendar library seconds to parse, so this runs on its own.
TEST(Corpus, EveryFileReadsWithoutACrash)
{
    // Each either splits into items or is refused with a reason.
    if (!QDir(QStringLiteral(QUORVEL_CORPUS)).exists())
        GTEST_SKIP() << "no corpus at " << QUORVEL_CORPUS << " (shared/ beside the checkout)";
    int files = 0, items = 0, refused = 0, filesOfSeveral = 0;
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
        // As a file of a folder: every event of it, the same UIDs as an import makes of it.
        QString problem;
        const auto asFile = IcalItem::parseFile(text, &problem);
        for (const auto &item : asFile)
            item->occurrences(At(1990, 1, 1), At(2030, 12, 31));
        if (asFile.size() > 1) {
            ++filesOfSeveral;
            if (qEnvironmentVariableIsSet("QUORVEL_CORPUS_REPORT"))
                std::printf("%s: %zu items\n", qPrintable(path), asFile.size());
        }
        EXPECT_LE(asFile.size(), std::max<size_t>(1, split.size())) << qPrintable(path);
        ++files;
        items += int(split.size());
        refused += split.isEmpty();
    }
    EXPECT_GT(filesOfSeveral, 5);
    EXPECT_GT(files, 200);
    EXPECT_GT(items, 1100) << "large.ics alone holds about 1,160 UIDs";
    EXPECT_GT(refused, 0) << "the broken files are refused, not read as empty events";
}
