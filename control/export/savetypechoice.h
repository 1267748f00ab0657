#pragma once

#include <QDate>
#include <QString>

// What the export saves: the category table alone, or with the appointments of the planner
// years from the one holding from to the one holding to.
struct ExportRequest
{
    bool categoriesOnly = false;
    QDate from;
    QDate to;
};

// The export options dialog (dlgSaveType) without its window: categories and appointments, or
// categories only; the range as two texts in the user's short date form (four-digit years), first
// and last day of the selected year to begin with. OK is offered for categories alone, or when
// both texts are dates.
class SaveTypeChoice
{
public:
    explicit SaveTypeChoice(int selectedYear);

    bool categoriesOnly() const { return m_categoriesOnly; }
    void setCategoriesOnly(bool on) { m_categoriesOnly = on; }
    const QString &fromText() const { return m_from; }
    const QString &toText() const { return m_to; }
    void setFromText(const QString &text) { m_from = text; }
    void setToText(const QString &text) { m_to = text; }

    bool okEnabled() const;
    // Why OK is not offered, with the forms a day may be typed in; empty while it is.
    QString okHint() const;
    // What OK hands the export; the dates are not needed for the categories alone.
    ExportRequest request() const;

private:
    int m_selectedYear;
    bool m_categoriesOnly = false;
    QString m_from;
    QString m_to;
};

// A date typed in the user's short date form with a two- or four-digit year (a two-digit year is
// the one nearest the current year), or in ISO 8601; invalid when the text is none.
QDate DateOfText(const QString &text);
