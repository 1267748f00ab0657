#pragma once

#include "printoptions.h"

#include <QDialog>

class Dialogs;
class PrintSettings;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// The page setup dialog (frmPrintOptions, "Print Options"): heading, margins, bands, units,
// legend, subjects and the months printed. The units and the reprint box are stored as soon as
// they are clicked; everything else on OK.
class PrintOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    // reprintShown: whether the legend fits on one page of several, where reprinting it matters.
    PrintOptionsDialog(PrintSettings &settings, Dialogs &dialogs, bool reprintShown,
                       QWidget *parent = nullptr);

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    PrintOptionsForm form() const;

    PrintSettings &m_settings;
    Dialogs &m_dialogs;
    QPlainTextEdit *m_header;
    QLineEdit *m_left, *m_top, *m_right, *m_bottom, *m_bands, *m_bandHeight, *m_legendWidth;
    QRadioButton *m_mm, *m_inch;
    QCheckBox *m_displayLegend, *m_reprint, *m_autoHeading, *m_visibleText;
    QRadioButton *m_multi, *m_single;
    QComboBox *m_start, *m_end;
};
