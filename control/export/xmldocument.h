#pragma once

#include "plannerstate.h"

#include <QByteArray>
#include <QString>

// The address the export's root element names as its namespace: fixed, the maker's, with the
// schema's path.
extern const char *const kQuorvelDataNamespace;

// One appointment as the export writes it; times are automation dates, local time.
struct ExportedAppointment
{
    QString subject;
    QString categories;
    double start = 0;
    double end = 0;
    QString body;
    QString location;
    QString id;
};

// The export file, assembled in memory: the declaration, the root element, the category table
// and, when asked for, the appointments; a line each, indented by tabs, ending in CR LF, UTF-8
// without a byte-order mark. The bytes are built as they go, so a large export costs its size
// once.
class XmlDocument
{
public:
    explicit XmlDocument(const CategoryTable &categories);

    void beginAppointments();
    void addAppointment(const ExportedAppointment &appointment);
    void endAppointments();
    // The root's end line; the document's bytes.
    QByteArray finish();

private:
    void line(int tabs, const char *text);
    // tabs, <element>, the text in CDATA, </element>, CR LF.
    void cdataLine(int tabs, const char *element, const QString &text);
    void dateLine(int tabs, const char *element, double date);

    QByteArray m_bytes;
};

// text as one or more CDATA sections that give it back to any XML reader: a "]]>" inside is split
// between two sections, and characters XML does not allow are left out.
QString CdataOf(const QString &text);
// The text without the characters XML 1.0 does not allow: controls other than tab, line feed and
// carriage return, U+FFFE, U+FFFF and halves of surrogate pairs standing alone.
QString XmlCharacters(const QString &text);
// An automation date as "yyyy-MM-ddTHH:mm:ss".
QString ExportDateText(double date);
