#include "calendarstore.h"
#include "categorystore.h"
#include "icalitem_p.h"
#include "oadate.h"
#include "plannerstate.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <libical/ical.h>

#include <gtest/gtest.h>

#include <iostream>

// A team's calendar through a real CalDAV server: Radicale on the loopback, and vdirsyncer
// keeping two members' stores in step with it. What one member sets up (categories with their
// colours, appointments) reaches the other's planner whole, and the other's changes come back.

using namespace Store;

namespace {

const QString kTitle = QStringLiteral("Team");
const QString kTableSubject = QStringLiteral("PLEASE IGNORE - Quorvel Category Colours: Team");

struct ProgramRun
{
    int code = -1;
    QString out, err;
};

ProgramRun Program(const QString &program, const QStringList &args,
                   const QString &input = QString())
{
    QProcess p;
    p.start(program, args);
    if (!input.isEmpty()) {
        p.write(input.toUtf8());
        p.closeWriteChannel();
    }
    if (!p.waitForFinished(120000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Every property of an item's events but the stamps a server or client may renew, as text:
// what must survive a trip through the server.
QStringList Fingerprint(const IcalItem &item)
{
    QStringList lines;
    for (icalcomponent *e =
             icalcomponent_get_first_component(item.calendar(), ICAL_VEVENT_COMPONENT);
         e; e = icalcomponent_get_next_component(item.calendar(), ICAL_VEVENT_COMPONENT)) {
        for (icalproperty *p = icalcomponent_get_first_property(e, ICAL_ANY_PROPERTY); p;
             p = icalcomponent_get_next_property(e, ICAL_ANY_PROPERTY)) {
            const icalproperty_kind kind = icalproperty_isa(p);
            if (kind == ICAL_DTSTAMP_PROPERTY || kind == ICAL_LASTMODIFIED_PROPERTY ||
                kind == ICAL_CREATED_PROPERTY)
                continue;
            // A server may write the parameters in another order: they count as a set.
            QStringList params;
            for (icalparameter *q = icalproperty_get_first_parameter(p, ICAL_ANY_PARAMETER); q;
                 q = icalproperty_get_next_parameter(p, ICAL_ANY_PARAMETER)) {
                char *param = icalparameter_as_ical_string_r(q);
                params << QString::fromUtf8(param);
                icalmemory_free_buffer(param);
            }
            params.sort();
            char *value = icalproperty_get_value_as_string_r(p);
            lines << QString::fromUtf8(icalproperty_get_property_name(p)) + ";" + params.join(';') +
                         ":" + QString::fromUtf8(value);
            icalmemory_free_buffer(value);
        }
    }
    lines.sort();
    return lines;
}

// The items of a folder directory by UID.
QMap<QString, QStringList> ItemsOf(const QString &folder)
{
    QMap<QString, QStringList> items;
    for (const QString &name : QDir(folder).entryList({"*.ics"}, QDir::Files)) {
        QString problem;
        const auto item = IcalItem::parse(ReadAll(folder + "/" + name), &problem);
        EXPECT_TRUE(item) << qPrintable(name) << ": " << qPrintable(problem);
        if (item)
            items.insert(item->uid(), Fingerprint(*item));
    }
    return items;
}

// Where two folders' items differ: each UID's properties that only one side has.
QString Differences(const QMap<QString, QStringList> &a, const QMap<QString, QStringList> &b)
{
    QStringList out;
    for (const QString &uid :
         QSet<QString>(a.keyBegin(), a.keyEnd()) | QSet<QString>(b.keyBegin(), b.keyEnd())) {
        const QStringList before = a.value(uid), after = b.value(uid);
        const QSet<QString> x(before.begin(), before.end()), y(after.begin(), after.end());
        for (const QString &only : x - y)
            out << uid + " only before: " + only;
        for (const QString &only : y - x)
            out << uid + " only after:  " + only;
    }
    return out.join('\n');
}

// Radicale on a free port of the loopback, its collections under dir, with the given [auth] and
// [rights] sections.
class LocalRadicale
{
public:
    ~LocalRadicale()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    bool start(const QString &program, const QTemporaryDir &dir, const QString &access)
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost))
            return false;
        port = probe.serverPort();
        probe.close();
        WriteAll(dir.filePath("radicale.conf"),
                 QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%2"
                                "[storage]\nfilesystem_folder = %3\n[logging]\nlevel = warning\n")
                     .arg(port)
                     .arg(access, dir.filePath("collections"))
                     .toUtf8());
        m_process.start(program, {"--config", dir.filePath("radicale.conf")});
        return m_process.waitForStarted();
    }
    // The status of verb on path as user:password, asked again until the server answers; 0
    // when it never does.
    int answer(const QByteArray &verb, const QString &path, const QByteArray &credentials)
    {
        QNetworkAccessManager net;
        QNetworkRequest r(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path)));
        r.setRawHeader("Authorization", "Basic " + credentials.toBase64());
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000) {
            QNetworkReply *reply = net.sendCustomRequest(r, verb);
            QEventLoop loop;
            QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            reply->deleteLater();
            if (status != 0)
                return status;
            QThread::msleep(100);
        }
        return 0;
    }

    quint16 port = 0;

private:
    QProcess m_process;
};

// The server and the sync tool the CalDAV tests run, skipped where they are not installed.
class CalDavTools : public ::testing::Test
{
protected:
    void SetUp() override
    {
        radicale = QStandardPaths::findExecutable("radicale");
        vdirsyncer = QStandardPaths::findExecutable("vdirsyncer");
        if (radicale.isEmpty() || vdirsyncer.isEmpty())
            GTEST_SKIP()
                << "radicale and vdirsyncer are not installed (scripts/setup installs them)";
    }

    QString radicale, vdirsyncer;
};

class CalDavTest : public CalDavTools
{
protected:
    void SetUp() override
    {
        CalDavTools::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(
            server.start(radicale, dir, "[auth]\ntype = none\n[rights]\ntype = authenticated\n"));
        ASSERT_EQ(server.answer("MKCALENDAR", "/team/calendar/", "team:team"), 201)
            << "the team's calendar on the server";
        for (const QString member : {"A", "B"}) {
            QDir().mkpath(dir.filePath(member + "/Calendar"));
            WriteAll(dir.filePath(member + "/.quorvel-store"),
                     "[Store]\nName=Team\nUserName=" + member.toUtf8() + "\n");
            WriteAll(
                dir.filePath("vdirsyncer-" + member),
                QStringLiteral(
                    "[general]\nstatus_path = \"%1\"\n[pair team]\na = \"local\"\nb = \"server\"\n"
                    "collections = null\nconflict_resolution = \"a wins\"\n"
                    "[storage local]\ntype = \"filesystem\"\npath = \"%2\"\nfileext = \".ics\"\n"
                    "[storage server]\ntype = \"caldav\"\nurl = "
                    "\"http://127.0.0.1:%3/team/calendar/\"\n"
                    "username = \"team\"\npassword = \"team\"\n")
                    .arg(dir.filePath("status-" + member), folder(member))
                    .arg(server.port)
                    .toUtf8());
            const ProgramRun discover =
                Program(vdirsyncer, {"-c", dir.filePath("vdirsyncer-" + member), "discover"});
            ASSERT_EQ(discover.code, 0) << qPrintable(discover.err);
        }
    }
    QString folder(const QString &member) const { return dir.filePath(member + "/Calendar"); }
    NameSpacePtr session(const QString &member) const
    {
        ProfileOptions o;
        o.storeDir = dir.filePath(member);
        return std::make_shared<NameSpace>(o);
    }
    // A member's calendar synchronised with the server; the lines vdirsyncer printed.
    QStringList sync(const QString &member)
    {
        const ProgramRun r =
            Program(vdirsyncer, {"-c", dir.filePath("vdirsyncer-" + member), "sync"});
        EXPECT_EQ(r.code, 0) << qPrintable(r.err);
        return (r.out + r.err).split('\n', Qt::SkipEmptyParts);
    }
    static int count(const QStringList &lines, const QString &what)
    {
        int n = 0;
        for (const QString &l : lines)
            n += l.contains(what);
        return n;
    }
    void saveTable(const QString &member, const CategoryTable &table)
    {
        const NameSpacePtr s = session(member);
        const FolderPtr f = FolderAtPath(*s, "Team\\Calendar");
        CategoryStore(dialogs, s, f->EntryID(), f->StoreID()).SaveCategories(table, kTableSubject);
    }
    CategoryTable readTable(const QString &member)
    {
        const NameSpacePtr s = session(member);
        const FolderPtr f = FolderAtPath(*s, "Team\\Calendar");
        CategoryTable table;
        EXPECT_TRUE(CategoryStore(dialogs, s, f->EntryID(), f->StoreID())
                        .ReadCategoryStore(table, kTableSubject));
        return table;
    }

    QTemporaryDir dir;
    LocalRadicale server;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(CalDavTest, ATeamsCategoriesAndAppointmentsTravelBothWays)
{
    // A sets up the team's categories, recolours one, and makes appointments.
    CategoryTable table{{"Sales, EMEA", "R&D; Labs", QString::fromUtf8("Überstunden ☕"), "Other"},
                        {0x2040E0, 0x40A020, 0xC08030, 0xCCCCCC}};
    saveTable("A", table);
    table.colours[1] = 0x1010F0; // R&D; Labs turns red
    saveTable("A", table);
    {
        const NameSpacePtr s = session("A");
        const FolderPtr f = FolderAtPath(*s, "Team\\Calendar");
        const struct
        {
            const char *subject;
            QString categories;
            int month, day, days;
        } made[] = {
            {"Trade fair, Hall 3; stand B", "Sales, EMEA", 3, 10, 3},
            {"Lab week", "R&D; Labs", 5, 4, 5},
            {"Inventur", QString::fromUtf8("Überstunden ☕"), 7, 13, 2},
            {"Board", "Sales, EMEA, R&D; Labs", 9, 21, 1},
            {"Offsite", QString(), 11, 2, 2},
        };
        for (const auto &m : made) {
            const AppointmentItemPtr a = f->Items()->Add();
            a->setSubject(QString::fromUtf8(m.subject));
            a->setCategories(m.categories.isEmpty() ? QString() : m.categories);
            a->setAllDayEvent(true);
            a->setStart(OADate::fromDateTime(QDate(2026, m.month, m.day)));
            a->setEnd(OADate::fromDateTime(QDate(2026, m.month, m.day + m.days)));
            a->setBody(QStringLiteral("Notes: one, two; three\nsecond line \\ with a backslash"));
            a->setLocation(QString::fromUtf8("Köln, Messe"));
            a->Save();
        }
    }
    const QMap<QString, QStringList> fromA = ItemsOf(folder("A"));
    ASSERT_EQ(fromA.size(), 6) << "five appointments and the category table";

    const QStringList up = sync("A");
    const QStringList down = sync("B");
    std::cout << "A to the server: " << count(up, "to server")
              << " items; the server to B: " << count(down, "to local") << " items, "
              << table.names.size() << " categories" << std::endl;
    EXPECT_EQ(count(up, "to server"), 6) << qPrintable(up.join('\n'));
    EXPECT_EQ(count(down, "to local"), 6) << qPrintable(down.join('\n'));

    // B holds every item with its UID and text, and the table as A left it.
    EXPECT_EQ(Differences(fromA, ItemsOf(folder("B"))), "");
    const CategoryTable atB = readTable("B");
    EXPECT_EQ(atB.names, table.names);
    EXPECT_EQ(atB.colours, table.colours);
    const ProgramRun categories = Program(
        QUORVEL_LIST, {"--store", dir.filePath("B"), "--categories", kTitle, "Team\\Calendar"});
    EXPECT_EQ(categories.out.split('\n', Qt::SkipEmptyParts),
              (QStringList{"Sales, EMEA|" + QString::number(0x2040E0),
                           "R&D; Labs|" + QString::number(0x1010F0),
                           QString::fromUtf8("Überstunden ☕|") + QString::number(0xC08030),
                           "Other|" + QString::number(0xCCCCCC)}))
        << qPrintable(categories.err);

    // B's planner draws B's copy in A's colours: the recoloured category's red is on the year.
    const QString png = dir.filePath("b-year.png");
    const ProgramRun drawn =
        Program(QUORVEL_RENDER, {"--store", dir.filePath("B"), "--folder", "Team\\Calendar",
                                 "--title", kTitle, "--year", "2026", "--subjects", png});
    ASSERT_EQ(drawn.code, 0) << qPrintable(drawn.err);
    const QImage year(png);
    int red = 0;
    for (int y = 0; y < year.height(); ++y)
        for (int x = 0; x < year.width(); ++x)
            red += year.pixel(x, y) == qRgb(0xF0, 0x10, 0x10);
    EXPECT_GT(red, 100) << "the Lab week's bar in A's new colour";

    // B edits: a new subject and another category; both sync; A sees the change.
    {
        const NameSpacePtr s = session("B");
        const FolderPtr f = FolderAtPath(*s, "Team\\Calendar");
        for (const ItemPtr &item : f->Items()->all()) {
            const AppointmentItemPtr a = AppointmentOf(item);
            if (a && a->Subject() == QLatin1String("Lab week")) {
                a->setSubject(QStringLiteral("Lab week (moved to hall 2)"));
                a->setCategories(QString::fromUtf8("R&D; Labs, Überstunden ☕"));
                a->Save();
            }
        }
    }
    const QMap<QString, QStringList> fromB = ItemsOf(folder("B"));
    const QStringList back = sync("B");
    const QStringList atA = sync("A");
    std::cout << "B to the server: " << count(back, "to server")
              << " items changed; the server to A: " << count(atA, "to local") << std::endl;
    EXPECT_EQ(count(back, "to server"), 1) << qPrintable(back.join('\n'));
    EXPECT_EQ(count(atA, "to local"), 1) << qPrintable(atA.join('\n'));
    EXPECT_EQ(Differences(fromB, ItemsOf(folder("A"))), "") << "nothing lost on either side";
    const ProgramRun listed = Program(
        QUORVEL_LIST, {"--store", dir.filePath("A"), "Team\\Calendar", "2026-05-01", "2026-05-31"});
    EXPECT_TRUE(listed.out.contains(
        QString::fromUtf8("Lab week (moved to hall 2)\tR&D; Labs, Überstunden ☕")))
        << qPrintable(listed.out);
}

namespace {

// A team on a server that asks for a password: each member connects with the installer, as a
// user would, and works in the calendars the connection keeps, without a profile of Quorvel's.
class CalDavConnectTest : public CalDavTools
{
protected:
    void SetUp() override
    {
        CalDavTools::SetUp();
        if (IsSkipped())
            return;
        WriteAll(dir.filePath("users"), "team:s3cret, with a comma\n");
        WriteAll(dir.filePath("password"), "s3cret, with a comma\n");
        ASSERT_TRUE(server.start(radicale, dir,
                                 QStringLiteral("[auth]\ntype = htpasswd\nhtpasswd_filename = %1\n"
                                                "htpasswd_encryption = plain\n"
                                                "[rights]\ntype = owner_only\n")
                                     .arg(dir.filePath("users"))));
        ASSERT_EQ(server.answer("MKCALENDAR", "/team/calendar/", "team:s3cret, with a comma"), 201)
            << "the team's calendar on the server";
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(server.port); }
    // A member's own home: configuration and data, and no profile of Quorvel's.
    QProcessEnvironment home(const QString &member) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath(member + "/config"));
        env.insert("XDG_DATA_HOME", dir.filePath(member + "/data"));
        env.insert("VDIRSYNCER_CONFIG", dir.filePath(member + "/config/vdirsyncer/config"));
        env.insert("TMP", dir.filePath(member + "/tmp"));
        QDir().mkpath(dir.filePath(member + "/tmp"));
        return env;
    }
    ProgramRun as(const QString &member, const QString &program, const QStringList &args)
    {
        QProcess p;
        p.setProcessEnvironment(home(member));
        p.start(program, args);
        if (!p.waitForFinished(120000))
            p.kill();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    ProgramRun connect(const QString &member, const QString &user = "team")
    {
        return as(member, QUORVEL_SETUP,
                  {"--caldav", url(), "--user", user, "--password-command",
                   "cat " + dir.filePath("password")});
    }
    QStringList sync(const QString &member)
    {
        const ProgramRun r = as(member, vdirsyncer, {"sync"});
        EXPECT_EQ(r.code, 0) << qPrintable(r.out + r.err);
        return (r.out + r.err).split('\n', Qt::SkipEmptyParts);
    }
    // The member's copy of the team calendar, through the store.
    QString calendarDir(const QString &member) const
    {
        return dir.filePath(member + "/data/quorvel/caldav/" + kAccount + "/calendar");
    }
    NameSpacePtr session(const QString &member) const
    {
        ProfileOptions o;
        o.storeDir = QFileInfo(calendarDir(member)).path();
        return std::make_shared<NameSpace>(o);
    }
    FolderPtr folder(const QString &member) const
    {
        return FolderAtPath(*session(member), kAccount + "\\calendar");
    }
    void saveTable(const QString &member, const CategoryTable &table)
    {
        const FolderPtr f = folder(member);
        CategoryStore(dialogs, session(member), f->EntryID(), f->StoreID())
            .SaveCategories(table, kTableSubject);
    }
    CategoryTable readTable(const QString &member)
    {
        const FolderPtr f = folder(member);
        CategoryTable table;
        EXPECT_TRUE(CategoryStore(dialogs, session(member), f->EntryID(), f->StoreID())
                        .ReadCategoryStore(table, kTableSubject));
        return table;
    }
    QStringList subjects(const QString &member)
    {
        QStringList out;
        for (const ItemPtr &item : folder(member)->Items()->all()) {
            if (const AppointmentItemPtr a = AppointmentOf(item))
                out << a->Subject();
        }
        out.sort();
        return out;
    }

    const QString kAccount = QStringLiteral("quorvel_127_0_0_1_team");
    QTemporaryDir dir;
    LocalRadicale server;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(CalDavConnectTest, MembersConnectSeeEachOthersWorkAndKeepBothOfTheirEdits)
{
    // A wrong password is said in words, and nothing is half set up.
    WriteAll(dir.filePath("wrong"), "guess\n");
    const ProgramRun refused = as("A", QUORVEL_SETUP,
                                  {"--caldav", url(), "--user", "team", "--password-command",
                                   "cat " + dir.filePath("wrong")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("The server refused the user name or password of team."))
        << qPrintable(refused.out + refused.err);

    for (const QString member : {"A", "B"}) {
        const ProgramRun r = connect(member);
        std::cout << "member " << qPrintable(member) << " connects:\n"
                  << qPrintable(r.out) << qPrintable(r.err) << std::endl;
        ASSERT_EQ(r.code, 0) << qPrintable(r.out + r.err);
        EXPECT_TRUE(r.out.contains("Connected")) << qPrintable(r.out);
        const QString config = ReadAll(dir.filePath(member + "/config/vdirsyncer/config"));
        EXPECT_FALSE(config.contains("s3cret")) << "the password is never written down";
        EXPECT_TRUE(QFileInfo(calendarDir(member)).isDir()) << qPrintable(config);
        const QSettings host(dir.filePath(member + "/config/Quorvel/Quorvel.conf"),
                             QSettings::IniFormat);
        EXPECT_EQ(QDir(host.value("Host/calendar").toString()), QDir(calendarDir(member)))
            << "the planner opens the account's calendar next: " << qPrintable(r.out);
    }
    // Connecting again replaces the account's sections rather than adding a second set.
    ASSERT_EQ(connect("A").code, 0);
    EXPECT_EQ(ReadAll(dir.filePath("A/config/vdirsyncer/config")).count("[pair "), 1);

    // A sets up the team's colours and an appointment; B's planner shows them, found with no
    // profile and no --store.
    saveTable("A", {{"Work", "Home"}, {0x2040E0, 0x40A020}});
    {
        const AppointmentItemPtr a = folder("A")->Items()->Add();
        a->setSubject("Fair");
        a->setCategories("Work");
        a->setAllDayEvent(true);
        a->setStart(OADate::fromDateTime(QDate(2026, 3, 10)));
        a->setEnd(OADate::fromDateTime(QDate(2026, 3, 13)));
        a->Save();
    }
    sync("A");
    sync("B");
    const QString folderPath = kAccount + "\\calendar";
    const ProgramRun listed = as("B", QUORVEL_LIST, {folderPath, "2026-01-01", "2026-12-31"});
    EXPECT_TRUE(listed.out.contains("Fair\tWork")) << qPrintable(listed.out + listed.err);
    const ProgramRun colours = as("B", QUORVEL_LIST, {"--categories", kTitle, folderPath});
    EXPECT_EQ(
        colours.out.split('\n', Qt::SkipEmptyParts),
        (QStringList{"Work|" + QString::number(0x2040E0), "Home|" + QString::number(0x40A020)}))
        << qPrintable(colours.out + colours.err);

    // Both change the table and the appointment before either synchronises.
    saveTable("A", {{"Work", "Home", "Sales"}, {0x2040E0, 0x40A020, 0x0000FF}});
    QThread::sleep(1); // B's changes are the later ones
    saveTable("B", {{"Work", "Home", "Travel"}, {0x2040E0, 0x40A020, 0x00FF00}});
    for (const auto &[member, subject] :
         {std::pair<QString, QString>{"A", "Fair, hall 3"}, {"B", "Fair, hall 4"}}) {
        for (const ItemPtr &item : folder(member)->Items()->all()) {
            if (const AppointmentItemPtr a = AppointmentOf(item)) {
                a->setSubject(subject);
                a->Save();
            }
        }
        QThread::sleep(1);
    }
    sync("A");
    const QStringList settled = sync("B");
    // The copy made while B settled travels with B's next synchronisation, as the timer's.
    sync("B");
    sync("A");
    std::cout << "both edited at once; B's synchronisation:\n"
              << qPrintable(settled.join('\n')) << std::endl;
    for (const QString member : {"A", "B"}) {
        SCOPED_TRACE(qPrintable(member));
        const CategoryTable table = readTable(member);
        EXPECT_EQ(table.names, (QStringList{"Work", "Home", "Travel", "Sales"}))
            << "each member's new category kept";
        EXPECT_EQ(table.colours.value(3), 0x0000FFu);
        EXPECT_EQ(subjects(member),
                  (QStringList{"Fair, hall 3 (conflicting copy)", "Fair, hall 4"}))
            << "the later edit kept, the earlier one as a copy";
    }
}

TEST_F(CalDavConnectTest, AnExistingDirectoryIsNeverUploadedAndLookAlikeUsersStayApart)
{
    // A private diary where the account's calendars would go: discovery would make each of its
    // directories a calendar on the server.
    const QString diary = dir.filePath("A/diary");
    QDir().mkpath(diary + "/private");
    WriteAll(diary + "/private/secret.ics",
             Vevent("secret", "SUMMARY:Secret\r\nDTSTART;VALUE=DATE:20260101\r\n"));
    const QStringList args = {"--caldav",
                              url(),
                              "--user",
                              "team",
                              "--password-command",
                              "cat " + dir.filePath("password"),
                              "--collections",
                              diary};
    const ProgramRun refused = as("A", QUORVEL_SETUP, args);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(diary + " holds files already")) << qPrintable(refused.err);
    EXPECT_EQ(server.answer("PROPFIND", "/team/private/", "team:s3cret, with a comma"), 404);
    EXPECT_FALSE(QFile::exists(dir.filePath("A/config/vdirsyncer/config")));

    // Asked for, it is uploaded; connecting again over what the account made needs no asking.
    ASSERT_EQ(as("A", QUORVEL_SETUP, args + QStringList{"--upload-existing"}).code, 0);
    EXPECT_EQ(server.answer("PROPFIND", "/team/private/", "team:s3cret, with a comma"), 207);
    const ProgramRun again = as("A", QUORVEL_SETUP, args);
    EXPECT_EQ(again.code, 0) << qPrintable(again.err);

    // Two users whose names clean to one: two accounts, neither rewrites the other's sections.
    WriteAll(dir.filePath("users"),
             "team:s3cret, with a comma\nana.b:s3cret, with a comma\nana_b:s3cret, with a comma\n");
    for (const QString user : {"ana.b", "ana_b"})
        ASSERT_EQ(connect("C", user).code, 0) << qPrintable(user);
    const QString config = ReadAll(dir.filePath("C/config/vdirsyncer/config"));
    EXPECT_EQ(config.count("[pair "), 2) << qPrintable(config);
    EXPECT_TRUE(config.contains("username = \"ana.b\"")) << qPrintable(config);
    EXPECT_TRUE(config.contains("username = \"ana_b\""));
}
