#include "binaryfile.h"
#include "calendarstore.h"
#include "installer.h"
#include "pagetemplate.h"
#include "scripteddialogs.h"
#include "setupdialog.h"
#include "startup.h"
#include "testsupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <cerrno>

using namespace Store;

namespace {

// The store's windows as a user would answer them: the folder picker takes a given folder, and
// showing a folder is recorded.
class PickerAnswer : public StoreUi
{
public:
    bool editAppointment(AppointmentItem &, std::optional<double>) override { return false; }
    FolderPtr pickFolder(NameSpace &session) override
    {
        return pick.isEmpty() ? nullptr : FolderAtPath(session, pick);
    }
    bool editCategories(AppointmentItem &, NameSpace &) override { return false; }
    void displayFolder(Folder &folder) override { shown << folder.FolderPath(); }

    QString pick;
    QStringList shown;
};

QProcessEnvironment ChildEnvironment(const QTemporaryDir &dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMP", dir.path());
    env.insert("XDG_RUNTIME_DIR", dir.filePath("runtime"));
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    return env;
}

// A store "Team" whose calendar has a folder with a quote, an ampersand and markup characters in
// its name, and a contacts folder; the installer's templates as the build places them.
class SetupTest : public ::testing::Test
{
protected:
    SetupTest()
    {
        QDir().mkpath(dir.filePath("runtime"));
        QFile::setPermissions(dir.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(dir.filePath("Team/Calendar/" + kPlans));
        QDir().mkpath(dir.filePath("dest"));
        WriteAll(dir.filePath("Team/.quorvel-store"), "[Store]\nName=Team\nUserName=Ana\n");
        WriteAll(
            dir.filePath("Team/Calendar/" + kPlans + "/fair.ics"),
            Vevent("fair",
                   "SUMMARY:Fair\r\nDTSTART;VALUE=DATE:20260310\r\nDTEND;VALUE=DATE:20260313\r\n"));
        options.storeDir = dir.filePath("Team");
        Application::setSharedOptions(options);
        auto session = std::make_shared<NameSpace>(options);
        FolderAtPath(*session, "Team")->Folders()->Add("Contacts", 10);
        SetStoreUi(&picker);
    }
    ~SetupTest() override
    {
        SetStoreUi(nullptr);
        Application::setSharedOptions({});
    }

    QString dest(const QString &name = QString()) const
    {
        return name.isEmpty() ? dir.filePath("dest") : dir.filePath("dest/" + name);
    }
    // The installer of the test, with the destination and calendar chosen as a user would.
    std::unique_ptr<SetupDialog> openDialog()
    {
        auto dialog = std::make_unique<SetupDialog>(QUORVEL_SETUP_DIR, dialogs);
        dialogs.queueFolder(dest());
        dialog->findChild<QToolButton *>("browseDestination")->click();
        picker.pick = "Team\\Calendar\\" + kPlans;
        dialog->findChild<QToolButton *>("browseCalendar")->click();
        return dialog;
    }
    QString text(SetupDialog &d, const char *name)
    {
        return d.findChild<QLineEdit *>(name)->text();
    }
    void set(SetupDialog &d, const char *name, const QString &value)
    {
        d.findChild<QLineEdit *>(name)->setText(value);
    }
    static void install(SetupDialog &d) { d.findChild<QPushButton *>("install")->click(); }

    const QString kPlans = QStringLiteral("Ana's \"Plans\" & <more>");
    QTemporaryDir dir;
    ProfileOptions options;
    PickerAnswer picker;
    ScriptedDialogs dialogs;
    ScopedEnv runtime{"XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath("runtime"))};
};

} // namespace

TEST(PageTemplate, ValuesAreEscapedAndNeverScannedAgain)
{
    EXPECT_EQ(HtmlEscaped("O'Brien & <Sons> \"Ltd\""),
              "O&#39;Brien &amp; &lt;Sons&gt; &quot;Ltd&quot;");
    const PageTokens tokens = {{"AAAA", "BBBB team"}, {"BBBB", "x"}, {"SMSM", "3"}};
    EXPECT_EQ(ReplaceTokens("<t>AAAA</t><f>BBBB</f><m>SMSM</m>AAAAAAAA", tokens),
              "<t>BBBB team</t><f>x</f><m>3</m>BBBB teamBBBB team")
        << "a title holding another token stays as it is";
    EXPECT_EQ(ReplaceTokens("AAA", tokens), "AAA");
    EXPECT_EQ(ReplaceTokens("", tokens), "");
}

TEST_F(SetupTest, InstallDeploysBindsAndOpensThePlannerConfiguredAsChosen)
{
    auto dialog = openDialog();
    EXPECT_EQ(dialog->windowTitle(), "Quorvel Installer");
    EXPECT_EQ(text(*dialog, "accessString"), "file:" + dest());
    EXPECT_EQ(text(*dialog, "calendarFolder"), "\\Team\\Calendar\\" + kPlans);
    EXPECT_EQ(text(*dialog, "title"), "Quorvel");
    EXPECT_EQ(dialog->findChild<QComboBox *>("startMonth")->currentText(), "January");
    EXPECT_TRUE(dialog->findChild<QCheckBox *>("allEvents")->isChecked());

    const QString title = "O'Brien & Sons";
    set(*dialog, "title", title);
    dialog->findChild<QCheckBox *>("allEvents")->setChecked(false);
    dialog->findChild<QCheckBox *>("displaySubject")->setChecked(true);
    dialog->findChild<QComboBox *>("startMonth")->setCurrentIndex(2);
    install(*dialog);
    ASSERT_EQ(dialogs.texts().last(), "Thank you for installing Brenholt Quorvel.")
        << qPrintable(dialogs.texts().join('\n'));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    EXPECT_EQ(QDir(dest()).entryList(QDir::Files, QDir::Name),
              (QStringList{"O'Brien & Sons.htm", "O'Brien & SonsFrame.htm", "QuorvelControl.cab"}));
    const QString page = QString::fromUtf8(ReadAll(dest(title + ".htm")));
    EXPECT_TRUE(page.contains("<param name=\"TitleName\" value=\"O&#39;Brien &amp; Sons\">"));
    EXPECT_TRUE(
        page.contains("value=\"Team\\Calendar\\Ana&#39;s &quot;Plans&quot; &amp; &lt;more&gt;\""));
    EXPECT_TRUE(page.contains("<param name=\"StartMonth\" value=\"3\">")) << "March";
    EXPECT_TRUE(page.contains("<param name=\"AllEvents\" value=\"False\">"));
    EXPECT_TRUE(page.contains("<param name=\"HideNonCategoryItems\" value=\"False\">"));
    EXPECT_TRUE(page.contains("<param name=\"DisplaySubject\" value=\"True\">"));
    EXPECT_TRUE(ReadAll(dest(title + "Frame.htm")).contains("src=\"O&#39;Brien &amp; Sons.htm\""));

    // The subfolder named like the title, bound to the frame page and shown.
    auto session = std::make_shared<NameSpace>(options);
    const FolderPtr bound = FolderAtPath(*session, "Team\\Calendar\\" + kPlans + "\\" + title);
    ASSERT_TRUE(bound);
    EXPECT_TRUE(bound->WebViewOn());
    EXPECT_FALSE(bound->WebViewAllowNavigation());
    EXPECT_EQ(bound->WebViewURL(),
              QUrl::fromLocalFile(dest(title + "Frame.htm")).toString(QUrl::FullyEncoded));
    EXPECT_EQ(QUrl(bound->WebViewURL()).toLocalFile(), dest(title + "Frame.htm"))
        << "a proper file URL";
    EXPECT_EQ(bound->EntryID(), dialog->installer().boundEntryID);
    EXPECT_EQ(picker.shown, QStringList{bound->FolderPath()});

    // The planner host opened on that subfolder has the chosen properties.
    QProcess host;
    host.setProcessEnvironment(ChildEnvironment(dir));
    host.start(QUORVEL_HOST, {"--store", options.storeDir, "--folder-id", bound->EntryID(),
                              "--print-properties"});
    ASSERT_TRUE(host.waitForFinished(60000));
    const QString out = QString::fromUtf8(host.readAllStandardOutput());
    EXPECT_EQ(out, "TitleName=O'Brien & Sons\nFolder=Team\\Calendar\\" + kPlans +
                       "\nAllEvents=0\nDisplaySubject=1\nHideNonCategoryItems=0\nStartMonth=3\n")
        << qPrintable(QString::fromUtf8(host.readAllStandardError()));
}

TEST_F(SetupTest, TheDefaultTitleAndAnExistingSubfolder)
{
    auto dialog = openDialog();
    const QString calendar = "Team\\Calendar\\" + kPlans;
    auto session = std::make_shared<NameSpace>(options);
    const FolderPtr existing = FolderAtPath(*session, calendar)->Folders()->Add("Quorvel");
    FolderAtPath(*session, calendar)->Folders()->Add("quorvel2"); // another name
    FolderAtPath(*session, calendar)->Folders()->Add("QUORVEL");  // the same but for its letters
    install(*dialog);
    ASSERT_EQ(dialogs.texts().last(), "Thank you for installing Brenholt Quorvel.");
    EXPECT_EQ(QDir(dest()).entryList(QDir::Files, QDir::Name),
              (QStringList{"Quorvel.htm", "QuorvelControl.cab", "QuorvelFrame.htm"}));
    EXPECT_TRUE(ReadAll(dest("QuorvelFrame.htm")).contains("src=\"Quorvel.htm\""));
    EXPECT_EQ(dialog->installer().boundEntryID, existing->EntryID()) << "reused, not made again";
    EXPECT_EQ(FolderAtPath(*session, calendar)->Folders()->Count(), 3);
    EXPECT_EQ(ReadAll(dest("QuorvelControl.cab")),
              ReadAll(QString(QUORVEL_SETUP_DIR) + "/QuorvelControl.cab"));

    // A subfolder whose name differs only in letter case is not the one.
    auto again = openDialog();
    set(*again, "title", "quorvel");
    install(*again);
    ASSERT_EQ(dialogs.texts().last(), "Thank you for installing Brenholt Quorvel.");
    EXPECT_EQ(FolderAtPath(*std::make_shared<NameSpace>(options), calendar)->Folders()->Count(), 4);
}

TEST_F(SetupTest, RefusalsBeforeAnythingIsCopied)
{
    auto dialog = openDialog();
    for (const QString bad : {"Team/Rota", "<Sons>", "A:B", "Pipe|", "Back\\slash", "Say \"hi\""}) {
        dialogs.clear();
        set(*dialog, "title", bad);
        install(*dialog);
        EXPECT_EQ(dialogs.texts(),
                  QStringList{"Specified title contains an invalid character.  Invalid "
                              "characters are: <>:\"/\\|"})
            << qPrintable(bad);
    }
    EXPECT_TRUE(QDir(dest()).isEmpty());
    EXPECT_EQ(dialog->result(), 0) << "still open";

    // The installer's own folder as the destination would overwrite its templates.
    QTemporaryDir source;
    for (const char *f : {"QuorvelControl.htm", "QuorvelControlFrame.htm", "QuorvelControl.cab"})
        QFile::copy(QString(QUORVEL_SETUP_DIR) + "/" + f, source.filePath(f));
    SetupDialog own(source.path(), dialogs);
    dialogs.clear();
    set(own, "calendarFolder", "\\Team\\Calendar");
    set(own, "destination", source.path());
    install(own);
    EXPECT_EQ(dialogs.texts(),
              (QStringList{"Source and destination appear to be the same?!: " +
                               source.filePath("QuorvelControl.htm"),
                           "Failed whilst copying files from source to specified destination!"}));
    EXPECT_EQ(QDir(source.path()).entryList(QDir::Files).size(), 3);

    // Empty fields.
    SetupDialog empty(QUORVEL_SETUP_DIR, dialogs);
    dialogs.clear();
    install(empty);
    set(empty, "destination", dest());
    install(empty);
    EXPECT_EQ(dialogs.texts(), (QStringList{"You must specify a destination folder!",
                                            "You must specify an outlook calendar folder!"}));
}

TEST_F(SetupTest, PickingFolders)
{
    SetupDialog dialog(QUORVEL_SETUP_DIR, dialogs);
    picker.pick = "Team\\Contacts";
    dialog.findChild<QToolButton *>("browseCalendar")->click();
    EXPECT_EQ(dialogs.texts(), QStringList{"Contacts is not a Calendar folder!"});
    EXPECT_EQ(text(dialog, "calendarFolder"), "");
    picker.pick = "Team\\Calendar";
    dialog.findChild<QToolButton *>("browseCalendar")->click();
    picker.pick = "Team\\Calendar\\" + kPlans;
    dialog.findChild<QToolButton *>("browseCalendar")->click();
    EXPECT_EQ(text(dialog, "calendarFolder"), "\\Team\\Calendar\\" + kPlans)
        << "the second pick alone";
    picker.pick.clear(); // cancelled
    dialog.findChild<QToolButton *>("browseCalendar")->click();
    EXPECT_EQ(text(dialog, "calendarFolder"), "\\Team\\Calendar\\" + kPlans);
    dialogs.queueFolder(QString()); // the folder browser cancelled
    dialog.findChild<QToolButton *>("browseDestination")->click();
    EXPECT_EQ(text(dialog, "destination"), "");
    EXPECT_EQ(dialogs.shown().last().kind, ScriptedDialogs::Kind::Folder);
    EXPECT_EQ(dialogs.shown().last().title, "Destination Path");
    EXPECT_EQ(dialogs.waiting(), 0);

    // A profile without stores is refused as the client refuses a bad profile.
    ProfileOptions none;
    none.profile = dir.filePath("no-profile.ini");
    Application::setSharedOptions(none);
    dialogs.clear();
    dialog.findChild<QToolButton *>("browseCalendar")->click();
    EXPECT_EQ(dialogs.texts(),
              QStringList{"Failed whilst initialising Outlook!\nThe user profile or user "
                          "identity is invalid or does not have the appropriate permissions"});
}

TEST_F(SetupTest, RewrittenPagesKeepNoRemainsAndFolderPathsLoseTheirLeadingBackslash)
{
    Installer installer(QUORVEL_SETUP_DIR, dialogs);
    installer.fields.destination = dest();
    installer.fields.title = "T";
    installer.fields.calendarPath = "\\Personal Folders\\Calendar";
    // A longer page from before is overwritten and cut to the new length.
    WriteAll(dest("T.htm"), QByteArray(20000, 'x'));
    ASSERT_TRUE(installer.CopyInstallFiles());
    ASSERT_TRUE(installer.RewritePage(Installer::Page::Planner));
    ASSERT_TRUE(installer.RewritePage(Installer::Page::Frame));
    const QByteArray templ = ReadAll(QString(QUORVEL_SETUP_DIR) + "/QuorvelControl.htm");
    QByteArray expected = templ;
    expected.replace("AAAA", "T")
        .replace("BBBB", "Personal Folders\\Calendar")
        .replace("EEEE", "True")
        .replace("SSSS", "False")
        .replace("HNCI", "False")
        .replace("SMSM", "1");
    EXPECT_EQ(ReadAll(dest("T.htm")), expected);
    EXPECT_FALSE(ReadAll(dest("TFrame.htm")).contains("QVFilename"));
    ASSERT_TRUE(QFile::remove(dest("T.htm")));
    EXPECT_FALSE(installer.RewritePage(Installer::Page::Planner)) << "a page that is not there";
    EXPECT_FALSE(QFile::exists(dest("T.htm")));
}

TEST_F(SetupTest, OneInstallerAtATime)
{
    const std::unique_ptr<QLockFile> first = HoldSingleInstance("quorvel-setup");
    ASSERT_TRUE(first);
    EXPECT_FALSE(HoldSingleInstance("quorvel-setup"));
    QProcess second;
    second.setProcessEnvironment(ChildEnvironment(dir));
    second.start(QUORVEL_SETUP, {"--store", options.storeDir});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains(
        "The Calendar Installer already appears to be running."));
}

TEST_F(SetupTest, SwitchesRegisterTheAutomationObject)
{
    EXPECT_EQ(SwitchOf({"quorvel-setup", "/Regserver"}), SetupSwitch::Regserver);
    EXPECT_EQ(SwitchOf({"quorvel-setup", "-unregserver"}), SetupSwitch::Unregserver);
    EXPECT_EQ(SwitchOf({"quorvel-setup", "--store", "x", "/EMBEDDING"}), SetupSwitch::Embedding);
    EXPECT_EQ(SwitchOf({"quorvel-setup", "Automation"}), SetupSwitch::None) << "no slash or hyphen";
    EXPECT_EQ(SwitchOf({"quorvel-setup"}), SetupSwitch::None);

    const QString service = dir.filePath("data/dbus-1/services/QuorvelSetup.Application.service");
    auto run = [&](const QStringList &args) {
        QProcess setup;
        setup.setProcessEnvironment(ChildEnvironment(dir));
        setup.start(QUORVEL_SETUP, args);
        setup.waitForFinished(30000);
        return setup.exitCode();
    };
    EXPECT_EQ(run({"-Regserver"}), 0);
    const QByteArray text = ReadAll(service);
    EXPECT_TRUE(text.startsWith("[D-BUS Service]\nName=QuorvelSetup.Application\nExec=\""))
        << text.constData();
    EXPECT_TRUE(text.endsWith("quorvel-setup\" -Embedding\n"));
    EXPECT_EQ(run({"/Unregserver"}), 0);
    EXPECT_FALSE(QFile::exists(service));
    EXPECT_EQ(run({"/Unregserver"}), 0) << "nothing to remove";

    // Embedded, the object is on the session bus with its empty interface.
    QProcess embedded;
    embedded.setProcessEnvironment(ChildEnvironment(dir));
    embedded.start(QUORVEL_SETUP, {"-Embedding", "--store", options.storeDir});
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000 && !bus->isServiceRegistered("QuorvelSetup.Application"))
        QThread::msleep(50);
    ASSERT_TRUE(bus->isServiceRegistered("QuorvelSetup.Application"));
    QDBusInterface object("QuorvelSetup.Application", "/", "org.freedesktop.DBus.Introspectable");
    const QString xml = QDBusReply<QString>(object.call("Introspect")).value();
    EXPECT_TRUE(xml.contains("<interface name=\"QuorvelSetup.IQuorvelSetup\">")) << qPrintable(xml);
    EXPECT_TRUE(QFile::exists(service)) << "a normal start registers as well";
    embedded.kill();
    embedded.waitForFinished();
}

TEST_F(SetupTest, TheWarningLineFollowsThePlannerHost)
{
    QProcess host;
    QProcessEnvironment env = ChildEnvironment(dir);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.start(QUORVEL_HOST, {"--store", options.storeDir, "--folder", "Team\\Calendar"});
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000 && !PlannerHostRunning())
        QThread::msleep(50);
    ASSERT_TRUE(PlannerHostRunning()) << qPrintable(QString::fromUtf8(host.readAllStandardError()));

    SetupDialog dialog(QUORVEL_SETUP_DIR, dialogs);
    auto *warning = dialog.findChild<QLabel *>("clientWarning");
    EXPECT_EQ(warning->text(), "Please close Outlook before proceeding.");
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(Qt::red));
    host.kill();
    host.waitForFinished();
    t.restart();
    while (t.elapsed() < 3000 && warning->text() != "Thank you for closing outlook.")
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(warning->text(), "Thank you for closing outlook.");
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_FALSE(dialog.clientRunning());

    // With no planner open the line stays empty.
    SetupDialog quiet(QUORVEL_SETUP_DIR, dialogs);
    EXPECT_EQ(quiet.findChild<QLabel *>("clientWarning")->text(), "");
}

TEST_F(SetupTest, ButtonsHelpAndAbout)
{
    SetupDialog dialog(QUORVEL_SETUP_DIR, dialogs);
    const std::pair<const char *, const char *> tips[] = {
        {"install", "Press to install the Quorvel control"},
        {"cancel", "Press to cancel installation, and exit installer"},
        {"help", "Press to view installation notes"},
        {"browseDestination", "Press to specify/create destination folder"},
        {"browseCalendar", "Press to specify outlook calendar folder"},
    };
    for (const auto &[name, tip] : tips)
        EXPECT_EQ(dialog.findChild<QWidget *>(name)->toolTip(), tip) << name;
    EXPECT_TRUE(dialog.findChild<QPushButton *>("install")->isDefault());
    EXPECT_EQ(dialog.findChild<QLineEdit *>("title")->maxLength(), 128);
    QStringList months;
    auto *list = dialog.findChild<QComboBox *>("startMonth");
    for (int i = 0; i < list->count(); ++i)
        months << list->itemText(i);
    EXPECT_EQ(months, Installer::MonthNames());
    EXPECT_EQ(months.size(), 12);

    dialog.findChild<QPushButton *>("help")->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].kind, ScriptedDialogs::Kind::Address);
    EXPECT_EQ(dialogs.shown()[0].text,
              QUrl::fromLocalFile(QString(QUORVEL_SETUP_DIR) + "/ReadMe.htm").toString());
    EXPECT_TRUE(QFile::exists(QString(QUORVEL_SETUP_DIR) + "/ReadMe.htm"));
    dialog.findChild<QToolButton *>("about")->click();
    EXPECT_EQ(dialogs.shown().last().aboutBox.caption, "About QuorvelSetup");
    EXPECT_EQ(dialogs.shown().last().aboutBox.versionLine,
              "Quorvel Calendar Installer Version 2.1");
    dialog.findChild<QPushButton *>("cancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(HomePageAddress, AFileUrlOrTheWebAddressAndThePage)
{
    struct Row
    {
        const char *name;
        QString access, page, expected;
    } rows[] = {
        {"the installer's own form", "file:/home/u/pages", "TeamFrame.htm",
         "file:///home/u/pages/TeamFrame.htm"},
        {"a trailing slash", "file:/home/u/pages/", "TeamFrame.htm",
         "file:///home/u/pages/TeamFrame.htm"},
        {"backslashes typed as on the old platform", "file:/home/u\\pages\\", "TFrame.htm",
         "file:///home/u/pages/TFrame.htm"},
        {"a bare path", "/srv/planner", "TFrame.htm", "file:///srv/planner/TFrame.htm"},
        {"a file URL", "file:///srv/planner", "TFrame.htm", "file:///srv/planner/TFrame.htm"},
        {"spaces and signs are escaped", "file:/srv/my pages", "O'Brien & Sons#1Frame.htm",
         "file:///srv/my%20pages/O'Brien%20&%20Sons%231Frame.htm"},
        {"a web address", "https://intranet.example/planner/", "Team Frame.htm",
         "https://intranet.example/planner/Team%20Frame.htm"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(HomePageAddress(row.access, row.page), row.expected) << row.name;
    }
}

// Installing onto a disk that fills, or one that turns read-only, after some pages were written
// before: the copy failure is said, the pages there stay whole and no temporary file is left.
TEST_F(SetupTest, AnInstallOntoAFailingDiskKeepsThePagesThere)
{
    auto dialog = openDialog();
    install(*dialog);
    ASSERT_EQ(dialogs.texts().last(), "Thank you for installing Brenholt Quorvel.")
        << qPrintable(dialogs.texts().join('\n'));
    QMap<QString, QByteArray> before;
    for (const QString &name : QDir(dest()).entryList(QDir::Files))
        before.insert(name, ReadAll(dest(name)));
    for (const int err : {ENOSPC, EROFS}) {
        for (const qint64 after : {qint64(0), qint64(100)}) {
            SCOPED_TRACE(testing::Message() << "errno " << err << " after " << after);
            auto again = openDialog();
            dialogs.clear();
            FailWritesAfter(after, err);
            install(*again);
            FailWritesAfter(-1, 0);
            EXPECT_TRUE(dialogs.texts().contains(
                "Failed whilst copying files from source to specified destination!"))
                << qPrintable(dialogs.texts().join('\n'));
            QMap<QString, QByteArray> now;
            for (const QString &name : QDir(dest()).entryList(QDir::Files | QDir::Hidden))
                now.insert(name, ReadAll(dest(name)));
            EXPECT_EQ(now, before);
        }
    }
}
