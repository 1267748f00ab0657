// quorvel-cache: writes cache files from a list of appointments and reads them back the way the
// planner does, printing where every appointment lands in the planner year.

#include "cachefile.h"
#include "cacheloader.h"
#include "cacherecord.h"
#include "dialogs.h"
#include "oadate.h"
#include "plannerstate.h"
#include "translations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

// "2026-07-04" or "2026-07-04T09:30"; false when it is neither.
bool parseWhen(const QString &text, double &when)
{
    const QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
    if (dt.isValid()) {
        when = OADate::fromDateTime(dt.date(), dt.time());
        return true;
    }
    const QDate d = QDate::fromString(text, Qt::ISODate);
    when = OADate::fromDateTime(d);
    return d.isValid();
}

int make(const QString &listPath, const QString &cachePath)
{
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "quorvel-cache: cannot read %s\n", qPrintable(listPath));
        return 1;
    }
    QList<CacheRecord> records;
    int lineNo = 0;
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine()).trimmed();
        ++lineNo;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList f = line.split('\t');
        CacheRecord r;
        if (f.size() != 5 || !parseWhen(f[0], r.StartDate) || !parseWhen(f[1], r.EndDate)) {
            std::fprintf(stderr, "%s:%d: expected start, end, subject, categories, id\n",
                         qPrintable(listPath), lineNo);
            return 1;
        }
        r.Subject = f[2];
        r.Categories = f[3];
        r.EventID = f[4];
        records.append(r);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const auto &a, const auto &b) { return a.StartDate < b.StartDate; });
    const CacheWriteResult result =
        ReplaceCacheFile({cachePath, cachePath + ".new"}, [&](CacheRecordWriter &w) {
            for (const CacheRecord &r : records)
                w.write(r);
            return true;
        });
    if (!result.ok()) {
        std::fprintf(stderr, "quorvel-cache: writing %s failed (stage %d, error %d)\n",
                     qPrintable(cachePath), int(result.stage), result.errorNumber);
        return 1;
    }
    out() << "wrote " << records.size() << " records to " << cachePath << Qt::endl;
    return 0;
}

int print(const QString &cachePath, int year, int startMonth)
{
    StreamDialogs dialogs;
    PlannerState state(dialogs);
    state.year = PlannerYear(qint16(year), qint16(startMonth));
    // A cache that is not there or cannot be read whole prints nothing of it (the planner's
    // loader would make a missing one empty: here that would answer a typing error with a year).
    if (!QFileInfo::exists(cachePath)) {
        std::fprintf(stderr, "quorvel-cache: %s does not exist\n", qPrintable(cachePath));
        return 1;
    }
    if (!CacheLoader().LoadCache(state, cachePath)) {
        std::fprintf(stderr, "quorvel-cache: %s could not be read\n", qPrintable(cachePath));
        return 1;
    }

    const PlannerYear &y = state.year;
    out() << "Planner year " << year << ": "
          << OADate::toDate(y.PlannerStart()).toString(Qt::ISODate) << " to "
          << OADate::toDate(y.PlannerEnd()).toString(Qt::ISODate) << ", " << state.store->Count()
          << " appointments\n";
    for (const CalEvent &e : *state.store) {
        const bool timed = HasTimeOfDay(e.StartDate) || HasTimeOfDay(e.EndDate);
        const auto when = [timed](double d) {
            return timed ? OADate::toDateTime(d).toString("yyyy-MM-dd hh:mm")
                         : OADate::toDate(d).toString(Qt::ISODate);
        };
        const int row = e.StartMonth >= 1 && e.StartMonth <= 12 ? y.RowOfMonth(e.StartMonth) : 1;
        out() << QString("%1  %2  row %3 col %4-%5  %6")
                     .arg(when(e.StartDate), -16)
                     .arg(when(e.EndDate), -16)
                     .arg(row, 2)
                     .arg(e.StartDay, 2)
                     .arg(e.EndDay, -2)
                     .arg(e.Subject);
        if (!e.Categories.isEmpty())
            out() << "  [" << e.Categories << "]";
        out() << '\n';
    }
    out().flush();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    LoadTranslations(app);
    QCoreApplication::setApplicationName("quorvel-cache");
    QCommandLineParser parser;
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("quorvel-cache", text);
    };
    parser.setApplicationDescription(said(QT_TRANSLATE_NOOP(
        "quorvel-cache",
        "Writes a planner cache file from a tab-separated list of appointments (make LIST CACHE),\n"
        "or loads one as the planner does and prints where each appointment lands (print "
        "CACHE).")));
    parser.addHelpOption();
    parser.addPositionalArgument("command",
                                 said(QT_TRANSLATE_NOOP("quorvel-cache", "make or print")));
    QCommandLineOption yearOpt(
        "year", said(QT_TRANSLATE_NOOP("quorvel-cache", "Selected year (default: this year).")),
        "year", QString::number(QDate::currentDate().year()));
    QCommandLineOption startOpt(
        "start-month",
        said(QT_TRANSLATE_NOOP("quorvel-cache", "First month of the planner year (1-12).")),
        "month", "1");
    parser.addOption(yearOpt);
    parser.addOption(startOpt);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() == 3 && args[0] == "make")
        return make(args[1], args[2]);
    bool yearOk = false, monthOk = false;
    const int year = parser.value(yearOpt).toInt(&yearOk);
    const int startMonth = parser.value(startOpt).toInt(&monthOk);
    if (args.size() == 2 && args[0] == "print") {
        if (!yearOk || year < 100 || year > 9998 || !monthOk || startMonth < 1 || startMonth > 12) {
            std::fprintf(stderr, "quorvel-cache: --year must be 100..9998, --start-month 1..12\n");
            return 2;
        }
        return print(args[1], year, startMonth);
    }
    parser.showHelp(2);
}
