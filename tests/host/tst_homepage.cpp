#include "homepage.h"
#include "testsupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(HomePage, TheFramePageNamesThePlannerPageWhoseParametersAreTheProperties)
{
    QTemporaryDir dir;
    // As the installer deploys them for the title "Team O'Brien & Co".
    WriteAll(dir.filePath("TeamFrame.htm"), "<html><frameset rows=\"100%\"><frame src=\"Team.htm\" "
                                            "name=\"planner\"></frameset></html>");
    WriteAll(dir.filePath("Team.htm"),
             "<object id=\"YearPlan\" classid=\"clsid:0\">\n"
             "  <param name=\"TitleName\" value=\"Team O'Brien &amp; Co\">\n"
             "  <PARAM NAME=\"Folder\" VALUE=\"Personal Folders\\Calendar\\Team\">\n"
             "  <param name=\"AllEvents\" value=\"True\">\n"
             "  <param name=\"StartMonth\" value=\"9\">\n"
             "</object>");
    MapPropertyBag bag;
    ASSERT_TRUE(ReadHomePage("file:" + dir.filePath("TeamFrame.htm"), bag));
    EXPECT_EQ(bag.ReadProperty("TitleName", "Default").toString(), "Team O'Brien & Co");
    EXPECT_EQ(bag.ReadProperty("Folder", "").toString(), "Personal Folders\\Calendar\\Team");
    EXPECT_TRUE(bag.ReadProperty("AllEvents", false).toBool());
    EXPECT_FALSE(bag.ReadProperty("DisplaySubject", false).toBool()) << "absent: the default";
    EXPECT_EQ(bag.ReadProperty("StartMonth", 1).toInt(), 9);

    // A planner page whose name has spaces, an apostrophe and an ampersand, as a title gives it.
    WriteAll(dir.filePath("O'Brien & Sons.htm"),
             "<object><param name=\"TitleName\" value=\"O&#39;Brien &amp; Sons\"></object>");
    for (const char *frame : {"<iframe src=\"O&#39;Brien &amp; Sons.htm\"></iframe>",
                              "<iframe style=\"border:0\" src='O&#39;Brien &amp; Sons.htm'>"}) {
        WriteAll(dir.filePath("OFrame.htm"), frame);
        MapPropertyBag named;
        ASSERT_TRUE(ReadHomePage("file:" + dir.filePath("OFrame.htm"), named)) << frame;
        EXPECT_EQ(named.ReadProperty("TitleName", "").toString(), "O'Brien & Sons");
    }

    MapPropertyBag untouched;
    EXPECT_FALSE(ReadHomePage(dir.filePath("missing.htm"), untouched));
    WriteAll(dir.filePath("NoFrame.htm"), "<html>nothing here</html>");
    EXPECT_FALSE(ReadHomePage(dir.filePath("NoFrame.htm"), untouched));
}

TEST(HomePage, APageThatIsNoFileIsRefusedAtOnce)
{
    // A folder's home page or a frame's source is anyone's choice in a shared folder: a device
    // without end, or a pipe nobody writes to, would fill memory or wait forever.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.htm");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    WriteAll(dir.filePath("big.htm"), "<object><param name=\"TitleName\" value=\"Big\">" +
                                          QByteArray(5 << 20, ' ') + "</object>");
    for (const QString &page : {QString("/dev/zero"), fifo, dir.filePath("big.htm")}) {
        MapPropertyBag bag;
        EXPECT_FALSE(ReadHomePage("file:" + page, bag)) << qPrintable(page);
        WriteAll(dir.filePath("Frame.htm"), "<frame src=\"" + page.toUtf8() + "\">");
        EXPECT_FALSE(ReadHomePage("file:" + dir.filePath("Frame.htm"), bag)) << qPrintable(page);
        EXPECT_TRUE(bag.ReadProperty("TitleName", "none").toString() == "none");
    }
}
