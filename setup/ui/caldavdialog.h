#pragma once

#include "caldavaccount.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The installer's page for a CalDAV account: the server's address, the user, the command that
// gives the password; Connect shows each step and what went wrong as it goes.
class CalDavDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CalDavDialog(QWidget *parent = nullptr);

    // The connection as the fields describe it; the dialog runs it with connect().
    CalDavAccount account() const;
    // Connects; true when the account's calendars are now kept. vdirsyncer, when given, is the
    // program run in place of the one on the path.
    bool connectAccount(const QString &vdirsyncer = QString());
    QString log() const;

private:
    QLineEdit *m_url, *m_user, *m_password;
    QPlainTextEdit *m_log;
    QPushButton *m_connect;
};
