#pragma once

#include <QString>
#include <QStringList>

// The category filter of one control: names joined by the category separator and a mode, any
// (OR) or all (AND) of them among an appointment's categories. It hides events from layout,
// drawing, printing and export; it never removes them from the store.
class FilterModel
{
public:
    // separator: the control's category separator (list separator and a space).
    explicit FilterModel(QString separator = QStringLiteral(", "));

    void setSeparator(const QString &separator) { m_separator = separator; }

    void SetFilter(const QString &text);
    void SetFilterMode(bool usingAnd);
    QString FilterText() const { return m_text; }
    QString FilterDisplayText() const { return m_display; }
    bool FilterUsingAnd() const { return m_usingAnd; }
    QStringList FilterCategories() const { return m_categories; }

    // True when an event with these categories must be hidden.
    bool IsFilteredOut(const QString &categories) const;

    // What the filter button shows: its tooltip, and whether a filter is active (the toolbar's
    // image list kept the two looks as images 4 and 5).
    struct ButtonState
    {
        QString tooltip;
        bool active;
    };
    ButtonState ShowFilterState() const;

    // The per-user settings section of a planner title: "Filtering " and the title; a title with
    // "/" or "\\", which the settings file would take for nesting, has an escaped section.
    static QString SectionOf(const QString &titleName);
    // SetFilter and SetFilterMode from the settings of the title (none stored: no filter, OR).
    void restore(const QString &titleName);
    // Stores the filter under the title, as the filter dialog does on OK; false when the
    // settings file cannot be written.
    bool save(const QString &titleName) const;

private:
    QString m_separator;
    QString m_text;
    QString m_display;
    QStringList m_categories;
    bool m_usingAnd = false;
};
