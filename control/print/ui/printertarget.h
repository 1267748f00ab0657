#pragma once

#include "papers.h"

#include <QPrinter>

class QWidget;

// The printer the preview prints on: the system's default printer, or, where none is installed,
// a PDF file (whose margins are the print settings' alone).
class PrinterTarget : public PrintTarget
{
public:
    PrinterTarget();

    void setPaperSize(int code) override;
    void setOrientation(int code) override;
    int paperSize() const override { return PaperCodeOf(m_printer.pageLayout().pageSize()); }
    int orientation() const override
    {
        return OrientationCodeOf(m_printer.pageLayout().orientation());
    }
    QSizeF printableTwips() const override;
    int resolution() const override { return m_printer.resolution(); }

    QPrinter &printer() { return m_printer; }
    // True when no printer is installed and the pages go to a PDF file.
    bool toPdf() const { return m_pdf; }

private:
    QPrinter m_printer;
    bool m_pdf;
};

// The printer setup: the printer dialog (or, with no printer installed, the page setup of the
// PDF) over target's printer. A printer chosen by a name that differs from the one before is
// made current through MatchPrinter, as the platform's device record keeps its name short.
// True when the user confirmed.
bool ShowPrinterSetup(QWidget *owner, PrinterTarget &target);
