#pragma once

#include "clientversion.h"
#include "filterchoice.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The filter dialog (dlgFilter, "Category Filtering"): the planner's categories, and on request
// the master list, with check marks; the filter as text; "all must be matched"; Clear, OK and
// Cancel. OK applies the filter and stores it under the planner's title.
class FilterDialog : public QDialog
{
    Q_OBJECT
public:
    // filter: applied on OK. client chooses the master list box's caption. dialogs
    // says when the filter could not be stored.
    FilterDialog(FilterModel &filter, const QString &titleName, const QStringList &legends,
                 const QString &separator, ClientVersion client,
                 FilterChoice::MasterReader readMaster, Dialogs &dialogs,
                 QWidget *parent = nullptr);

    bool OKPressed() const { return m_okPressed; }
    const FilterChoice &choice() const { return m_choice; }

private:
    void showEntries();
    void showText();
    void accept() override;

    FilterModel &m_filter;
    QString m_title;
    Dialogs &m_dialogs;
    FilterChoice m_choice;
    bool m_okPressed = false;
    bool m_writing = false; // the dialog itself writes the text
    QListWidget *m_list;
    QLineEdit *m_text;
    QCheckBox *m_and;
    QCheckBox *m_master;
    QPushButton *m_clear;
};
