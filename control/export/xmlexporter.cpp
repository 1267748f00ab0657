#include "xmlexporter.h"

#include "cacheloader.h"
#include "dialogs.h"
#include "fileerror.h"
#include "filereplacement.h"
#include "oadate.h"
#include "planner.h"
#include "qverror.h"
#include "xmldocument.h"
#include "yearsession.h"
#include "yield.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <cerrno>

namespace {

constexpr int kRebuildWaitMs = 120000;

// Rebuilds that complete while it is held are neither loaded nor drawn.
class HeldRebuiltYears
{
public:
    explicit HeldRebuiltYears(YearSession &session) : m_session(session)
    {
        m_session.holdRebuiltYears(true);
    }
    ~HeldRebuiltYears() { m_session.holdRebuiltYears(false); }
    HeldRebuiltYears(const HeldRebuiltYears &) = delete;
    HeldRebuiltYears &operator=(const HeldRebuiltYears &) = delete;

private:
    YearSession &m_session;
};

} // namespace

XmlExporter::XmlExporter(PlannerState &state, YearSession &session)
    : m_state(state), m_session(session)
{
}

XmlExporter::XmlExporter(Planner &planner) : XmlExporter(planner.state(), planner.session()) {}

void XmlExporter::addYear(XmlDocument &document)
{
    CacheUpdater &updater = m_session.updater();
    const bool fresh = !QFileInfo::exists(m_session.cacheFiles().cacheFile);
    // The year before is read already: a rebuild of it still under way gives way to this one's.
    updater.StartBackgroundUpdate(true);
    if (m_waitForRebuilds || fresh) {
        // A year never opened has no cache yet: its rebuild is the only way to its appointments.
        QElapsedTimer waited;
        waited.start();
        while (updater.pending() > 0 && waited.elapsed() < kRebuildWaitMs)
            YieldAndWait(10);
    }
    // One record at a time: a year of a large folder is never held whole beside the document.
    PlannerState &state = m_state;
    const CalendarAccess *access = m_session.access();
    // Occurrences of one item share its body and place: each item is read once.
    QHash<QString, std::pair<QString, QString>> read;
    const bool complete =
        ReadCachedEvents(state, m_session.cacheFiles().cacheFile, [&](const CalEvent &e) {
            if (!state.isVisible(e))
                return;
            auto it = read.constFind(e.EventID);
            if (it == read.constEnd()) {
                QString body, location;
                if (access)
                    access->GetBodyAndLocation(e.EventID, body, location);
                it = read.insert(e.EventID, {body, location});
            }
            document.addAppointment({e.Subject, e.Categories, e.StartDate, e.EndDate, it->first,
                                     it->second, e.EventID});
        });
    if (!complete)
        throw QvError(
            FileError::PathFileAccessError,
            QStringLiteral("The cache of %1 could not be read").arg(state.year.selectedYear()));
}

void XmlExporter::build(const ExportRequest &request, XmlDocument &document)
{
    if (request.categoriesOnly)
        return;
    PlannerState &state = m_state;
    const int saved = state.year.selectedYear();
    const int first = state.year.PlannerYearOf(OADate::fromDateTime(request.from));
    const int last = state.year.PlannerYearOf(OADate::fromDateTime(request.to));
    document.beginAppointments();
    CacheUpdater &updater = m_session.updater();
    updater.CancelBackgroundUpdate();
    updater.setBackgroundTimerEnabled(false);
    try {
        // The store keeps the year shown: each year's records go from its cache to the document.
        const HeldRebuiltYears held(m_session);
        for (int y = first; y <= last; ++y) {
            m_session.selectYear(y);
            addYear(document);
        }
    } catch (...) {
        m_session.selectYear(saved);
        throw;
    }
    document.endAppointments();
    m_session.selectYear(saved);
}

QByteArray XmlExporter::BuildDocument(const ExportRequest &request)
{
    XmlDocument document(m_state.categories);
    build(request, document);
    return document.finish();
}

bool XmlExporter::SaveDocument(const ExportRequest &request, const QString &fileName, qint64 *bytes)
{
    FileReplacement file(fileName);
    if (!file.error()) {
        XmlDocument document(m_state.categories, &file);
        build(request, document);
        document.finish();
        if (bytes)
            *bytes = document.size();
    }
    if (const int error = file.commit()) {
        FileErrorMessage(error, m_state.dialogs);
        return false;
    }
    return true;
}

void XmlExporter::reloadAfterwards()
{
    m_session.selectYear(m_state.year.selectedYear());
    m_session.reload();
    m_session.updater().setBackgroundTimerEnabled(true);
}

void XmlExporter::ExportXml(const AskOptions &ask)
{
    Dialogs &dialogs = m_state.dialogs;
    WaitCursor wait(dialogs);
    const std::optional<ExportRequest> request = ask(m_state.year.selectedYear());
    if (!request)
        return;
    Dialogs::SaveFile save;
    save.filter = QStringLiteral("Quorvel Data(*.xml)|*.xml|All Files(*.*)|*.*");
    save.title = QStringLiteral("Save Quorvel Data");
    save.defaultExtension = QStringLiteral("xml");
    save.overwritePrompt = true;
    const QString fileName = dialogs.saveFileName(save);
    if (fileName.isEmpty())
        return;
    try {
        if (SaveDocument(*request, fileName))
            dialogs.message(QStringLiteral("Quorvel Data saved"));
        else
            dialogs.message(QStringLiteral("Failed to save file."));
    } catch (const QvError &e) {
        dialogs.message(QStringLiteral("Error whilst performing Export: %1 %2")
                            .arg(e.number())
                            .arg(e.description()));
    }
    reloadAfterwards();
}
