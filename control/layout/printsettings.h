#pragma once

#include "twips.h"

#include <QString>

#include <algorithm>
#include <utility>

// What the user sets for printing, kept per user in the settings section "Printing" as texts.
// Lengths are held in twips; the page setup dialog shows them in millimetres (56.7 twips each)
// or inches (1440). Every setter writes its key at once, so the store always matches.
class PrintSettings
{
public:
    static constexpr double kTwipsPerMillimetre = 56.7;
    static constexpr double kTwipsPerInch = Twips::kPerInch;

    // Reads every key with its default. titleName picks the heading's key ("Header" + title);
    // plannerStartMonth is the planner's first month, the printed range's default start and the
    // order the two months are kept in; displaySubject is the default of the subject text.
    void LoadPrintSettings(const QString &titleName, int plannerStartMonth, bool displaySubject);

    // In twips.
    qint32 leftMarginTwips() const { return m_left; }
    qint32 topMarginTwips() const { return m_top; }
    qint32 rightMarginTwips() const { return m_right; }
    qint32 bottomMarginTwips() const { return m_bottom; }
    qint32 legendWidthTwips() const { return m_legendWidth; }
    float minBandHeightTwips() const { return m_bandHeight; }
    // Bands a month row has at least: the user's number and the day-number band. Never fewer
    // than that band, nor so many that twelve rows overrun the band totals.
    int minimumBands() const { return std::clamp(m_bands, 1, kMostBands); }
    static constexpr int kMostBands = 1000;

    // In the current units, as the page setup dialog shows and takes them; whole twips are
    // rounded half to even, the band height keeps its fraction.
    double LeftMargin() const { return inUnits(m_left); }
    void setLeftMargin(double value);
    double TopMargin() const { return inUnits(m_top); }
    void setTopMargin(double value);
    double RightMargin() const { return inUnits(m_right); }
    void setRightMargin(double value);
    double BottomMargin() const { return inUnits(m_bottom); }
    void setBottomMargin(double value);
    double LegendWidth() const { return inUnits(m_legendWidth); }
    void setLegendWidth(double value);
    double MinBandHeight() const { return inUnits(m_bandHeight); }
    void setMinBandHeight(double value);

    // The user's number of bands: held as that number and one.
    qint16 MinBandNo() const { return qint16(m_bands - 1); }
    void setMinBandNo(qint16 value);
    QString Units() const { return m_units; }
    void setUnits(const QString &units);
    bool inches() const { return m_units == QLatin1String("Inch"); }
    bool ReprintLegend() const { return m_reprint; }
    void setReprintLegend(bool on);
    bool AutoHeading() const { return m_autoHeading; }
    void setAutoHeading(bool on);
    QString Header() const { return m_header; }
    void setHeader(const QString &text);
    qint16 PrintFormat() const
    {
        return m_format;
    } // 0 multiline and crop, 1 one line with ellipsis
    void setPrintFormat(qint16 format);
    bool DisplayLegend() const { return m_displayLegend; }
    void setDisplayLegend(bool on);
    bool VisibleText() const { return m_visibleText; }
    void setVisibleText(bool on);
    // The first and last calendar month printed, kept in the planner year's order.
    qint16 FilterStartMonth() const { return m_startMonth; }
    void setFilterStartMonth(qint16 month);
    qint16 FilterEndMonth() const { return m_endMonth; }
    void setFilterEndMonth(qint16 month);
    // Both at once, ordered once: choosing May to September keeps May to September whatever
    // the range was before.
    void setFilterMonths(qint16 first, qint16 last);

    // The printer's paper size code and orientation as stored (empty when never stored).
    QString storedPaperSize() const;
    QString storedOrientation() const;
    void storePaper(int paperSize, int orientation);

    // Whether a setting could not be written to the settings file since the last call (it
    // applies all the same); clears it.
    bool takeStoreFailure() const { return std::exchange(m_storeFailed, false); }

private:
    double factor() const { return inches() ? kTwipsPerInch : kTwipsPerMillimetre; }
    double inUnits(double twips) const { return twips / factor(); }
    qint32 twipsOf(double value) const;
    void write(const char *key, const QString &value) const;
    void setLength(qint32 &twips, const char *key, double value);
    void setFlag(bool &flag, const char *key, bool on);
    void orderMonths();

    QString m_title;
    mutable bool m_storeFailed = false;
    int m_plannerStartMonth = 1;
    qint32 m_left = 1134, m_top = 1134, m_right = 1134, m_bottom = 1134;
    qint32 m_legendWidth = 2268;
    int m_bands = 4;
    float m_bandHeight = 142;
    QString m_header;
    QString m_units = QStringLiteral("mm");
    bool m_reprint = true;
    qint16 m_startMonth = 1, m_endMonth = 12;
    qint16 m_format = 1;
    bool m_visibleText = false;
    bool m_displayLegend = true;
    bool m_autoHeading = true;
};

// A text as a number, the way the settings and the dialog take numbers: false when it is none.
bool NumberOfText(const QString &text, double &value);
