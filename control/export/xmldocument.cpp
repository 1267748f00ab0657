#include "xmldocument.h"

#include "filereplacement.h"
#include "oadate.h"

#include <cstdio>

const char *const kQuorvelDataNamespace = "http://www.quorvel.com/Schemas/QuorvelData01.xsd";

namespace {

bool allowed(char16_t c)
{
    return (c >= 0x20 || c == 0x09 || c == 0x0A || c == 0x0D) && c != 0xFFFE && c != 0xFFFF;
}

// The text inside a CDATA section: "]]>" split between two sections.
QString cdataContent(const QString &text)
{
    QString clean = XmlCharacters(text);
    if (clean.contains(QLatin1String("]]>")))
        clean.replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"));
    return clean;
}

} // namespace

QString XmlCharacters(const QString &text)
{
    // Most texts hold nothing to leave out: they are handed back as they are.
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!allowed(c) || QChar::isSurrogate(c))
            break;
    }
    if (i == text.size())
        return text;
    QString out = text.left(i);
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append(text[i]);
            out.append(text[++i]);
        } else if (allowed(c) && !QChar::isSurrogate(c)) {
            out.append(text[i]);
        }
    }
    return out;
}

QString CdataOf(const QString &text)
{
    return QStringLiteral("<![CDATA[") + cdataContent(text) + QStringLiteral("]]>");
}

QString ExportDateText(double date)
{
    // By hand: a year of appointments holds a few hundred thousand dates.
    const OADate::Civil c = OADate::civil(date);
    const int seconds = OADate::MsecsSinceMidnight(date) / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
    return QString::fromLatin1(text);
}

namespace {

// What is gathered before it goes to the file.
constexpr qsizetype kFlushBytes = 1 << 20;

} // namespace

XmlDocument::XmlDocument(const CategoryTable &categories, FileReplacement *file) : m_file(file)
{
    line(0, "<?xml version=\"1.0\" encoding=\"utf-8\" ?>");
    m_bytes += "<QuorvelData xmlns = \"";
    m_bytes += kQuorvelDataNamespace;
    m_bytes += "\">\r\n";
    line(1, "<Categories>");
    for (qsizetype i = 0; i < categories.names.size(); ++i) {
        line(2, "<Category>");
        cdataLine(3, "Text", categories.names[i]);
        m_bytes += "\t\t\t<Colour>";
        m_bytes += QByteArray::number(qint32(categories.colours.value(i)));
        m_bytes += "</Colour>\r\n";
        line(2, "</Category>");
    }
    line(1, "</Categories>");
}

void XmlDocument::line(int tabs, const char *text)
{
    m_bytes.append(tabs, '\t');
    m_bytes += text;
    m_bytes += "\r\n";
}

void XmlDocument::cdataLine(int tabs, const char *element, const QString &text)
{
    m_bytes.append(tabs, '\t');
    m_bytes += '<';
    m_bytes += element;
    m_bytes += "><![CDATA[";
    m_bytes += cdataContent(text).toUtf8();
    m_bytes += "]]></";
    m_bytes += element;
    m_bytes += ">\r\n";
}

void XmlDocument::dateLine(int tabs, const char *element, double date)
{
    m_bytes.append(tabs, '\t');
    m_bytes += '<';
    m_bytes += element;
    m_bytes += '>';
    m_bytes += ExportDateText(date).toLatin1();
    m_bytes += "</";
    m_bytes += element;
    m_bytes += ">\r\n";
}

void XmlDocument::beginAppointments()
{
    line(1, "<Appointments>");
}

void XmlDocument::addAppointment(const ExportedAppointment &a)
{
    line(2, "<Appointment>");
    cdataLine(3, "Subject", a.subject);
    cdataLine(3, "CategoryList", a.categories);
    dateLine(3, "StartDateTime", a.start);
    dateLine(3, "EndDateTime", a.end);
    cdataLine(3, "Body", a.body);
    cdataLine(3, "Location", a.location);
    // Entry identifiers are letters and digits; escaped all the same, as no CDATA holds them.
    m_bytes += "\t\t\t<ID>";
    m_bytes += XmlCharacters(a.id).toHtmlEscaped().toUtf8();
    m_bytes += "</ID>\r\n";
    line(2, "</Appointment>");
    if (m_file && m_bytes.size() >= kFlushBytes)
        flush();
}

void XmlDocument::flush()
{
    m_file->write(m_bytes.constData(), m_bytes.size());
    m_written += m_bytes.size();
    m_bytes.resize(0); // keeps its room for the next piece
}

void XmlDocument::endAppointments()
{
    line(1, "</Appointments>");
}

QByteArray XmlDocument::finish()
{
    line(0, "</QuorvelData>");
    if (!m_file)
        return m_bytes;
    flush();
    return {};
}
