#include "filterdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

FilterDialog::FilterDialog(FilterModel &filter, const QString &titleName,
                           const QStringList &legends, const QString &separator,
                           ClientVersion client, FilterChoice::MasterReader readMaster,
                           Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_filter(filter), m_title(titleName), m_dialogs(dialogs),
      m_choice(filter, legends, separator, std::move(readMaster))
{
    setObjectName(QStringLiteral("dlgFilter"));
    setWindowTitle(tr("Category Filtering"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lbCategories"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("tbFilter"));
    m_and = new QCheckBox(QStringLiteral("(All must be matched)"), this);
    m_and->setObjectName(QStringLiteral("cbAND"));
    m_master =
        new QCheckBox(client.modern() ? QStringLiteral("(Include Master Category List)")
                                      : QStringLiteral("(Include Customised Master Category List)"),
                      this);
    m_master->setObjectName(QStringLiteral("cbMasterList"));
    m_clear = new QPushButton(tr("Clear"), this);
    m_clear->setObjectName(QStringLiteral("ClearButton"));
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addButton(m_clear, QDialogButtonBox::ResetRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Available categories:"), this));
    layout->addWidget(m_list, 1);
    layout->addWidget(m_master);
    layout->addWidget(new QLabel(tr("Item(s) belong to these categories:"), this));
    layout->addWidget(m_text);
    layout->addWidget(m_and);
    layout->addWidget(buttons);
    resize(360, 440);

    m_and->setChecked(m_choice.usingAnd());
    showText();
    showEntries();

    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_writing)
            return;
        m_choice.tick(m_list->row(item), item->checkState() == Qt::Checked);
        showText();
    });
    connect(m_text, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_writing) {
            m_choice.textEdited(text);
            showEntries();
        }
        m_clear->setEnabled(!text.isEmpty());
    });
    connect(m_and, &QCheckBox::toggled, this, [this](bool on) { m_choice.setUsingAnd(on); });
    connect(m_master, &QCheckBox::toggled, this, [this](bool on) {
        m_choice.setIncludeMasterList(on);
        showEntries();
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_choice.clear();
        showEntries();
        showText();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FilterDialog::reject);
}

void FilterDialog::showEntries()
{
    m_writing = true;
    m_list->clear();
    for (int i = 0; i < m_choice.entries().size(); ++i) {
        auto *item = new QListWidgetItem(m_choice.entries()[i], m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(m_choice.isTicked(i) ? Qt::Checked : Qt::Unchecked);
    }
    m_writing = false;
}

void FilterDialog::showText()
{
    m_writing = true;
    m_text->setText(m_choice.text());
    m_writing = false;
    m_clear->setEnabled(m_choice.clearEnabled());
}

void FilterDialog::accept()
{
    m_choice.accept(m_filter, m_title, m_dialogs);
    m_okPressed = true;
    QDialog::accept();
}
