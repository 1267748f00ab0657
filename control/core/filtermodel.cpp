#include "filtermodel.h"

#include "usersettings.h"

#include <QCoreApplication>

#include <QSettings>
#include <QStringTokenizer>

FilterModel::FilterModel(QString separator) : m_separator(std::move(separator)) {}

void FilterModel::SetFilter(const QString &text)
{
    m_text = text;
    m_display = text;
    // Split, not trimmed: the names are compared as they stand.
    m_categories = text.isEmpty() ? QStringList() : text.split(m_separator);
}

void FilterModel::SetFilterMode(bool usingAnd)
{
    m_usingAnd = usingAnd;
    m_display = m_text;
    m_display.replace(m_separator, usingAnd ? QStringLiteral(" AND ") : QStringLiteral(" OR "));
}

bool FilterModel::IsFilteredOut(const QString &categories) const
{
    if (m_text.isEmpty())
        return false;
    if (categories.isEmpty())
        return true;
    QList<QStringView> pieces;
    for (QStringView piece : qTokenize(categories, m_separator))
        pieces.append(piece.trimmed());
    if (m_usingAnd) {
        for (const QString &name : m_categories) {
            if (!pieces.contains(QStringView(name)))
                return true;
        }
        return false;
    }
    for (QStringView piece : pieces) {
        if (m_categories.contains(piece))
            return false;
    }
    return true;
}

FilterModel::ButtonState FilterModel::ShowFilterState() const
{
    if (m_display.isEmpty())
        return {QCoreApplication::translate("FilterModel", "Click to define a filter"), false};
    return {QCoreApplication::translate("FilterModel", "Active Filter: %1").arg(m_display), true};
}

QString FilterModel::SectionOf(const QString &titleName)
{
    // The settings file nests sections at "/" and "\": such titles keep their own sections in a
    // space of their own, every "/", "\" and "%" percent-encoded, apart from the plain sections
    // the other titles have always had.
    if (!titleName.contains(QLatin1Char('/')) && !titleName.contains(QLatin1Char('\\')))
        return QStringLiteral("Filtering ") + titleName;
    QString escaped;
    for (const QChar c : titleName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('%'))
            escaped += QStringLiteral("%%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            escaped += c;
    }
    return QStringLiteral("Filtering~ ") + escaped;
}

void FilterModel::restore(const QString &titleName)
{
    QSettings settings = UserSettings();
    settings.beginGroup(SectionOf(titleName));
    SetFilter(settings.value(QStringLiteral("Active"), QString()).toString());
    // Anything but the exact text "False" is AND mode.
    SetFilterMode(settings.value(QStringLiteral("UsingAND"), QStringLiteral("False")).toString() !=
                  QLatin1String("False"));
}

bool FilterModel::save(const QString &titleName) const
{
    QSettings settings = UserSettings();
    settings.beginGroup(SectionOf(titleName));
    settings.setValue(QStringLiteral("Active"), m_text);
    settings.setValue(QStringLiteral("UsingAND"),
                      m_usingAnd ? QStringLiteral("True") : QStringLiteral("False"));
    return StoreSettings(settings);
}
