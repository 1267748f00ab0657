#include "testsupport.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int code;
    QString out, err;
};

// quorvel-render on the store dir/Team in 2026, with dir for its cache and settings.
ToolRun RunRender(const QTemporaryDir &dir, const QStringList &args)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMP", dir.path());
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    tool.setProcessEnvironment(env);
    tool.start(QUORVEL_RENDER,
               QStringList{"--store", dir.filePath("Team"), "--year", "2026"} + args);
    tool.waitForFinished(60000);
    return ToolRun{tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
                   QString::fromUtf8(tool.readAllStandardError())};
}

} // namespace

// quorvel-render --pages: the printed pages of a store's year, as the preview lays them out
// with the stored print settings, and an exit code that tells whether they were written.
TEST(RenderPages, PrintsTheYearIntoAPdf)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Team/Calendar"));
    WriteAll(dir.filePath("Team/.quorvel-store"), "[Store]\nName=Team\nUserName=Ana\n");
    WriteAll(
        dir.filePath("Team/Calendar/fair.ics"),
        Vevent("fair",
               "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260313\r\n"));
    const QString settings = dir.filePath("config/Rudi Zuvevid/Rudi Zuvevid.ini");
    const auto run = [&](const QStringList &args) { return RunRender(dir, args); };

    const QString pdf = dir.filePath("pages.pdf");
    ToolRun r = run({"--pages", pdf});
    EXPECT_EQ(r.code, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.contains("1 pages (Landscape A4, 210 x 297 mm)")) << qPrintable(r.out);
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
    EXPECT_EQ(QSettings(settings, QSettings::IniFormat).value("Printing/EndMonth").toString(),
              "12");

    r = run({"--pages", pdf, "--paper", "8", "--orientation", "portrait"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains("(Portrait A3, 297 x 420 mm)")) << qPrintable(r.out);

    // The stored settings split the year; a month taller than a page is a failure.
    {
        QSettings s(settings, QSettings::IniFormat);
        s.setValue("Printing/Band Height", "567");
        s.setValue("Printing/Bands", "40");
    }
    QFile::remove(pdf);
    r = run({"--pages", pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Events for January will not all fit onto the page"))
        << qPrintable(r.err);
    EXPECT_FALSE(QFile::exists(pdf));
    {
        QSettings s(settings, QSettings::IniFormat);
        s.setValue("Printing/Bands", "3");
    }
    r = run({"--pages", pdf});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains("4 pages")) << qPrintable(r.out);

    EXPECT_EQ(run({"--pages", pdf, "--paper", "9999"}).code, 2);
    EXPECT_EQ(run({"--pages", dir.filePath("no/such/dir/p.pdf")}).code, 1);
    EXPECT_EQ(run({"--pages", pdf, "extra.png"}).code, 2);
}

// Pages, a year picture and a year PDF onto a file system that is full: the tool fails saying
// so, and the files written there before stay whole.
TEST(RenderPages, AFullDiskKeepsTheFilesThereWhole)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Team/Calendar"));
    WriteAll(
        dir.filePath("Team/Calendar/fair.ics"),
        Vevent("fair",
               "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260313\r\n"));
    const QString full = dir.filePath("full");
    QDir().mkpath(full);
    const QMap<QString, QByteArray> before{{"pages.pdf", "%PDF an earlier print"},
                                           {"year.png", "an earlier picture"},
                                           {"year.pdf", "%PDF an earlier year"}};
    const FullFileSystem filled(full, before);
    if (!filled.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    for (const QStringList &args :
         {QStringList{"--pages", full + "/pages.pdf"}, QStringList{full + "/year.png"},
          QStringList{full + "/year.pdf"}}) {
        SCOPED_TRACE(qPrintable(args.join(' ')));
        const ToolRun r = RunRender(dir, args);
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains("Disk full")) << qPrintable(r.err);
        EXPECT_EQ(filled.files(), before);
    }
}
