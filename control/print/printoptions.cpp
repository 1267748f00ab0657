#include "printoptions.h"

#include "dialogs.h"
#include "printsettings.h"
#include "usersettings.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>
#include <limits>

PrintOptionsForm FillPrintOptions(const PrintSettings &settings)
{
    PrintOptionsForm form;
    form.header = settings.Header();
    form.left = LengthText(settings.LeftMargin());
    form.top = LengthText(settings.TopMargin());
    form.right = LengthText(settings.RightMargin());
    form.bottom = LengthText(settings.BottomMargin());
    form.legendWidth = LengthText(settings.LegendWidth());
    form.bandHeight = LengthText(settings.MinBandHeight());
    form.bands = QString::number(settings.MinBandNo());
    form.inches = settings.inches();
    form.displayLegend = settings.DisplayLegend();
    form.reprint = settings.ReprintLegend();
    form.autoHeading = settings.AutoHeading();
    form.visibleText = settings.VisibleText();
    form.singleLine = settings.PrintFormat() != 0;
    form.startIndex = settings.FilterStartMonth() - 1;
    form.endIndex = settings.FilterEndMonth() - 1;
    return form;
}

void StorePrintOptions(PrintOptionsForm &form, PrintSettings &settings, Dialogs &dialogs)
{
    struct Box
    {
        QString &text;
        const char *what;
        void (PrintSettings::*store)(double);
    };
    auto storeBands = [&](double value) {
        settings.setMinBandNo(qint16(std::clamp(value, double(std::numeric_limits<qint16>::min()),
                                                double(std::numeric_limits<qint16>::max()))));
    };
    const Box boxes[] = {
        {form.left, QT_TRANSLATE_NOOP("Messages", "left margin"), &PrintSettings::setLeftMargin},
        {form.right, QT_TRANSLATE_NOOP("Messages", "right margin"), &PrintSettings::setRightMargin},
        {form.top, QT_TRANSLATE_NOOP("Messages", "top margin"), &PrintSettings::setTopMargin},
        {form.bottom, QT_TRANSLATE_NOOP("Messages", "bottom margin"),
         &PrintSettings::setBottomMargin},
        {form.legendWidth, QT_TRANSLATE_NOOP("Messages", "category legend width"),
         &PrintSettings::setLegendWidth},
        {form.bands, QT_TRANSLATE_NOOP("Messages", "minimum number of bands"), nullptr},
        {form.bandHeight, QT_TRANSLATE_NOOP("Messages", "minimum band height"),
         &PrintSettings::setMinBandHeight},
    };
    for (const Box &box : boxes) {
        double value = 0;
        if (!NumberOfUserText(box.text, value)) {
            box.text = QStringLiteral("0");
            dialogs.message(
                QCoreApplication::translate("Messages", "Please enter a numeric value for the %1")
                    .arg(QCoreApplication::translate("Messages", box.what)),
                Dialogs::Buttons::Ok, Dialogs::Icon::Information);
            continue;
        }
        if (box.store)
            (settings.*box.store)(value);
        else
            storeBands(std::round(value));
    }
    settings.setHeader(form.header);
    settings.setFilterMonths(qint16(form.startIndex + 1), qint16(form.endIndex + 1));
    settings.setVisibleText(form.visibleText);
    settings.setDisplayLegend(form.displayLegend);
    settings.setAutoHeading(form.autoHeading);
    settings.setPrintFormat(form.singleLine ? 1 : 0);
    if (settings.takeStoreFailure())
        dialogs.message(QCoreApplication::translate(
                            "Messages", "The print settings apply now, but they could not be kept "
                                        "for next time: %1 cannot be written.")
                            .arg(UserSettings().fileName()));
}

bool AcceptsNumberKey(QChar c, bool wholeNumber)
{
    if (c.unicode() > '9')
        return false;
    return !(wholeNumber && c == QLatin1Char('.'));
}

bool NumberOfUserText(const QString &text, double &value)
{
    const QString t = text.trimmed();
    bool ok = false;
    value = QLocale().toDouble(t, &ok);
    if (!ok)
        value = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(value);
}

QString LengthText(double value)
{
    return QLocale().toString(value, 'f', 1);
}
