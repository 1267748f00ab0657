#include "legendlayout.h"

#include "canvas.h"

#include <cmath>

using namespace LegendMetrics;

namespace {

constexpr unsigned kNameFlags = Canvas::DT_WORDBREAK | Canvas::DT_NOPREFIX | Canvas::DT_EDITCONTROL;
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kBlack = 0x000000;

// A frame from (left, top) to (right, bottom): raised with a light top-left and a dark
// bottom-right edge, sunken the other way round.
void frame(Canvas &c, double left, double top, double right, double bottom, quint32 topLeft,
           quint32 bottomRight)
{
    c.line(left, top, left, bottom, topLeft);
    c.line(left, top, right, top, topLeft);
    c.line(right, top, right, bottom, bottomRight);
    c.line(left, bottom, right, bottom, bottomRight);
}

} // namespace

QRect LegendTextRect(const Canvas &canvas, double left, double top, double bottom)
{
    return QRect(QPoint(int(left / canvas.px()) + 2, int(top / canvas.py())),
                 QPoint(int(kRight / canvas.px()), int(bottom / canvas.py())));
}

LegendRows LayoutLegend(Canvas &canvas, const QStringList &names)
{
    LegendRows rows;
    double bottom = kRowGap;
    for (const QString &name : names) {
        const double top = bottom + kRowGap;
        QRect r = LegendTextRect(canvas, kTextLeft, top, bottom + 1030);
        int h = canvas.DrawText(name, r, Canvas::DT_CALCRECT | kNameFlags);
        if (h < kMinimumTextPixels)
            h = kShortTextPixels;
        bottom = std::round(canvas.py() * h + top + 60);
        rows.bottoms.append(int(bottom));
    }
    rows.height = int(bottom);
    return rows;
}

void DrawLegendMarks(Canvas &canvas, const DayMarks &marks, const LegendRows &rows, int first)
{
    const double px = canvas.px(), py = canvas.py();
    for (int i = 0; i < marks.sources.size() && first + i <= rows.count(); ++i) {
        const int row = first + i;
        const double top = rows.bottoms[row - 1];
        canvas.box(kLeft + px, top + py, kLeft + kSwatch, top + kSwatch, marks.sources[i].colour,
                   true);
        canvas.box(kLeft + px, top + py, kLeft + kSwatch, top + kSwatch, 0x808080, false);
        canvas.setForeColor(kBlack);
        QRect r = LegendTextRect(canvas, kLeft + kSwatch, top, rows.bottoms[row] - kRowGap);
        canvas.DrawText(marks.sources[i].name, r, kNameFlags);
    }
}

int HitLegendRow(const LegendRows &rows, double y)
{
    for (int i = 1; i <= rows.count(); ++i) {
        if (rows.bottoms[i - 1] <= y && y < rows.bottoms[i])
            return i;
    }
    return 0;
}

void DrawLegend(Canvas &canvas, const CategoryTable &table, const LegendRows &rows, int selected,
                const SystemColours &colours)
{
    canvas.clear();
    const double px = canvas.px(), py = canvas.py();
    const int n = std::min<int>(rows.count(), int(table.names.size()));
    for (int i = 1; i <= n; ++i) {
        double top = rows.bottoms[i - 1];
        const double y2 = rows.bottoms[i] - kRowGap;
        double x = kLeft;
        if (i == selected) {
            frame(canvas, kLeft, top, kRight, y2, colours.darkShadow, kWhite);
            x = std::round(kLeft + px);
            top = std::round(top + py);
        }
        canvas.box(x + px, top + py, x + kSwatch, top + kSwatch, table.colours.value(i - 1), true);
        canvas.setForeColor(kBlack);
        QRect r = LegendTextRect(canvas, x + kSwatch, top, y2);
        canvas.DrawText(table.names[i - 1], r, kNameFlags);
    }
}

bool HighlightLegendRow(Canvas &canvas, const LegendRows &rows, int selected, int row,
                        double listWidth, const SystemColours &colours)
{
    bool shown = false;
    const double right = kLeft + (listWidth - 90);
    for (int i = 1; i <= rows.count(); ++i) {
        if (i == selected)
            continue;
        const double top = rows.bottoms[i - 1], y2 = rows.bottoms[i] - kRowGap;
        if (i == row) {
            frame(canvas, kLeft, top, right, y2, kWhite, colours.darkShadow);
            shown = true;
        } else {
            canvas.box(kLeft, top, right, y2, kWhite, false);
        }
    }
    return shown;
}

QRectF RenameEditorRect(const LegendRows &rows, int row, double listWidth, double px, double py)
{
    const double top = rows.bottoms[row - 1] + py;
    return QRectF(255 + px, top, (listWidth - 90) - 210 - px,
                  rows.bottoms[row] - rows.bottoms[row - 1] - kRowGap - py);
}
