#include "printsettings.h"

#include "qverror.h"
#include "usersettings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kSection = QStringLiteral("Printing");

// The row of a calendar month in a planner year that begins with startMonth.
int rowOf(int month, int startMonth)
{
    return month < startMonth ? month - startMonth + 13 : month - startMonth + 1;
}

// A stored number in a field of type T: out-of-range texts are held at the nearest end, not
// wrapped round.
template <typename T> T held(double value)
{
    return T(std::clamp(value, double(std::numeric_limits<T>::min()),
                        double(std::numeric_limits<T>::max())));
}

QString boolText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

bool NumberOfText(const QString &text, double &value)
{
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

void PrintSettings::write(const char *key, const QString &value) const
{
    QSettings settings = UserSettings();
    settings.setValue(kSection + QLatin1Char('/') + QLatin1String(key), value);
    if (!StoreSettings(settings))
        m_storeFailed = true;
}

qint32 PrintSettings::twipsOf(double value) const
{
    // Whole twips, a half to the even neighbour: 25 mm is 1417.5 twips, stored as 1418.
    return held<qint32>(std::nearbyint(value * factor()));
}

void PrintSettings::LoadPrintSettings(const QString &titleName, int plannerStartMonth,
                                      bool displaySubject)
{
    m_title = titleName;
    m_plannerStartMonth = plannerStartMonth;
    QSettings settings = UserSettings();
    settings.beginGroup(kSection);
    auto number = [&](const char *key, const QString &fallback) {
        const QString text = settings.value(QLatin1String(key), fallback).toString();
        double value = 0;
        if (!NumberOfText(text, value))
            throw QvError(
                13, QStringLiteral("Type mismatch (%1: \"%2\")").arg(QLatin1String(key), text),
                QStringLiteral("PrintSettings"));
        return value;
    };
    auto flag = [&](const char *key, bool fallback) {
        return settings.value(QLatin1String(key), boolText(fallback)).toString() ==
               QLatin1String("True");
    };
    m_left = held<qint32>(number("Left Margin", QStringLiteral("1134")));
    m_top = held<qint32>(number("Top Margin", QStringLiteral("1134")));
    m_right = held<qint32>(number("Right Margin", QStringLiteral("1134")));
    m_bottom = held<qint32>(number("Bottom Margin", QStringLiteral("1134")));
    m_legendWidth = held<qint32>(number("Legend Width", QStringLiteral("2268")));
    m_bands = held<qint16>(number("Bands", QStringLiteral("3"))) + 1;
    m_bandHeight = float(number("Band Height", QStringLiteral("142")));
    m_header = settings.value(QStringLiteral("Header") + titleName, QString()).toString();
    m_units = settings.value(QStringLiteral("Units"), QStringLiteral("mm")).toString();
    m_reprint = flag("ReprintLegend", true);
    const int lastOfYear = (plannerStartMonth + 10) % 12 + 1;
    const qint16 start = held<qint16>(number("StartMonth", QString::number(plannerStartMonth)));
    const qint16 end = held<qint16>(number("EndMonth", QString::number(lastOfYear)));
    m_format = held<qint16>(number("PrintTextFormat", QStringLiteral("1")));
    m_visibleText = flag("PrintText", displaySubject);
    m_displayLegend = flag("DisplayLegend", true);
    m_autoHeading = flag("DisplayAutoHeading", true);
    settings.endGroup();
    setFilterMonths(start, end);
}

void PrintSettings::setLength(qint32 &twips, const char *key, double value)
{
    twips = twipsOf(value);
    write(key, QString::number(twips));
}

void PrintSettings::setFlag(bool &flag, const char *key, bool on)
{
    flag = on;
    write(key, boolText(on));
}

void PrintSettings::setLeftMargin(double value)
{
    setLength(m_left, "Left Margin", value);
}

void PrintSettings::setTopMargin(double value)
{
    setLength(m_top, "Top Margin", value);
}

void PrintSettings::setRightMargin(double value)
{
    setLength(m_right, "Right Margin", value);
}

void PrintSettings::setBottomMargin(double value)
{
    setLength(m_bottom, "Bottom Margin", value);
}

void PrintSettings::setLegendWidth(double value)
{
    setLength(m_legendWidth, "Legend Width", value);
}

void PrintSettings::setMinBandHeight(double value)
{
    // Kept with its fraction: 2.5 mm is 141.75 twips.
    m_bandHeight = float(value * factor());
    write("Band Height", QString::number(m_bandHeight));
}

void PrintSettings::setMinBandNo(qint16 value)
{
    m_bands = value + 1;
    write("Bands", QString::number(value));
}

void PrintSettings::setUnits(const QString &units)
{
    m_units = units;
    write("Units", units);
}

void PrintSettings::setReprintLegend(bool on)
{
    setFlag(m_reprint, "ReprintLegend", on);
}

void PrintSettings::setAutoHeading(bool on)
{
    setFlag(m_autoHeading, "DisplayAutoHeading", on);
}

void PrintSettings::setHeader(const QString &text)
{
    m_header = text;
    QSettings settings = UserSettings();
    settings.setValue(kSection + QStringLiteral("/Header") + m_title, text);
}

void PrintSettings::setPrintFormat(qint16 format)
{
    m_format = format;
    write("PrintTextFormat", QString::number(format));
}

void PrintSettings::setDisplayLegend(bool on)
{
    setFlag(m_displayLegend, "DisplayLegend", on);
}

void PrintSettings::setVisibleText(bool on)
{
    setFlag(m_visibleText, "PrintText", on);
}

void PrintSettings::orderMonths()
{
    if (rowOf(m_endMonth, m_plannerStartMonth) < rowOf(m_startMonth, m_plannerStartMonth))
        std::swap(m_startMonth, m_endMonth);
    write("StartMonth", QString::number(m_startMonth));
    write("EndMonth", QString::number(m_endMonth));
}

void PrintSettings::setFilterStartMonth(qint16 month)
{
    m_startMonth = std::clamp<qint16>(month, 1, 12);
    orderMonths();
}

void PrintSettings::setFilterEndMonth(qint16 month)
{
    m_endMonth = std::clamp<qint16>(month, 1, 12);
    orderMonths();
}

void PrintSettings::setFilterMonths(qint16 first, qint16 last)
{
    m_startMonth = std::clamp<qint16>(first, 1, 12);
    m_endMonth = std::clamp<qint16>(last, 1, 12);
    orderMonths();
}

QString PrintSettings::storedPaperSize() const
{
    return UserSettings().value(kSection + QStringLiteral("/PaperSize")).toString();
}

QString PrintSettings::storedOrientation() const
{
    return UserSettings().value(kSection + QStringLiteral("/Orientation")).toString();
}

void PrintSettings::storePaper(int paperSize, int orientation)
{
    write("PaperSize", QString::number(paperSize));
    write("Orientation", QString::number(orientation));
}
