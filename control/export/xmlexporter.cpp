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

#include <QCoreApplication>
#include <QHash>

XmlExporter::XmlExporter(PlannerState &state, YearSession &session)
    : m_state(state), m_session(session)
{
}

XmlExporter::XmlExporter(Planner &planner) : XmlExporter(planner.state(), planner.session()) {}

void XmlExporter::addYear(XmlDocument &document, const QString &cacheFile)
{
    const PlannerState &state = m_state;
    const CalendarAccess *access = m_session.access();
    // Occurrences of one item share its body and place: each item is read once.
    QHash<QString, std::pair<QString, QString>> read;
    // One record at a time: a year of a large folder is never held whole beside the document.
    CachedEvents events(m_state, cacheFile);
    while (const CalEvent *e = events.next()) {
        if (!state.isVisible(*e))
            continue;
        auto it = read.constFind(e->EventID);
        if (it == read.constEnd()) {
            QString body, location;
            if (access)
                access->GetBodyAndLocation(e->EventID, body, location);
            it = read.insert(e->EventID, {body, location});
        }
        document.addAppointment({e->Subject, e->Categories, e->StartDate, e->EndDate, it->first,
                                 it->second, e->EventID});
    }
    if (events.failed())
        throw QvError(FileError::PathFileAccessError,
                      QCoreApplication::translate("Messages", "The cache of %1 could not be read")
                          .arg(state.year.selectedYear()));
}

void XmlExporter::build(const ExportRequest &request, XmlDocument &document)
{
    if (request.categoriesOnly)
        return;
    const int first = m_state.year.PlannerYearOf(OADate::fromDateTime(request.from));
    const int last = m_state.year.PlannerYearOf(OADate::fromDateTime(request.to));
    document.beginAppointments();
    {
        // The store keeps the year shown: each year's records go from its cache to the document.
        YearSession::OtherYears years(m_session);
        for (int y = first; y <= last; ++y)
            addYear(document, years.cacheOf(y, m_waitForRebuilds));
    }
    document.endAppointments();
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
            dialogs.message(QCoreApplication::translate("Messages", "Quorvel Data saved"));
        else
            dialogs.message(QCoreApplication::translate("Messages", "Failed to save file."));
    } catch (const QvError &e) {
        dialogs.message(
            QCoreApplication::translate("Messages", "Error whilst performing Export: %1 %2")
                .arg(e.number())
                .arg(e.description()));
    }
    m_session.reload();
}
