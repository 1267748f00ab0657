#include "printertarget.h"

#include "printpreview.h"
#include "twips.h"

#include <QGroupBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>

PrinterTarget::PrinterTarget()
    : m_printer(QPrinter::HighResolution), m_pdf(QPrinterInfo::availablePrinterNames().isEmpty())
{
    if (m_pdf) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setPageMargins(QMarginsF());
    }
}

void PrinterTarget::setPaperSize(int code)
{
    const QPageSize size = PageSizeOfCode(code);
    if (size.isValid())
        m_printer.setPageSize(size); // a size the printer refuses leaves the one it had
}

void PrinterTarget::setOrientation(int code)
{
    if (code == 1 || code == 2)
        m_printer.setPageOrientation(OrientationOfCode(code));
}

QSizeF PrinterTarget::printableTwips() const
{
    return m_printer.pageLayout().paintRect(QPageLayout::Millimeter).size() * Twips::kPerMillimetre;
}

bool ShowPrinterSetup(QWidget *owner, PrinterTarget &target)
{
    QPrinter &printer = target.printer();
    if (target.toPdf()) {
        QPageSetupDialog dialog(&printer, owner);
        // The margins are the planner's own, set in Page Setup; a PDF's page has none, and its
        // 0 mm beside Page Setup's 20 mm only left the user wondering which would print.
        if (auto *top = dialog.findChild<QWidget *>(QStringLiteral("topMargin"));
            top && qobject_cast<QGroupBox *>(top->parentWidget()))
            top->parentWidget()->hide();
        return dialog.exec() == QDialog::Accepted;
    }
    const QString before = printer.printerName();
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral("Printer setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString chosen = printer.printerName();
    if (chosen.compare(before, Qt::CaseInsensitive) != 0 && !chosen.isEmpty()) {
        const QString match = MatchPrinter(chosen, QPrinterInfo::availablePrinterNames());
        if (!match.isEmpty())
            printer.setPrinterName(match);
    }
    return true;
}
