#include "papers.h"
#include "printoptions.h"
#include "printpreview.h"
#include "printsettings.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "usersettings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PrintSettingsTest : public ::testing::Test
{
protected:
    QString stored(const QString &key) const
    {
        return UserSettings().value(QStringLiteral("Printing/") + key).toString();
    }
    void store(const QString &key, const QString &value)
    {
        QSettings s = UserSettings();
        s.setValue(QStringLiteral("Printing/") + key, value);
    }
    PrintSettings loaded(const QString &title = "Team", int startMonth = 1, bool subjects = false)
    {
        PrintSettings settings;
        settings.LoadPrintSettings(title, startMonth, subjects);
        return settings;
    }

    QTemporaryDir dir;
    ScopedSettingsHome home{dir.path()};
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(PrintSettingsTest, NothingStoredShowsTheDefaultsAndTurnsThePaper)
{
    PrintSettings settings = loaded("Team", 1, true);
    const PrintOptionsForm form = FillPrintOptions(settings);
    for (const QString &margin : {form.left, form.top, form.right, form.bottom})
        EXPECT_EQ(margin, "20.0");
    EXPECT_EQ(form.legendWidth, "40.0");
    EXPECT_EQ(form.bands, "3");
    EXPECT_EQ(form.bandHeight, "2.5");
    EXPECT_FALSE(form.inches);
    EXPECT_TRUE(form.displayLegend && form.reprint && form.autoHeading && form.singleLine);
    EXPECT_TRUE(form.visibleText) << "the planner shows subjects";
    EXPECT_EQ(form.startIndex, 0);
    EXPECT_EQ(form.endIndex, 11);
    EXPECT_EQ(settings.minimumBands(), 4) << "three bands and the day numbers";
    EXPECT_FALSE(loaded("Team", 1, false).VisibleText());

    PageLayoutTarget pdf(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    ApplyStoredPaper(settings, pdf);
    EXPECT_EQ(pdf.orientation(), 2) << "landscape when nothing is stored";
    EXPECT_EQ(pdf.paperSize(), 9);
    // Loading writes the ordered months back, nothing else.
    EXPECT_EQ(stored("StartMonth"), "1");
    EXPECT_EQ(stored("EndMonth"), "12");
    EXPECT_EQ(stored("Left Margin"), "");
}

TEST_F(PrintSettingsTest, UnitsChangeWhatIsShownNotWhatIsStored)
{
    PrintSettings settings = loaded();
    settings.setUnits("Inch");
    PrintOptionsForm form = FillPrintOptions(settings);
    EXPECT_TRUE(form.inches);
    EXPECT_EQ(form.left, "0.8");
    EXPECT_EQ(form.legendWidth, "1.6");
    EXPECT_EQ(form.bandHeight, "0.1");
    EXPECT_EQ(stored("Units"), "Inch");
    settings.setUnits("mm");
    form = FillPrintOptions(settings);
    EXPECT_EQ(form.left, "20.0");
    EXPECT_EQ(form.bandHeight, "2.5");
    EXPECT_EQ(settings.leftMarginTwips(), 1134);
    // Any text but "Inch" is millimetres.
    settings.setUnits("Zoll");
    EXPECT_DOUBLE_EQ(settings.LegendWidth(), 2268 / 56.7);
}

TEST_F(PrintSettingsTest, LengthsAreStoredInTwips)
{
    PrintSettings settings = loaded();
    settings.setLeftMargin(25);
    EXPECT_EQ(stored("Left Margin"), "1418") << "1417.5 goes to the even neighbour";
    settings.setRightMargin(24.5); // 1389.15
    EXPECT_EQ(stored("Right Margin"), "1389");
    settings.setMinBandHeight(2.5);
    EXPECT_EQ(stored("Band Height"), "141.75") << "the band height keeps its fraction";
    settings.setUnits("Inch");
    settings.setTopMargin(0.5);
    EXPECT_EQ(stored("Top Margin"), "720");
    settings.setMinBandNo(5);
    EXPECT_EQ(stored("Bands"), "5");
    EXPECT_EQ(settings.minimumBands(), 6);

    // What was stored comes back.
    PrintSettings again = loaded();
    EXPECT_EQ(again.leftMarginTwips(), 1418);
    EXPECT_FLOAT_EQ(again.minBandHeightTwips(), 141.75f);
    EXPECT_EQ(again.MinBandNo(), 5);
    EXPECT_TRUE(again.inches());
}

TEST_F(PrintSettingsTest, BadBoxesShowTheirMessagesInOrderAndKeepTheirValues)
{
    PrintSettings settings = loaded();
    PrintOptionsForm form = FillPrintOptions(settings);
    form.left = "";
    form.right = "30";
    form.bottom = "1-2";
    form.bands = "abc";
    form.bandHeight = "4";
    form.header = "Team rota";
    StorePrintOptions(form, settings, dialogs);

    EXPECT_EQ(dialogs.texts(),
              (QStringList{"Please enter a numeric value for the left margin",
                           "Please enter a numeric value for the bottom margin",
                           "Please enter a numeric value for the minimum number of bands"}));
    for (const auto &shown : dialogs.shown())
        EXPECT_EQ(shown.icon, Dialogs::Icon::Information);
    EXPECT_EQ(form.left, "0");
    EXPECT_EQ(form.bottom, "0");
    EXPECT_EQ(form.bands, "0");
    EXPECT_EQ(settings.leftMarginTwips(), 1134) << "the old value stays";
    EXPECT_EQ(stored("Left Margin"), "");
    EXPECT_EQ(stored("Right Margin"), "1701") << "the boxes after a bad one are still stored";
    EXPECT_EQ(settings.MinBandNo(), 3);
    EXPECT_EQ(stored("Band Height"), "226.8");
    EXPECT_EQ(stored("HeaderTeam"), "Team rota");
}

TEST_F(PrintSettingsTest, MonthsAreKeptInPlannerOrder)
{
    // A planner year from July: March is row 9, August row 2, so "from March to end of August"
    // runs from August to March.
    PrintSettings settings = loaded("Team", 7);
    EXPECT_EQ(settings.FilterStartMonth(), 7);
    EXPECT_EQ(settings.FilterEndMonth(), 6);
    PrintOptionsForm form = FillPrintOptions(settings);
    form.startIndex = 2;
    form.endIndex = 7;
    StorePrintOptions(form, settings, dialogs);
    EXPECT_EQ(stored("StartMonth"), "8");
    EXPECT_EQ(stored("EndMonth"), "3");

    // Both months are chosen before they are ordered: May to September stays so after any
    // range, also one that a change of the first month alone would turn round.
    PrintSettings fromJanuary = loaded("Team", 1);
    fromJanuary.setFilterMonths(1, 2);
    form = FillPrintOptions(fromJanuary);
    form.startIndex = 4;
    form.endIndex = 8;
    StorePrintOptions(form, fromJanuary, dialogs);
    EXPECT_EQ(fromJanuary.FilterStartMonth(), 5);
    EXPECT_EQ(fromJanuary.FilterEndMonth(), 9);
    // The same month twice is a range of one month.
    fromJanuary.setFilterMonths(4, 4);
    EXPECT_EQ(fromJanuary.FilterEndMonth(), 4);

    // Loading a stored range orders it once: January to May in a year from July (rows 7 and 11)
    // stays so, though January alone comes after the default last month, June.
    store("StartMonth", "1");
    store("EndMonth", "5");
    PrintSettings fromJuly = loaded("Team", 7);
    EXPECT_EQ(fromJuly.FilterStartMonth(), 1);
    EXPECT_EQ(fromJuly.FilterEndMonth(), 5);
}

TEST_F(PrintSettingsTest, EachTitleHasItsOwnHeading)
{
    PrintSettings team = loaded("Team");
    team.setHeader("Holidays 2026\nSecond line");
    EXPECT_EQ(stored("HeaderTeam"), "Holidays 2026\nSecond line");
    EXPECT_EQ(loaded("Team").Header(), "Holidays 2026\nSecond line");
    EXPECT_EQ(loaded("Rota").Header(), "");
    PrintSettings untitled = loaded("");
    untitled.setHeader("Plain");
    EXPECT_EQ(stored("Header"), "Plain");
    EXPECT_EQ(loaded("Team").Header(), "Holidays 2026\nSecond line");
}

TEST_F(PrintSettingsTest, StoredTextsThatAreNoNumbers)
{
    // A setting that is no number stops the opening with its error; the preview says so.
    store("Left Margin", "wide");
    PlannerState planner(dialogs);
    PageLayoutTarget pdf;
    PrintPreview preview(planner, pdf);
    EXPECT_FALSE(preview.open());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].startsWith("Error initialising: 13 Type mismatch"))
        << dialogs.texts()[0].toStdString();

    // Numbers out of every range are held at its ends, not wrapped round.
    store("Left Margin", "1e12");
    store("Bands", "-7");
    store("StartMonth", "40");
    PrintSettings settings = loaded();
    EXPECT_EQ(settings.leftMarginTwips(), std::numeric_limits<qint32>::max());
    EXPECT_EQ(settings.minimumBands(), 1) << "never fewer than the day-number band";
    EXPECT_EQ(settings.FilterStartMonth(), 12);
    store("Bands", "30000");
    EXPECT_EQ(loaded().minimumBands(), PrintSettings::kMostBands);
}

TEST(PrintOptions, TypingFilter)
{
    for (QChar c : QStringLiteral("0123456789.-, \b"))
        EXPECT_TRUE(AcceptsNumberKey(c, false)) << int(c.unicode());
    for (QChar c : QStringLiteral("a:;eE"))
        EXPECT_FALSE(AcceptsNumberKey(c, false)) << int(c.unicode());
    EXPECT_FALSE(AcceptsNumberKey(QLatin1Char('.'), true));
    EXPECT_TRUE(AcceptsNumberKey(QLatin1Char('7'), true));
    EXPECT_FALSE(AcceptsNumberKey(QChar(0x00B2), false)) << "superscript two is above 9";
}

TEST(Papers, NamesAndCodes)
{
    EXPECT_EQ(PaperSizeName(9), "A4, 210 x 297 mm");
    EXPECT_EQ(PaperSizeName(1), "Letter, 8 1/2 x 11 in.");
    EXPECT_EQ(PaperSizeName(12), "B4, 250 x 354 mm");
    EXPECT_EQ(PaperSizeName(35), "Envelope B6, 176 x 125 mm");
    EXPECT_EQ(PaperSizeName(41), "German Legal Fanfold, 8 1/2 x 13 in.");
    EXPECT_EQ(PaperSizeName(256), "User-defined");
    for (int code : {0, 42, 255, -1})
        EXPECT_EQ(PaperSizeName(code), "") << code;
    EXPECT_EQ(OrientationName(1), "Portrait");
    EXPECT_EQ(OrientationName(2), "Landscape");
    EXPECT_EQ(OrientationName(3), "");

    EXPECT_EQ(PageSizeOfCode(9).id(), QPageSize::A4);
    EXPECT_EQ(PageSizeOfCode(8).id(), QPageSize::A3);
    EXPECT_EQ(PageSizeOfCode(1).id(), QPageSize::Letter);
    EXPECT_FALSE(PageSizeOfCode(9999).isValid());
    EXPECT_EQ(PaperCodeOf(QPageSize(QPageSize::A5)), 11);
    EXPECT_EQ(PaperCodeOf(QPageSize(QSizeF(100, 123), QPageSize::Millimeter)), 256);
    // Every named size Qt knows goes there and back.
    for (int code = 1; code <= 41; ++code) {
        const QPageSize size = PageSizeOfCode(code);
        if (size.isValid() && code != 10 && code != 17) { // A4 Small is A4, 11 x 17 Tabloid to Qt
            EXPECT_EQ(PaperCodeOf(size), code) << code;
        }
    }
}

TEST_F(PrintSettingsTest, StoredPaperGoesToThePrinter)
{
    PrintSettings settings = loaded();
    settings.storePaper(8, 1);
    EXPECT_EQ(stored("PaperSize"), "8");
    EXPECT_EQ(stored("Orientation"), "1");
    PageLayoutTarget pdf;
    ApplyStoredPaper(settings, pdf);
    EXPECT_EQ(pdf.paperSize(), 8);
    EXPECT_EQ(pdf.orientation(), 1);
    // An unknown paper code leaves the paper as it was; an orientation that is no number is
    // landscape.
    store("PaperSize", "9999");
    store("Orientation", "upright");
    ApplyStoredPaper(settings, pdf);
    EXPECT_EQ(pdf.paperSize(), 8);
    EXPECT_EQ(pdf.orientation(), 2);
    EXPECT_NEAR(pdf.printableTwips().width(), 420 * 1440 / 25.4, 1);
}

TEST(PrinterSetup, ChosenPrinterIsFoundByContainment)
{
    const QStringList installed = {"Office_Laser", "Reception colour printer on the second floor",
                                   "Plotter"};
    EXPECT_EQ(MatchPrinter("office_laser", installed), "Office_Laser");
    // The device record keeps 31 characters of a longer name: it still selects the printer.
    EXPECT_EQ(MatchPrinter("Reception colour printer on the second floor", installed),
              "Reception colour printer on the second floor");
    EXPECT_EQ(MatchPrinter("Reception colour printer on the", installed),
              "Reception colour printer on the second floor");
    EXPECT_EQ(MatchPrinter("Scanner", installed), "");
    EXPECT_EQ(MatchPrinter("", installed), "");
}

// Settings that cannot be written (their directory is a file): the options apply, one message
// says they were not kept, and the settings file there stays as it was.
TEST_F(PrintSettingsTest, OptionsThatCannotBeKeptSaySoOnce)
{
    PrintSettings settings = loaded();
    PrintOptionsForm form = FillPrintOptions(settings);
    form.header = "Kept";
    StorePrintOptions(form, settings, dialogs);
    ASSERT_TRUE(dialogs.texts().isEmpty());
    const QString file = UserSettings().fileName();
    const QByteArray before = ReadAll(file);
    WriteAll(dir.path() + "/blocked", "a file, not a directory");
    {
        ScopedSettingsHome blocked(dir.path() + "/blocked");
        form.right = "30";
        form.header = "Lost";
        StorePrintOptions(form, settings, dialogs);
        EXPECT_EQ(settings.rightMarginTwips(), 1701) << "it applies all the same";
        ASSERT_EQ(dialogs.texts().size(), 1);
        EXPECT_TRUE(dialogs.texts()[0].startsWith("The print settings apply now, but they could "
                                                  "not be kept for next time"));
    }
    EXPECT_EQ(ReadAll(file), before);
}
