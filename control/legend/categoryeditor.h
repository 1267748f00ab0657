#pragma once

#include <QString>

class Planner;

// The edits of the category table: every change is written to the folder's hidden item at once
// (SaveCategories), the picked category is put away and the planner reloaded. Messages go
// through the planner's dialogs.
class CategoryEditor
{
public:
    explicit CategoryEditor(Planner &planner);

    // Asks for a name; the new category is blue and goes before the catch-all (after it when
    // categories outside the table are hidden).
    void NewCategory();
    // Removes the picked category; the table keeps at least one.
    void CatDelete();
    // The colour dialog for the picked category; a colour another category has is refused.
    void CatColour();
    // Renames category position to text; a name another category has is refused, the same name
    // changes nothing. True when the table changed.
    bool CommitCategoryRename(int position, const QString &text);
    // The table chosen in the store's categories dialog, coloured by the master list's colours,
    // else by the old table's, else white.
    void EditOutlookCategories();

private:
    void save();
    // After a change: nothing picked, the year reloaded, the menus in line.
    void settle(bool rebuildMenu);

    Planner &m_planner;
};
