#include "legend.h"

#include "canvas.h"
#include "categoryeditor.h"
#include "planner.h"

Legend::Legend(Planner &planner, CategoryEditor &editor, LegendView &view)
    : m_planner(planner), m_editor(editor), m_view(view)
{
}

void Legend::LayoutLegend()
{
    // The calendars of marked days have rows of their own below the categories.
    m_rows = ::LayoutLegend(m_view.legendCanvas(), m_planner.state().legendTable().names);
}

int Legend::categoryRowAt(double y) const
{
    const int row = HitLegendRow(m_rows, y);
    return row <= m_planner.state().categories.names.size() ? row : 0;
}

void Legend::DrawLegend()
{
    ::DrawLegend(m_view.legendCanvas(), m_planner.state().categories, m_rows,
                 m_planner.SelectedCategory(), m_colours);
    DrawLegendMarks(m_view.legendCanvas(), *m_planner.state().marks, m_rows,
                    int(m_planner.state().categories.names.size()) + 1);
    m_hoverShown = false;
    m_view.legendDrawn();
}

void Legend::hover(double y)
{
    m_hoverShown = HighlightLegendRow(m_view.legendCanvas(), m_rows, m_planner.SelectedCategory(),
                                      categoryRowAt(y), m_view.legendListWidth(), m_colours);
    m_view.legendDrawn();
}

void Legend::leaveList()
{
    if (!m_hoverShown)
        return;
    m_hoverShown = HighlightLegendRow(m_view.legendCanvas(), m_rows, m_planner.SelectedCategory(),
                                      0, m_view.legendListWidth(), m_colours);
    m_view.legendDrawn();
}

void Legend::press(Button button, double y)
{
    const int row = categoryRowAt(y);
    if (m_view.renameEditorVisible())
        CommitCategoryRename();
    // A second left click puts the category away; a click below the rows does too.
    const int selected = row == m_planner.SelectedCategory() && button == Button::Left ? 0 : row;
    if (button == Button::Right)
        m_view.showLegendMenu();
    m_planner.SelectCategory(selected);
}

void Legend::pressBesideList(Button button)
{
    if (button == Button::Right)
        m_view.showLegendMenu();
}

void Legend::doubleClick(double y)
{
    // The row under the pointer: on a row picked already, the double click's first press put
    // it away again.
    if (const int row = categoryRowAt(y); row > 0)
        m_planner.SelectCategory(row);
    BeginCategoryRename();
}

void Legend::BeginCategoryRename()
{
    const int s = m_planner.SelectedCategory();
    if (s < 1 || s > m_rows.count())
        return;
    const Canvas &c = m_view.legendCanvas();
    m_view.showRenameEditor(RenameEditorRect(m_rows, s, m_view.legendListWidth(), c.px(), c.py()),
                            m_planner.state().categories.names.value(s - 1));
}

void Legend::CommitCategoryRename()
{
    const QString text = m_view.renameEditorText();
    m_view.hideRenameEditor();
    if (!m_editor.CommitCategoryRename(m_planner.SelectedCategory(), text))
        DrawLegend();
}

void Legend::cancelRename()
{
    m_view.hideRenameEditor();
}
