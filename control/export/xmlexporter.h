#pragma once

#include "savetypechoice.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class Planner;
class YearSession;
struct PlannerState;

// The export of the category table and the planner's appointments to an XML file. The
// appointments are those the planner shows (the filter applied) in each planner year's cache,
// with their bodies and places read from the calendar; the selected year, the cache and the
// background updates end where they started.
class XmlExporter
{
public:
    // Asks what to save, for the planner's selected year; nothing when cancelled.
    using AskOptions = std::function<std::optional<ExportRequest>(int selectedYear)>;

    // The export of a year session's folder; the session may be a window's planner's or one of
    // its own (a tool's, with no watch and no timed rebuilds).
    XmlExporter(PlannerState &state, YearSession &session);
    explicit XmlExporter(Planner &planner);

    // The Save command: the options, the file, the document, the message, the planner reloaded.
    void ExportXml(const AskOptions &ask);

    // The document of a request, in memory. Raises QvError; the planner's year is restored
    // either way.
    QByteArray BuildDocument(const ExportRequest &request);
    // The document written in place of fileName's file as it is built, through a temporary file
    // beside it, so a failure leaves an earlier file as it was. False, with the file error
    // shown, when it could not be written; bytes, when given, is the document's size. Raises
    // QvError as BuildDocument does, leaving the file as it was.
    bool SaveDocument(const ExportRequest &request, const QString &fileName,
                      qint64 *bytes = nullptr);

    // Wait for each year's rebuild before its cache is read, as a tool without a planner on
    // screen wants; by default only a year whose cache does not exist yet is waited for.
    void setWaitForRebuilds(bool wait) { m_waitForRebuilds = wait; }

private:
    void build(const ExportRequest &request, class XmlDocument &document);
    void addYear(XmlDocument &document, const QString &cacheFile);

    PlannerState &m_state;
    YearSession &m_session;
    bool m_waitForRebuilds = false;
};
