#include "savetypechoice.h"

#include "filterdate.h"
#include "oadate.h"

#include <QLocale>

QDate DateOfText(const QString &text)
{
    double date = 0;
    if (text.trimmed().isEmpty() || !ParseFilterDate(text, QLocale(), date))
        return QDate();
    return OADate::toDate(date);
}

SaveTypeChoice::SaveTypeChoice(int selectedYear)
    : m_selectedYear(selectedYear), m_from(FormatFilterDate(QDate(selectedYear, 1, 1))),
      m_to(FormatFilterDate(QDate(selectedYear, 12, 31)))
{
}

bool SaveTypeChoice::okEnabled() const
{
    return m_categoriesOnly || (DateOfText(m_from).isValid() && DateOfText(m_to).isValid());
}

QString SaveTypeChoice::okHint() const
{
    if (okEnabled())
        return QString();
    const bool fromBad = !DateOfText(m_from).isValid();
    const QString text = (fromBad ? m_from : m_to).trimmed();
    const QString what = text.isEmpty() ? (fromBad ? QStringLiteral("The first day is missing.")
                                                   : QStringLiteral("The last day is missing."))
                                        : QStringLiteral("\"%1\" is not a day.").arg(text);
    const QDate example(m_selectedYear, 12, 31);
    const QString longForm = FormatFilterDate(example);
    const QString shortForm = QLocale().toString(example, QLocale::ShortFormat);
    QString forms = longForm;
    if (shortForm != longForm)
        forms += QStringLiteral(", ") + shortForm;
    forms += QStringLiteral(" or ") + example.toString(Qt::ISODate);
    return what + QStringLiteral(" Type days as ") + forms + QLatin1Char('.');
}

ExportRequest SaveTypeChoice::request() const
{
    ExportRequest r;
    r.categoriesOnly = m_categoriesOnly;
    if (!m_categoriesOnly) {
        r.from = DateOfText(m_from);
        r.to = DateOfText(m_to);
    }
    return r;
}
