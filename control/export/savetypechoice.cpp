#include "savetypechoice.h"

#include "oadate.h"
#include "restriction.h"

#include <QLocale>

QDate DateOfText(const QString &text)
{
    double date = 0;
    if (text.trimmed().isEmpty() || !ParseFilterDate(text, QLocale(), date))
        return QDate();
    return OADate::toDate(date);
}

SaveTypeChoice::SaveTypeChoice(int selectedYear)
    : m_from(QLocale().toString(QDate(selectedYear, 1, 1), QLocale::ShortFormat)),
      m_to(QLocale().toString(QDate(selectedYear, 12, 31), QLocale::ShortFormat))
{
}

bool SaveTypeChoice::okEnabled() const
{
    return m_categoriesOnly || (DateOfText(m_from).isValid() && DateOfText(m_to).isValid());
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
