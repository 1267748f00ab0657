#pragma once

#include "legendlayout.h"

class CategoryEditor;
class Planner;

// What the legend asks of the widget that shows it.
class LegendView
{
public:
    virtual ~LegendView() = default;
    // The legend list's canvas, as large as the list (drawn on, kept until drawn over).
    virtual Canvas &legendCanvas() = 0;
    virtual double legendListWidth() const = 0; // twips
    virtual void legendDrawn() = 0;
    // The in-place editor over a row's name (twips in the list), holding text, all selected.
    virtual void showRenameEditor(const QRectF &where, const QString &text) = 0;
    virtual void hideRenameEditor() = 0;
    virtual bool renameEditorVisible() const = 0;
    virtual QString renameEditorText() const = 0;
    virtual void showLegendMenu() = 0;
};

// The category legend beside the grid: a row per category, where a category is picked (pen
// mode) and edited. Clicking a row picks it, clicking it again puts it away; the right button
// keeps it and opens the legend menu; a double click renames it in place.
class Legend
{
public:
    enum class Button { Left, Right };

    Legend(Planner &planner, CategoryEditor &editor, LegendView &view);

    void setColours(const SystemColours &colours) { m_colours = colours; }
    // Measures the rows on the legend's canvas; the layout pass sizes the list from the height.
    void LayoutLegend();
    const LegendRows &rows() const { return m_rows; }
    void DrawLegend();

    // The pointer over the legend list at y (twips), or beside it in the legend's view.
    void hover(double y);
    void leaveList();
    void press(Button button, double y);
    void pressBesideList(Button button);
    void doubleClick(double y);

    void BeginCategoryRename();
    // Enter in the editor: the name is taken (or refused) and the legend drawn again.
    void CommitCategoryRename();
    // Escape in the editor.
    void cancelRename();

private:
    // The category's row at y; 0 off the categories (below them, or on a marked days' row).
    int categoryRowAt(double y) const;

    Planner &m_planner;
    CategoryEditor &m_editor;
    LegendView &m_view;
    SystemColours m_colours;
    LegendRows m_rows;
    bool m_hoverShown = false;
};
