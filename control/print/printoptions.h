#pragma once

#include <QChar>
#include <QString>

class Dialogs;
class PrintSettings;

// What the "Print Options" dialog shows and takes, as its boxes hold it: lengths in the current
// units with one decimal, months as list positions (0 = January).
struct PrintOptionsForm
{
    QString header;
    QString left, top, right, bottom;
    QString legendWidth;
    QString bands;
    QString bandHeight;
    bool inches = false;
    bool displayLegend = true;
    bool reprint = true;
    bool autoHeading = true;
    bool visibleText = false;
    bool singleLine = true; // "Single Line with Ellipsis", else "Multiline and Crop"
    int startIndex = 0;
    int endIndex = 11;
};

// The form filled from the settings, as the dialog opens and after each change of units.
PrintOptionsForm FillPrintOptions(const PrintSettings &settings);

// OK: every number box in the order left, right, top, bottom margin, legend width, bands and band
// height is stored when it holds a number; one that does not is set to "0", its message is shown
// and its setting kept. Then the heading, the months and the check boxes are stored.
void StorePrintOptions(PrintOptionsForm &form, PrintSettings &settings, Dialogs &dialogs);

// The typing filter of the number boxes: characters above "9" are refused, and the full stop in
// a box for whole numbers; control keys and the rest below "0" pass.
bool AcceptsNumberKey(QChar c, bool wholeNumber);

// A number as the user typed it in the locale's notation or the plain one; false when it is none.
bool NumberOfUserText(const QString &text, double &value);
// A length shown in a box: one decimal, in the locale's notation.
QString LengthText(double value);
