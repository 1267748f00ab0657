#include "calendarstore.h"
#include "folderindex_p.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Store;

namespace {

class FolderIndexTest : public ::testing::Test
{
protected:
    FolderIndexTest()
    {
        folder = dir.path() + "/Calendar";
        QDir().mkpath(folder);
        for (int i = 0; i < 5; ++i)
            WriteAll(folder + QStringLiteral("/e%1.ics").arg(i),
                     Vevent("e" + QByteArray::number(i),
                            "SUMMARY:Event " + QByteArray::number(i) +
                                "\r\nDTSTART:20260105T091500\r\nDTEND:20260105T093000\r\n"));
        options.storeDir = dir.path();
    }

    // The subject found by a fresh session, as a start finds the category table.
    QString found(const QString &subject)
    {
        NameSpace session(options);
        const auto item =
            std::dynamic_pointer_cast<AppointmentItem>(session.GetDefaultFolder(olFolderCalendar)
                                                           ->Items()
                                                           ->Find("[Subject]='" + subject + "'"));
        return item ? item->Subject() : QString();
    }
    QByteArray indexText() { return ReadAll(FolderIndex::FileOf(folder)); }

    QTemporaryDir dir;
    QString folder;
    ProfileOptions options;
};

// Gives path the modification time of like, to the nanosecond.
void SameTimeAs(const QString &path, const QString &like)
{
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(like).constData(), &st), 0);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

TEST(FolderIndexText, ReadsBackWhatItWroteAndNothingElse)
{
    QHash<QString, FileFacts> files;
    FileFacts odd{{120, 1767225600123456789, 42}, "left out, a\ttab\nand a line", {}};
    ItemFacts item;
    item.uid = "uid with\ttab, 100% and ünïcode";
    item.subjects = {"", "Second\nline"};
    item.messageClass = "IPM.Appointment";
    item.hidden = true;
    item.recurring = true;
    item.firstStart = 46000.375;
    item.lastEnd = 2958465.999988426;
    odd.items = {item, item};
    files.insert("name with spaces.ics", odd);
    files.insert("empty.ics", FileFacts{{0, 0, 1}, "skipped, not an iCalendar file", {}});

    const QByteArray text = FolderIndex::serialize(files);
    const auto read = FolderIndex::parse(text);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2);
    const FileFacts &back = read->value("name with spaces.ics");
    EXPECT_EQ(back.stamp, odd.stamp);
    EXPECT_EQ(back.problem, odd.problem);
    ASSERT_EQ(back.items.size(), 2u);
    EXPECT_EQ(back.items[1].uid, item.uid);
    EXPECT_EQ(back.items[1].subjects, item.subjects);
    EXPECT_EQ(back.items[1].messageClass, item.messageClass);
    EXPECT_TRUE(back.items[1].hidden && back.items[1].recurring);
    EXPECT_EQ(back.items[1].firstStart, item.firstStart);
    EXPECT_EQ(back.items[1].lastEnd, item.lastEnd);
    EXPECT_TRUE(read->value("empty.ics").items.empty());

    // Any byte changed, any cut, and it is not an index.
    for (qsizetype at = 0; at < text.size(); at += 7) {
        QByteArray bent = text;
        bent[at] = bent[at] == 'x' ? 'y' : 'x';
        EXPECT_FALSE(FolderIndex::parse(bent)) << "byte " << at;
    }
    for (const qsizetype size : {qsizetype(0), qsizetype(10), text.size() / 2, text.size() - 1})
        EXPECT_FALSE(FolderIndex::parse(text.left(size))) << size << " bytes";
}

TEST_F(FolderIndexTest, FollowsFilesOtherProgramsChange)
{
    EXPECT_EQ(found("Event 3"), "Event 3");
    ASSERT_TRUE(FolderIndex::parse(indexText())) << "the first search wrote the index";

    // Replaced by rename with the same size and time: only the inode tells.
    const QString file = folder + "/e3.ics";
    const QString other = folder + "/.other.tmp";
    WriteAll(other, ReadAll(file).replace("Event 3", "Meet 3X"));
    SameTimeAs(other, file);
    ASSERT_EQ(QFileInfo(other).size(), QFileInfo(file).size());
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(file).constData()),
              0);
    EXPECT_EQ(found("Event 3"), QString());
    EXPECT_EQ(found("Meet 3X"), "Meet 3X");

    // Deleted while a session has it indexed.
    NameSpace session(options);
    const ItemsPtr items = session.GetDefaultFolder(olFolderCalendar)->Items();
    ASSERT_TRUE(items->Find("[Subject]='Event 4'"));
    QFile::remove(folder + "/e4.ics");
    EXPECT_FALSE(items->Find("[Subject]='Event 4'"));
    // And one added.
    WriteAll(folder + "/new.ics", Vevent("new", "SUMMARY:Event 4\r\nDTSTART:20260105T091500\r\n"
                                                "DTEND:20260105T093000\r\n"));
    EXPECT_TRUE(items->Find("[Subject]='event 4'")) << "letter case aside, as any search";
}

TEST_F(FolderIndexTest, OpeningACalendarWritesNothingIntoIt)
{
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
    EXPECT_EQ(found("Event 1"), "Event 1");
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), before);
    ASSERT_TRUE(FolderIndex::parse(indexText())) << "the index is kept in the cache directory";
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_FALSE(QFileInfo(FolderIndex::FileOf(folder)).permissions() & others);
    EXPECT_FALSE(QFileInfo(QFileInfo(FolderIndex::FileOf(folder)).path()).permissions() & others);
}

TEST_F(FolderIndexTest, AFolderReplacedByACopyIsReadForWhatItHolds)
{
    EXPECT_EQ(found("Event 1"), "Event 1");
    const QString copy = dir.path() + "/Copy";
    QDir().mkpath(copy);
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QByteArray text = ReadAll(folder + "/" + name);
        if (name == "e1.ics")
            text.replace("Event 1", "Trip 1X"); // same size, and given the same time below
        WriteAll(copy + "/" + name, text);
        SameTimeAs(copy + "/" + name, folder + "/" + name);
    }
    QDir(folder).removeRecursively();
    QDir().rename(copy, folder);
    EXPECT_EQ(found("Event 1"), QString()) << "the index of that path names the old text";
    EXPECT_EQ(found("Trip 1X"), "Trip 1X");
}

TEST_F(FolderIndexTest, ACorruptIndexIsRebuiltNeverTrusted)
{
    EXPECT_EQ(found("Event 2"), "Event 2");
    const QByteArray good = indexText();
    // Cut short, then names a subject no file holds.
    for (QByteArray bad :
         {good.left(good.size() / 2), QByteArray(good).replace("Event", "Party")}) {
        WriteAll(FolderIndex::FileOf(folder), bad);
        EXPECT_EQ(found("Party 2"), QString());
        EXPECT_EQ(found("Event 2"), "Event 2");
        EXPECT_TRUE(FolderIndex::parse(indexText())) << "replaced by a sound one";
    }
    // An index that cannot be written still searches; only the index is not kept.
    const QString indexDir = QFileInfo(FolderIndex::FileOf(folder)).path();
    QFile::remove(FolderIndex::FileOf(folder));
    ASSERT_TRUE(QFile::setPermissions(indexDir, QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(found("Event 0"), "Event 0");
    QFile::setPermissions(indexDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(FolderIndexTest, HiddenItemsAreCountedAndFoundThroughTheIndex)
{
    WriteAll(folder + "/table.ics",
             Vevent("table", "SUMMARY:Colours\r\nX-QUORVEL-HIDDEN:TRUE\r\n"
                             "DTSTART:20110101T013000\r\nDTEND:20110101T013000\r\n"));
    const auto hidden = [&] {
        auto helper = std::dynamic_pointer_cast<MapiFolder>(
            Application(options).CreateObject("TKCDO.tkMAPIFolder"));
        helper->setItem(NameSpace(options).GetDefaultFolder(olFolderCalendar));
        return helper->hiddenItems();
    };
    EXPECT_EQ(hidden()->Count(), 1);
    EXPECT_TRUE(hidden()->item("Colours"));
    EXPECT_FALSE(hidden()->item("Event 1")) << "an item that is not hidden";
    EXPECT_EQ(found("Colours"), QString()) << "hidden items are not among the items";
    // Another program drops the mark: the index follows.
    WriteAll(folder + "/table.ics", Vevent("table", "SUMMARY:Colours\r\nDTSTART:20110101T013000\r\n"
                                                    "DTEND:20110101T013000\r\n"));
    EXPECT_EQ(hidden()->Count(), 0);
    EXPECT_FALSE(hidden()->item("Colours"));
    EXPECT_EQ(found("Colours"), "Colours");
}

TEST_F(FolderIndexTest, AWatchedFolderIsSearchedAsItsWatchLastSawIt)
{
    // A listener makes the folder watched: searches then take the names and stamps from the
    // watch instead of asking every file again, and follow what the watch sees.
    NameSpace session(options);
    const ItemsPtr items = session.GetDefaultFolder(olFolderCalendar)->Items();
    int changes = 0;
    QObject::connect(items.get(), &Items::ItemChange, [&](const ItemPtr &) { ++changes; });
    QObject::connect(items.get(), &Items::ItemAdd, [&](const ItemPtr &) { ++changes; });
    ASSERT_TRUE(items->Find("[Subject]='Event 2'"));
    const auto seen = [&](int before) {
        QElapsedTimer t;
        t.start();
        while (changes == before && t.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return changes > before;
    };

    const QString file = folder + "/e2.ics";
    const QString other = folder + "/.other.tmp";
    WriteAll(other, ReadAll(file).replace("Event 2", "Meet 2X"));
    SameTimeAs(other, file);
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(file).constData()),
              0);
    ASSERT_TRUE(seen(changes));
    EXPECT_FALSE(items->Find("[Subject]='Event 2'"));
    EXPECT_TRUE(items->Find("[Subject]='Meet 2X'"));

    WriteAll(folder + "/late.ics", Vevent("late", "SUMMARY:Late one\r\nDTSTART:20260105T091500\r\n"
                                                  "DTEND:20260105T093000\r\n"));
    ASSERT_TRUE(seen(changes));
    EXPECT_TRUE(items->Find("[Subject]='Late one'"));
    QFile::remove(folder + "/e1.ics");
    EXPECT_FALSE(items->Find("[Subject]='Event 1'"))
        << "a change still waiting is asked of the files";
}
