#pragma once

#include "installer.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The installer's window (CQuorvelSetupDlg, "Quorvel Installer"): where the pages go, which
// calendar, the access string and the title, three display options and the start month; Install,
// Cancel and Help. A red line asks to close the planner while one runs, and thanks when it ends.
class SetupDialog : public QDialog
{
    Q_OBJECT
public:
    SetupDialog(const QString &sourceDir, Dialogs &dialogs, QWidget *parent = nullptr);

    Installer &installer() { return m_installer; }
    // The warning line's check, every 500 ms while a planner runs.
    bool clientRunning() const { return m_clientRunning; }

private:
    void toControls();
    void fromControls();
    void checkClient();
    void install();
    void showAbout();

    Dialogs &m_dialogs;
    Installer m_installer;
    bool m_clientRunning = false;
    QTimer *m_clientTimer;
    QLabel *m_warning;
    QLineEdit *m_destination, *m_calendar, *m_access, *m_title;
    QCheckBox *m_allEvents, *m_subject, *m_hide;
    QComboBox *m_month;
};
