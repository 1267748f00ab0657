#pragma once

#include "storetypes.h"

#include <QString>
#include <QStringList>

class Dialogs;

// What the installer dialog holds, as its controls show it.
struct InstallerFields
{
    QString destination;  // the installation folder
    QString calendarPath; // "\Store\Calendar\…": a backslash before each folder name
    QString accessString; // where the pages are read from: "file:" + destination by default
    QString title = QStringLiteral("Quorvel");
    bool allEvents = true;
    bool displaySubject = false;
    bool hideNonCategorised = false;
    int startMonthIndex = 0; // 0 = January
};

// The address of a deployed page as a folder's home page: a file URL ("file:///srv/pages/Team
// Frame.htm" written with its escapes) where accessString is "file:" and a path or a bare path,
// else accessString (a web address) and the page joined by one "/".
QString HomePageAddress(const QString &accessString, const QString &page);

// The installer without its window: it deploys the planner pages for one calendar folder into a
// destination, writes the chosen settings into them, makes a subfolder of the calendar named
// after the title show the pages as its home page, and opens that subfolder in the planner.
// Every failure is told through dialogs and leaves the fields as they were for another try.
class Installer
{
public:
    static constexpr int kMaxTitle = 128;
    static const QStringList &MonthNames();

    // sourceDir holds the page templates and the archive.
    Installer(QString sourceDir, Dialogs &dialogs);
    ~Installer();

    InstallerFields fields;
    QString calendarEntryID;
    QString boundEntryID;

    const QString &sourceDir() const { return m_source; }

    // The "..." of the installation folder: a folder browser that can create folders.
    void chooseDestination();
    // The "..." of the calendar folder: the store's folder picker; true when a calendar was taken.
    bool PickCalendarFolder();
    // Install: every step in turn; true when the planner is installed and shown.
    bool Install();

    // The steps, each telling its own failure.
    bool InitOutlook();
    bool CheckTitle();
    bool CopyInstallFiles();
    enum class Page { Planner, Frame };
    bool RewritePage(Page page);
    bool BindFolderHomePage();
    void ShowBoundFolder();

    QString sourcePage(Page page) const;
    QString destinationPage(Page page) const;

private:
    void outlookFailure(const QString &what, const std::exception &e);

    QString m_source;
    Dialogs &m_dialogs;
    Store::NameSpacePtr m_session;
};

// The backslash path of a folder from its store's top folder down: "\Team\Calendar\Planning".
QString CalendarPathOf(const Store::Folder &folder);

// The subfolder of parent whose name is name, letter case and all; null when there is none.
Store::FolderPtr SubfolderNamed(Store::Folder &parent, const QString &name);
