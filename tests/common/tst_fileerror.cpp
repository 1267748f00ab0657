#include "binaryfile.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

TEST(CleanFileName, Table)
{
    struct Row
    {
        const char *name;
        QString in;
        QString out;
    } rows[] = {
        {"ordinary name", "A2008Calendar1234.tmp", "A2008Calendar1234.tmp"},
        {"trailing dot", "notes.", "notes_"},
        {"trailing space", "notes ", "notes_"},
        {"tab and colon", QString("a\tb:c"), "a_b_c"},
        {"every forbidden character", "\"/\\:|<>*?", "_________"},
        {"control characters", QString("x") + QChar(1) + QChar(31) + "y", "x__y"},
        {"spaces only stay", "   ", "   "},
        {"empty stays", "", ""},
        {"non-ASCII kept", QString::fromUtf8("Müller_日本"), QString::fromUtf8("Müller_日本")},
    };
    for (Row &r : rows) {
        QString arg = r.in;
        EXPECT_EQ(CleanFileName(arg), r.out) << r.name;
        EXPECT_EQ(arg, r.out) << r.name << ": the argument is cleaned too";
    }
}

TEST(FileErrorMessage, TextsButtonsAndAnswers)
{
    ScriptedDialogs dialogs;
    EXPECT_EQ(FileErrorMessage(62, dialogs), FileErrorAnswer::Ok);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text,
              "This file has a nonstandard end-of-file marker,or an attempt was made to read "
              "beyond the end-of-file marker.");
    EXPECT_EQ(dialogs.shown()[0].title, "File Error");
    EXPECT_EQ(dialogs.shown()[0].icon, Dialogs::Icon::Exclamation);

    dialogs.clear();
    dialogs.queueAnswer(Dialogs::Answer::Retry);
    EXPECT_EQ(FileErrorMessage(68, dialogs), FileErrorAnswer::Retry);
    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    EXPECT_EQ(FileErrorMessage(68, dialogs), FileErrorAnswer::Ok);
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::Buttons::RetryCancel);
    EXPECT_EQ(dialogs.shown()[0].text, "That device appears to be unavailable.");

    dialogs.clear();
    EXPECT_EQ(FileErrorMessage(53, dialogs), FileErrorAnswer::NotShown);
    EXPECT_EQ(FileErrorMessage(0, dialogs), FileErrorAnswer::NotShown);
    EXPECT_TRUE(dialogs.shown().isEmpty());

    for (int n : {52, 64})
        FileErrorMessage(n, dialogs);
    FileErrorMessage(57, dialogs);
    FileErrorMessage(76, dialogs);
    EXPECT_EQ(dialogs.texts(),
              QStringList({"That filename is illegal.", "That filename is illegal.",
                           "The disk is full.", "That path doesn't exist."}));
}

TEST(FileErrorNumber, MapsTheSystemsErrors)
{
    QTemporaryDir dir;
    EXPECT_EQ(FileErrorNumber(ENOENT, dir.filePath("missing")), FileError::FileNotFound);
    EXPECT_EQ(FileErrorNumber(ENOENT, dir.filePath("no/such/file")), FileError::PathNotFound);
    EXPECT_EQ(FileErrorNumber(ENOSPC), FileError::DiskFull);
    EXPECT_EQ(FileErrorNumber(EACCES), FileError::BadFileMode);
    EXPECT_EQ(FileErrorNumber(ENAMETOOLONG), FileError::BadFileName);
    EXPECT_EQ(FileErrorNumber(EISDIR), FileError::PathFileAccessError);
}

TEST(OpenBinaryFile, CreatesMissingFilesPrivateAndReportsMissingPaths)
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;

    const QString fresh = dir.filePath("fresh.bin");
    {
        BinaryFile f = OpenBinaryFile(fresh, dialogs);
        ASSERT_TRUE(f.isOpen());
        EXPECT_TRUE(f.write("abc", 3));
    }
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "nobody but the user may read a cache";
    EXPECT_EQ(st.st_size, 3);
    EXPECT_TRUE(dialogs.shown().isEmpty());

    BinaryFile missing = OpenBinaryFile(dir.filePath("nowhere/file.bin"), dialogs);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(dialogs.texts(), QStringList{"That path doesn't exist."});
}

TEST(DeleteFile, GoneMissingAndUndeletable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.tmp");
    QFile(path).open(QIODevice::WriteOnly);
    EXPECT_EQ(DeleteFile(path), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(DeleteFile(path), 0) << "a file that is not there is gone";

    // A directory in the file's place cannot be deleted as a file: every attempt fails.
    QDir(dir.path()).mkpath("busy/inner");
    EXPECT_EQ(DeleteFile(dir.filePath("busy")), FileError::PathFileAccessError);
    EXPECT_TRUE(QDir(dir.filePath("busy")).exists());
}

// Every write through the helper on a disk that fills, a read-only file system, a quota and a
// failing device, failing at the first byte, in the middle and at the last: the old file stays
// whole, no temp file is left, and the error is the file error of the fault.
TEST(ReplaceFile, AWriteThatFailsAnywhereLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("table.ics");
    const QByteArray old = "the old text\r\n";
    const QByteArray text(4096, 'x');
    const struct
    {
        int err;
        int number;
    } faults[] = {{ENOSPC, FileError::DiskFull},
                  {EDQUOT, FileError::DiskFull},
                  {EROFS, FileError::BadFileMode},
                  {EIO, FileError::DeviceUnavailable}};
    for (const auto &fault : faults) {
        for (const qint64 after : {qint64(0), text.size() / 2, text.size() - 1}) {
            for (const FileDurability durability :
                 {FileDurability::Stored, FileDurability::Quick}) {
                SCOPED_TRACE(testing::Message() << "errno " << fault.err << " after " << after);
                WriteAll(target, old);
                FailWritesAfter(after, fault.err);
                const int error = ReplaceFile(target, text, durability);
                FailWritesAfter(-1, 0);
                EXPECT_EQ(error, fault.number);
                EXPECT_EQ(ReadAll(target), old);
                EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                          QStringList{"table.ics"});
            }
        }
    }
    // With room again the same write goes through; a budget that holds the whole text too.
    FailWritesAfter(text.size(), ENOSPC);
    EXPECT_EQ(ReplaceFile(target, text), 0);
    FailWritesAfter(-1, 0);
    EXPECT_EQ(ReadAll(target), text);
}

TEST(FileReplacement, PiecesTakeTheFilesPlaceOnlyWhenCommitted)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("export.xml");
    WriteAll(target, "old");
    const auto files = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
    {
        FileReplacement abandoned(target);
        EXPECT_TRUE(abandoned.write("new", 3));
        EXPECT_EQ(files().size(), 2) << "the temp file beside it";
    }
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(files(), QStringList{"export.xml"}) << "an abandoned one leaves nothing";

    FileReplacement pieces(target);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(pieces.write("abc", 3));
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_EQ(pieces.commit(), 0);
    EXPECT_EQ(ReadAll(target), "abcabcabc");
    EXPECT_EQ(files(), QStringList{"export.xml"});

    // A fault in one piece: the pieces after it are left out and the commit reports it.
    FailWritesAfter(4, ENOSPC);
    FileReplacement full(target);
    EXPECT_TRUE(full.write("abc", 3));
    EXPECT_FALSE(full.write("abc", 3));
    EXPECT_FALSE(full.write("a", 1));
    FailWritesAfter(-1, 0);
    EXPECT_EQ(full.error(), FileError::DiskFull);
    EXPECT_EQ(full.commit(), FileError::DiskFull);
    EXPECT_EQ(ReadAll(target), "abcabcabc");
    EXPECT_EQ(files(), QStringList{"export.xml"});

    FileReplacement nowhere(dir.filePath("missing/export.xml"));
    EXPECT_EQ(nowhere.error(), FileError::PathNotFound);
    EXPECT_FALSE(nowhere.write("a", 1));
    EXPECT_EQ(nowhere.commit(), FileError::PathNotFound);
}

TEST(BinaryFile, AFileInMemoryReadsBackWhatWasWrittenAndIgnoresTheDiskHook)
{
    BinaryFile memory = BinaryFile::inMemory("records");
    ASSERT_TRUE(memory.isOpen());
    FailWritesAfter(0, ENOSPC);
    EXPECT_TRUE(memory.write("abc", 3));
    FailWritesAfter(-1, 0);
    ASSERT_TRUE(memory.rewind());
    char back[4] = {};
    EXPECT_EQ(memory.read(back, 4), 3);
    EXPECT_STREQ(back, "abc");
}
