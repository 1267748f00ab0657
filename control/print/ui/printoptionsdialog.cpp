#include "printoptionsdialog.h"

#include "localeservices.h"
#include "printsettings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLineEdit *numberBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 16);
    return box;
}

QLabel *label(const char *name, const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

} // namespace

PrintOptionsDialog::PrintOptionsDialog(PrintSettings &settings, Dialogs &dialogs, bool reprintShown,
                                       QWidget *parent)
    : QDialog(parent), m_settings(settings), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmPrintOptions"));
    setWindowTitle(tr("Print Options"));
    auto *grid = new QGridLayout(this);

    m_header = new QPlainTextEdit(this);
    m_header->setObjectName(QStringLiteral("txtHeader"));
    m_header->setTabChangesFocus(true);
    m_header->setFixedHeight(m_header->fontMetrics().lineSpacing() * 3 + 12);
    grid->addWidget(label("Label2", tr("Title:"), m_header, this), 0, 0, Qt::AlignTop);
    grid->addWidget(m_header, 0, 1, 1, 4);

    auto *marginLabel = new QLabel(tr("Margins:"), this);
    marginLabel->setObjectName(QStringLiteral("MarginLabel"));
    grid->addWidget(marginLabel, 1, 0);
    m_left = numberBox("txtMLeft", this);
    m_top = numberBox("txtMTop", this);
    m_right = numberBox("txtMRight", this);
    m_bottom = numberBox("txtMBottom", this);
    grid->addWidget(label("Label1", tr("Left"), m_left, this), 1, 1);
    grid->addWidget(m_left, 1, 2);
    grid->addWidget(label("lblMTop", tr("Top"), m_top, this), 1, 3);
    grid->addWidget(m_top, 1, 4);
    grid->addWidget(label("lblMRight", tr("Right"), m_right, this), 2, 1);
    grid->addWidget(m_right, 2, 2);
    grid->addWidget(label("lblMBottom", tr("Bottom"), m_bottom, this), 2, 3);
    grid->addWidget(m_bottom, 2, 4);

    auto *bandLabel = new QLabel(tr("Band:"), this);
    bandLabel->setObjectName(QStringLiteral("BandLabel"));
    grid->addWidget(bandLabel, 3, 0);
    m_bands = numberBox("txtMinBandNo", this);
    m_bandHeight = numberBox("txtMinBandW", this);
    grid->addWidget(label("Label5", tr("Min. No. per Month"), m_bands, this), 3, 1);
    grid->addWidget(m_bands, 3, 2);
    grid->addWidget(label("Label3", tr("Min. Height"), m_bandHeight, this), 3, 3);
    grid->addWidget(m_bandHeight, 3, 4);

    auto *units = new QGroupBox(tr("Units"), this);
    units->setObjectName(QStringLiteral("fraUnit"));
    auto *unitRow = new QHBoxLayout(units);
    m_mm = new QRadioButton(tr("mm"), units);
    m_mm->setObjectName(QStringLiteral("optMM"));
    m_inch = new QRadioButton(tr("Inches"), units);
    m_inch->setObjectName(QStringLiteral("optInch"));
    unitRow->addWidget(m_mm);
    unitRow->addWidget(m_inch);
    grid->addWidget(units, 4, 1, 1, 4);

    m_displayLegend = new QCheckBox(tr("Display Category Legend:"), this);
    m_displayLegend->setObjectName(QStringLiteral("chkDisplayLegend"));
    m_displayLegend->setLayoutDirection(
        Qt::RightToLeft); // the caption ends in a colon before its box
    m_legendWidth = numberBox("txtCatW", this);
    grid->addWidget(m_displayLegend, 5, 0, 1, 2);
    grid->addWidget(label("Label4", tr("Width"), m_legendWidth, this), 5, 3);
    grid->addWidget(m_legendWidth, 5, 4);

    m_reprint = new QCheckBox(tr("Reprint on every page:"), this);
    m_reprint->setObjectName(QStringLiteral("chkReprint"));
    m_autoHeading = new QCheckBox(tr("Display Automatic Year Heading:"), this);
    m_autoHeading->setObjectName(QStringLiteral("chkAutoHeading"));
    m_visibleText = new QCheckBox(tr("Display Subject Text:"), this);
    m_visibleText->setObjectName(QStringLiteral("chkVisibleText"));
    for (QCheckBox *box : {m_reprint, m_autoHeading, m_visibleText})
        box->setLayoutDirection(Qt::RightToLeft);
    grid->addWidget(m_reprint, 6, 0, 1, 2);
    grid->addWidget(m_autoHeading, 7, 0, 1, 2);
    grid->addWidget(m_visibleText, 8, 0, 1, 2);
    m_reprint->setVisible(reprintShown);

    auto *format = new QButtonGroup(this);
    m_multi = new QRadioButton(tr("Multiline and Crop"), this);
    m_multi->setObjectName(QStringLiteral("radFormatMulti"));
    m_single = new QRadioButton(tr("Single Line with Ellipsis"), this);
    m_single->setObjectName(QStringLiteral("radFormatSingle"));
    format->addButton(m_multi);
    format->addButton(m_single);
    grid->addWidget(m_multi, 9, 1, 1, 2);
    grid->addWidget(m_single, 9, 3, 1, 2);
    connect(m_visibleText, &QCheckBox::toggled, m_multi, &QWidget::setEnabled);
    connect(m_visibleText, &QCheckBox::toggled, m_single, &QWidget::setEnabled);

    auto *monthLabel = new QLabel(tr("Filter Months:"), this);
    monthLabel->setObjectName(QStringLiteral("MonthLabel"));
    m_start = new QComboBox(this);
    m_start->setObjectName(QStringLiteral("cmbStart"));
    m_end = new QComboBox(this);
    m_end->setObjectName(QStringLiteral("cmbEnd"));
    grid->addWidget(monthLabel, 10, 0);
    grid->addWidget(label("StartLabel", tr("From"), m_start, this), 10, 1);
    grid->addWidget(m_start, 10, 2);
    grid->addWidget(label("EndLabel", tr("to end of"), m_end, this), 10, 3);
    grid->addWidget(m_end, 10, 4);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 11, 0, 1, 5);

    for (QLineEdit *box : {m_left, m_top, m_right, m_bottom, m_bands, m_bandHeight, m_legendWidth})
        box->installEventFilter(this);
    fill();

    // The units and the reprint box take effect at once, even if the dialog is then cancelled.
    connect(m_mm, &QRadioButton::clicked, this, [this] {
        m_settings.setUnits(QStringLiteral("mm"));
        fill();
    });
    connect(m_inch, &QRadioButton::clicked, this, [this] {
        m_settings.setUnits(QStringLiteral("Inch"));
        fill();
    });
    connect(m_reprint, &QCheckBox::clicked, this,
            [this](bool on) { m_settings.setReprintLegend(on); });
}

void PrintOptionsDialog::fill()
{
    const PrintOptionsForm f = FillPrintOptions(m_settings);
    m_left->setText(f.left);
    m_top->setText(f.top);
    m_right->setText(f.right);
    m_bottom->setText(f.bottom);
    m_legendWidth->setText(f.legendWidth);
    m_bandHeight->setText(f.bandHeight);
    m_bands->setText(f.bands);
    m_header->setPlainText(f.header);
    (f.inches ? m_inch : m_mm)->setChecked(true);
    m_displayLegend->setChecked(f.displayLegend);
    m_reprint->setChecked(f.reprint);
    m_autoHeading->setChecked(f.autoHeading);
    m_visibleText->setChecked(f.visibleText);
    (f.singleLine ? m_single : m_multi)->setChecked(true);
    m_multi->setEnabled(f.visibleText);
    m_single->setEnabled(f.visibleText);
    const CalendarNames names = LoadCalendarNames(QLocale());
    for (QComboBox *list : {m_start, m_end}) {
        list->clear();
        for (int m = 0; m < 12; ++m)
            list->addItem(names.MonthShortNames[size_t(m)]);
    }
    m_start->setCurrentIndex(f.startIndex);
    m_end->setCurrentIndex(f.endIndex);
}

PrintOptionsForm PrintOptionsDialog::form() const
{
    PrintOptionsForm f;
    f.header = m_header->toPlainText();
    f.left = m_left->text();
    f.top = m_top->text();
    f.right = m_right->text();
    f.bottom = m_bottom->text();
    f.legendWidth = m_legendWidth->text();
    f.bands = m_bands->text();
    f.bandHeight = m_bandHeight->text();
    f.inches = m_inch->isChecked();
    f.displayLegend = m_displayLegend->isChecked();
    f.reprint = m_reprint->isChecked();
    f.autoHeading = m_autoHeading->isChecked();
    f.visibleText = m_visibleText->isChecked();
    f.singleLine = !m_multi->isChecked();
    f.startIndex = m_start->currentIndex();
    f.endIndex = m_end->currentIndex();
    return f;
}

void PrintOptionsDialog::accept()
{
    PrintOptionsForm f = form();
    StorePrintOptions(f, m_settings, m_dialogs);
    // Boxes that held no number show "0".
    m_left->setText(f.left);
    m_top->setText(f.top);
    m_right->setText(f.right);
    m_bottom->setText(f.bottom);
    m_legendWidth->setText(f.legendWidth);
    m_bands->setText(f.bands);
    m_bandHeight->setText(f.bandHeight);
    QDialog::accept();
}

bool PrintOptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false; // control keys and shortcuts pass
    if (AcceptsNumberKey(text.front(), watched == m_bands))
        return false;
    QApplication::beep();
    return true;
}
