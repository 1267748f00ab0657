#include "savetypedialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

SaveTypeDialog::SaveTypeDialog(int selectedYear, QWidget *parent)
    : QDialog(parent), m_choice(selectedYear)
{
    setObjectName(QStringLiteral("dlgSaveType"));
    setWindowTitle(QStringLiteral("Save"));
    m_both = new QRadioButton(QStringLiteral("Categories && Appointments"), this);
    m_both->setObjectName(QStringLiteral("rbCatsAndAppts"));
    m_both->setChecked(true);
    m_categoriesOnly = new QRadioButton(QStringLiteral("Categories Only"), this);
    m_categoriesOnly->setObjectName(QStringLiteral("rbCatsOnly"));
    m_from = new QLineEdit(m_choice.fromText(), this);
    m_from->setObjectName(QStringLiteral("tbFrom"));
    m_to = new QLineEdit(m_choice.toText(), this);
    m_to->setObjectName(QStringLiteral("tbTo"));
    for (QLineEdit *box : {m_from, m_to})
        box->installEventFilter(this);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("lblDateHint"));
    m_hint->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));

    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("Between"), this));
    range->addWidget(m_from);
    range->addWidget(new QLabel(QStringLiteral("and"), this));
    range->addWidget(m_to);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Please check the types that you wish to save to file:"), this));
    layout->addWidget(m_both);
    layout->addLayout(range);
    layout->addWidget(m_hint);
    layout->addWidget(m_categoriesOnly);
    auto *note = new QLabel(QStringLiteral("Please Note: any current filter will be applied to the "
                                           "saving of appointments."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(buttons);

    connect(m_both, &QRadioButton::toggled, this, &SaveTypeDialog::update);
    connect(m_categoriesOnly, &QRadioButton::toggled, this, &SaveTypeDialog::update);
    connect(m_from, &QLineEdit::textChanged, this, &SaveTypeDialog::update);
    connect(m_to, &QLineEdit::textChanged, this, &SaveTypeDialog::update);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        m_okPressed = true;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    update();
}

void SaveTypeDialog::update()
{
    m_choice.setCategoriesOnly(m_categoriesOnly->isChecked());
    m_choice.setFromText(m_from->text());
    m_choice.setToText(m_to->text());
    m_ok->setEnabled(m_choice.okEnabled());
    const QString hint = m_choice.okHint();
    m_hint->setText(hint);
    m_hint->setVisible(!hint.isEmpty());
    m_ok->setToolTip(hint);
}

bool SaveTypeDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A date box is typed over whole, however it got the focus: a click would otherwise leave the
    // cursor inside the old date and the new one would be appended to it. Selecting after the
    // click's own handling keeps the click from clearing the selection again.
    if (event->type() == QEvent::FocusIn) {
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<ExportRequest> SaveTypeDialog::ask(int selectedYear, QWidget *parent)
{
    SaveTypeDialog dialog(selectedYear, parent);
    dialog.exec();
    if (!dialog.OKPressed())
        return std::nullopt;
    return dialog.choice().request();
}
