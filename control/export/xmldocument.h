#pragma once

#include "plannerstate.h"

class FileReplacement;

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

// The export file: the declaration, the root element, the category table and, when asked for,
// the appointments; a line each, indented by tabs, ending in CR LF, UTF-8 without a byte-order
// mark. Assembled in memory, or handed to a file as it grows so that a large export never holds
// more than a piece of itself.
class XmlDocument
{
public:
    explicit XmlDocument(const CategoryTable &categories, FileReplacement *file = nullptr);

    void beginAppointments();
    void addAppointment(const ExportedAppointment &appointment);
    void endAppointments();
    // The root's end line; the document's bytes, or with a file none (all of them are written).
    QByteArray finish();
    // The bytes of the document so far.
    qint64 size() const { return m_written + m_bytes.size(); }

private:
    void line(int tabs, const char *text);
    // tabs, <element>, the text in CDATA, </element>, CR LF.
    void cdataLine(int tabs, const char *element, const QString &text);
    void dateLine(int tabs, const char *element, double date);
    void flush();

    QByteArray m_bytes;
    FileReplacement *m_file;
    qint64 m_written = 0;
};

// text as one or more CDATA sections that give it back to any XML reader: a "]]>" inside is split
// between two sections, and characters XML does not allow are left out.
QString CdataOf(const QString &text);
// The text without the characters XML 1.0 does not allow: controls other than tab, line feed and
// carriage return, U+FFFE, U+FFFF and halves of surrogate pairs standing alone.
QString XmlCharacters(const QString &text);
// An automation date as "yyyy-MM-ddTHH:mm:ss".
QString ExportDateText(double date);
