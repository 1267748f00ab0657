#pragma once

#include "savetypechoice.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The export's options (dlgSaveType, "Save"): categories and appointments, or categories only,
// and the range of the appointments.
class SaveTypeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SaveTypeDialog(int selectedYear, QWidget *parent = nullptr);

    bool OKPressed() const { return m_okPressed; }
    const SaveTypeChoice &choice() const { return m_choice; }

    // Shows the dialog modally; what to save, or nothing when cancelled.
    static std::optional<ExportRequest> ask(int selectedYear, QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void update();

    SaveTypeChoice m_choice;
    bool m_okPressed = false;
    QRadioButton *m_both;
    QRadioButton *m_categoriesOnly;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLabel *m_hint;
    QPushButton *m_ok;
};
