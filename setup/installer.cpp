#include "installer.h"

#include "calendarstore.h"
#include "dialogs.h"
#include "filereplacement.h"
#include "pagetemplate.h"
#include "qverror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

const QString kPlannerTemplate = QStringLiteral("QuorvelControl.htm");
const QString kFrameTemplate = QStringLiteral("QuorvelControlFrame.htm");
const QString kArchive = QStringLiteral("QuorvelControl.cab");
const QString kInvalidTitleCharacters = QStringLiteral("<>:\"/\\|");

QString boolText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

// The error text of a failure the calendar store raised.
QString errorText(const std::exception &e)
{
    if (const auto *q = dynamic_cast<const QvError *>(&e))
        return q->description();
    return QStringLiteral("Unknown error 0x80004005");
}

// Copies source over target through a temporary file beside the target, so a failed copy
// leaves the target as it was.
bool replaceWithCopy(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = in.readAll();
    return in.error() == QFile::NoError && ReplaceFile(target, text) == 0;
}

} // namespace

const QStringList &Installer::MonthNames()
{
    static const QStringList names = {"January",   "February", "March",    "April",
                                      "May",       "June",     "July",     "August",
                                      "September", "October",  "November", "December"};
    return names;
}

QString HomePageAddress(const QString &accessString, const QString &page)
{
    QString base = accessString.trimmed();
    const QUrl url(base);
    const bool web =
        url.isValid() && url.scheme().size() > 1 && url.scheme() != QLatin1String("file");
    if (web) {
        while (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\')))
            base.chop(1);
        return base + QLatin1Char('/') + QString::fromUtf8(QUrl::toPercentEncoding(page));
    }
    QString path = base.startsWith(QLatin1String("file://")) ? url.toLocalFile()
                   : base.startsWith(QLatin1String("file:")) ? base.mid(5)
                                                             : base;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QUrl::fromLocalFile(QDir::cleanPath(QDir(path).filePath(page)))
        .toString(QUrl::FullyEncoded);
}

Installer::Installer(QString sourceDir, Dialogs &dialogs)
    : m_source(std::move(sourceDir)), m_dialogs(dialogs)
{
}

Installer::~Installer() = default;

QString Installer::sourcePage(Page page) const
{
    return QDir(m_source).filePath(page == Page::Planner ? kPlannerTemplate : kFrameTemplate);
}

QString Installer::destinationPage(Page page) const
{
    return QDir(fields.destination)
        .filePath(fields.title +
                  (page == Page::Planner ? QStringLiteral(".htm") : QStringLiteral("Frame.htm")));
}

void Installer::chooseDestination()
{
    WaitCursor wait(m_dialogs);
    const QString folder = m_dialogs.browseFolder(
        QCoreApplication::translate("Installer", "Destination Path"), fields.destination);
    if (folder.isEmpty())
        return;
    fields.destination = folder;
    fields.accessString = QStringLiteral("file:") + folder;
}

void Installer::outlookFailure(const QString &what, const std::exception &e)
{
    m_dialogs.message(what + QLatin1Char('\n') + errorText(e));
}

bool Installer::InitOutlook()
{
    try {
        m_session = Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
        m_session->Logon(QString(), QString(), true, true);
        if (m_session->Folders()->Count() == 0)
            throw QvError(ErrorCode::InvalidProfile);
        return true;
    } catch (const std::exception &e) {
        m_session.reset();
        outlookFailure(
            QCoreApplication::translate("Installer", "Failed whilst initialising Outlook!"), e);
        return false;
    }
}

bool Installer::PickCalendarFolder()
{
    WaitCursor wait(m_dialogs);
    if (!InitOutlook())
        return false;
    try {
        const Store::FolderPtr folder = m_session->PickFolder();
        if (!folder)
            return false;
        if (folder->DefaultItemType() != Store::olAppointmentItem) {
            m_dialogs.message(
                QCoreApplication::translate("Installer", "%1 is not a Calendar folder!")
                    .arg(folder->Name()));
            return false;
        }
        calendarEntryID = folder->EntryID();
        fields.calendarPath = CalendarPathOf(*folder);
        return true;
    } catch (const std::exception &e) {
        outlookFailure(QCoreApplication::translate(
                           "Installer", "An unexpected error has occurred related to Outlook!"),
                       e);
        return false;
    }
}

bool Installer::CheckTitle()
{
    for (const QChar c : kInvalidTitleCharacters) {
        if (fields.title.contains(c)) {
            m_dialogs.message(QCoreApplication::translate(
                                  "Installer", "Specified title contains an invalid character.  "
                                               "Invalid characters are: %1")
                                  .arg(kInvalidTitleCharacters));
            return false;
        }
    }
    return true;
}

bool Installer::CopyInstallFiles()
{
    // The same folder would overwrite the templates with the pages made from them.
    const QString sourceDir = QFileInfo(m_source).canonicalFilePath();
    const bool sameFolder =
        !sourceDir.isEmpty() && QFileInfo(fields.destination).canonicalFilePath() == sourceDir;
    auto same = [this] {
        m_dialogs.message(QCoreApplication::translate(
                              "Installer", "Source and destination appear to be the same?!: %1")
                              .arg(QDir::toNativeSeparators(sourcePage(Page::Planner))));
        return false;
    };
    if (sameFolder || sourcePage(Page::Planner) == destinationPage(Page::Planner))
        return same();
    if (!replaceWithCopy(sourcePage(Page::Planner), destinationPage(Page::Planner))) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer", "Unable to copy HTML file from source to destination!"));
        return false;
    }
    if (!replaceWithCopy(QDir(m_source).filePath(kArchive),
                         QDir(fields.destination).filePath(kArchive))) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer", "Unable to copy CAB file from source to destination!"));
        return false;
    }
    if (sourcePage(Page::Frame) == destinationPage(Page::Frame))
        return same();
    if (!replaceWithCopy(sourcePage(Page::Frame), destinationPage(Page::Frame))) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer", "Unable to copy HTML file from source to destination!"));
        return false;
    }
    return true;
}

bool Installer::RewritePage(Page page)
{
    const QString path = destinationPage(page);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QString text = QString::fromUtf8(in.readAll());
    in.close();
    const QString title = HtmlEscaped(fields.title);
    PageTokens tokens;
    if (page == Page::Frame) {
        tokens = {
            {QStringLiteral("AAAA"), title},
            {QStringLiteral("QVFilename"), HtmlEscaped(fields.title + QStringLiteral(".htm"))}};
    } else {
        QString folder = fields.calendarPath;
        if (folder.startsWith(QLatin1Char('\\')))
            folder.remove(0, 1);
        tokens = {{QStringLiteral("AAAA"), title},
                  {QStringLiteral("BBBB"), HtmlEscaped(folder)},
                  {QStringLiteral("EEEE"), boolText(fields.allEvents)},
                  {QStringLiteral("SSSS"), boolText(fields.displaySubject)},
                  {QStringLiteral("HNCI"), boolText(fields.hideNonCategorised)},
                  {QStringLiteral("SMSM"), QString::number(fields.startMonthIndex + 1)}};
    }
    return ReplaceFile(path, ReplaceTokens(text, tokens).toUtf8()) == 0;
}

bool Installer::BindFolderHomePage()
{
    try {
        if (!m_session)
            m_session = Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
        const Store::FolderPtr calendar = m_session->GetFolderFromID(calendarEntryID);
        if (!calendar)
            throw QvError(ErrorCode::NotFound);
        Store::FolderPtr target = SubfolderNamed(*calendar, fields.title);
        if (!target)
            target = calendar->Folders()->Add(fields.title, Store::olFolderCalendar);
        target->setWebViewAllowNavigation(false);
        target->setWebViewURL(
            HomePageAddress(fields.accessString, fields.title + QStringLiteral("Frame.htm")));
        boundEntryID = target->EntryID();
        target->setWebViewOn(true);
        return true;
    } catch (const std::exception &e) {
        outlookFailure(
            QStringLiteral(
                "An unexpected error has occurred whilst setting the Outlook folder Home Page!"),
            e);
        return false;
    }
}

void Installer::ShowBoundFolder()
{
    try {
        if (const Store::FolderPtr bound =
                m_session ? m_session->GetFolderFromID(boundEntryID) : nullptr)
            bound->Display();
    } catch (const std::exception &e) {
        outlookFailure(QCoreApplication::translate(
                           "Installer", "An unexpected error has occurred related to Outlook!"),
                       e);
    }
    m_session.reset();
}

bool Installer::Install()
{
    WaitCursor wait(m_dialogs);
    if (!CheckTitle())
        return false;
    if (fields.destination.isEmpty()) {
        m_dialogs.message(
            QCoreApplication::translate("Installer", "You must specify a destination folder!"));
        return false;
    }
    if (fields.calendarPath.isEmpty()) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer", "You must specify an outlook calendar folder!"));
        return false;
    }
    if (!CopyInstallFiles()) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer", "Failed whilst copying files from source to specified destination!"));
        return false;
    }
    if (!RewritePage(Page::Planner) || !RewritePage(Page::Frame)) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer",
            "Failed whilst attempting to update html configuration at specified destination!"));
        return false;
    }
    if (!BindFolderHomePage()) {
        m_dialogs.message(QCoreApplication::translate(
            "Installer", "Unable to set outlook folder association to destination path!"));
        return false;
    }
    m_dialogs.message(
        QCoreApplication::translate("Installer", "Thank you for installing Brenholt Quorvel."));
    ShowBoundFolder();
    return true;
}

QString CalendarPathOf(const Store::Folder &folder)
{
    QString path = QLatin1Char('\\') + folder.Name();
    for (Store::FolderPtr parent = folder.Parent(); parent; parent = parent->Parent())
        path.prepend(QLatin1Char('\\') + parent->Name());
    return path;
}

Store::FolderPtr SubfolderNamed(Store::Folder &parent, const QString &name)
{
    const Store::FoldersPtr folders = parent.Folders();
    Store::FolderPtr f = folders->GetFirst();
    for (int i = 0; i < folders->Count() && f; ++i, f = folders->GetNext()) {
        if (f->Name() == name)
            return f;
    }
    return nullptr;
}
