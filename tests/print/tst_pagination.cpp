#include "calevent.h"
#include "eventkey.h"
#include "pagedrawing.h"
#include "pagelayout.h"
#include "paintercanvas.h"
#include "papers.h"
#include "plannerstate.h"
#include "printpreview.h"
#include "printsettings.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A planner of 2026 printed on landscape A4 with the stored settings of a private home.
class PaginationTest : public ::testing::Test
{
protected:
    PaginationTest()
    {
        state.year = PlannerYear(2026, 1);
        state.TitleName = "Team";
        setCategories(3);
    }

    void setCategories(int n, const QString &stem = "Category")
    {
        state.categories = {};
        for (int i = 1; i <= n; ++i) {
            state.categories.names << QStringLiteral("%1 %2").arg(stem).arg(i);
            state.categories.colours << quint32(0x203040 * i);
        }
    }
    // A whole-day appointment in category 1 from day d1 to d2 of month m.
    void days(int m, int d1, int d2, const QString &subject = "Away")
    {
        auto e = std::make_unique<CalEvent>();
        e->EventID = QStringLiteral("ev%1").arg(++serial);
        e->Subject = subject;
        e->StartDate = At(2026, m, d1);
        e->EndDate = At(2026, m, d2) + 1;
        e->CatIndex = 1;
        PlaceEvent(*e, state.year);
        state.store->Add(std::move(e));
    }
    PrintSettings settings()
    {
        PrintSettings s;
        s.LoadPrintSettings(state.TitleName, state.year.startMonth(), false);
        return s;
    }
    PageLayout paginate(const PrintSettings &s)
    {
        ImageCanvas measure(QSize(1, 1), pdf.resolution());
        measure.setFont(PageFont());
        return Paginate(state, s, pdf.printableTwips(), measure);
    }
    double available(const PageLayout &L, const PrintSettings &s) const
    {
        return L.page.height() - s.topMarginTwips() - s.bottomMarginTwips() - L.headingHeight -
               PageLayout::kDayStrip - 15;
    }

    QTemporaryDir dir;
    ScopedSettingsHome home{dir.path()};
    ScriptedDialogs dialogs;
    PlannerState state{dialogs};
    PageLayoutTarget pdf;
    int serial = 0;
};

} // namespace

TEST_F(PaginationTest, AnEmptyYearFillsOnePage)
{
    const PrintSettings s = settings();
    const PageLayout L = paginate(s);
    ASSERT_TRUE(L.problem.isEmpty());
    EXPECT_EQ(L.summary(), QStringLiteral("page 1: rows 1-12, legend 1-3, band %1, day numbers 10")
                               .arg(available(L, s) / 48, 0, 'f', 1));
    EXPECT_EQ(L.rowBands[12], 48);
    // The bands fill the grid to its last pixel.
    EXPECT_NEAR(L.pageGridHeight(1), L.gridHeight - 15, 0.5);
    EXPECT_DOUBLE_EQ(L.gridLeft, 1134 + 450);
    EXPECT_DOUBLE_EQ(L.gridWidth, L.page.width() - 1134 - 450 - 1134 - 2268);
    EXPECT_DOUBLE_EQ(L.dayWidth, (L.gridWidth - 15) / 37);
    EXPECT_GT(L.headingHeight, 120) << "one line of heading";
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(PaginationTest, AMinimumBandHeightSplitsTheYearIntoWholeMonths)
{
    PrintSettings s = settings();
    s.setMinBandHeight(10); // 567 twips: 15 whole bands a page, three months of four
    const PageLayout L = paginate(s);
    ASSERT_TRUE(L.problem.isEmpty());
    EXPECT_EQ(int(available(L, s) / 567), 15);
    EXPECT_EQ(L.pageCount, 4);
    EXPECT_EQ(L.pageGridHeight(2), 12 * 567);
    // Whole months a page, in order, none twice, none left out; none over the page.
    int next = 1;
    for (int p = 1; p <= L.pageCount; ++p) {
        ASSERT_TRUE(L.hasMonths(p));
        EXPECT_EQ(L.pageFirstRow[p], next);
        next = L.pageLastRow[p] + 1;
        EXPECT_LE(L.rowBands[L.pageLastRow[p]] - L.rowBands[L.pageFirstRow[p] - 1], 15);
    }
    EXPECT_EQ(next, 13);
}

// The pages of typical years, as summaries kept in tests/data/print/ (its README says how each
// was checked). QUORVEL_WRITE_GOLDEN=1 writes them anew instead of comparing.
TEST_F(PaginationTest, PagesOfTypicalYearsAsTheirGoldenFilesHaveThem)
{
    struct Row
    {
        const char *name;
        std::function<void(PrintSettings &)> set;
    } rows[] = {
        {"a4-landscape-10mm-bands", [](PrintSettings &s) { s.setMinBandHeight(10); }},
        {"a4-landscape-10mm-bands-busy-may",
         [this](PrintSettings &s) {
             s.setMinBandHeight(10);
             for (int i = 0; i < 12; ++i)
                 days(5, 3, 20);
         }},
        {"a4-landscape-10mm-bands-may-to-september",
         [](PrintSettings &s) {
             s.setMinBandHeight(10);
             s.setFilterMonths(5, 9);
         }},
        {"a4-landscape-20mm-bands-no-legend",
         [](PrintSettings &s) {
             s.setMinBandHeight(20);
             s.setDisplayLegend(false);
         }},
    };
    const bool write = qEnvironmentVariableIsSet("QUORVEL_WRITE_GOLDEN");
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        state.store = std::make_shared<EventStore>();
        PrintSettings s = settings();
        s.setFilterMonths(1, 12); // the settings are stored: each row starts from the whole year
        s.setDisplayLegend(true);
        row.set(s);
        const PageLayout L = paginate(s);
        ASSERT_TRUE(L.problem.isEmpty()) << qPrintable(L.problem);
        const QString file = QStringLiteral(QUORVEL_TEST_DATA "/print/%1.txt").arg(row.name);
        const QByteArray summary = L.summary().toUtf8() + '\n';
        if (write)
            WriteAll(file, summary);
        EXPECT_EQ(ReadAll(file), summary);
    }
}

TEST_F(PaginationTest, AMonthTooFullForAPage)
{
    PrintSettings s = settings();
    s.setMinBandHeight(10);
    for (int i = 0; i < 20; ++i)
        days(3, 1, 31);
    const PageLayout L = paginate(s);
    EXPECT_EQ(L.problem, "Events for March will not all fit onto the page\n\nYou can increase the "
                         "printing area by reducing the minimum band height, the top and bottom "
                         "margins or the header.");

    // Margins that leave no room at all say the same of the first month, and nothing divides
    // by the band height.
    s.setTopMargin(200);
    s.setMinBandHeight(0);
    s.setDisplayLegend(false);
    EXPECT_TRUE(paginate(s).problem.startsWith("Events for January will not all fit"));
}

TEST_F(PaginationTest, AFewMonthsStretchOverOnePage)
{
    PrintSettings s = settings();
    s.setFilterMonths(3, 5);
    const PageLayout L = paginate(s);
    EXPECT_EQ(L.summary(), QStringLiteral("page 1: rows 3-5, legend 1-3, band %1, day numbers 10")
                               .arg(available(L, s) / 12, 0, 'f', 1));
    EXPECT_NEAR(L.pageGridHeight(1), L.gridHeight - 15, 0.5);
}

TEST_F(PaginationTest, HeadingsOfAYearThatRunsIntoTheNext)
{
    PrintSettings s = settings();
    EXPECT_EQ(PageHeading(state, s), "Year 2026");
    s.setHeader("Team rota");
    EXPECT_EQ(PageHeading(state, s), "Year 2026\nTeam rota");
    s.setAutoHeading(false);
    EXPECT_EQ(PageHeading(state, s), "Team rota");
    s.setAutoHeading(true);
    s.setHeader("");

    state.year = PlannerYear(2026, 11);
    PrintSettings fromNovember;
    fromNovember.LoadPrintSettings("Team", 11, false);
    fromNovember.setFilterMonths(11, 2);
    EXPECT_EQ(fromNovember.FilterStartMonth(), 11);
    EXPECT_EQ(PageHeading(state, fromNovember), "Year 2026/2027");
    fromNovember.setFilterMonths(1, 2);
    EXPECT_EQ(PageHeading(state, fromNovember), "Year 2026");

    // A heading of two lines is taller than one.
    const double oneLine = paginate(s).headingHeight;
    s.setHeader("Team rota");
    EXPECT_GT(paginate(s).headingHeight, oneLine * 1.5);
}

// The calendars of marked days are listed on paper after the categories.
TEST_F(PaginationTest, TheLegendListsTheMarkedDaysAfterTheCategories)
{
    auto marks = std::make_shared<DayMarks>();
    marks->sources = {{"Holidays DE_BY", 0xC8C8F8}, {"school", 0xE0E8B8}};
    state.marks = marks;
    const PageLayout L = paginate(settings());
    EXPECT_TRUE(L.summary().startsWith("page 1: rows 1-12, legend 1-5,"))
        << qPrintable(L.summary());
    EXPECT_EQ(state.legendTable().names.mid(3), QStringList({"Holidays DE_BY", "school"}));
    EXPECT_EQ(state.legendTable().colours.last(), 0xE0E8B8u);
}

TEST_F(PaginationTest, TheLegendOffWidensTheGrid)
{
    PrintSettings s = settings();
    const PageLayout with = paginate(s);
    s.setDisplayLegend(false);
    const PageLayout without = paginate(s);
    EXPECT_DOUBLE_EQ(without.gridWidth, with.gridWidth + 2268);
    EXPECT_EQ(without.legendPageCount, 0);
    EXPECT_EQ(without.summary(),
              QStringLiteral("page 1: rows 1-12, no legend part, band %1, day numbers 10")
                  .arg(available(without, s) / 48, 0, 'f', 1));
}

TEST_F(PaginationTest, ALongLegendGoesOnToPagesOfItsOwn)
{
    setCategories(60);
    PrintSettings s = settings();
    const PageLayout L = paginate(s);
    ASSERT_TRUE(L.problem.isEmpty());
    ASSERT_GT(L.legendHeight, L.gridHeight);
    ASSERT_GE(L.pageCount, 2);
    EXPECT_EQ(L.pageCount, L.legendPageCount);
    EXPECT_TRUE(L.hasMonths(1));
    EXPECT_FALSE(L.hasMonths(2)) << "a page for the legend alone";
    EXPECT_EQ(L.legendFirst[1], 1);
    EXPECT_EQ(L.legendLast.last(), 60);
    for (int p = 2; p <= L.legendPageCount; ++p)
        EXPECT_EQ(L.legendFirst[p], L.legendLast[p - 1] + 1);
    // Each part fits beside the grid.
    for (int p = 1; p <= L.legendPageCount; ++p)
        EXPECT_LE(L.legendBottom[L.legendLast[p]] - L.legendBottom[L.legendFirst[p] - 1],
                  L.gridHeight);
    const QStringList pages = L.summary().split('\n');
    EXPECT_TRUE(
        pages[1].startsWith(QStringLiteral("page 2: no rows, legend %1-").arg(L.legendFirst[2])))
        << pages[1].toStdString();

    // An entry taller than the page stops the layout.
    setCategories(1, QString("Very long name ").repeated(400));
    EXPECT_TRUE(paginate(s).problem.startsWith("Category legend will not fit onto the page\n\n"));
}

TEST_F(PaginationTest, TheLegendIsReprintedOnLaterPagesWhenAsked)
{
    PrintSettings s = settings();
    s.setMinBandHeight(10);
    const PageLayout L = paginate(s);
    ASSERT_EQ(L.pageCount, 4);
    const double y0 = L.gridTop(s.topMarginTwips());
    EXPECT_EQ(PageLegendOf(L, s, 1, 3, y0).entries.size(), 3);
    EXPECT_EQ(PageLegendOf(L, s, 2, 3, y0).entries.size(), 3) << "reprinting is on by default";
    EXPECT_EQ(PageLegendOf(L, s, 2, 3, y0).fontSize, 10);
    s.setReprintLegend(false);
    EXPECT_EQ(PageLegendOf(L, s, 1, 3, y0).entries.size(), 3);
    EXPECT_TRUE(PageLegendOf(L, s, 2, 3, y0).entries.isEmpty());
    EXPECT_TRUE(PageLegendOf(L, s, 4, 3, y0).entries.isEmpty());
}

TEST_F(PaginationTest, WrappedLegendNamesDoNotOverlap)
{
    // Names that wrap in the printed legend's name box, and short ones between them.
    state.categories = {};
    for (int i = 0; i < 8; ++i) {
        state.categories.names
            << (i % 2 ? QStringLiteral("Short")
                      : QStringLiteral("Regional customer visits and trade fairs %1").arg(i));
        state.categories.colours << 0x00FF00;
    }
    PrintSettings s = settings();
    s.setLegendWidth(30);
    const PageLayout L = paginate(s);
    const PageLegend legend = PageLegendOf(L, s, 1, 8, L.gridTop(s.topMarginTwips()));
    ASSERT_EQ(legend.entries.size(), 8);

    ImageCanvas printer(QSize(1, 1), pdf.resolution());
    printer.setFont(PageFont());
    printer.setFontSize(legend.fontSize);
    const double px = printer.px();
    int wrapped = 0;
    for (int i = 0; i < legend.entries.size(); ++i) {
        const PageLegendEntry &e = legend.entries[i];
        EXPECT_DOUBLE_EQ(e.name.left(), e.frame.left() + 240);
        EXPECT_DOUBLE_EQ(e.name.right(), e.frame.right());
        // The name as it is drawn: in its box's width, on as many lines as it takes.
        QRect r(0, 0, int(e.name.width() / px), 1);
        const double drawn = printer.DrawText(state.categories.names[i], r,
                                              Canvas::DT_CALCRECT | Canvas::DT_WORDBREAK |
                                                  Canvas::DT_NOPREFIX | Canvas::DT_EDITCONTROL) *
                             px;
        EXPECT_LE(drawn, e.name.height()) << "entry " << i + 1 << " is cut off";
        if (drawn > 2 * printer.textHeight("0"))
            ++wrapped;
        if (i > 0) {
            EXPECT_LT(legend.entries[i - 1].frame.bottom(), e.frame.top())
                << "entries " << i << " and " << i + 1;
        }
    }
    EXPECT_EQ(wrapped, 4) << "the long names wrap";
}

TEST_F(PaginationTest, DayNumbersShrinkWithTheBands)
{
    for (int i = 0; i < 40; ++i)
        days(1 + i % 12, 2, 27);
    const PageLayout L = paginate(settings());
    EXPECT_LT(L.bandHeight, 200);
    EXPECT_LT(L.dayNumberSize, 10);
    EXPECT_GE(L.dayNumberSize, 6);
}

TEST_F(PaginationTest, PreviewPagesAndStatus)
{
    PrintPreview preview(state, pdf);
    ASSERT_TRUE(preview.open());
    ASSERT_EQ(preview.Paginate(), PrintPreview::Outcome::Laid);
    EXPECT_EQ(preview.status(), "Page 1 of 1  Landscape A4, 210 x 297 mm");
    EXPECT_FALSE(preview.canGoBack());
    EXPECT_FALSE(preview.canGoNext());
    EXPECT_FALSE(preview.next());
    EXPECT_FALSE(preview.reprintOffered());

    preview.settings().setMinBandHeight(10);
    ASSERT_EQ(preview.Paginate(), PrintPreview::Outcome::Laid);
    EXPECT_EQ(preview.pageCount(), 4);
    EXPECT_TRUE(preview.canGoNext());
    EXPECT_TRUE(preview.reprintOffered());
    EXPECT_TRUE(preview.next());
    EXPECT_TRUE(preview.next());
    EXPECT_EQ(preview.status(), "Page 3 of 4  Landscape A4, 210 x 297 mm");
    EXPECT_TRUE(preview.next());
    EXPECT_FALSE(preview.canGoNext());
    EXPECT_FALSE(preview.next());
    EXPECT_TRUE(preview.back());
    EXPECT_EQ(preview.currentPage(), 3);

    // A new paper lays the pages out again: portrait A3 holds the year on one page.
    pdf.setPaperSize(8);
    pdf.setOrientation(1);
    ASSERT_EQ(preview.Paginate(), PrintPreview::Outcome::Laid);
    EXPECT_EQ(preview.currentPage(), 1);
    EXPECT_EQ(preview.status(),
              QStringLiteral("Page 1 of %1  Portrait A3, 297 x 420 mm").arg(preview.pageCount()));
}

TEST_F(PaginationTest, PreviewKeepsItsPagesWhenAMonthWillNotFit)
{
    days(3, 1, 31);
    PrintPreview preview(state, pdf);
    ASSERT_TRUE(preview.open());
    preview.settings().setMinBandHeight(10);
    ASSERT_EQ(preview.Paginate(), PrintPreview::Outcome::Laid);
    const QString before = preview.layout().summary();
    const qint32 band = preview.year().store->Item(1).Band;

    for (int i = 0; i < 20; ++i)
        days(3, 1, 31); // the planner's store; the preview's copy is as it was
    EXPECT_EQ(preview.year().store->Count(), 1);

    // Too many bands a month in the preview's own year: fewer rows fit than March needs.
    preview.settings().setMinBandNo(30);
    dialogs.queueAnswer(Dialogs::Answer::Ok);
    EXPECT_EQ(preview.Paginate(), PrintPreview::Outcome::Kept);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, "Print");
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::Buttons::OkCancel);
    EXPECT_EQ(dialogs.shown()[0].icon, Dialogs::Icon::Information);
    EXPECT_TRUE(dialogs.texts()[0].startsWith("Events for January will not all fit"));
    EXPECT_EQ(preview.layout().summary(), before) << "OK leaves the pages as they were";
    EXPECT_EQ(preview.year().store->Item(1).Band, band) << "and the bands they were drawn with";

    dialogs.queueAnswer(Dialogs::Answer::Cancel);
    EXPECT_EQ(preview.Paginate(), PrintPreview::Outcome::Close);
}

TEST_F(PaginationTest, PrintedPagesOfAPdf)
{
    for (int m = 1; m <= 12; ++m)
        days(m, 3, 9, QStringLiteral("Trip %1").arg(m));
    PrintPreview preview(state, pdf);
    ASSERT_TRUE(preview.open());
    preview.settings().setMinBandHeight(10);
    ASSERT_EQ(preview.Paginate(), PrintPreview::Outcome::Laid);
    const QString path = dir.filePath("year.pdf");
    {
        QPdfWriter writer(path);
        writer.setPageLayout(pdf.layout());
        writer.setResolution(pdf.resolution());
        EXPECT_TRUE(preview.print(writer));
    }
    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              preview.pageCount());
    EXPECT_EQ(preview.currentPage(), 1) << "printing leaves the page shown";
}

TEST(PreviewGeometry, ScrollBarsZoomAndWheel)
{
    // A page 1123 pixels wide in a viewport of 800: the bar reaches 20 past either side.
    const ScrollRange across = ScrollRangeOf(1123, 800, 20);
    EXPECT_TRUE(across.visible);
    EXPECT_EQ(across.maximum, 323 + 40);
    EXPECT_EQ(across.largeChange, 323);
    EXPECT_EQ(across.smallChange, 32);
    EXPECT_FALSE(ScrollRangeOf(700, 800, 20).visible);
    EXPECT_FALSE(ScrollRangeOf(800, 800, 20).visible);
    const ScrollRange tall = ScrollRangeOf(3000, 700, 20);
    EXPECT_EQ(tall.largeChange, 2300 / 4);

    // A landscape page in a tall viewport fills its width; a portrait one its height.
    EXPECT_EQ(ZoomedPage(QSize(640, 640), QSize(1123, 794), 20),
              QRect(20, 20 + (600 - 424) / 2, 600, 424));
    const QRect portrait = ZoomedPage(QSize(1000, 500), QSize(794, 1123), 20);
    EXPECT_EQ(portrait.height(), 460);
    EXPECT_EQ(portrait.width(), 325);
    EXPECT_EQ(portrait.left(), 20 + 318) << "317.5 rounded";
    EXPECT_EQ(portrait.top(), 20);
    EXPECT_FALSE(ZoomedPage(QSize(30, 30), QSize(794, 1123), 20).isEmpty()) << "never nothing";

    EXPECT_EQ(WheelScrollAmount(-120, 1, 3), 3) << "a notch towards the user scrolls down";
    EXPECT_EQ(WheelScrollAmount(240, 5, 3), -30);
    EXPECT_EQ(WheelScrollAmount(-120, 1, 0), 3) << "three lines when the system says none";
    EXPECT_EQ(WheelScrollAmount(-60, 1, 3), 0);
}
