#include "commandline.h"

#include <QCoreApplication>
#include <QRegularExpression>

void DescribeHostOptions(QCommandLineParser &parser)
{
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) { return QCoreApplication::translate("quorvel", text); };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel",
        "Shows one calendar folder as a year planner. Without a profile of your own it opens the "
        "calendars khal and vdirsyncer are set up for, and the bundled demo calendar where there "
        "are none.")));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {"profile", said(QT_TRANSLATE_NOOP("quorvel", "The profile listing the calendar stores.")),
         "file"},
        {"store",
         said(QT_TRANSLATE_NOOP(
             "quorvel", "Open this store directory alone (desktop: the desktop's calendars).")),
         "dir"},
        {"folder",
         said(QT_TRANSLATE_NOOP(
             "quorvel", "The calendar folder to show (store name and folders, separated by \\).")),
         "path"},
        {"folder-id",
         said(
             QT_TRANSLATE_NOOP("quorvel", "The calendar folder to show, by its entry identifier.")),
         "id"},
        {"title",
         said(QT_TRANSLATE_NOOP(
             "quorvel",
             "The planner's title: it names the category colours and the filter it uses.")),
         "title"},
        {"start-month",
         said(QT_TRANSLATE_NOOP("quorvel", "The month the planner year begins with, 1-12.")),
         "month"},
        {"year",
         said(QT_TRANSLATE_NOOP("quorvel",
                                "The year to show first (the planner year that begins in it).")),
         "year"},
        {"all-events",
         said(QT_TRANSLATE_NOOP("quorvel", "Show timed appointments too, not only whole days."))},
        {"display-subject",
         said(QT_TRANSLATE_NOOP("quorvel", "Write the subjects into the bars."))},
        {"hide-non-category-items",
         said(QT_TRANSLATE_NOOP("quorvel", "Hide appointments of no category in the table."))},
        {"marks",
         said(QT_TRANSLATE_NOOP(
             "quorvel",
             "Days to mark under the year for this run: holidays:REGION (DE_BY, FR; +regional for "
             "those of parts of it), calendar:Store\\Folder, file:FILE.ics or subscription:URL (a "
             "web "
             "calendar vdirsyncer has fetched), separated by commas.")),
         "sources"},
        {"week-numbers",
         said(QT_TRANSLATE_NOOP("quorvel", "Number the weeks on the grid for this run."))},
        {"window-size",
         said(QT_TRANSLATE_NOOP("quorvel", "The window's size in pixels, e.g. 700x450.")), "WxH"},
        {"screenshot",
         said(QT_TRANSLATE_NOOP("quorvel",
                                "Save a picture of the window once the year is drawn, then quit.")),
         "file"},
        {"measure-startup",
         said(QT_TRANSLATE_NOOP(
             "quorvel", "Print the milliseconds until the first year is drawn, then quit."))},
        {"print-properties",
         said(QT_TRANSLATE_NOOP("quorvel",
                                "Print the planner's properties as it was created (name=value "
                                "lines), then quit."))},
    });
}

QString ApplyPlannerOptions(const QCommandLineParser &parser, MapPropertyBag &bag, int &firstYear)
{
    QVariantMap properties = bag.values();
    if (parser.isSet("title"))
        properties.insert(QStringLiteral("TitleName"), parser.value("title"));
    if (parser.isSet("start-month")) {
        bool ok = false;
        const int month = parser.value("start-month").toInt(&ok);
        if (!ok || month < 1 || month > 12)
            return QCoreApplication::translate("quorvel", "--start-month is a month from 1 to 12");
        properties.insert(QStringLiteral("StartMonth"), month);
    }
    for (const auto &[option, property] :
         {std::pair("all-events", "AllEvents"), std::pair("display-subject", "DisplaySubject"),
          std::pair("hide-non-category-items", "HideNonCategoryItems")}) {
        if (parser.isSet(QString::fromLatin1(option)))
            properties.insert(QString::fromLatin1(property), true);
    }
    bag = MapPropertyBag(properties);
    firstYear = 0;
    if (parser.isSet("year")) {
        bool ok = false;
        firstYear = parser.value("year").toInt(&ok);
        if (!ok || firstYear < 100 || firstYear > 9998)
            return QCoreApplication::translate("quorvel", "--year is a year from 100 to 9998");
    }
    return QString();
}

QSize WindowSizeOption(const QString &text)
{
    static const QRegularExpression size(QStringLiteral("^(\\d{2,5})[xX](\\d{2,5})$"));
    const QRegularExpressionMatch m = size.match(text.trimmed());
    if (!m.hasMatch())
        return QSize();
    const QSize s(m.captured(1).toInt(), m.captured(2).toInt());
    return s.width() >= 200 && s.height() >= 150 && s.width() <= 10000 && s.height() <= 10000
               ? s
               : QSize();
}
