#include "pagelayout.h"

#include "canvas.h"
#include "localeservices.h"
#include "plannerstate.h"
#include "printsettings.h"

#include <QLocale>

#include <cmath>

namespace {

constexpr unsigned kNameFlags = Canvas::DT_WORDBREAK | Canvas::DT_NOPREFIX | Canvas::DT_EDITCONTROL;
const QString kAdvice = QStringLiteral("You can increase the printing area by reducing the minimum "
                                       "band height, the top and bottom margins or the header.");

// The legend's entries, measured at 10 points in the box each name is printed in: from 240
// twips right of the legend's left edge to 45 twips short of its right edge.
void measureLegend(PageLayout &layout, const CategoryTable &table, const PrintSettings &settings,
                   Canvas &measure)
{
    measure.setFontSize(10);
    const double width = settings.legendWidthTwips() - 45 - 240;
    double y = 30;
    layout.legendBottom = {0};
    for (const QString &name : table.names) {
        QRect r(QPoint(0, int((y + 30) / measure.py())),
                QPoint(std::max(1, int(width / measure.px())),
                       int((y + 1030) / measure.py()) + 100000));
        int h = measure.DrawText(name, r, Canvas::DT_CALCRECT | kNameFlags);
        if (h < 15)
            h = 20;
        y = y + 30 + h * measure.py() + 60;
        layout.legendBottom.append(int(std::lround(y)));
    }
    layout.legendHeight = int(std::lround(y));
}

// Runs first..last of running totals (the legend's entry bottoms, the month rows' band totals)
// spread over pages that hold room each: every page takes whole runs while they fit. tooTall
// is the first run taller than a page alone, or 0.
struct Split
{
    QList<int> first, last;
    int tooTall = 0;
};
template <typename Totals> Split splitRuns(const Totals &totals, int first, int last, double room)
{
    Split split;
    int s = first;
    while (s <= last) {
        const double end = totals[s - 1] + room;
        int e = s;
        while (e <= last && totals[e] < end)
            ++e;
        if (e > last) {
            e = last; // the runs left all fit
        } else if (e == s && totals[s] > end) {
            split.tooTall = s;
            return split;
        } else if (e > s) {
            --e;
        }
        split.first.append(s);
        split.last.append(e);
        s = e + 1;
    }
    return split;
}

double measureHeading(const PlannerState &state, const PrintSettings &settings,
                      const PageLayout &layout, Canvas &measure)
{
    measure.setFontSize(12);
    QString text = QStringLiteral("Year %1").arg(state.year.selectedYear());
    if (!settings.Header().isEmpty())
        text += QLatin1Char('\n') + settings.Header();
    const double width = layout.gridWidth + settings.legendWidthTwips();
    QRect r(QPoint(int(settings.leftMarginTwips() / measure.px()),
                   int(settings.topMarginTwips() / measure.py())),
            QPoint(int((settings.leftMarginTwips() + width) / measure.px()),
                   int((settings.topMarginTwips() + 10000) / measure.py())));
    const int h = measure.DrawText(text, r, Canvas::DT_CALCRECT | Canvas::DT_CENTER | kNameFlags);
    return h * measure.py() + 120;
}

} // namespace

double PageLayout::pageGridHeight(int p) const
{
    if (!hasMonths(p))
        return 0;
    return std::round((rowBands[pageLastRow[p]] - rowBands[pageFirstRow[p] - 1]) * bandHeight);
}

QString PageLayout::summary() const
{
    QStringList lines;
    for (int p = 1; p <= pageCount; ++p) {
        QString line = QStringLiteral("page %1: ").arg(p);
        line += hasMonths(p) ? QStringLiteral("rows %1-%2").arg(pageFirstRow[p]).arg(pageLastRow[p])
                             : QStringLiteral("no rows");
        if (p < legendFirst.size())
            line += QStringLiteral(", legend %1-%2").arg(legendFirst[p]).arg(legendLast[p]);
        else
            line += QStringLiteral(", no legend part");
        line += QStringLiteral(", band %1, day numbers %2")
                    .arg(bandHeight, 0, 'f', 1)
                    .arg(dayNumberSize);
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString PageHeading(const PlannerState &state, const PrintSettings &settings)
{
    QString text;
    if (settings.AutoHeading()) {
        const int year = state.year.selectedYear();
        text = QStringLiteral("Year %1").arg(year);
        if (settings.FilterStartMonth() > settings.FilterEndMonth())
            text += QStringLiteral("/%1").arg(year + 1);
    }
    if (!settings.Header().isEmpty()) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += settings.Header();
    }
    return text;
}

PageLayout Paginate(PlannerState &state, const PrintSettings &settings, const QSizeF &page,
                    Canvas &measure, double screenPixel)
{
    PageLayout L;
    L.page = page;
    const bool legend = settings.DisplayLegend();
    const CategoryTable legendTable = state.legendTable(); // the categories and the marked days
    measureLegend(L, legendTable, settings, measure);
    L.rowBands = CalculateBands(
        *state.store, state.year, state.AllEvents, settings.minimumBands(),
        [&state](const CalEvent &e) { return state.isVisible(e); }, state.dialogs);

    L.gridLeft = settings.leftMarginTwips() + PageLayout::kMonthColumn;
    L.gridWidth = page.width() - settings.leftMarginTwips() - PageLayout::kMonthColumn -
                  settings.rightMarginTwips() - (legend ? settings.legendWidthTwips() : 0);
    L.headingHeight = measureHeading(state, settings, L, measure);
    L.gridHeight = page.height() - settings.bottomMarginTwips() - PageLayout::kDayStrip -
                   settings.topMarginTwips() - L.headingHeight;
    L.dayWidth = (L.gridWidth - screenPixel) / PlannerYear::kColumns;

    // The legend's pages.
    const int n = int(legendTable.names.size());
    L.legendFirst = {0};
    L.legendLast = {0};
    if (legend && L.legendHeight > L.gridHeight) {
        const Split split = splitRuns(L.legendBottom, 1, n, L.gridHeight);
        if (split.tooTall) {
            L.problem = QStringLiteral("Category legend will not fit onto the page\n\n") + kAdvice;
            return L;
        }
        L.legendFirst += split.first;
        L.legendLast += split.last;
        L.legendPageCount = int(split.first.size());
    } else if (legend) {
        L.legendPageCount = 1;
        L.legendFirst.append(1);
        L.legendLast.append(n);
    } else {
        L.legendPageCount = 0;
    }

    // The month pages.
    const PlannerYear &year = state.year;
    const int rf = year.RowOfMonth(settings.FilterStartMonth());
    const int rl = year.RowOfMonth(settings.FilterEndMonth());
    L.firstRow = rf;
    L.lastRow = rl;
    const int before = L.rowBands[rf - 1];
    const int total = L.rowBands[rl] - before;
    const double available = L.gridHeight - screenPixel;
    L.bandHeight = available / std::max(total, 1);
    L.pageFirstRow = {0};
    L.pageLastRow = {rf - 1};
    auto monthWontFit = [&](int row) {
        return QStringLiteral("Events for ") +
               QLocale().standaloneMonthName(year.MonthOfRow(row), QLocale::LongFormat) +
               QStringLiteral(" will not all fit onto the page\n\n") + kAdvice;
    };
    if (available <= 0) {
        // Margins and heading leave no room for a single band.
        L.problem = monthWontFit(rf);
        return L;
    }
    if (settings.minBandHeightTwips() > L.bandHeight) {
        L.bandHeight = settings.minBandHeightTwips();
        const int per = int(std::min(available / L.bandHeight, 1e9));
        const Split split = splitRuns(L.rowBands, rf, rl, per);
        if (split.tooTall) {
            L.problem = monthWontFit(split.tooTall);
            return L;
        }
        L.pageFirstRow += split.first;
        L.pageLastRow += split.last;
    } else {
        L.pageFirstRow.append(rf);
        L.pageLastRow.append(rl);
    }
    L.pageCount = int(L.pageFirstRow.size()) - 1;
    for (int p = L.pageCount + 1; p <= L.legendPageCount; ++p) {
        L.pageFirstRow.append(1);
        L.pageLastRow.append(0);
    }
    L.pageCount = std::max(L.pageCount, L.legendPageCount);

    // The largest day numbers the bands have room for.
    L.dayNumberSize = 6;
    for (int size = 10; size >= 7; --size) {
        measure.setFontSize(size);
        if (measure.textHeight(QStringLiteral("0")) / 1.2 <= L.bandHeight) {
            L.dayNumberSize = size;
            break;
        }
    }
    return L;
}
