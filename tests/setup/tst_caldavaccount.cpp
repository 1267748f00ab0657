#include "caldavaccount.h"
#include "caldavdialog.h"
#include "categorystore.h"
#include "itemversion.h"
#include "knowncalendars.h"
#include "testsupport.h"
#include "versionmerge.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CalDavAccount Account()
{
    CalDavAccount a;
    a.url = "https://dav.example.org/remote.php/dav/";
    a.user = "ana.lopez";
    a.localPath = "/home/ana/cal \"team\"";
    return a;
}

// A category table item of the planner, as it stores it, changed at the given time.
QByteArray TableItem(const QStringList &names, const QList<int> &colours, const char *changed)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:test\r\nBEGIN:VEVENT\r\n"
                      "UID:table\r\nSUMMARY:PLEASE IGNORE - Quorvel Category Colours: Team\r\n"
                      "DTSTART;VALUE=DATE:20000101\r\nX-QUORVEL-HIDDEN:TRUE\r\n"
                      "LAST-MODIFIED:" +
                      QByteArray(changed) + "\r\n";
    const auto prop = [&](const QString &name, int type, const QString &value) {
        text += "X-QUORVEL-PROP;X-SET=\"" + CategoryStore::kPropertySet.toUtf8() +
                "\";X-NAME=" + name.toUtf8() + ";X-TYPE=" + QByteArray::number(type) + ":" +
                value.toUtf8() + "\r\n";
    };
    prop("NumberOfCategories", 3, QString::number(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        prop(QStringLiteral("Category%1").arg(i + 1), 30, names[i]);
        prop(QStringLiteral("Colour%1").arg(i + 1), 3, QString::number(colours[i]));
    }
    return text + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

QByteArray Appointment(const char *summary, const char *changed)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:test\r\nBEGIN:VEVENT\r\nUID:fair\r\n"
           "SUMMARY:" +
           QByteArray(summary) + "\r\nDTSTART;VALUE=DATE:20260310\r\nLAST-MODIFIED:" + changed +
           "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

QStringList NamesOf(const QByteArray &text, QList<int> *colours = nullptr)
{
    const std::optional<Store::ItemVersion> item = Store::ItemVersion::read(text);
    QStringList names;
    QString value;
    int type = 0;
    item->namedValue(CategoryStore::kPropertySet, "NumberOfCategories", value, type);
    for (int i = 1; i <= value.toInt(); ++i) {
        QString name, colour;
        item->namedValue(CategoryStore::kPropertySet, QStringLiteral("Category%1").arg(i), name,
                         type);
        item->namedValue(CategoryStore::kPropertySet, QStringLiteral("Colour%1").arg(i), colour,
                         type);
        names << name;
        if (colours)
            *colours << colour.toInt();
    }
    return names;
}

} // namespace

TEST(CalDavAccount, TheConfigurationGainsTheAccountOnceAndKeepsEverythingElse)
{
    const CalDavAccount account = Account();
    EXPECT_TRUE(account.name().startsWith("quorvel_dav_example_org_ana_lopez_"));
    const QString sections = AccountSections(
        account, {"/usr/bin/quorvel-setup", "--merge-versions", "/home/ana/cal \"team\""});
    // Values are JSON: a quote in a path stays a quote; the password is fetched, never written.
    EXPECT_TRUE(sections.contains("path = \"/home/ana/cal \\\"team\\\"\"")) << qPrintable(sections);
    EXPECT_TRUE(sections.contains(
        "password.fetch = [\"command\",\"secret-tool\",\"lookup\",\"service\",\"quorvel-caldav\","
        "\"url\",\"https://dav.example.org/remote.php/dav/\",\"user\",\"ana.lopez\"]"))
        << qPrintable(sections);
    EXPECT_TRUE(sections.contains("conflict_resolution = [\"command\",\"/usr/bin/quorvel-setup\""))
        << qPrintable(sections);

    const QString theirs =
        "[general]\nstatus_path = \"~/.vdirsyncer/status/\"\n\n"
        "[pair contacts]\na = \"c_local\"\nb = \"c_remote\"\n"
        "collections = [\"from a\"]\n\n[storage c_local]\ntype = \"filesystem\"\n"
        "path = \"~/.contacts/\"\nfileext = \".vcf\"\n";
    const QString once = ConfigWithAccount(theirs, account, sections, "/status/");
    EXPECT_TRUE(once.startsWith(theirs)) << qPrintable(once);
    EXPECT_EQ(once.count("[general]"), 1) << "their status path stays";
    const QString twice = ConfigWithAccount(once, account, sections, "/status/");
    EXPECT_EQ(twice, once) << "connecting again replaces the account's sections";
    EXPECT_EQ(twice.count("[pair " + account.name() + "]"), 1);

    // A first configuration names where vdirsyncer keeps its status; the planner then finds
    // the account's collections in it.
    const QString fresh = ConfigWithAccount(QString(), account, sections, "/home/ana/status/");
    EXPECT_TRUE(fresh.startsWith("[general]\nstatus_path = \"/home/ana/status/\"\n\n[pair "))
        << qPrintable(fresh);
    QTemporaryDir home;
    CalDavAccount local = account;
    local.localPath = home.filePath("team");
    QDir().mkpath(home.filePath("team/calendar"));
    QDir().mkpath(home.filePath("team/holidays"));
    const QList<Store::KnownCalendar> found = Store::VdirsyncerCalendars(
        ConfigWithAccount(QString(), local, AccountSections(local, {}), "/s/"), home.path());
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].path, home.filePath("team/calendar"));
}

TEST(CalDavAccount, VdirsyncersFailuresInWords)
{
    const CalDavAccount account = Account();
    const struct
    {
        const char *output;
        const char *says;
    } rows[] = {
        {"error: Unknown error occured: 401, message='Unauthorized'", "refused the user name"},
        {"error: Failed to execute command: secret-tool lookup", "password could not be read"},
        {"Cannot connect to host dav.example.org:443 ssl:default [Connection refused]",
         "cannot be reached"},
        {"error: 404, message='Not Found'", "There is no calendar account"},
    };
    for (const auto &row : rows)
        EXPECT_TRUE(VdirsyncerProblem(row.output, account).contains(row.says)) << row.output;
    EXPECT_TRUE(VdirsyncerProblem("Syncing calendar", account).isEmpty());
    EXPECT_TRUE(SyncTimerUnit().contains("OnUnitActiveSec=5min"));
    EXPECT_TRUE(SyncServiceUnit("/usr/bin/vdirsyncer", "/c/config")
                    .contains("ExecStart=\"/usr/bin/vdirsyncer\" sync"));
}

TEST(CalDavAccount, LookAlikeUsersGetAccountsOfTheirOwn)
{
    QStringList names;
    for (const char *user : {"ana.b", "ana_b", "Ana_B", "ana-b", "anab"}) {
        CalDavAccount a = Account();
        a.user = user;
        a.localPath.clear();
        EXPECT_FALSE(names.contains(a.name())) << user;
        names << a.name();
        EXPECT_NE(a.collectionsPath(), Account().collectionsPath());
    }
    EXPECT_EQ(names.last(), "quorvel_dav_example_org_anab") << "a plain user name stays as it was";

    // Two of them in one configuration; and an account connected before names carried their
    // digest is taken over, not doubled.
    CalDavAccount dot = Account(), underscore = Account();
    dot.user = "ana.b";
    underscore.user = "ana_b";
    QString config = ConfigWithAccount(QString(), dot, AccountSections(dot, {}), "/s/");
    config = ConfigWithAccount(config, underscore, AccountSections(underscore, {}), "/s/");
    EXPECT_EQ(config.count("[pair "), 2) << qPrintable(config);
    QString legacy = AccountSections(dot, {});
    legacy.replace(dot.name(), dot.legacyName());
    const QString migrated =
        ConfigWithAccount(ConfigWithAccount(QString(), underscore, legacy, "/s/"), dot,
                          AccountSections(dot, {}), "/s/");
    EXPECT_EQ(migrated.count("[pair "), 1) << qPrintable(migrated);
    EXPECT_TRUE(migrated.contains("[pair " + dot.name() + "]"));
}

TEST(CalDavAccount, TheTimersUnitQuotesWhatItNames)
{
    // A path with a space, a "%" (a specifier), a quote and a line break (a directive).
    const QString unit = SyncServiceUnit("/opt/my tools/vdir$syncer",
                                         "/home/ana/100% \"cal\"/config\nExecStartPre=/bin/evil");
    EXPECT_TRUE(unit.contains("Environment=\"VDIRSYNCER_CONFIG=/home/ana/100%% "
                              "\\\"cal\\\"/config\\nExecStartPre=/bin/evil\"\n"))
        << qPrintable(unit);
    EXPECT_TRUE(unit.contains("ExecStart=\"/opt/my tools/vdir$$syncer\" sync\n"))
        << qPrintable(unit);
    for (const QString &line : unit.split('\n'))
        EXPECT_FALSE(line.startsWith("ExecStartPre")) << qPrintable(unit);

    const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
    if (analyze.isEmpty())
        GTEST_SKIP() << "systemd-analyze is not here to verify the unit";
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("my tools"));
    const QString program = dir.filePath("my tools/vdirsyncer");
    WriteAll(program, "#!/bin/sh\n");
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    WriteAll(dir.filePath("quorvel-caldav-sync.service"),
             SyncServiceUnit(program, dir.filePath("100% config")).toUtf8());
    QProcess verify;
    verify.start(analyze, {"verify", dir.filePath("quorvel-caldav-sync.service")});
    ASSERT_TRUE(verify.waitForFinished(60000));
    const QString said = QString::fromUtf8(verify.readAllStandardError());
    EXPECT_FALSE(said.contains("quorvel-caldav-sync.service:")) << qPrintable(said);
}

TEST(VersionMerge, TheCopyGoesOnlyBesideTheItemAndTablesStayReadable)
{
    QTemporaryDir dir;
    const auto item = [](const QByteArray &uid, const QByteArray &extra = {}) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:test\r\nBEGIN:VEVENT\r\nUID:" + uid +
               "\r\nSUMMARY:S\r\nDTSTART;VALUE=DATE:20260310\r\n" + extra +
               "END:VEVENT\r\nEND:VCALENDAR\r\n";
    };
    QDir().mkpath(dir.filePath("longer"));
    QDir().mkpath(dir.filePath("mention"));
    QDir().mkpath(dir.filePath("exact"));
    WriteAll(dir.filePath("longer/abc.ics"), item("abc"));
    WriteAll(dir.filePath("mention/x.ics"), item("x", "DESCRIPTION:UID:ab\r\n"));
    WriteAll(dir.filePath("exact/ab.ics"), item("ab"));
    EXPECT_EQ(CollectionHolding(dir.path(), "ab"), dir.filePath("exact"));
    EXPECT_EQ(CollectionHolding(dir.path(), "a"), QString());
    EXPECT_EQ(CollectionHolding(dir.path(), QString()), QString()) << "no UID holds nowhere";

    // Two tables of 300 categories each: the merge keeps what the planner can read.
    QStringList mine, theirs;
    QList<int> colours;
    for (int i = 0; i < 300; ++i) {
        mine << QStringLiteral("Mine %1").arg(i);
        theirs << QStringLiteral("Theirs %1").arg(i);
        colours << i;
    }
    const std::optional<MergedVersions> merged =
        MergeVersions(TableItem(mine, colours, "20261201T100000Z"),
                      TableItem(theirs, colours, "20261201T110000Z"));
    ASSERT_TRUE(merged);
    const QStringList names = NamesOf(merged->text);
    EXPECT_EQ(names.size(), CategoryStore::kMaxStoredCategories);
    EXPECT_EQ(names.mid(0, 300), theirs) << "the later table whole";
    EXPECT_TRUE(merged->warning.contains("101 categories of the earlier version are left out"))
        << qPrintable(merged->warning);
}

TEST(VersionMerge, TablesMergeByNameAndAppointmentsKeepTheEarlierAsACopy)
{
    // Each added a category; both recoloured "Home": the later recolouring holds.
    const QByteArray ana = TableItem({"Work", "Home", "Sales"}, {1, 2, 3}, "20261201T100000Z");
    const QByteArray ben = TableItem({"Work", "Home", "Travel"}, {1, 5, 4}, "20261201T100500Z");
    for (const auto &[a, b] : {std::pair{ana, ben}, std::pair{ben, ana}}) {
        const std::optional<MergedVersions> merged = MergeVersions(a, b);
        ASSERT_TRUE(merged);
        QList<int> colours;
        EXPECT_EQ(NamesOf(merged->text, &colours), (QStringList{"Work", "Home", "Travel", "Sales"}))
            << "the same whichever side is first";
        EXPECT_EQ(colours, (QList<int>{1, 5, 4, 3}));
        EXPECT_TRUE(merged->conflictCopy.isEmpty());
    }

    const std::optional<MergedVersions> fair =
        MergeVersions(Appointment("Fair, hall 3", "20261201T100000Z"),
                      Appointment("Fair, hall 4", "20261201T110000Z"));
    ASSERT_TRUE(fair);
    EXPECT_EQ(Store::ItemVersion::read(fair->text)->uid(), "fair");
    EXPECT_TRUE(fair->text.contains("SUMMARY:Fair\\, hall 4")) << fair->text.constData();
    const std::optional<Store::ItemVersion> copy = Store::ItemVersion::read(fair->conflictCopy);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->uid(), fair->copyUid);
    EXPECT_NE(copy->uid(), "fair");
    EXPECT_TRUE(fair->conflictCopy.contains("SUMMARY:Fair\\, hall 3 (conflicting copy)"))
        << fair->conflictCopy.constData();

    EXPECT_FALSE(MergeVersions("not a calendar", ana));
}

TEST(CalDavDialog, TheFieldsMakeTheAccountAndEveryFailureIsShownInWords)
{
    QTemporaryDir home;
    const ScopedEnv config("VDIRSYNCER_CONFIG", QFile::encodeName(home.filePath("vdirsyncer")));
    const ScopedEnv data("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    CalDavDialog dialog;
    const auto set = [&](const char *name, const QString &text) {
        dialog.findChild<QLineEdit *>(QLatin1String(name))->setText(text);
    };
    ASSERT_TRUE(dialog.findChild<QPushButton *>("connect"));
    EXPECT_FALSE(dialog.connectAccount());
    EXPECT_TRUE(dialog.log().contains("needs the server's address and a user name"))
        << qPrintable(dialog.log());

    set("url", " https://dav.example.org/ ");
    set("user", "ana");
    set("passwordCommand", "pass show 'dav/ana lopez'");
    const CalDavAccount account = dialog.account();
    EXPECT_EQ(account.url, "https://dav.example.org/");
    EXPECT_EQ(account.passwordCommand, "pass show 'dav/ana lopez'");
    EXPECT_EQ(account.passwordFetch(), (QStringList{"shell", "pass show 'dav/ana lopez'"}))
        << "run by a shell, as typed";

    // A synchroniser that cannot be run is a failure, never a connection.
    EXPECT_FALSE(dialog.connectAccount(home.filePath("no-vdirsyncer")));
    EXPECT_TRUE(dialog.log().contains("cannot be run")) << qPrintable(dialog.log());
    EXPECT_FALSE(dialog.log().contains("Connected"));
}
