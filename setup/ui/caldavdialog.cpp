#include "caldavdialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CalDavDialog::CalDavDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CalDavDialog"));
    setWindowTitle(tr("Connect a CalDAV Account"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("The account's calendars are kept on this computer by vdirsyncer, "
                                "synchronised every five minutes, and open in the planner."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *form = new QFormLayout;
    m_url = new QLineEdit(this);
    m_url->setObjectName(QStringLiteral("url"));
    m_url->setPlaceholderText(QStringLiteral("https://dav.example.org/"));
    m_url->setMinimumWidth(360);
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("user"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordCommand"));
    m_password->setPlaceholderText(tr("secret-tool lookup … (the default)"));
    form->addRow(tr("Server address"), m_url);
    form->addRow(tr("User name"), m_user);
    form->addRow(tr("Password command"), m_password);
    layout->addLayout(form);
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("log"));
    m_log->setReadOnly(true);
    m_log->setMinimumHeight(160);
    layout->addWidget(m_log);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_connect = buttons->addButton(tr("Connect"), QDialogButtonBox::ActionRole);
    m_connect->setObjectName(QStringLiteral("connect"));
    m_connect->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_connect, &QPushButton::clicked, this, [this] { connectAccount(); });
}

CalDavAccount CalDavDialog::account() const
{
    CalDavAccount a;
    a.url = m_url->text().trimmed();
    a.user = m_user->text().trimmed();
    a.passwordCommand = m_password->text().trimmed();
    return a;
}

bool CalDavDialog::connectAccount(const QString &vdirsyncer)
{
    m_log->clear();
    m_connect->setEnabled(false);
    const CalDavAccount a = account();
    CalDavConnection connection(a, [this](const QString &line) {
        m_log->appendPlainText(line);
        QApplication::processEvents(); // the steps show while vdirsyncer works
    });
    if (!vdirsyncer.isNull())
        connection.vdirsyncer = vdirsyncer;
    connection.mergeCommand = {QCoreApplication::applicationFilePath(),
                               QStringLiteral("--merge-versions"), a.collectionsPath()};
    const bool connected = connection.connect();
    m_log->appendPlainText(connected ? tr("Connected: open the planner to see the "
                                          "account's calendars.")
                                     : connection.error());
    m_connect->setEnabled(true);
    return connected;
}

QString CalDavDialog::log() const
{
    return m_log->toPlainText();
}
