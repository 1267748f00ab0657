#include "calendaraccess.h"
#include "planneryear.h"
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
        WriteAll(dir.path() + "/Mine/Calendar/Team/m.ics",
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
              "[Start] <= \"12/31/08 11:59 PM\" AND [End] > \"1/1/08 12:00 AM\"");
    EXPECT_EQ(PlannerRestriction(PlannerYear(2009, 7)),
              "[Start] <= \"6/30/10 11:59 PM\" AND [End] > \"7/1/09 12:00 AM\"");
}
