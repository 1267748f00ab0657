#include "calendaraccess.h"
#include "oadate.h"
#include "planneryear.h"
#include "restriction.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Store;

namespace {

class AccessTest : public ::testing::Test
{
protected:
    AccessTest()
    {
        QDir().mkpath(dir.path() + "/Mine/Calendar/Team");
        QDir().mkpath(dir.path() + "/Mine/Contacts");
        WriteAll(dir.path() + "/Mine/.quorvel-store", "[Store]\nName=Mine\nUserName=Ana Weber\n");
        WriteAll(
            dir.path() + "/Mine/Calendar/Team/m.ics",
            "BEGIN:VCALENDAR\r\nMETHOD:REQUEST\r\nBEGIN:VEVENT\r\nUID:m\r\nSUMMARY:Offsite\r\n"
            "LOCATION:Black Forest\r\nDESCRIPTION:Bring boots.\r\nDTSTART;VALUE=DATE:20260601\r\n"
            "DTEND;VALUE=DATE:20260603\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        options.storeDir = dir.path() + "/Mine";
        access = std::make_unique<CalendarAccess>(std::make_shared<NameSpace>(options));
        // Contacts is a folder of other items.
        WriteAll(dir.path() + "/Mine/Contacts/.quorvel-folder", "[Folder]\nItemType=2\n");
    }

    QString pathOf(const QString &path)
    {
        access->ResolveFolder(path);
        return access->folder()->FolderPath();
    }

    QTemporaryDir dir;
    ProfileOptions options;
    std::unique_ptr<CalendarAccess> access;
};

} // namespace

TEST_F(AccessTest, FolderPathsAndTheirFallbacks)
{
    EXPECT_EQ(pathOf("Mine\\Calendar\\Team"), "Mine\\Calendar\\Team");
    EXPECT_EQ(pathOf(""), "Mine\\Calendar");
    EXPECT_EQ(pathOf("Calendar"), "Mine\\Calendar");
    EXPECT_EQ(pathOf("Team"), "Mine\\Calendar") << "a single name finds no top folder";
    EXPECT_EQ(pathOf("\\Mine\\Calendar\\Team"), "Mine\\Calendar") << "a leading \\ names no folder";
    EXPECT_EQ(pathOf("Mine\\Contacts"), "Mine\\Calendar") << "not a calendar";
    EXPECT_EQ(pathOf("Mine\\Calendar\\team"), "Mine\\Calendar") << "names are exact";
    EXPECT_EQ(pathOf("Elsewhere\\Calendar"), "Mine\\Calendar");
    EXPECT_FALSE(access->storeId().isEmpty());
}

TEST_F(AccessTest, ItemsBodiesAndTheUser)
{
    access->ResolveFolder("Mine\\Calendar\\Team");
    const ItemPtr request = access->folder()->Items()->GetFirst();
    ASSERT_TRUE(request);
    const AppointmentItemPtr a = access->GetAppointmentByID(request->EntryID());
    ASSERT_TRUE(a) << "a meeting request gives its appointment";
    EXPECT_EQ(a->Subject(), "Offsite");
    QString body = "unchanged", location = "unchanged";
    access->GetBodyAndLocation(request->EntryID(), body, location);
    EXPECT_EQ(body, "Bring boots.");
    EXPECT_EQ(location, "Black Forest");

    body = location = "unchanged";
    access->GetBodyAndLocation("0000QIGONE", body, location);
    EXPECT_EQ(body, "unchanged");
    EXPECT_EQ(access->GetAppointmentByID(""), nullptr);
    QFile::remove(dir.path() + "/Mine/Calendar/Team/m.ics");
    EXPECT_EQ(access->GetAppointmentByID(request->EntryID()), nullptr) << "deleted: nothing";
    EXPECT_EQ(access->GetCurrentUserName(), "Ana Weber");
}

TEST(PlannerRestriction, CoversThePlannerYear)
{
    EXPECT_EQ(PlannerRestriction(PlannerYear(2008, 1)),
              "[Start] <= \"12/31/2008 11:59 PM\" AND [End] > \"1/1/2008 12:00 AM\"");
    EXPECT_EQ(PlannerRestriction(PlannerYear(2009, 7)),
              "[Start] <= \"6/30/2010 11:59 PM\" AND [End] > \"7/1/2009 12:00 AM\"");
}

// The planner year's items through the restriction the planner and the synchroniser build, in the
// locales people use: the first and last days of the year are in it, the days around it are not.
TEST(PlannerRestriction, SelectsThePlannerYearInEveryLocale)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Mine/Calendar";
    QDir().mkpath(folder);
    ProfileOptions options;
    options.storeDir = dir.path() + "/Mine";
    for (const QByteArray &name : UserLocaleNames()) {
        const ScopedLocale locale(name);
        for (int year : LocaleTestYears()) {
            for (qint16 startMonth : {1, 7}) {
                const PlannerYear planner(year, startMonth);
                const QDate first = OADate::toDate(planner.PlannerStart());
                const QDate last = OADate::toDate(planner.PlannerEnd());
                SCOPED_TRACE(name.toStdString() + " " + first.toString(Qt::ISODate).toStdString());
                const QList<std::pair<QByteArray, QDate>> days = {{"before", first.addDays(-1)},
                                                                  {"first", first},
                                                                  {"last", last},
                                                                  {"after", last.addDays(1)}};
                for (const auto &[uid, day] : days) {
                    const QByteArray on = day.toString("yyyyMMdd").toLatin1();
                    const QByteArray next = day.addDays(1).toString("yyyyMMdd").toLatin1();
                    WriteAll(folder + "/" + uid + ".ics",
                             Vevent(uid, "SUMMARY:" + uid + "\r\nDTSTART;VALUE=DATE:" + on +
                                             "\r\nDTEND;VALUE=DATE:" + next + "\r\n"));
                }
                const QString text = PlannerRestriction(planner);
                const Restriction parsed = Restriction::parse(text);
                EXPECT_EQ(OADate::toDateTime(parsed.startMax()), QDateTime(last, QTime(23, 59)))
                    << text.toStdString();
                EXPECT_EQ(OADate::toDateTime(parsed.endMin()), QDateTime(first, QTime(0, 0)))
                    << text.toStdString();
                NameSpace session(options);
                ItemsPtr items = session.GetDefaultFolder(9)->Items();
                items->Sort("[Start]");
                items = items->Restrict(text);
                QStringList subjects;
                for (const ItemPtr &item : items->all())
                    subjects << std::dynamic_pointer_cast<AppointmentItem>(item)->Subject();
                EXPECT_EQ(subjects, QStringList({"first", "last"})) << text.toStdString();
            }
        }
    }
}
