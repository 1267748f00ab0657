#include "binaryfile.h"
#include "calendarstore.h"
#include "categorystore.h"
#include "filereplacement.h"
#include "filterdate.h"
#include "planner.h"
#include "propertybag.h"
#include "savetypechoice.h"
#include "scripteddialogs.h"
#include "syncher.h"
#include "testsupport.h"
#include "xmldocument.h"
#include "xmlexporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cerrno>

using namespace Store;

namespace {

QByteArray IcsItem(const QByteArray &uid, const QByteArray &summary, const QByteArray &lines)
{
    return Vevent(uid, "SUMMARY:" + summary + "\r\n" + lines);
}

// Whether an independent XML parser takes the file.
bool WellFormed(const QString &file, QString *why = nullptr)
{
    QProcess lint;
    lint.start("xmllint", {"--noout", file});
    lint.waitForFinished(30000);
    if (why)
        *why = QString::fromLocal8Bit(lint.readAllStandardError());
    return lint.exitStatus() == QProcess::NormalExit && lint.exitCode() == 0;
}

// The texts of every element named name, as a reader gets them back.
QStringList TextsOf(const QByteArray &xml, const QString &name)
{
    QXmlStreamReader reader(xml);
    QStringList out;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
            out << reader.readElementText();
    }
    EXPECT_FALSE(reader.hasError()) << qPrintable(reader.errorString());
    return out;
}

class ExportTest : public ::testing::Test
{
protected:
    ExportTest()
    {
        folder = dir.path() + "/Team/Calendar";
        QDir().mkpath(folder);
        // A fixed store identifier keeps the entry identifiers the same wherever the test runs.
        WriteAll(
            dir.path() + "/Team/.quorvel-store",
            "[Store]\nName=Team\nUserName=Ana\nID=0000QSEXPORTTEST00000000000000000000000000\n");
        WriteAll(folder + "/fair.ics",
                 IcsItem("fair", "Trade fair",
                         "CATEGORIES:Work\r\nLOCATION:Hall 4\r\n"
                         "DESCRIPTION:Stand B12\\nBring the banner\r\n"
                         "DTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260313\r\n"));
        WriteAll(folder + "/nocat.ics",
                 IcsItem("nocat", "No category",
                         "DTSTART;VALUE=DATE:20260401\r\nDTEND;VALUE=DATE:20260402\r\n"));
        WriteAll(folder + "/newyear.ics",
                 IcsItem("newyear", "Across the new year",
                         "CATEGORIES:Travel\r\n"
                         "DTSTART;VALUE=DATE:20261230\r\nDTEND;VALUE=DATE:20270103\r\n"));
        WriteAll(folder + "/january.ics",
                 IcsItem("january", "Early January",
                         "CATEGORIES:Travel\r\n"
                         "DTSTART;VALUE=DATE:20260105\r\nDTEND;VALUE=DATE:20260106\r\n"));
        WriteAll(folder + "/december.ics",
                 IcsItem("december", "Late December next year",
                         "CATEGORIES:Work\r\n"
                         "DTSTART;VALUE=DATE:20271220\r\nDTEND;VALUE=DATE:20271221\r\n"));
        options.storeDir = dir.path() + "/Team";
        Store::Application::setSharedOptions(options);
        env = std::make_unique<ScopedEnv>("TMP", QFile::encodeName(dir.path()));
        settings = std::make_unique<ScopedSettingsHome>(dir.path() + "/config");
        saveTable({{"Work", "Travel", "Other"}, {0xFF0000, 0x00FF00, 0xCCCCCC}});
    }
    ~ExportTest() override { Store::Application::setSharedOptions({}); }

    void saveTable(const CategoryTable &table)
    {
        auto session = std::make_shared<NameSpace>(options);
        const FolderPtr f = FolderAtPath(*session, "Team\\Calendar");
        CategoryStore(dialogs, session, f->EntryID(), f->StoreID())
            .SaveCategories(table, "PLEASE IGNORE - Quorvel Category Colours: Export");
    }

    std::unique_ptr<Planner> open(const QVariantMap &more = {})
    {
        auto planner = std::make_unique<Planner>(dialogs);
        planner->setSyncherFactory([this](const Store::ProfileOptions &store) {
            return std::make_unique<Syncher>(dialogs, store);
        });
        planner->create();
        QVariantMap properties{{"Folder", "Team\\Calendar"}, {"TitleName", "Export"}};
        properties.insert(more);
        planner->ReadProperties(MapPropertyBag(properties));
        QElapsedTimer t;
        t.start();
        while (planner->pendingUpdates() > 0 && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return planner;
    }

    QByteArray build(Planner &planner, const ExportRequest &request)
    {
        XmlExporter exporter(planner);
        exporter.setWaitForRebuilds(true);
        return exporter.BuildDocument(request);
    }

    QTemporaryDir dir;
    QString folder;
    Store::ProfileOptions options;
    std::unique_ptr<ScopedEnv> env;
    std::unique_ptr<ScopedSettingsHome> settings;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(ExportTest, TheDocumentByteForByte)
{
    auto planner = open();
    const QByteArray categories = build(*planner, {true, {}, {}});
    EXPECT_EQ(categories, ReadAll(QUORVEL_TEST_DATA "/export/categories-only.xml"));
    const QByteArray year = build(*planner, {false, QDate(2026, 1, 1), QDate(2026, 12, 31)});
    EXPECT_EQ(year, ReadAll(QUORVEL_TEST_DATA "/export/year-2026.xml"));
    EXPECT_FALSE(year.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    EXPECT_TRUE(year.endsWith("</QuorvelData>\r\n"));
    for (const QByteArray &document : {categories, year}) {
        WriteAll(dir.path() + "/check.xml", document);
        QString why;
        EXPECT_TRUE(WellFormed(dir.path() + "/check.xml", &why)) << qPrintable(why);
    }
}

TEST_F(ExportTest, WhatEachRequestWrites)
{
    auto planner = open();
    const int shown = planner->state().year.selectedYear();
    // 1 March to 28 February: both planner years, in full.
    const QByteArray two = build(*planner, {false, QDate(2026, 3, 1), QDate(2027, 2, 28)});
    const QStringList subjects = TextsOf(two, "Subject");
    EXPECT_TRUE(subjects.contains("Early January"));
    EXPECT_TRUE(subjects.contains("Late December next year"));
    EXPECT_EQ(subjects.count("Across the new year"), 2) << "once for each year's cache";
    EXPECT_EQ(planner->state().year.selectedYear(), shown) << "the year shown is shown again";
    EXPECT_TRUE(planner->updater().backgroundTimerEnabled()) << "timed rebuilds go on";
    // A session without timed rebuilds (a tool's) is left without them.
    planner->updater().setBackgroundTimerEnabled(false);
    build(*planner, {false, QDate(2026, 1, 1), QDate(2026, 12, 31)});
    EXPECT_FALSE(planner->updater().backgroundTimerEnabled());
    planner->updater().setBackgroundTimerEnabled(true);
    // The years' rebuilds completed while the export ran: their appointments went to the
    // document, not into the year shown.
    bool lateDecember = false;
    for (const CalEvent &e : *planner->state().store)
        lateDecember |= e.Subject == "Late December next year";
    EXPECT_FALSE(lateDecember);
    EXPECT_GT(planner->state().store->Count(), 0);
    EXPECT_TRUE(TextsOf(two, "Colour").contains("16711680"));

    // Body and location from the calendar; an item gone leaves them empty.
    const QByteArray year = build(*planner, {false, QDate(2026, 6, 1), QDate(2026, 6, 1)});
    EXPECT_TRUE(TextsOf(year, "Body").contains("Stand B12\nBring the banner"));
    EXPECT_TRUE(TextsOf(year, "Location").contains("Hall 4"));
    // The cache still holds it: the export reads the cache as it is, unless it has none yet.
    QFile::remove(folder + "/fair.ics");
    const QByteArray gone =
        XmlExporter(*planner).BuildDocument({false, QDate(2026, 6, 1), QDate(2026, 6, 1)});
    const int fair = int(TextsOf(gone, "Subject").indexOf("Trade fair"));
    ASSERT_GE(fair, 0) << "still in the cache";
    EXPECT_EQ(TextsOf(gone, "Body")[fair], "");
    EXPECT_EQ(TextsOf(gone, "Location")[fair], "");

    // No categories: written without a filter, left out under any.
    EXPECT_TRUE(TextsOf(year, "Subject").contains("No category"));
    planner->filter().SetFilter("Work");
    planner->filter().SetFilterMode(false);
    EXPECT_FALSE(TextsOf(build(*planner, {false, QDate(2026, 6, 1), QDate(2026, 6, 1)}), "Subject")
                     .contains("No category"));
}

TEST_F(ExportTest, AnyTextComesBackFromAnyReader)
{
    const QString hostile = QString::fromUtf8("a]]>b ]]]> c]] > \"quotes\" & <tags> 'apos' "
                                              "Ärger 東京 🎉 end]]");
    const QString controls = QStringLiteral("bell\x07tab\tform\x0C") + QChar(0xFFFE) + "x";
    CategoryTable table{{hostile, "Other"}, {0x123456, 0xCCCCCC}};
    saveTable(table);
    WriteAll(folder + "/hostile.ics",
             IcsItem("hostile", hostile.toUtf8() + " \\, and \\; too",
                     "CATEGORIES:Other\r\nLOCATION:" + hostile.toUtf8() +
                         "\r\nDESCRIPTION:ends ]]> here\\nnext ]]]> line\r\n"
                         "DTSTART;VALUE=DATE:20260701\r\nDTEND;VALUE=DATE:20260702\r\n"));
    auto planner = open();
    QByteArray document = build(*planner, {false, QDate(2026, 1, 1), QDate(2026, 12, 31)});
    WriteAll(dir.path() + "/hostile.xml", document);
    QString why;
    EXPECT_TRUE(WellFormed(dir.path() + "/hostile.xml", &why)) << qPrintable(why);
    EXPECT_EQ(TextsOf(document, "Text")[0], hostile);
    EXPECT_TRUE(TextsOf(document, "Subject").contains(hostile + " , and ; too"));
    EXPECT_TRUE(TextsOf(document, "Location").contains(hostile));
    EXPECT_TRUE(TextsOf(document, "Body").contains("ends ]]> here\nnext ]]]> line"));

    // Characters XML does not allow are left out; everything else comes back.
    XmlDocument alone({{controls}, {1}});
    document = alone.finish();
    WriteAll(dir.path() + "/controls.xml", document);
    EXPECT_TRUE(WellFormed(dir.path() + "/controls.xml", &why)) << qPrintable(why);
    EXPECT_EQ(TextsOf(document, "Text")[0], "belltab\tformx");
    EXPECT_EQ(CdataOf("]]>"), "<![CDATA[]]]]><![CDATA[>]]>");
    EXPECT_EQ(XmlCharacters(QString(QChar(0xD800)) + "a" + QString::fromUtf8("🎉")),
              "a" + QString::fromUtf8("🎉"))
        << "a lone surrogate goes, a pair stays";
}

TEST(XmlDocument, AStreamedDocumentIsTheDocumentBuiltInMemory)
{
    // Enough appointments for the file to take several pieces, with texts that span them.
    const CategoryTable table{{"Work", "Home"}, {0x0000FF, 0x00FF00}};
    QTemporaryDir dir;
    const QString target = dir.filePath("year.xml");
    XmlDocument memory(table);
    FileReplacement file(target);
    XmlDocument streamed(table, &file);
    for (XmlDocument *document : {&memory, &streamed})
        document->beginAppointments();
    for (int i = 0; i < 12000; ++i) {
        const ExportedAppointment a{QStringLiteral("Meeting %1 ]]> Ärger").arg(i),
                                    i % 2 ? "Work" : "Home",
                                    46000.5 + i,
                                    46000.75 + i,
                                    QString(i % 97, QChar(u'x')),
                                    "Room",
                                    QStringLiteral("id%1").arg(i)};
        memory.addAppointment(a);
        streamed.addAppointment(a);
    }
    for (XmlDocument *document : {&memory, &streamed})
        document->endAppointments();
    const QByteArray whole = memory.finish();
    EXPECT_TRUE(streamed.finish().isEmpty()) << "a streamed document is on the disk alone";
    EXPECT_EQ(streamed.size(), whole.size());
    EXPECT_FALSE(QFileInfo::exists(target)) << "nothing in place before the commit";
    ASSERT_EQ(file.commit(), 0);
    EXPECT_EQ(ReadAll(target), whole);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"year.xml"});
}

TEST_F(ExportTest, TheSaveCommandAsks)
{
    auto planner = open();
    XmlExporter exporter(*planner);
    const QString target = dir.path() + "/out/planner.xml";
    QDir().mkpath(dir.path() + "/out");
    WriteAll(target, "an earlier export");
    const int shown = planner->state().year.selectedYear();

    // Cancelled options or file name: nothing happens.
    exporter.ExportXml([](int) { return std::nullopt; });
    exporter.ExportXml([](int) { return ExportRequest{true, {}, {}}; });
    ASSERT_EQ(dialogs.shown().size(), 1);
    const Dialogs::SaveFile &asked = dialogs.shown()[0].saveFile;
    EXPECT_EQ(asked.filter, "Quorvel Data(*.xml)|*.xml|All Files(*.*)|*.*");
    EXPECT_EQ(asked.title, "Save Quorvel Data");
    EXPECT_EQ(asked.defaultExtension, "xml");
    EXPECT_TRUE(asked.overwritePrompt);
    EXPECT_EQ(ReadAll(target), "an earlier export");

    dialogs.clear();
    dialogs.queueFileName(target);
    int askedYear = 0;
    exporter.ExportXml([&](int year) {
        askedYear = year;
        return ExportRequest{false, QDate(2026, 1, 1), QDate(2027, 12, 31)};
    });
    EXPECT_EQ(askedYear, shown);
    EXPECT_EQ(dialogs.texts().last(), "Quorvel Data saved");
    EXPECT_TRUE(TextsOf(ReadAll(target), "Subject").contains("Late December next year"));
    EXPECT_EQ(planner->state().year.selectedYear(), shown);
    EXPECT_TRUE(planner->updater().backgroundTimerEnabled());
    EXPECT_EQ(dialogs.waiting(), 0);
    EXPECT_EQ(QDir(dir.path() + "/out").entryList(QDir::Files), QStringList({"planner.xml"}))
        << "no temporary file left beside it";

    // A file that cannot be written: the file error, then the export's, and nothing lost.
    dialogs.clear();
    dialogs.queueFileName(dir.path() + "/missing/planner.xml");
    exporter.ExportXml([](int) { return ExportRequest{true, {}, {}}; });
    ASSERT_GE(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[dialogs.shown().size() - 2].title, "File Error");
    EXPECT_EQ(dialogs.texts().last(), "Failed to save file.");
    EXPECT_TRUE(planner->updater().backgroundTimerEnabled());

    // A disk that fills or a file system that turns read-only while the document is written:
    // the system's message, the earlier export whole, no temporary file.
    const QByteArray before = ReadAll(target);
    for (const auto &[err, message] : {std::pair{ENOSPC, "The disk is full."},
                                       std::pair{EROFS, "Can't open your file for that type of "
                                                        "access."}}) {
        for (const qint64 after : {qint64(0), before.size() / 2}) {
            dialogs.clear();
            dialogs.queueFileName(target);
            FailWritesAfter(after, err);
            exporter.ExportXml([](int) {
                return ExportRequest{false, QDate(2026, 1, 1), QDate(2026, 12, 31)};
            });
            FailWritesAfter(-1, 0);
            // A background rebuild that meets the same disk meanwhile may say so too.
            const QStringList texts = dialogs.texts();
            EXPECT_TRUE(texts.contains(message)) << qPrintable(texts.join('|'));
            ASSERT_TRUE(texts.contains("Failed to save file.")) << qPrintable(texts.join('|'));
            EXPECT_LT(texts.indexOf(message), texts.indexOf("Failed to save file."));
            EXPECT_EQ(ReadAll(target), before);
            EXPECT_EQ(QDir(dir.path() + "/out").entryList(QDir::Files | QDir::Hidden),
                      QStringList({"planner.xml"}));
        }
    }
}

TEST(SaveTypeChoice, DefaultsAndTheOkRule)
{
    for (const QByteArray &name : UserLocaleNames()) {
        const ScopedLocale locale(name);
        for (int year : LocaleTestYears()) {
            SCOPED_TRACE(name.toStdString() + " " + std::to_string(year));
            SaveTypeChoice choice(year);
            EXPECT_EQ(choice.fromText(), FormatFilterDate(QDate(year, 1, 1))) << "four-digit years";
            EXPECT_EQ(DateOfText(choice.fromText()), QDate(year, 1, 1));
            EXPECT_EQ(DateOfText(choice.toText()), QDate(year, 12, 31));
            EXPECT_TRUE(choice.okEnabled()) << "the defaults are dates in every locale";
            EXPECT_TRUE(choice.okHint().isEmpty());
            // What a person types: the locale's own short form, and ISO. A two-digit year is
            // the one nearest today's.
            choice.setFromText(QLocale().toString(QDate(year, 3, 1), QLocale::ShortFormat));
            choice.setToText(QString::number(year) + "-06-30");
            const bool twoDigits = !QLocale().dateFormat(QLocale::ShortFormat).contains("yyyy");
            const int typedYear =
                twoDigits ? NearestYear(year % 100, QDate::currentDate().year()) : year;
            EXPECT_EQ(choice.request().from, QDate(typedYear, 3, 1));
            EXPECT_EQ(choice.request().to, QDate(year, 6, 30));
            choice.setToText("31/13/2026");
            EXPECT_FALSE(choice.okEnabled());
            EXPECT_TRUE(choice.okHint().startsWith("\"31/13/2026\" is not a day."))
                << choice.okHint().toStdString();
            EXPECT_TRUE(choice.okHint().contains(FormatFilterDate(QDate(year, 12, 31))));
            choice.setCategoriesOnly(true);
            EXPECT_TRUE(choice.okEnabled()) << "the dates are not needed";
            EXPECT_TRUE(choice.okHint().isEmpty());
            EXPECT_FALSE(choice.request().from.isValid());
        }
    }
    SaveTypeChoice empty(2026);
    empty.setFromText(" ");
    EXPECT_EQ(empty.okHint(),
              "The first day is missing. Type days as 12/31/2026, 12/31/26 or 2026-12-31.");
}

// The tool reads its range as a person types it in the locales of two-digit years, and writes
// the appointments of a year past 2029.
TEST(ExportTool, RangesInTheLocalesOfTwoDigitYears)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Team/Calendar"));
    WriteAll(
        dir.filePath("Team/Calendar/a.ics"),
        Vevent("a",
               "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20310310\r\nDTEND;VALUE=DATE:20310311\r\n"));
    struct Row
    {
        const char *lang;
        QString from, to;
    } rows[] = {
        {"en_US.UTF-8", "2031-01-01", "2031-12-31"},
        {"en_US.UTF-8", "1/1/2031", "12/31/31"},
        {"de_DE.UTF-8", "01.01.31", "31.12.2031"},
        {"ja_JP.UTF-8", "2031/01/01", "2031/12/31"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.lang) + " " + row.from.toStdString());
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMP", dir.path());
        env.remove("LC_ALL");
        env.insert("LANG", row.lang);
        tool.setProcessEnvironment(env);
        const QString xml = dir.filePath("year.xml");
        QFile::remove(xml);
        tool.start(QUORVEL_EXPORT,
                   {"--store", dir.filePath("Team"), "--from", row.from, "--to", row.to, xml});
        tool.waitForFinished(60000);
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        EXPECT_EQ(TextsOf(ReadAll(xml), "Subject"), QStringList{"Fair"});
    }
}

TEST(ExportTool, ExitsZeroOnlyWhenItWrote)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Team/Calendar"));
    WriteAll(
        dir.filePath("Team/Calendar/a.ics"),
        Vevent("a",
               "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260311\r\n"));
    auto run = [&](const QStringList &args) {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMP", dir.path());
        tool.setProcessEnvironment(env);
        tool.start(QUORVEL_EXPORT, QStringList{"--store", dir.filePath("Team")} + args);
        tool.waitForFinished(60000);
        return tool.exitCode();
    };
    EXPECT_EQ(run({"--from", "2026-01-01", "--to", "2026-12-31", dir.filePath("year.xml")}), 0);
    EXPECT_TRUE(TextsOf(ReadAll(dir.filePath("year.xml")), "Subject").contains("Fair"));
    EXPECT_TRUE(WellFormed(dir.filePath("year.xml")));
    EXPECT_EQ(run({"--categories-only", dir.filePath("no/such/dir/x.xml")}), 1);
    EXPECT_EQ(run({"--folder", "Team\\Nowhere", "--categories-only", dir.filePath("x.xml")}), 1);
    EXPECT_EQ(run({"--from", "2026-13-01", "--to", "2026-12-31", dir.filePath("x.xml")}), 2);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x.xml")));
}

// A year whose cache cannot be read fails the export: it never stands in with the year read
// before it, nor writes a file that lacks it.
TEST_F(ExportTest, AYearWhoseCacheCannotBeReadFailsTheExport)
{
    auto planner = open();
    planner->selectYear(2027);
    const QString unreadable = planner->cacheFiles().cacheFile;
    planner->selectYear(2026);
    QFile::remove(unreadable);
    ASSERT_TRUE(QDir().mkpath(unreadable)) << "a directory where the cache should be";
    const QString target = dir.path() + "/planner.xml";
    dialogs.queueFileName(target);
    XmlExporter(*planner).ExportXml([](int) {
        return ExportRequest{false, QDate(2026, 1, 1), QDate(2027, 12, 31)};
    });
    const QStringList texts = dialogs.texts();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const QString &t) {
        return t.startsWith("Error whilst performing Export");
    })) << qPrintable(texts.join('|'));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(planner->state().year.selectedYear(), 2026);
}
