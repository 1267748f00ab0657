#include "binaryfile.h"
#include "calendarstore.h"
#include "fileerror.h"
#include "icalitem_p.h"
#include "oadate.h"
#include "qverror.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Store;

namespace {

class StoreTest : public ::testing::Test
{
protected:
    StoreTest()
    {
        root = dir.path() + "/Team Store";
        QDir().mkpath(root + "/Calendar/Projects");
        QDir().mkpath(root + "/Calendar/.hidden-not-a-folder");
        QDir().mkpath(root + "/Contacts");
        WriteAll(root + "/Calendar/holiday.ics",
                 Vevent("holiday",
                        "SUMMARY:Summer holiday\r\nCATEGORIES:Holiday\r\nCATEGORIES:Family\r\n"
                        "DTSTART;VALUE=DATE:20260706\r\nDTEND;VALUE=DATE:20260718\r\n"));
        WriteAll(root + "/Calendar/standup.ics",
                 Vevent("standup",
                        "SUMMARY:Stand-up\r\nDTSTART:20260105T091500\r\n"
                        "DTEND:20260105T093000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=60\r\n"));
        WriteAll(root + "/Calendar/obrien.ics",
                 Vevent("obrien", "SUMMARY:O'Brien's farewell\r\nDTSTART:20261120T170000\r\n"
                                  "DTEND:20261120T200000\r\n"));
        WriteAll(root + "/Calendar/request.ics",
                 "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nMETHOD:REQUEST\r\nBEGIN:VEVENT\r\nUID:req\r\n"
                 "SUMMARY:Budget review\r\nDTSTART;VALUE=DATE:20260301\r\n"
                 "DTEND;VALUE=DATE:20260302\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        options.storeDir = root;
        session = std::make_shared<NameSpace>(options);
    }

    FolderPtr calendar() { return session->GetDefaultFolder(olFolderCalendar); }

    // Saves a new appointment of that subject; the name of the file it was written to.
    QString saveNew(const QString &subject, AppointmentItemPtr *saved = nullptr)
    {
        const QDir folder(calendar()->directory());
        const QStringList before = folder.entryList({"*.ics"});
        AppointmentItemPtr fresh = calendar()->Items()->Add();
        if (saved)
            *saved = fresh;
        fresh->setSubject(subject);
        fresh->Save();
        QStringList added = folder.entryList({"*.ics"});
        for (const QString &name : before)
            added.removeAll(name);
        return added.size() == 1 ? folder.filePath(added[0]) : QString();
    }

    QStringList subjects(const ItemsPtr &items)
    {
        QStringList out;
        for (const ItemPtr &i : items->all()) {
            if (auto a = std::dynamic_pointer_cast<AppointmentItem>(i))
                out << a->Subject();
            else if (auto m = std::dynamic_pointer_cast<MeetingItem>(i))
                out << "request: " + m->Subject();
        }
        return out;
    }

    // Records each notification of items into heard: "add Subject", "change Subject", "remove".
    static void listen(const ItemsPtr &items, QStringList &heard)
    {
        QObject::connect(items.get(), &Items::ItemAdd, [&heard](const ItemPtr &i) {
            heard << "add " + std::dynamic_pointer_cast<AppointmentItem>(i)->Subject();
        });
        QObject::connect(items.get(), &Items::ItemChange, [&heard](const ItemPtr &i) {
            heard << "change " + std::dynamic_pointer_cast<AppointmentItem>(i)->Subject();
        });
        QObject::connect(items.get(), &Items::ItemRemove, [&heard] { heard << "remove"; });
    }

    // Runs the event loop until done() or the time is up; the milliseconds it took, or -1.
    qint64 waitFor(const std::function<bool()> &done, int ms = 2000)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return -1;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return t.elapsed();
    }

    QTemporaryDir dir;
    QString root;
    ProfileOptions options;
    NameSpacePtr session;
};

} // namespace

TEST_F(StoreTest, FoldersIdentifiersAndKinds)
{
    FoldersPtr tops = session->Folders();
    ASSERT_EQ(tops->Count(), 1);
    FolderPtr top = tops->GetFirst();
    EXPECT_EQ(top->Name(), "Team Store");
    EXPECT_EQ(top->Parent(), nullptr);

    FoldersPtr subs = top->Folders();
    QStringList names;
    for (FolderPtr f = subs->GetFirst(); f; f = subs->GetNext())
        names << f->Name();
    EXPECT_EQ(names, QStringList({"Calendar", "Contacts"})) << "dot-directories are no folders";

    FolderPtr cal = calendar();
    EXPECT_EQ(cal->FolderPath(), "Team Store\\Calendar");
    EXPECT_EQ(cal->DefaultItemType(), olAppointmentItem);
    EXPECT_EQ(cal->Parent()->EntryID(), top->EntryID());
    EXPECT_EQ(session->GetFolderFromID(cal->EntryID(), cal->StoreID())->FolderPath(),
              cal->FolderPath());
    EXPECT_EQ(FolderAtPath(*session, "Team Store\\Calendar\\Projects")->Name(), "Projects");
    EXPECT_EQ(FolderAtPath(*session, "Team Store\\Nowhere"), nullptr);

    // A new contacts folder is not a calendar; a name in use cannot be added twice.
    FolderPtr people = top->Folders()->Add("People", 10);
    EXPECT_EQ(people->DefaultItemType(), olContactItem);
    EXPECT_EQ(NameSpace(options).GetFolderFromID(people->EntryID())->DefaultItemType(),
              olContactItem)
        << "the kind is stored with the folder";
    EXPECT_THROW(top->Folders()->Add("People"), QvError);
    EXPECT_THROW(session->GetFolderFromID("0000QFNOTHING"), QvError);

    // Identifiers are stable across sessions and opaque.
    const NameSpace again(options);
    EXPECT_EQ(NameSpace(options).GetDefaultFolder(9)->EntryID(), cal->EntryID());
    EXPECT_FALSE(cal->EntryID().contains('/'));
}

TEST_F(StoreTest, MissingStoresAndFoldersAreNamedNeverMade)
{
    // Every folder by its path, subfolders under their parent; hidden directories are none.
    EXPECT_EQ(FolderPaths(*session),
              QStringList({"Team Store", "Team Store\\Calendar", "Team Store\\Calendar\\Projects",
                           "Team Store\\Contacts"}));
    EXPECT_EQ(NoFolderMessage(*session, "Team Store\\Nowhere"),
              "there is no folder \"Team Store\\Nowhere\"; the folders are: Team Store, Team "
              "Store\\Calendar, Team Store\\Calendar\\Projects, Team Store\\Contacts");

    struct Row
    {
        const char *name;
        QString storeDir;
        const char *says;
    } rows[] = {
        {"a mistyped store", dir.path() + "/Tema Store", "does not exist"},
        {"a store that is a file", root + "/Calendar/holiday.ics", "is not a directory"},
        {"a store without its calendar", root + "/Contacts", "its folders are: Contacts"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ProfileOptions wrong;
        wrong.storeDir = row.storeDir;
        NameSpace other(wrong);
        try {
            other.GetDefaultFolder(olFolderCalendar);
            ADD_FAILURE() << "a default calendar was found";
        } catch (const QvError &e) {
            EXPECT_EQ(e.number(), kNotFound);
            EXPECT_TRUE(e.description().contains(row.says)) << qPrintable(e.description());
        }
        EXPECT_EQ(FolderAtPath(other, QFileInfo(row.storeDir).fileName() + "\\Calendar"), nullptr);
    }
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/Tema Store")) << "nothing was created";
    EXPECT_FALSE(QFileInfo::exists(root + "/Contacts/Calendar"));
    ProfileOptions none;
    none.storeDir = dir.path() + "/Tema Store";
    NameSpace empty(none);
    EXPECT_TRUE(NoFolderMessage(empty, "X").contains("names no store that exists"));
    // Asked to, a folder is made, store directory and all.
    ASSERT_TRUE(FolderAtPath(empty, "Tema Store\\Calendar", true));
    EXPECT_TRUE(QFileInfo(dir.path() + "/Tema Store/Calendar").isDir());
}

TEST_F(StoreTest, RestrictSortAndOccurrences)
{
    ItemsPtr items = calendar()->Items();
    items->Sort("[Start]");
    items->setIncludeRecurrences(true);
    ItemsPtr march = items->Restrict(RangeRestriction(QDate(2026, 3, 1), QDate(2026, 3, 31)));
    EXPECT_EQ(subjects(march), QStringList({"request: Budget review", "Stand-up", "Stand-up",
                                            "Stand-up", "Stand-up", "Stand-up"}));
    // Every occurrence carries the series' identifier.
    const QList<ItemPtr> all = march->all();
    EXPECT_EQ(all[1]->EntryID(), all[2]->EntryID());
    auto occurrence = std::dynamic_pointer_cast<AppointmentItem>(all[1]);
    EXPECT_EQ(occurrence->RecurrenceState(), olApptOccurrence);
    EXPECT_EQ(OADate::toDateTime(occurrence->Start()), QDateTime(QDate(2026, 3, 2), QTime(9, 15)));

    // Without recurrences each item counts once; Find takes the filter's own quoting.
    ItemsPtr plain = calendar()->Items();
    EXPECT_EQ(plain->Count(), 4);
    ItemPtr found = plain->Find("[Subject] = " + QuoteFilterText("O'Brien's farewell"));
    ASSERT_TRUE(found);
    EXPECT_EQ(std::dynamic_pointer_cast<AppointmentItem>(found)->Subject(), "O'Brien's farewell");
    EXPECT_EQ(plain->Find("[Subject] = 'nobody'"), nullptr);
    EXPECT_EQ(subjects(plain->Restrict("[Categories] = 'family'")), QStringList{"Summer holiday"});

    auto holiday =
        std::dynamic_pointer_cast<AppointmentItem>(plain->Find("[Subject] = 'Summer holiday'"));
    EXPECT_EQ(holiday->Categories(), "Holiday, Family");
    EXPECT_TRUE(holiday->AllDayEvent());
    EXPECT_EQ(holiday->MessageClass(), "IPM.Appointment");

    // An invalid filter is an error the caller can catch.
    for (const char *bad : {"[Start] <= ", "[Nope] = 'x'", "[Start] <= 'not a date'",
                            "[Subject] = 'unclosed", "([Subject] = 'a'", "Subject = 'a'"})
        EXPECT_THROW(plain->Restrict(bad), QvError) << bad;
    EXPECT_THROW(plain->Sort("[Colour]"), QvError);
}

TEST_F(StoreTest, AnEnumerationCanYieldAndStopBetweenItems)
{
    ItemsPtr items = calendar()->Items();
    int calls = 0;
    items->setProgress([&] {
        ++calls;
        return true;
    });
    EXPECT_EQ(items->Count(), 4);
    const int full = calls;
    EXPECT_GE(full, 8) << "before reading and before expanding every item";

    for (int stopAt : {1, full / 2 + 1, full}) {
        calls = 0;
        items->setProgress([&] { return ++calls < stopAt; });
        EXPECT_LT(items->all().size(), 4) << stopAt;
        EXPECT_EQ(calls, stopAt);
    }
    items->setProgress({});
    EXPECT_EQ(items->Count(), 4) << "a stopped enumeration loses nothing";
}

TEST_F(StoreTest, MeetingRequestsAndTheirAppointments)
{
    ItemPtr item = calendar()->Items()->Find("[Subject] = 'Budget review'");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->TypeName(), "MeetingItem");
    EXPECT_EQ(item->MessageClass(), "IPM.Schedule.Meeting.Request");
    auto meeting = std::dynamic_pointer_cast<MeetingItem>(item);
    AppointmentItemPtr appointment = meeting->GetAssociatedAppointment(false);
    EXPECT_EQ(appointment->TypeName(), "AppointmentItem");
    EXPECT_EQ(appointment->Subject(), "Budget review");
    EXPECT_TRUE(appointment->AllDayEvent());
}

TEST_F(StoreTest, MalformedFilesAreSkippedAndLeftAlone)
{
    const QByteArray broken = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:half writ";
    WriteAll(root + "/Calendar/broken.ics", broken);
    WriteAll(root + "/Calendar/notes.txt", "not an item");
    WriteAll(root + "/Calendar/.~draft.ics.tmp", "a temp file of a writer");
    ItemsPtr items = calendar()->Items();
    EXPECT_EQ(items->Count(), 4);
    ASSERT_EQ(session->warnings().size(), 1);
    EXPECT_TRUE(session->warnings()[0].contains("broken.ics"))
        << qPrintable(session->warnings()[0]);
    EXPECT_EQ(ReadAll(root + "/Calendar/broken.ics"), broken);
    items->Count();
    EXPECT_EQ(session->warnings().size(), 1) << "warned once, until the file changes";
}

TEST_F(StoreTest, CreateChangeFindAndDelete)
{
    FolderPtr cal = calendar();
    AppointmentItemPtr a = cal->Items()->Add();
    a->setSubject("Trade fair, Lyon");
    a->setLocation("Eurexpo");
    a->setBody("Stand B12\nBring the demo kit.");
    a->setCategories("Travel, Work");
    a->setStart(At(2026, 9, 14));
    a->setEnd(At(2026, 9, 17));
    a->setAllDayEvent(true);
    a->setReminderSet(false);
    a->Save();
    ASSERT_FALSE(a->EntryID().isEmpty());
    EXPECT_FALSE(
        QDir(cal->directory()).entryList(QDir::Files | QDir::Hidden).join(' ').contains(".tmp"));

    NameSpace other(options);
    auto back = std::dynamic_pointer_cast<AppointmentItem>(other.GetItemFromID(a->EntryID()));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Subject(), "Trade fair, Lyon");
    EXPECT_EQ(back->Location(), "Eurexpo");
    EXPECT_EQ(back->Body(), "Stand B12\nBring the demo kit.");
    EXPECT_EQ(back->Categories(), "Travel, Work");
    EXPECT_TRUE(back->AllDayEvent());
    EXPECT_EQ(back->Start(), At(2026, 9, 14));
    EXPECT_EQ(back->End(), At(2026, 9, 17));
    EXPECT_FALSE(back->ReminderSet());
    EXPECT_FALSE(back->IsRecurring());

    // A timed change moves the end with the start, as in the client.
    back->setAllDayEvent(false);
    back->setStart(At(2026, 9, 15, 9));
    back->setEnd(At(2026, 9, 15, 17, 30));
    back->Save();
    auto again =
        std::dynamic_pointer_cast<AppointmentItem>(NameSpace(options).GetItemFromID(a->EntryID()));
    EXPECT_EQ(again->Start(), At(2026, 9, 15, 9));
    EXPECT_EQ(again->End(), At(2026, 9, 15, 17, 30));
    EXPECT_EQ(again->StartTimeZone(), "Europe/Berlin");

    again->Delete();
    EXPECT_THROW(NameSpace(options).GetItemFromID(a->EntryID()), QvError);
    EXPECT_THROW(session->GetItemFromID(""), QvError);
}

namespace {

// The value of a property of an item file's event ("" when it has none).
QString PropertyOf(const QByteArray &file, const QByteArray &name)
{
    for (const QByteArray &line : file.split('\n'))
        if (line.startsWith(name + ":"))
            return QString::fromUtf8(line.mid(name.size() + 1).trimmed());
    return QString();
}

// A stamp written within the last minutes, in UTC.
bool Recent(const QString &stamp)
{
    QDateTime t = QDateTime::fromString(stamp, "yyyyMMdd'T'HHmmss'Z'");
    t.setTimeZone(QTimeZone::utc());
    return t.isValid() && std::abs(t.secsTo(QDateTime::currentDateTimeUtc())) < 300;
}

} // namespace

TEST_F(StoreTest, EditedItemsCarryFreshStamps)
{
    const QString file = root + "/Calendar/review.ics";
    WriteAll(file, Vevent("review", "SUMMARY:Review\r\nDTSTAMP:20200101T000000Z\r\nSEQUENCE:3\r\n"
                                    "LAST-MODIFIED:20200101T000000Z\r\n"
                                    "DTSTART:20260302T100000\r\nDTEND:20260302T110000\r\n"));
    auto open = [&] {
        ItemsPtr items = NameSpace(options).GetDefaultFolder(olFolderCalendar)->Items();
        for (const ItemPtr &i : items->all())
            if (auto a = std::dynamic_pointer_cast<AppointmentItem>(i);
                a && a->Subject().startsWith("Review"))
                return a;
        return AppointmentItemPtr();
    };
    struct Step
    {
        const char *name;
        std::function<void(AppointmentItem &)> edit;
        QString sequence;
    } steps[] = {
        {"a new subject is no new revision",
         [](AppointmentItem &a) { a.setSubject("Review, room 2"); }, "3"},
        {"a later start is", [](AppointmentItem &a) { a.setStart(At(2026, 3, 2, 11)); }, "4"},
        {"the same start again is not", [](AppointmentItem &a) { a.setStart(At(2026, 3, 2, 11)); },
         "4"},
        {"a longer meeting is", [](AppointmentItem &a) { a.setEnd(At(2026, 3, 2, 13)); }, "5"},
        {"whole days are", [](AppointmentItem &a) { a.setAllDayEvent(true); }, "6"},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        AppointmentItemPtr a = open();
        ASSERT_TRUE(a);
        step.edit(*a);
        a->Save();
        const QByteArray text = ReadAll(file);
        EXPECT_TRUE(Recent(PropertyOf(text, "DTSTAMP"))) << text.toStdString();
        EXPECT_TRUE(Recent(PropertyOf(text, "LAST-MODIFIED"))) << text.toStdString();
        EXPECT_EQ(text.count("DTSTAMP:"), 1);
        EXPECT_EQ(PropertyOf(text, "SEQUENCE"), step.sequence);
    }

    // A new item is stamped when it is first written, and is no revision yet.
    const QString fresh = saveNew("Fresh");
    ASSERT_FALSE(fresh.isEmpty());
    const QByteArray text = ReadAll(fresh);
    EXPECT_TRUE(Recent(PropertyOf(text, "LAST-MODIFIED"))) << text.toStdString();
    EXPECT_TRUE(Recent(PropertyOf(text, "DTSTAMP")));
    EXPECT_EQ(PropertyOf(text, "SEQUENCE"), "");
}

// A calendar folder shared on a file system stays readable to the team: new items take the
// mode the umask gives, replaced ones keep theirs.
TEST_F(StoreTest, ItemFilesAreAsReadableAsTheUserLets)
{
    const mode_t before = ::umask(022);
    AppointmentItemPtr item;
    const QString file = saveNew("Shared", &item);
    ASSERT_FALSE(file.isEmpty());
    auto mode = [&] {
        struct stat st;
        return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_mode & 0777 : 0u;
    };
    EXPECT_EQ(mode(), 0644u);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    item->setSubject("Shared with the group");
    item->Save();
    EXPECT_EQ(mode(), 0640u) << "a replaced item keeps its mode";
    ::umask(077);
    item->setSubject("Again");
    item->Save();
    EXPECT_EQ(mode(), 0640u) << "whatever the umask";
    ::umask(before);
}

TEST_F(StoreTest, DeletingOneOccurrence)
{
    ItemsPtr items = calendar()->Items();
    items->setIncludeRecurrences(true);
    ItemsPtr march = items->Restrict(RangeRestriction(QDate(2026, 3, 1), QDate(2026, 3, 31)));
    const QList<ItemPtr> before = march->all();
    auto second = std::dynamic_pointer_cast<AppointmentItem>(before[2]);
    EXPECT_THROW(second->setSubject("changed"), QvError) << "one occurrence is read-only";
    second->Delete();
    const QStringList after = subjects(march);
    EXPECT_EQ(after.size(), before.size() - 1);
    EXPECT_TRUE(ReadAll(root + "/Calendar/standup.ics").contains("EXDATE"));
    EXPECT_EQ(PropertyOf(ReadAll(root + "/Calendar/standup.ics"), "SEQUENCE"), "1")
        << "an instance fewer is a new revision of the series";
    EXPECT_TRUE(Recent(PropertyOf(ReadAll(root + "/Calendar/standup.ics"), "LAST-MODIFIED")));
}

TEST_F(StoreTest, HiddenItemsHoldNamedPropertiesAnyProgramKeeps)
{
    const QString set = "{FFF40745-D92F-4C11-9E14-92701F001EB3}";
    auto helper = std::dynamic_pointer_cast<MapiFolder>(
        Application(options).CreateObject("TKCDO.tkMAPIFolder"));
    ASSERT_TRUE(helper);
    EXPECT_EQ(helper->hiddenItems(), nullptr) << "no folder set yet";
    helper->setItem(calendar());
    HiddenItemsPtr hidden = helper->hiddenItems();
    ASSERT_TRUE(hidden);
    EXPECT_EQ(hidden->item("PLEASE IGNORE - Quorvel Category Colours: Default"), nullptr);

    HiddenItemPtr item = hidden->Add("IPM.Calendar.Quorvel.Categories");
    item->setSubject("PLEASE IGNORE - Quorvel Category Colours: Default");
    const qint32 count = item->GetIDsFromNames(set, "NumberOfCategories") | 3;
    const qint32 name1 = item->GetIDsFromNames(set, "Category1") | 30;
    const qint32 colour1 = item->GetIDsFromNames(set, "Colour1") | 3;
    item->setFields(QString::number(count), 1);
    item->setFields(QString::number(name1), "Sales, North; \"East\"");
    item->setFields(QString::number(colour1), 0x00FF8800);
    item->Save();

    EXPECT_EQ(calendar()->Items()->Count(), 4) << "hidden items are not among the items";
    EXPECT_EQ(hidden->Count(), 1);

    // Another program reads the file and writes it back in its own way.
    QDir folder(calendar()->directory());
    QString file;
    for (const QString &f : folder.entryList({"*.ics"}))
        if (ReadAll(folder.filePath(f)).contains("X-QUORVEL-HIDDEN"))
            file = folder.filePath(f);
    ASSERT_FALSE(file.isEmpty());
    icalcomponent *c = icalparser_parse_string(ReadAll(file).constData());
    ASSERT_TRUE(c);
    char *text = icalcomponent_as_ical_string_r(c);
    WriteAll(file, QByteArray(text));
    icalmemory_free_buffer(text);
    icalcomponent_free(c);

    HiddenItemPtr read = NameSpace(options).GetDefaultFolder(9) ? [&] {
        auto h = std::dynamic_pointer_cast<MapiFolder>(Application(options).CreateObject("TKCDO.tkMAPIFolder"));
        h->setItem(NameSpace(options).GetDefaultFolder(9));
        return h->hiddenItems()->item("PLEASE IGNORE - Quorvel Category Colours: Default");
    }() : nullptr;
    ASSERT_TRUE(read);
    EXPECT_EQ(read->MessageClass(), "IPM.Calendar.Quorvel.Categories");
    const QString countTag = QString::number(read->GetIDsFromNames(set, "NumberOfCategories") | 3);
    const QString nameTag = QString::number(read->GetIDsFromNames(set, "Category1") | 30);
    const QString colourTag = QString::number(read->GetIDsFromNames(set, "Colour1") | 3);
    EXPECT_EQ(read->Fields(countTag).toInt(), 1);
    EXPECT_EQ(read->Fields(nameTag).toString(), "Sales, North; \"East\"");
    EXPECT_EQ(read->Fields(colourTag).toInt(), 0x00FF8800);
    EXPECT_THROW(read->Fields(QString::number(read->GetIDsFromNames(set, "Category2") | 30)),
                 QvError);
}

TEST_F(StoreTest, ChangesFromOutsideRaiseNotifications)
{
    ItemsPtr items = calendar()->Items();
    QStringList heard;
    listen(items, heard);

    WriteAll(
        root + "/Calendar/new.ics",
        Vevent("new", "SUMMARY:Dentist\r\nDTSTART:20260410T080000\r\nDTEND:20260410T083000\r\n"));
    EXPECT_GE(waitFor([&] { return heard.size() >= 1; }, 1000), 0);
    // Rewritten in place, then replaced by rename as sync tools do.
    WriteAll(
        root + "/Calendar/new.ics",
        Vevent("new",
               "SUMMARY:Dentist (moved)\r\nDTSTART:20260411T080000\r\nDTEND:20260411T083000\r\n"));
    EXPECT_GE(waitFor([&] { return heard.size() >= 2; }, 1000), 0);
    QFile::remove(root + "/Calendar/holiday.ics");
    EXPECT_GE(waitFor([&] { return heard.size() >= 3; }, 1000), 0);
    EXPECT_EQ(heard, QStringList({"add Dentist", "change Dentist (moved)", "remove"}));
}

// A sync tool that never pauses (a file every 50 ms) is heard while it writes, not only once it
// stops: the folder is looked at within a second of its first change.
TEST_F(StoreTest, AToolThatNeverPausesIsHeardWhileItWrites)
{
    ItemsPtr items = calendar()->Items();
    QStringList heard;
    listen(items, heard);
    QElapsedTimer writing;
    writing.start();
    int written = 0, heardWhileWriting = 0;
    while (writing.elapsed() < 2500) {
        const QByteArray n = QByteArray::number(written++);
        WriteAll(
            root + "/Calendar/tool" + n + ".ics",
            Vevent("tool" + n, "SUMMARY:Tool " + n +
                                   "\r\nDTSTART:20260410T080000\r\nDTEND:20260410T083000\r\n"));
        waitFor([] { return false; }, 50);
        heardWhileWriting = int(heard.size());
    }
    EXPECT_GE(heardWhileWriting, written / 2)
        << "heard only " << heardWhileWriting << " of " << written << " while the tool wrote";
    EXPECT_GE(waitFor([&] { return heard.size() >= written; }, 2000), 0);
    EXPECT_EQ(heard.size(), written);
}

TEST_F(StoreTest, AWatchedFolderKnowsItsItemsByIdentifier)
{
    ItemsPtr items = calendar()->Items();
    QString added;
    int removed = 0;
    QObject::connect(items.get(), &Items::ItemAdd, [&](const ItemPtr &i) { added = i->EntryID(); });
    QObject::connect(items.get(), &Items::ItemRemove, [&] { ++removed; });
    const QString holiday =
        std::dynamic_pointer_cast<AppointmentItem>(items->Find("[Subject] = 'Summer holiday'"))
            ->EntryID();
    EXPECT_EQ(session->GetItemFromID(holiday)->EntryID(), holiday);

    // Files that come and go by other hands are found, and not found, as the folder says.
    WriteAll(
        root + "/Calendar/new.ics",
        Vevent("new", "SUMMARY:Dentist\r\nDTSTART:20260410T080000\r\nDTEND:20260410T083000\r\n"));
    ASSERT_TRUE(waitFor([&] { return !added.isEmpty(); }, 2000));
    auto found = std::dynamic_pointer_cast<AppointmentItem>(session->GetItemFromID(added));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->Subject(), "Dentist");
    // A file replaced by another of the same name is read again.
    WriteAll(
        root + "/Calendar/new.ics",
        Vevent("new",
               "SUMMARY:Dentist (moved)\r\nDTSTART:20260411T080000\r\nDTEND:20260411T083000\r\n"));
    EXPECT_EQ(std::dynamic_pointer_cast<AppointmentItem>(session->GetItemFromID(added))->Subject(),
              "Dentist (moved)");
    QFile::remove(root + "/Calendar/new.ics");
    EXPECT_THROW(session->GetItemFromID(added), QvError) << "gone before the folder said so";
    ASSERT_TRUE(waitFor([&] { return removed > 0; }, 2000));
    EXPECT_THROW(session->GetItemFromID(added), QvError);
    // Items this session writes are known at once.
    AppointmentItemPtr mine = items->Add();
    mine->setSubject("Mine");
    mine->setStart(At(2026, 5, 1, 9));
    mine->setEnd(At(2026, 5, 1, 10));
    mine->Save();
    EXPECT_EQ(std::dynamic_pointer_cast<AppointmentItem>(session->GetItemFromID(mine->EntryID()))
                  ->Subject(),
              "Mine");
}

TEST_F(StoreTest, AKilledWriterLeavesTheOldOrTheNewItem)
{
    AppointmentItemPtr a = calendar()->Items()->Add();
    a->setSubject("v0");
    a->Save();
    const QString file = calendar()->directory() + "/" + a->fileName();
    QRandomGenerator rng(99);
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes ever new versions with a large body until it is killed.
            NameSpace s(options);
            auto item = std::dynamic_pointer_cast<AppointmentItem>(s.GetItemFromID(a->EntryID()));
            const QString body(200000, 'x');
            for (int v = 1;; ++v) {
                item->setSubject(QString("v%1").arg(v));
                item->setBody(body);
                item->Save();
            }
        }
        usleep(1000 + rng.bounded(30000));
        ASSERT_TRUE(KillProcess(child));
        int status = 0;
        waitpid(child, &status, 0);
        QString problem;
        auto item = IcalItem::parse(ReadAll(file), &problem);
        ASSERT_TRUE(item) << "round " << round << ": " << qPrintable(problem);
        EXPECT_TRUE(item->text("SUMMARY").startsWith('v'));
    }
    EXPECT_EQ(calendar()->Items()->Count(), 5) << "left-over temp files are no items";
}

namespace {

// A calendar of three events in one file, as some programs keep a whole calendar: a series
// with a moved instance, a one-off, an event without a UID, and a task the planner never shows.
const QByteArray kTeamFile =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Elsewhere//Team//EN\r\nX-WR-CALNAME:Team\r\n"
    "BEGIN:VEVENT\r\nUID:series\r\nSUMMARY:Planning\r\nDTSTART:20260302T100000\r\n"
    "DTEND:20260302T110000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nEND:VEVENT\r\n"
    "BEGIN:VTODO\r\nUID:task\r\nSUMMARY:Book the room\r\nEND:VTODO\r\n"
    "BEGIN:VEVENT\r\nUID:once\r\nSUMMARY:Offsite\r\nDTSTART;VALUE=DATE:20260415\r\n"
    "DTEND;VALUE=DATE:20260417\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nSUMMARY:No UID\r\nDTSTART:20260501T090000\r\nDTEND:20260501T100000\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:series\r\nRECURRENCE-ID:20260309T100000\r\nSUMMARY:Planning (moved)\r\n"
    "DTSTART:20260310T100000\r\nDTEND:20260310T110000\r\nEND:VEVENT\r\n"
    "END:VCALENDAR\r\n";

// Leaves the calendar folder to the test's own files.
void EmptyFolder(const QString &dir)
{
    for (const QString &name : QDir(dir).entryList({"*.ics"}, QDir::Files))
        QFile::remove(dir + "/" + name);
}

// How many files of dir hold an event with that UID.
int FilesHolding(const QString &dir, const QByteArray &uid)
{
    int n = 0;
    for (const QString &name : QDir(dir).entryList({"*.ics"}, QDir::Files))
        n += ReadAll(dir + "/" + name).contains("\nUID:" + uid + "\r\n");
    return n;
}

} // namespace

TEST_F(StoreTest, EveryEventOfAFileOfSeveralShowsAndKeepsItsIdentifier)
{
    EmptyFolder(root + "/Calendar");
    WriteAll(root + "/Calendar/team.ics", kTeamFile);
    ItemsPtr items = calendar()->Items();
    items->setIncludeRecurrences(true);
    items->Sort("[Start]");
    const QStringList listed =
        subjects(items->Restrict("[Start] >= '2026-03-01' And [Start] < '2026-06-01'"));
    EXPECT_EQ(listed,
              QStringList({"Planning", "Planning (moved)", "Planning", "Offsite", "No UID"}));
    EXPECT_TRUE(session->warnings().isEmpty()) << qPrintable(session->warnings().join('\n'));

    // Each has an identifier of its own that finds it, in this session and in another.
    QStringList ids;
    for (const QString &subject : QStringList{"Planning", "Offsite", "No UID"}) {
        const ItemPtr item = calendar()->Items()->Find("[Subject] = '" + subject + "'");
        ASSERT_TRUE(item) << qPrintable(subject);
        ids << item->EntryID();
        auto back = std::dynamic_pointer_cast<AppointmentItem>(
            NameSpace(options).GetItemFromID(item->EntryID()));
        ASSERT_TRUE(back) << qPrintable(subject);
        EXPECT_EQ(back->Subject(), subject);
    }
    ids.removeDuplicates();
    EXPECT_EQ(ids.size(), 3);
    EXPECT_EQ(ReadAll(root + "/Calendar/team.ics"), kTeamFile) << "reading changes nothing";
}

TEST_F(StoreTest, AnEventEditedOrDeletedLeavesTheRestOfItsFileAsItWas)
{
    const QString folder = root + "/Calendar";
    EmptyFolder(folder);
    WriteAll(folder + "/team.ics", kTeamFile);
    auto planning = std::dynamic_pointer_cast<AppointmentItem>(
        calendar()->Items()->Find("[Subject] = 'Planning'"));
    ASSERT_TRUE(planning);
    planning->setLocation("Room 4");
    planning->Save();
    // The series, with its moved instance, now has a file of its own; the rest is the file as
    // it was without the series' lines.
    EXPECT_NE(planning->fileName(), "team.ics");
    const QByteArray own = ReadAll(folder + "/" + planning->fileName());
    EXPECT_TRUE(own.contains("LOCATION:Room 4")) << own.constData();
    EXPECT_TRUE(own.contains("RECURRENCE-ID:20260309T100000")) << own.constData();
    QByteArray expected = kTeamFile;
    expected.remove(
        expected.indexOf("BEGIN:VEVENT\r\nUID:series\r\nRECURRENCE-ID"),
        QByteArray("BEGIN:VEVENT\r\nUID:series\r\nRECURRENCE-ID:20260309T100000\r\nSUMMARY:"
                   "Planning (moved)\r\nDTSTART:20260310T100000\r\nDTEND:20260310T110000\r\n"
                   "END:VEVENT\r\n")
            .size());
    expected.remove(expected.indexOf("BEGIN:VEVENT\r\nUID:series"),
                    expected.indexOf("BEGIN:VTODO") -
                        expected.indexOf("BEGIN:VEVENT\r\nUID:series"));
    EXPECT_EQ(ReadAll(folder + "/team.ics"), expected);
    EXPECT_EQ(FilesHolding(folder, "series"), 1);
    EXPECT_EQ(NameSpace(options).GetItemFromID(planning->EntryID())->EntryID(),
              planning->EntryID());

    // Deleting one of the rest rewrites the file without it; the task stays.
    auto offsite = std::dynamic_pointer_cast<AppointmentItem>(
        calendar()->Items()->Find("[Subject] = 'Offsite'"));
    ASSERT_TRUE(offsite);
    offsite->Delete();
    EXPECT_EQ(FilesHolding(folder, "once"), 0);
    EXPECT_TRUE(ReadAll(folder + "/team.ics").contains("SUMMARY:Book the room"));
    // The last event of the file is edited in place, as any file of one event, task and all.
    auto noUid = std::dynamic_pointer_cast<AppointmentItem>(
        calendar()->Items()->Find("[Subject] = 'No UID'"));
    ASSERT_TRUE(noUid);
    noUid->setSubject("Edited");
    noUid->Save();
    EXPECT_EQ(noUid->fileName(), "team.ics");
    EXPECT_TRUE(ReadAll(folder + "/team.ics").contains("SUMMARY:Edited"));
    EXPECT_TRUE(ReadAll(folder + "/team.ics").contains("BEGIN:VTODO"));
    ItemsPtr all = calendar()->Items();
    EXPECT_EQ(subjects(all->Restrict("[Start] >= '2026-03-01' And [Start] < '2026-06-01'")),
              QStringList({"Planning", "Edited"}));
    EXPECT_FALSE(
        QDir(folder).entryList(QDir::Files | QDir::Hidden).join(' ').contains(".quorvel-move"));
}

TEST_F(StoreTest, AWriterKilledWhileMovingEventsOutLeavesEachInExactlyOneFile)
{
    const QString folder = root + "/Calendar";
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Elsewhere//Big//EN\r\n";
    constexpr int kEvents = 40;
    for (int i = 0; i < kEvents; ++i)
        text += QString("BEGIN:VEVENT\r\nUID:e%1\r\nSUMMARY:e%1\r\nDTSTART:202606%2T090000\r\n"
                        "DTEND:202606%2T100000\r\nDESCRIPTION:%3\r\nEND:VEVENT\r\n")
                    .arg(i)
                    .arg(1 + i % 28, 2, 10, QChar('0'))
                    .arg(QString(2000, 'd'))
                    .toUtf8();
    text += "END:VCALENDAR\r\n";
    WriteAll(folder + "/all.ics", text);
    QRandomGenerator rng(7);
    for (int round = 0; round < 30; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Edits every event in turn, each moving out of the shared file, until killed.
            NameSpace s(options);
            for (int v = 0;; ++v) {
                for (int i = 0; i < kEvents; ++i) {
                    ItemPtr found = s.GetDefaultFolder(olFolderCalendar)
                                        ->Items()
                                        ->Find(QString("[Subject] = 'e%1'").arg(i));
                    if (auto item = std::dynamic_pointer_cast<AppointmentItem>(found)) {
                        item->setLocation(QString("v%1").arg(v));
                        item->Save();
                    }
                }
            }
        }
        usleep(2000 + rng.bounded(60000));
        ASSERT_TRUE(KillProcess(child));
        int status = 0;
        waitpid(child, &status, 0);
        // Whoever reads the folder next finishes a move that was cut off.
        NameSpace next(options);
        ItemsPtr items = next.GetDefaultFolder(olFolderCalendar)->Items();
        EXPECT_EQ(items->Restrict("[Start] >= '2026-06-01' And [Start] < '2026-07-01'")->Count(),
                  kEvents)
            << "round " << round;
        for (int i = 0; i < kEvents; ++i)
            ASSERT_EQ(FilesHolding(folder, "e" + QByteArray::number(i)), 1)
                << "round " << round << ", e" << i;
    }
}

TEST_F(StoreTest, AnEventMovedOutOfASharedFileIsHeardAsAddedAndTheOldIdentifierAsRemoved)
{
    EmptyFolder(root + "/Calendar");
    WriteAll(root + "/Calendar/team.ics", kTeamFile);
    ItemsPtr items = calendar()->Items();
    QStringList heard;
    listen(items, heard);
    // The first event of the file leaves: the next takes over the file's own identifier, so
    // the planner must drop what it holds of the old one.
    auto planning =
        std::dynamic_pointer_cast<AppointmentItem>(items->Find("[Subject] = 'Planning'"));
    ASSERT_TRUE(planning);
    planning->setSubject("Planning, room 4");
    planning->Save();
    EXPECT_GE(waitFor([&] { return heard.contains("remove"); }, 2000), 0)
        << qPrintable(heard.join(", "));
    heard.sort();
    EXPECT_EQ(heard,
              QStringList({"add Planning, room 4", "change No UID", "change Offsite", "remove"}));
}

TEST_F(StoreTest, ImportAnchorsACalendarsZoneAndUpdatesEventsOfASharedFileInPlaceOfTheirCopies)
{
    const QString folder = root + "/Calendar";
    EmptyFolder(folder);
    WriteAll(folder + "/team.ics", kTeamFile);
    // The calendar names its zone; one of its events is in the shared file already.
    const QByteArray calendarText =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-TIMEZONE:America/New_York\r\n"
        "BEGIN:VEVENT\r\nUID:once\r\nSUMMARY:Offsite, moved\r\n"
        "DTSTART;VALUE=DATE:20260420\r\nDTEND;VALUE=DATE:20260422\r\nEND:VEVENT\r\n"
        "BEGIN:VEVENT\r\nUID:call\r\nSUMMARY:Call New York\r\n"
        "DTSTART:20260505T090000\r\nDTEND:20260505T093000\r\nEND:VEVENT\r\n"
        "END:VCALENDAR\r\n";
    const ImportResult result = ImportCalendar(*calendar(), calendarText);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.updated, 1);
    EXPECT_TRUE(result.problems.isEmpty()) << qPrintable(result.problems.join('\n'));
    EXPECT_EQ(FilesHolding(folder, "once"), 1) << "updated where it was, not copied";
    EXPECT_TRUE(ReadAll(folder + "/team.ics").contains("UID:series"))
        << "the rest of the shared file stays";

    auto call = std::dynamic_pointer_cast<AppointmentItem>(
        calendar()->Items()->Find("[Subject] = 'Call New York'"));
    ASSERT_TRUE(call);
    const QByteArray stored = ReadAll(folder + "/" + call->fileName());
    EXPECT_TRUE(stored.contains("DTSTART;TZID=America/New_York:20260505T090000"))
        << stored.constData();
    EXPECT_TRUE(stored.contains("BEGIN:VTIMEZONE")) << "self-contained";
    EXPECT_EQ(call->Start(), At(2026, 5, 5, 15));
    auto offsite = std::dynamic_pointer_cast<AppointmentItem>(
        calendar()->Items()->Find("[Subject] = 'Offsite, moved'"));
    ASSERT_TRUE(offsite);
    EXPECT_TRUE(offsite->AllDayEvent());
    EXPECT_EQ(offsite->Start(), At(2026, 4, 20)) << "whole days stay days";
    EXPECT_FALSE(calendar()->Items()->Find("[Subject] = 'Offsite'")) << "no old copy left";
}

// An import that meets a full disk part way, while its reader is ahead of the writer: the error
// reaches the caller, the reader stops, the files written are whole items and none is half
// there.
TEST_F(StoreTest, AnImportThatFailsPartWayStopsWithTheFileError)
{
    const QString folder = root + "/Calendar";
    EmptyFolder(folder);
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    for (int i = 0; i < 3000; ++i)
        text += "BEGIN:VEVENT\r\nUID:bulk-" + QByteArray::number(i) +
                "\r\nSUMMARY:Bulk\r\nDTSTART;VALUE=DATE:20260601\r\nEND:VEVENT\r\n";
    text += "END:VCALENDAR\r\n";
    FailWritesAfter(100000, ENOSPC);
    int error = 0;
    try {
        ImportCalendar(*calendar(), text);
    } catch (const QvError &e) {
        error = e.number();
    }
    FailWritesAfter(-1, 0);
    EXPECT_EQ(error, FileError::DiskFull);
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    EXPECT_GT(files.size(), 10);
    EXPECT_LT(files.size(), 3000);
    for (const QString &name : files) {
        ASSERT_TRUE(name.endsWith(".ics") && !name.startsWith(".~")) << qPrintable(name);
        ASSERT_TRUE(ReadAll(folder + '/' + name).endsWith("END:VCALENDAR\r\n")) << qPrintable(name);
    }
    // With room again the same import completes.
    EXPECT_EQ(ImportCalendar(*calendar(), text).added + files.size(), 3000);
}

namespace {

// Every item file of dir with its text.
QMap<QString, QByteArray> ItemFiles(const QString &dir)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(dir).entryList({"*.ics"}, QDir::Files | QDir::Hidden))
        files.insert(name, ReadAll(dir + '/' + name));
    return files;
}

} // namespace

// Creating, changing and deleting an appointment and saving a hidden item (the category table)
// on a disk that fills, a read-only file system, a quota or a failing device, failing at the
// first byte, in the middle and at the last: the file error reaches the caller, every item file
// stays as it was and no temp file is left.
TEST_F(StoreTest, AWriteThatFailsLeavesEveryItemFileAsItWas)
{
    const QString folder = calendar()->directory();
    AppointmentItemPtr kept;
    saveNew("Kept", &kept);
    const QByteArray keptText = ReadAll(folder + '/' + "holiday.ics");
    const std::pair<const char *, std::function<void()>> writes[] = {
        {"create",
         [&] {
             AppointmentItemPtr a = calendar()->Items()->Add();
             a->setSubject(QString(3000, 'n'));
             a->Save();
         }},
        {"edit",
         [&] {
             auto a = std::dynamic_pointer_cast<AppointmentItem>(
                 NameSpace(options).GetItemFromID(kept->EntryID()));
             a->setBody(QString(3000, 'b'));
             a->Save();
         }},
        {"category table",
         [&] {
             auto helper = std::dynamic_pointer_cast<MapiFolder>(
                 Application(options).CreateObject("TKCDO.tkMAPIFolder"));
             helper->setItem(calendar());
             HiddenItemPtr item = helper->hiddenItems()->Add("IPM.Calendar.Quorvel.Categories");
             item->setSubject("PLEASE IGNORE - Quorvel Category Colours: " + QString(3000, 't'));
             item->Save();
         }},
    };
    const struct
    {
        int err;
        int number;
    } faults[] = {{ENOSPC, 57}, {EDQUOT, 57}, {EROFS, 54}, {EIO, 68}};
    for (const auto &[what, write] : writes) {
        for (const auto &fault : faults) {
            for (const qint64 after : {0, 1500, 2999}) {
                SCOPED_TRACE(testing::Message()
                             << what << ", errno " << fault.err << " after " << after);
                const QMap<QString, QByteArray> before = ItemFiles(folder);
                FailWritesAfter(after, fault.err);
                int number = 0;
                try {
                    write();
                } catch (const QvError &e) {
                    number = e.number();
                }
                FailWritesAfter(-1, 0);
                EXPECT_EQ(number, fault.number);
                EXPECT_EQ(ItemFiles(folder), before);
                for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                    EXPECT_FALSE(name.endsWith(".tmp")) << qPrintable(name);
            }
        }
    }
    EXPECT_EQ(ReadAll(folder + '/' + "holiday.ics"), keptText);

    // Deleting: a read-only or failing file system keeps the file and says so; a full disk or a
    // quota lets it go, as they do.
    const auto remove = [&] { NameSpace(options).GetItemFromID(kept->EntryID())->Delete(); };
    for (const auto &fault : faults) {
        SCOPED_TRACE(testing::Message() << "delete, errno " << fault.err);
        const QMap<QString, QByteArray> before = ItemFiles(folder);
        FailWritesAfter(0, fault.err);
        int number = 0;
        try {
            remove();
        } catch (const QvError &e) {
            number = e.number();
        }
        FailWritesAfter(-1, 0);
        if (fault.err == EROFS || fault.err == EIO) {
            EXPECT_EQ(number, fault.number);
            EXPECT_EQ(ItemFiles(folder), before);
        } else {
            EXPECT_EQ(number, 0);
            EXPECT_EQ(ItemFiles(folder).size(), before.size() - 1);
            saveNew("Kept", &kept);
        }
    }
}

TEST_F(StoreTest, AnEventEditedOrDeletedNeverTakesAnUnreadableNeighbourWithIt)
{
    // Two events of one file, the second without a start: the store reads the first alone.
    const QString folder = root + "/Calendar";
    EmptyFolder(folder);
    QByteArray unreadable = "BEGIN:VEVENT\r\nUID:broken\r\nSUMMARY:No start\r\nEND:VEVENT\r\n";
    WriteAll(folder + "/pair.ics",
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Elsewhere//EN\r\n"
             "BEGIN:VEVENT\r\nUID:good\r\nSUMMARY:Good\r\nDTSTART;VALUE=DATE:20260601\r\n"
             "END:VEVENT\r\n" +
                 unreadable + "END:VCALENDAR\r\n");
    auto good =
        std::dynamic_pointer_cast<AppointmentItem>(calendar()->Items()->Find("[Subject] = 'Good'"));
    ASSERT_TRUE(good);
    ASSERT_EQ(calendar()->Items()->Count(), 1);
    good->setLocation("Hall");
    good->Save();
    EXPECT_NE(good->fileName(), "pair.ics") << "moved out, the rest of the file kept";
    EXPECT_TRUE(ReadAll(folder + "/pair.ics").contains(unreadable));
    EXPECT_EQ(FilesHolding(folder, "good"), 1);

    // Deleting the last readable event of a file leaves the file to what the store cannot read.
    WriteAll(folder + "/pair2.ics",
             "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Elsewhere//EN\r\n"
             "BEGIN:VEVENT\r\nUID:other\r\nSUMMARY:Other\r\nDTSTART;VALUE=DATE:20260602\r\n"
             "END:VEVENT\r\n" +
                 unreadable.replace("broken", "broken2") + "END:VCALENDAR\r\n");
    auto other = std::dynamic_pointer_cast<AppointmentItem>(
        calendar()->Items()->Find("[Subject] = 'Other'"));
    ASSERT_TRUE(other);
    other->Delete();
    ASSERT_TRUE(QFile::exists(folder + "/pair2.ics"));
    EXPECT_TRUE(ReadAll(folder + "/pair2.ics").contains("UID:broken2"));
    EXPECT_FALSE(ReadAll(folder + "/pair2.ics").contains("UID:other"));
}
