#include "calevent.h"
#include "eventkey.h"
#include "lineelision.h"
#include "paintercanvas.h"
#include "plannerstate.h"
#include "recordingcanvas.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "weeknumber.h"
#include "yearpainter.h"

#include <QImage>
#include <QMap>
#include <QPainter>

#include <cmath>

#include <gtest/gtest.h>

namespace {

using Op = RecordingCanvas::Op;

class DrawTest : public ::testing::Test
{
protected:
    DrawTest() : state(dialogs)
    {
        state.year = PlannerYear(2026, 1);
        state.categories.names = {"Holiday", "Work", "Other"};
        state.categories.colours = {0x9FDDA6, 0xE4B497, 0xCCCCCC};
        geometry.GridWidth = 37 * 300 + 45;
        geometry.DayWidth = 300;
        geometry.BandHeight = 150;
    }

    CalEvent &add(const QString &id, double start, double end, qint16 cat = 1,
                  const QString &subject = QString())
    {
        auto e = std::make_unique<CalEvent>();
        e->EventID = id;
        e->Subject = subject.isEmpty() ? id : subject;
        e->StartDate = start;
        e->EndDate = end;
        e->CatIndex = cat;
        PlaceEvent(*e, state.year);
        CalEvent &ref = *e;
        state.store->Add(std::move(e), EventKey(ref));
        return ref;
    }
    void layout()
    {
        state.RowBands = CalculateBands(
            *state.store, state.year, state.AllEvents, kScreenMinimumBands,
            [this](const CalEvent &e) { return state.isVisible(e); }, dialogs);
    }
    double rowTop(int r) const { return state.RowBands[r - 1] * geometry.BandHeight; }

    ScriptedDialogs dialogs;
    PlannerState state;
    GridGeometry geometry;
    HitMap hits;
};

} // namespace

TEST_F(DrawTest, TheGridOfTheYear)
{
    layout();
    RecordingCanvas canvas(geometry.GridWidth, 48 * 150);
    DrawYear(canvas, state, geometry, 0xE1BFA5);
    EXPECT_EQ(canvas.ops.first().kind, Op::Clear);

    // Sunday column 1, then Saturday+Sunday pairs: six shaded stretches, never column 37.
    const auto weekend = canvas.ofColour(Op::FilledBox, 0xE1BFA5);
    ASSERT_EQ(weekend.size(), 6);
    EXPECT_EQ(weekend[0].x1, 0);
    EXPECT_EQ(weekend[0].x2, 300);
    for (int i = 1; i < 6; ++i) {
        EXPECT_EQ(weekend[i].x1, (7 * i - 1) * 300.0);
        EXPECT_EQ(weekend[i].x2, (7 * i + 1) * 300.0);
        EXPECT_EQ(weekend[i].y2, canvas.height());
    }
    EXPECT_EQ(canvas.ofColour(Op::Line, 0x808080).size(), 38);

    // March 2026 begins on a Sunday: its lead-in box has no width; February ends in column 28.
    const auto grey = canvas.ofColour(Op::FilledBox, 0xE0E0E0);
    ASSERT_EQ(grey.size(), 24);
    EXPECT_EQ(grey[2 * 2].x2, 0) << "row 3 (March) lead-in";
    EXPECT_EQ(grey[2 * 1 + 1].x1, 28 * 300.0) << "after 28 February";
    EXPECT_EQ(grey[2 * 1 + 1].x2, geometry.GridWidth);

    // Day numbers in the top-left corner of each cell, in band 1 of their row.
    const auto numbers = canvas.of(Op::Print);
    EXPECT_EQ(numbers.size(), 365);
    EXPECT_EQ(numbers[0].text, "1");
    EXPECT_EQ(numbers[0].x1, state.year.LeadIn(1) * 300.0); // 1 January 2026, a Thursday
    EXPECT_EQ(numbers[31].text, "1");
    EXPECT_EQ(numbers[31].y1, rowTop(2));

    // A red outline around each month's days.
    const auto outlines = canvas.ofColour(Op::Box, 0x0000FF);
    ASSERT_EQ(outlines.size(), 12);
    EXPECT_EQ(outlines[0].x1, 4 * 300.0);
    EXPECT_EQ(outlines[0].x2, 35 * 300.0);
    EXPECT_EQ(outlines[11].y2, state.RowBands[12] * 150.0);
}

namespace {

// Text as wide as its font is large: 10 twips a point a character, 20 a point high.
class SizedTextCanvas : public RecordingCanvas
{
public:
    using RecordingCanvas::RecordingCanvas;
    double textWidth(const QString &text) const override { return text.size() * 10.0 * fontSize(); }
};

} // namespace

// Marked days are shaded in their source's colour under the day lines and numbers; a weekend day
// keeps the weekend's shade in its day-number band, so both show. No mark, no shading.
TEST_F(DrawTest, MarkedDaysAreShadedUnderTheGrid)
{
    layout();
    auto marks = std::make_shared<DayMarks>();
    marks->sources = {{"Holidays DE_BY", 0xC8C8F8}, {"school", 0xE0E8B8}};
    marks->days[QDate(2026, 5, 25).toJulianDay()] = {{0, "Whit Monday (DE_BY)"}};
    marks->days[QDate(2026, 5, 24).toJulianDay()] = {{1, "Term"}, {0, "Whitsunday (DE_BY)"}};
    state.marks = marks;
    RecordingCanvas canvas(geometry.GridWidth, 48 * 150);
    DrawYear(canvas, state, geometry, 0xE1BFA5);
    const int row = state.year.RowOfMonth(5);
    const double top = state.RowBands[row - 1] * geometry.BandHeight;
    const auto columnOf = [&](int day) { return state.year.LeadIn(row) + day; };
    QList<Op> shaded;
    int firstLine = -1, lastShade = -1;
    for (int i = 0; i < canvas.ops.size(); ++i) {
        const Op &op = canvas.ops[i];
        if (op.kind == Op::FilledBox && (op.colour == 0xC8C8F8u || op.colour == 0xE0E8B8u)) {
            shaded << op;
            lastShade = i;
        }
        if (op.kind == Op::Line && firstLine < 0)
            firstLine = i;
    }
    ASSERT_EQ(shaded.size(), 2);
    EXPECT_EQ(shaded[0].x1, (columnOf(24) - 1) * geometry.DayWidth);
    EXPECT_EQ(shaded[0].colour, 0xE0E8B8u) << "the first source that marks the day";
    EXPECT_EQ(shaded[0].y1, top + geometry.BandHeight) << "a Sunday keeps its shade on top";
    EXPECT_EQ(shaded[1].x1, (columnOf(25) - 1) * geometry.DayWidth);
    EXPECT_EQ(shaded[1].y1, top);
    EXPECT_LT(lastShade, firstLine) << "under the day lines";
}

// Week numbers, when on: at the right of each week's first day and of each month's first day, in
// the locale's rule, never where the cell has no room beside its day number.
TEST_F(DrawTest, WeekNumbersAtTheStartOfEachWeekWhenOn)
{
    layout();
    const auto weekLabels = [&](double dayWidth) {
        GridGeometry narrow = geometry;
        narrow.DayWidth = dayWidth;
        narrow.GridWidth = int(37 * dayWidth + 45);
        RecordingCanvas canvas(narrow.GridWidth, 48 * 150);
        DrawYear(canvas, state, narrow, 0xE1BFA5);
        QMap<int, QString> byColumn; // January's row: column -> text right of a day number
        const double janTop = 0, janBottom = state.RowBands[1] * geometry.BandHeight;
        for (const auto &op : canvas.of(Op::Print)) {
            const int column = int(op.x1 / dayWidth) + 1;
            const double offset = op.x1 - (column - 1) * dayWidth;
            if (op.y1 >= janTop && op.y1 < janBottom && offset > dayWidth / 3)
                byColumn[column] = op.text;
        }
        return byColumn;
    };
    EXPECT_TRUE(weekLabels(600).isEmpty()) << "off by default";
    state.WeekNumbers = true;
    const QMap<int, QString> jan = weekLabels(600);
    const Qt::DayOfWeek first = QLocale().firstDayOfWeek();
    const int lead = state.year.LeadIn(1);
    QMap<int, QString> expected;
    for (int d = 1; d <= 31; ++d) {
        const QDate day(2026, 1, d);
        if (d == 1 || day.dayOfWeek() == int(first))
            expected[lead + d] = QString::number(WeekOfYear(day, first));
    }
    EXPECT_EQ(jan, expected);
    EXPECT_TRUE(weekLabels(300).isEmpty()) << "no room beside the day numbers";
}

// A January many windows tall keeps its name at the window's top while it is scrolled through,
// up to its last band; the other months keep theirs at their tops.
TEST_F(DrawTest, AMonthTallerThanTheWindowKeepsItsNameInView)
{
    for (int i = 0; i < 400; ++i)
        add(QStringLiteral("jan%1").arg(i), At(2026, 1, 5), At(2026, 1, 6));
    layout();
    ASSERT_GT(state.RowBands[1], 400);
    CalendarNames names;
    for (int m = 0; m < 12; ++m)
        names.MonthShortNames[size_t(m)] = QStringLiteral("M%1").arg(m + 1);
    const auto nameTops = [&](double visibleTop) {
        RecordingCanvas column(405, state.RowBands[12] * geometry.BandHeight);
        DrawMonthHeadings(column, state, geometry, names, SystemColours(), visibleTop);
        QMap<QString, double> tops;
        for (const auto &op : column.of(Op::Print))
            tops[op.text] = op.y1;
        return tops;
    };
    const double janEnd = state.RowBands[1] * geometry.BandHeight;
    EXPECT_EQ(nameTops(0)["M1"], 30);
    EXPECT_EQ(nameTops(30000)["M1"], 30000 + 30) << "in view while January is scrolled";
    EXPECT_EQ(nameTops(30000)["M2"], janEnd + 30) << "February stays at its top";
    EXPECT_LT(nameTops(janEnd - 10)["M1"], janEnd - 10) << "January's name ends with its row";
    EXPECT_EQ(nameTops(janEnd + 3000)["M2"], janEnd + 30) << "a short row is left as it is";
}

// In a narrow window the day numbers and weekday names get smaller down to a floor, then are
// left out; they never run into the next cell.
TEST_F(DrawTest, NarrowWindowLabelsShrinkThenGo)
{
    layout();
    CalendarNames names;
    for (int d = 0; d < 8; ++d)
        names.DayShortNames[size_t(d)] = QStringLiteral("Mo");
    struct Row
    {
        const char *name;
        double dayWidth;
        double expectedSize;        // 0: no labels
        double expectedWeekdaySize; // the names have three pixels before them and one after
    } rows[] = {
        {"wide cells keep the size", 300, 10, 10},
        {"narrow cells shrink the labels", 160, 5.5, 5},
        {"at the floor", 145, 5, 0},
        {"too narrow for the floor", 140, 0, 0},
    };
    geometry.BandHeight = 250; // room for 12.5 points: only the width counts here
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        geometry.DayWidth = row.dayWidth;
        geometry.GridWidth = 37 * row.dayWidth;
        SizedTextCanvas grid(geometry.GridWidth, 48 * 250);
        grid.setFontSize(10);
        DrawYear(grid, state, geometry, 0xE1BFA5);
        const QList<Op> numbers = grid.of(Op::Print);
        EXPECT_EQ(numbers.size(), row.expectedSize > 0 ? 365 : 0);
        for (const Op &n : numbers) {
            EXPECT_EQ(n.fontSize, row.expectedSize);
            // From its left edge to two pixels before the next cell's line.
            const double cellLeft = std::floor(n.x1 / row.dayWidth) * row.dayWidth;
            EXPECT_LE(n.x1 + n.text.size() * 10.0 * n.fontSize, cellLeft + row.dayWidth - 30);
        }
        EXPECT_EQ(grid.fontSize(), 10) << "the canvas's own size again after";

        SizedTextCanvas strip(geometry.GridWidth, GridMetrics::kDayStripHeight);
        strip.setFontSize(10);
        DrawDayHeadings(strip, geometry, names, SystemColours());
        const QList<Op> weekdays = strip.of(Op::Print);
        EXPECT_EQ(weekdays.size(), row.expectedWeekdaySize > 0 ? 37 : 0);
        for (const Op &w : weekdays) {
            EXPECT_EQ(w.fontSize, row.expectedWeekdaySize);
            EXPECT_LE(w.x1 + 20.0 * w.fontSize,
                      std::floor(w.x1 / row.dayWidth) * row.dayWidth + row.dayWidth);
            EXPECT_GE(w.y1, 0) << "inside the strip";
        }
        EXPECT_EQ(strip.fontSize(), 10);
    }
    // Lower bands take smaller numbers; a year of so many bands that none fits keeps the
    // numbers at the largest size the width allows, reaching into the band below.
    geometry.DayWidth = 300;
    for (const auto &[bandHeight, expected] : {std::pair(150.0, 7.5), std::pair(90.0, 10.0)}) {
        geometry.BandHeight = bandHeight;
        SizedTextCanvas low(37 * 300, 48 * bandHeight);
        low.setFontSize(10);
        DrawYear(low, state, geometry, 0xE1BFA5);
        ASSERT_EQ(low.of(Op::Print).size(), 365);
        EXPECT_EQ(low.of(Op::Print)[0].fontSize, expected) << bandHeight;
    }
}

TEST_F(DrawTest, RowsWithoutBandsHaveNoHeight)
{
    state.RowBands.fill(0);
    RecordingCanvas canvas(geometry.GridWidth, 3000);
    DrawYear(canvas, state, geometry, 0xE1BFA5);
    for (const Op &op : canvas.ofColour(Op::Box, 0x0000FF))
        EXPECT_EQ(op.y1, op.y2);
    EXPECT_EQ(state.year.LastColumn(5), 36) << "the row tables stay filled (May 2026: Friday 1st)";
}

TEST_F(DrawTest, BarsAcrossMonthsAndTheHitMap)
{
    // 20 March to 10 May 2026, whole days: three bars in one band.
    CalEvent &spring = add("spring", At(2026, 3, 20), At(2026, 5, 11));
    CalEvent &single = add("single", At(2026, 4, 2), At(2026, 4, 3), 2);
    layout();
    RecordingCanvas canvas(geometry.GridWidth, 48 * 150);
    DrawEvents(canvas, state, geometry, hits, At(2025, 6, 1));
    const auto holiday = canvas.ofColour(Op::FilledBox, 0x9FDDA6);
    ASSERT_EQ(holiday.size(), 3);
    const PlannerYear &y = state.year;
    const double px = 15, py = 15;
    // From the start column to the end of March's days; all of April; May to its 10th.
    EXPECT_EQ(holiday[0].x1, (y.LeadIn(3) + 19) * 300 + px);
    EXPECT_EQ(holiday[0].x2, y.LastColumn(3) * 300 - px);
    EXPECT_EQ(holiday[1].x1, y.LeadIn(4) * 300 + px);
    EXPECT_EQ(holiday[1].x2, y.LastColumn(4) * 300 - px);
    EXPECT_EQ(holiday[2].x2, (y.LeadIn(5) + 10) * 300 - px);
    // Band 2 of a four-band row: between one and two band heights below the row's top, inset.
    EXPECT_EQ(spring.Band, 2);
    EXPECT_EQ(holiday[1].y2, rowTop(4) + 2 * 150 - py);
    EXPECT_EQ(holiday[1].y1, rowTop(4) + 150 + py);

    const QString key = EventKey(spring);
    for (int q = y.LeadIn(4) + 1; q <= y.LastColumn(4); ++q)
        ASSERT_EQ(hits.at(4, q, 2), key) << q;
    EXPECT_EQ(hits.at(4, y.LeadIn(4), 2), "") << "before April's first day";
    EXPECT_EQ(hits.at(3, y.LeadIn(3) + 19, 2), "") << "the day before the start";
    EXPECT_EQ(hits.at(3, y.LeadIn(3) + 20, 2), key);
    EXPECT_EQ(hits.at(4, y.LeadIn(4) + 2, single.Band), EventKey(single));
    EXPECT_EQ(hits.at(4, y.LeadIn(4) + 3, single.Band), "") << "nothing after the single day";
    EXPECT_TRUE(canvas.ofColour(Op::Box, 0x0000FF).isEmpty()) << "today is outside the year";
}

TEST_F(DrawTest, TimedAppointmentsAndToday)
{
    add("meeting", At(2026, 6, 10, 10), At(2026, 6, 10, 11), 2);
    layout();
    RecordingCanvas hidden(geometry.GridWidth, 48 * 150);
    DrawEvents(hidden, state, geometry, hits, At(2026, 6, 10));
    EXPECT_TRUE(hidden.ofColour(Op::FilledBox, 0xE4B497).isEmpty()) << "no bar without all events";

    state.AllEvents = true;
    layout();
    RecordingCanvas shown(geometry.GridWidth, 48 * 150);
    DrawEvents(shown, state, geometry, hits, At(2026, 6, 10));
    const auto bar = shown.ofColour(Op::FilledBox, 0xE4B497);
    ASSERT_EQ(bar.size(), 1);
    EXPECT_EQ(bar[0].x2 - bar[0].x1, 300 - 30) << "one column wide";

    // Today: a grey shadow and a red box of pen width 2 around the whole row height.
    const int q = state.year.LeadIn(6) + 10;
    const auto red = shown.ofColour(Op::Box, 0x0000FF);
    ASSERT_EQ(red.size(), 1);
    EXPECT_EQ(red[0].penWidth, 2);
    EXPECT_EQ(red[0].x1, (q - 1) * 300.0 - 15);
    EXPECT_EQ(red[0].y2, state.RowBands[6] * 150.0 + 15);
    EXPECT_EQ(shown.ofColour(Op::Box, 0x808080).size(), 1);
}

TEST_F(DrawTest, SubjectsFitTheBandOrAreLeftOutOfBarsTooLow)
{
    state.DisplaySubject = true;
    add("a", At(2026, 2, 2), At(2026, 2, 4), 1, "A very long subject for a short bar");
    layout();
    RecordingCanvas canvas(geometry.GridWidth, 48 * 150);
    canvas.setFontSize(9);
    DrawEvents(canvas, state, geometry, hits, 0);
    const auto texts = canvas.of(Op::Text);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].fontSize, 7) << "7 points: 140 twips fit a 150-twip band";
    EXPECT_EQ(texts[0].flags, Canvas::DT_WORD_ELLIPSIS | Canvas::DT_NOPREFIX);
    const auto bar = canvas.ofColour(Op::FilledBox, 0x9FDDA6)[0];
    EXPECT_EQ(texts[0].rect, QRect(QPoint(int(bar.x1 / 15), int(bar.y1 / 15)),
                                   QPoint(int(bar.x2 / 15), int(bar.y2 / 15))));
    EXPECT_EQ(canvas.fontSize(), 9) << "the canvas font size comes back";

    // The least band height the planner keeps: the subject shrinks to fit it.
    geometry.BandHeight = 100;
    RecordingCanvas low(geometry.GridWidth, 48 * 100);
    DrawEvents(low, state, geometry, hits, 0);
    ASSERT_EQ(low.of(Op::Text).size(), 1);
    EXPECT_EQ(low.of(Op::Text)[0].fontSize, 5);

    // A bar lower than the smallest legible line (a year squeezed into a window) shows no letters.
    geometry.BandHeight = 30;
    RecordingCanvas tiny(geometry.GridWidth, 48 * 30);
    DrawEvents(tiny, state, geometry, hits, 0);
    EXPECT_TRUE(tiny.of(Op::Text).isEmpty());
    EXPECT_EQ(tiny.ofColour(Op::FilledBox, 0x9FDDA6).size(), 1) << "the bar itself is drawn";
}

TEST_F(DrawTest, HiddenAndFilteredEventsAreNotDrawn)
{
    add("hidden", At(2026, 8, 3), At(2026, 8, 4), -1);
    CalEvent &filtered = add("filtered", At(2026, 8, 5), At(2026, 8, 6), 2);
    filtered.Categories = "Secret";
    state.filter.SetFilter("Work"); // shows Work alone
    state.filter.SetFilterMode(false);
    layout();
    RecordingCanvas canvas(geometry.GridWidth, 48 * 150);
    DrawEvents(canvas, state, geometry, hits, 0);
    EXPECT_TRUE(canvas.of(Op::FilledBox).isEmpty());
}

// Pixel probes on a real image, for what the recording cannot show.
TEST_F(DrawTest, PixelsOfARenderedYear)
{
    add("a", At(2026, 9, 7), At(2026, 9, 9), 1, "Trade fair in Lyon with a long name");
    add("b", At(2026, 9, 9), At(2026, 9, 10), 2);
    state.DisplaySubject = true;
    QImage image(1200, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    YearPaintOptions options;
    options.names = LoadCalendarNames(QLocale("en_GB"));
    options.today = At(2026, 9, 15);
    {
        QPainter painter(&image);
        PaintYear(painter, image.rect(), 96, state, options, hits);
    }
    // Grid origin: 27 px of month names, 16 px of weekday strip (at 96 dpi, 15 twips a pixel).
    const double dayPx = (1200 - 27 - 3) / 37.0;
    const double bandPx = (700 - 16 - 3) / double(state.RowBands[12]);
    const auto cell = [&](int row, int column, int band, double fx = 0.5) {
        const int x = 27 + int((column - 1 + fx) * dayPx);
        const int y = 16 + int((state.RowBands[row - 1] + band - 0.5) * bandPx);
        return image.pixel(x, y) & 0xFFFFFF;
    };
    const int lead = state.year.LeadIn(9); // September 2026 begins on a Tuesday
    EXPECT_EQ(cell(9, lead + 7, 2, 0.9), qRgb(0xA6, 0xDD, 0x9F) & 0xFFFFFF)
        << "the bar, 7 September";
    EXPECT_EQ(cell(9, lead + 9, 2, 0.5), qRgb(0x97, 0xB4, 0xE4) & 0xFFFFFF) << "b shares band 2";
    EXPECT_EQ(cell(9, lead + 10, 2, 0.5), 0xFFFFFFu) << "nothing on the 10th";
    // Between the bars of the 8th and the 9th: the day line, no bar colour.
    const int gapX = 27 + int(std::lround((lead + 8) * dayPx));
    const int bandY = 16 + int((state.RowBands[8] + 1.5) * bandPx);
    EXPECT_EQ(image.pixel(gapX, bandY) & 0xFFFFFF, qRgb(0x80, 0x80, 0x80) & 0xFFFFFF);
    EXPECT_NE(image.pixel(gapX + 1, bandY) & 0xFFFFFF, qRgb(0xA6, 0xDD, 0x9F) & 0xFFFFFF);
    EXPECT_EQ(cell(9, 1, 3), qRgb(0xE0, 0xE0, 0xE0) & 0xFFFFFF) << "grey lead-in cell (a Sunday)";
    EXPECT_EQ(cell(9, lead + 5, 3), qRgb(0xA5, 0xBF, 0xE1) & 0xFFFFFF) << "Saturday 5 September";
    EXPECT_EQ(cell(9, lead + 12, 3), qRgb(0xA5, 0xBF, 0xE1) & 0xFFFFFF) << "Saturday 12 September";
    // The red month outline on row 9's left edge, and today's red mark on the 15th.
    const int outlineX = 27 + int(std::lround(lead * dayPx));
    EXPECT_EQ(image.pixel(outlineX, 16 + int((state.RowBands[8] + 2) * bandPx)) & 0xFFFFFF,
              0xFF0000u);
    const int todayX = 27 + int(std::lround((lead + 15) * dayPx));
    EXPECT_EQ(image.pixel(todayX, 16 + int((state.RowBands[8] + 2.5) * bandPx)) & 0xFFFFFF,
              0xFF0000u);
    // The long subject stays inside its bar: the cell after the bar holds no dark text pixels.
    const int afterX0 = 27 + int((lead + 10) * dayPx) + 2;
    const int rowY0 = 16 + int((state.RowBands[8] + 1) * bandPx) + 1;
    for (int x = afterX0; x < afterX0 + int(dayPx) - 4; ++x)
        for (int y = rowY0; y < rowY0 + int(bandPx) - 2; ++y)
            ASSERT_GT(qGray(image.pixel(x, y)), 200) << x << "," << y;
}

TEST(PainterCanvas, ALineDrawnAgainLooksAsTheFirstTime)
{
    // A subject drawn the first time, again (from its picture), after other sizes and colours
    // came between, and in a bar of another width: the same pixels where the same is drawn.
    ImageCanvas canvas(QSize(400, 120));
    QFont font("DejaVu Sans");
    canvas.setFont(font);
    const unsigned flags = Canvas::DT_WORD_ELLIPSIS | Canvas::DT_NOPREFIX;
    auto bar = [&](int y, int width, double points, quint32 colour, const QString &text) {
        canvas.box(0, y * 15.0, (width - 1) * 15.0, (y + 11) * 15.0, 0xA6DD9F, true);
        canvas.setFontSize(points);
        canvas.setForeColor(colour);
        QRect r(0, y, width, 12);
        return canvas.DrawText(text, r, flags);
    };
    const QString subject = QStringLiteral("Release 4.2 hardening in the team");
    EXPECT_GT(bar(0, 300, 7, 0x000000, subject), 0);
    bar(20, 300, 9, 0x0000FF, QStringLiteral("Another size and colour"));
    EXPECT_GT(bar(40, 300, 7, 0x000000, subject), 0);
    bar(60, 300, 7, 0x000000, subject); // the third time: from the picture
    bar(80, 60, 7, 0x000000, subject);  // cut short with an ellipsis
    const QImage image = canvas.image();
    EXPECT_EQ(image.copy(0, 0, 300, 12), image.copy(0, 40, 300, 12));
    EXPECT_EQ(image.copy(0, 0, 300, 12), image.copy(0, 60, 300, 12));
    EXPECT_NE(image.copy(0, 0, 300, 12), image.copy(0, 20, 300, 12));
    EXPECT_NE(image.copy(0, 80, 60, 12), image.copy(0, 0, 60, 12)) << "elided differently";
    // A bar too narrow for even the ellipsis shows nothing and says so.
    QRect sliver(0, 100, 2, 12);
    EXPECT_EQ(canvas.DrawText(subject, sliver, flags), 0);
}

TEST(PainterCanvas, AWindowKeepsItsPartOfATallCanvasAtTheSamePlaces)
{
    // A 400 x 3000 pixel canvas whose image keeps rows 1000..1199: the same drawing as on a whole
    // canvas, shifted, and what lies outside is known not to show.
    const QRect window(0, 1000, 400, 200);
    ImageCanvas part(QSize(400, 3000), 96, 0xFFFFFF, window);
    ImageCanvas whole(QSize(400, 3000));
    EXPECT_EQ(part.image().size(), window.size());
    EXPECT_EQ(part.height(), whole.height()) << "the canvas is as tall as ever";
    for (Canvas *c : {static_cast<Canvas *>(&part), static_cast<Canvas *>(&whole)}) {
        c->box(15 * 10, 15 * 1050, 15 * 100, 15 * 1100, 0x0000FF, true);
        c->line(0, 15 * 1190, 15 * 399, 15 * 1210, 0x00FF00);
        c->setCurrentX(15 * 200);
        c->setCurrentY(15 * 1120);
        c->print(QStringLiteral("Kept"));
    }
    EXPECT_EQ(part.image(), whole.image().copy(window));
    EXPECT_TRUE(part.shows(15 * 1150, 15 * 1300));
    EXPECT_TRUE(part.shows(15 * 900, 15 * 1000)) << "touching the first row kept";
    EXPECT_FALSE(part.shows(15 * 900, 15 * 999));
    EXPECT_FALSE(part.shows(15 * 1200, 15 * 1300));
    EXPECT_TRUE(whole.shows(15 * 2900, 15 * 2990));
}

// A legend name in a large font: a word wider than its box goes on in the next line instead of
// being cut at the box's edge ("Custome"); words that fit still wrap whole.
TEST(PainterCanvas, AWordWiderThanItsBoxBreaksWhereItReachesTheEdge)
{
    QFont font("DejaVu Sans");
    font.setPointSize(15);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("Custom"));
    for (const QString &text : {QStringLiteral("Customers"), QStringLiteral("Key Customers abroad"),
                                QStringLiteral("Überseekundenbetreuung"), QStringLiteral("a b"),
                                QStringLiteral("W\U0001F600\U0001F600\U0001F600\U0001F600")}) {
        SCOPED_TRACE(qPrintable(text));
        const QString broken = BreakLongWords(text, metrics, width);
        EXPECT_EQ(QString(broken).remove('\n'), text) << "nothing lost or added";
        for (const QString &line : broken.split('\n')) {
            const QString word = line.split(' ').first();
            EXPECT_TRUE(metrics.horizontalAdvance(word) <= width || word.size() <= 2)
                << qPrintable(line);
        }
        for (qsizetype i = 1; i < broken.size(); ++i)
            EXPECT_FALSE(broken[i] == '\n' && broken[i - 1].isHighSurrogate())
                << "a letter outside the basic plane is never split";
    }
    EXPECT_EQ(BreakLongWords(QStringLiteral("Key Customers"), metrics, width).count('\n'), 1);
    EXPECT_EQ(BreakLongWords(QStringLiteral("a b"), metrics, width), QStringLiteral("a b"));

    ImageCanvas canvas(QSize(400, 200));
    canvas.setFont(font);
    const unsigned flags = Canvas::DT_WORDBREAK | Canvas::DT_NOPREFIX | Canvas::DT_EDITCONTROL;
    QRect measured(10, 10, width, 150);
    const int h =
        canvas.DrawText(QStringLiteral("Customers"), measured, flags | Canvas::DT_CALCRECT);
    EXPECT_GE(h, 2 * metrics.height()) << "measured on two lines, so the row makes room";
    QRect r(10, 10, width, 150);
    canvas.DrawText(QStringLiteral("Customers"), r, flags);
    const QImage image = canvas.image();
    int inkBelow = 0;
    for (int y = 10 + metrics.height(); y < 10 + h; ++y)
        for (int x = 10; x < 10 + width; ++x)
            inkBelow += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(inkBelow, 10) << "the rest of the word is drawn in the second line";
}

// The subjects of a first drawing are cut by the letters' advances: never wider than the bar,
// and at most a letter shorter than the cut of shaped text.
TEST(LineElision, CutsLikeShapedTextAndNeverWider)
{
    QFont font;
    font.setPixelSize(11);
    const QFontMetricsF metrics(font);
    LineElision elision(font);
    for (const QString &text :
         {QStringLiteral("Event 1234"), QStringLiteral("Wöchentliches Treffen"),
          QStringLiteral("W"), QString()}) {
        for (int width = 0; width <= 160; ++width) {
            SCOPED_TRACE(testing::Message() << qPrintable(text) << " in " << width);
            std::optional<QString> cut = elision.elided(text, width);
            const QString shaped = QFontMetrics(font).elidedText(text, Qt::ElideRight, width);
            if (!cut) // near a whole fit: shaped
                continue;
            if (*cut != text) {
                EXPECT_LE(metrics.horizontalAdvance(*cut), width + 0.01);
            }
            if (shaped == text) {
                EXPECT_EQ(*cut, text);
            } else {
                EXPECT_GE(cut->size(), shaped.size() - 1)
                    << qPrintable(*cut) << " / " << qPrintable(shaped);
            }
            if (!cut->isEmpty() && *cut != text) {
                EXPECT_TRUE(text.startsWith(cut->chopped(1)) && cut->endsWith(QChar(0x2026)));
            }
        }
    }
    EXPECT_FALSE(elision.elided(QStringLiteral("会議"), 100)) << "shaped instead";
    EXPECT_FALSE(elision.elided(QStringLiteral("Tab\there"), 100));
}
