#include "xmldocument.h"

#include "oadate.h"

const char *const kQuorvelDataNamespace = "http://www.quorvel.com/Schemas/QuorvelData01.xsd";

QString XmlCharacters(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append(text[i]);
            out.append(text[++i]);
            continue;
        }
        const bool control = c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D;
        if (control || c == 0xFFFE || c == 0xFFFF || QChar::isSurrogate(c))
            continue;
        out.append(text[i]);
    }
    return out;
}

QString CdataOf(const QString &text)
{
    QString clean = XmlCharacters(text);
    // "]]>" would end the section: the "]]" closes one, the ">" opens the next.
    clean.replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"));
    return QStringLiteral("<![CDATA[") + clean + QStringLiteral("]]>");
}

QString ExportDateText(double date)
{
    return OADate::toDateTime(date).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

XmlDocument::XmlDocument(const CategoryTable &categories)
{
    line(0, QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" ?>"));
    line(0, QStringLiteral("<QuorvelData xmlns = \"") + QLatin1String(kQuorvelDataNamespace) +
                QStringLiteral("\">"));
    line(1, QStringLiteral("<Categories>"));
    for (qsizetype i = 0; i < categories.names.size(); ++i) {
        line(2, QStringLiteral("<Category>"));
        line(3, QStringLiteral("<Text>") + CdataOf(categories.names[i]) + QStringLiteral("</Text>"));
        line(3, QStringLiteral("<Colour>") + QString::number(qint32(categories.colours.value(i))) +
                    QStringLiteral("</Colour>"));
        line(2, QStringLiteral("</Category>"));
    }
    line(1, QStringLiteral("</Categories>"));
}

void XmlDocument::line(int tabs, const QString &text)
{
    m_text += QString(tabs, QLatin1Char('\t')) + text + QStringLiteral("\r\n");
}

void XmlDocument::beginAppointments()
{
    line(1, QStringLiteral("<Appointments>"));
}

void XmlDocument::addAppointment(const ExportedAppointment &a)
{
    line(2, QStringLiteral("<Appointment>"));
    line(3, QStringLiteral("<Subject>") + CdataOf(a.subject) + QStringLiteral("</Subject>"));
    line(3, QStringLiteral("<CategoryList>") + CdataOf(a.categories) + QStringLiteral("</CategoryList>"));
    line(3, QStringLiteral("<StartDateTime>") + ExportDateText(a.start) + QStringLiteral("</StartDateTime>"));
    line(3, QStringLiteral("<EndDateTime>") + ExportDateText(a.end) + QStringLiteral("</EndDateTime>"));
    line(3, QStringLiteral("<Body>") + CdataOf(a.body) + QStringLiteral("</Body>"));
    line(3, QStringLiteral("<Location>") + CdataOf(a.location) + QStringLiteral("</Location>"));
    // Entry identifiers are letters and digits; escaped all the same, as no CDATA holds them.
    line(3, QStringLiteral("<ID>") + XmlCharacters(a.id).toHtmlEscaped() + QStringLiteral("</ID>"));
    line(2, QStringLiteral("</Appointment>"));
}

void XmlDocument::endAppointments()
{
    line(1, QStringLiteral("</Appointments>"));
}

QByteArray XmlDocument::finish()
{
    line(0, QStringLiteral("</QuorvelData>"));
    return m_text.toUtf8();
}
