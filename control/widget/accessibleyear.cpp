#include "accessibleyear.h"

#include "gridkeyboard.h"
#include "legendpanel.h"
#include "oadate.h"
#include "yearplan.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace {

constexpr int kRows = PlannerYear::kRows;
constexpr int kColumns = PlannerYear::kColumns;

class GridTable;

// What the table and its cells share: the window whose grid they describe, gone with it.
struct GridSource
{
    QPointer<YearPlan> plan;

    bool valid() const { return !plan.isNull(); }
    // The day of a cell, invalid outside the month of its row.
    QDate day(int row, int column) const
    {
        const PlannerYear &year = plan->state().year;
        if (column <= year.LeadIn(row + 1) || column > year.LastColumn(row + 1))
            return QDate();
        return OADate::toDate(year.DateOfCell(column, row + 1));
    }
    // A cell's place on the screen: its day column over the whole month row.
    QRect rect(int row, int column) const
    {
        const GridGeometry &g = plan->geometry();
        const auto &bands = plan->state().RowBands;
        const QRectF twips(column * g.DayWidth, bands[row] * g.BandHeight, g.DayWidth,
                           (bands[row + 1] - bands[row]) * g.BandHeight);
        QWidget *grid = plan->gridCanvas();
        const QRect pixels(int(twips.x() / plan->px()), int(twips.y() / plan->py()),
                           int(twips.width() / plan->px()), int(twips.height() / plan->py()));
        return QRect(grid->mapToGlobal(pixels.topLeft()), pixels.size());
    }
};

// An element inside a widget's interface with no children of its own: a header, a cell, a row.
class Leaf : public QAccessibleInterface
{
public:
    explicit Leaf(QAccessibleInterface *parent) : m_parent(parent) {}
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_parent->window(); }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return m_parent; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}

private:
    QAccessibleInterface *m_parent;
};

// A month name beside a row or a weekday name above a column.
class GridHeader : public Leaf
{
public:
    GridHeader(QAccessibleInterface *table, const GridSource &source, QAccessible::Role role,
               int index)
        : Leaf(table), m_source(source), m_role(role), m_index(index)
    {
    }
    bool isValid() const override { return m_source.valid(); }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        const CalendarNames &names = m_source.plan->planner().names();
        if (m_role == QAccessible::ColumnHeader) // column 1 is a Sunday
            return names.DayNames[size_t(m_index % 7)];
        return names.MonthNames[size_t(m_source.plan->state().year.MonthOfRow(m_index + 1) - 1)];
    }
    QRect rect() const override { return QRect(); }
    QAccessible::Role role() const override { return m_role; }
    QAccessible::State state() const override { return {}; }

private:
    const GridSource &m_source;
    QAccessible::Role m_role;
    int m_index;
};

class GridCell : public Leaf, public QAccessibleTableCellInterface
{
public:
    GridCell(GridTable *table, const GridSource &source, int row, int column);
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }
    bool isValid() const override { return m_source.valid(); }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        const QDate day = m_source.day(m_row, m_column + 1);
        if (!day.isValid())
            return QString();
        if (t == QAccessible::Name)
            return DayDescription(m_source.plan->planner(), day);
        return QString();
    }
    QRect rect() const override { return isValid() ? m_source.rect(m_row, m_column) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        const QDate day = m_source.day(m_row, m_column + 1);
        if (!day.isValid()) {
            s.invisible = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        GridKeyboard &keys = m_source.plan->keyboard();
        s.focused = keys.day() == day && m_source.plan->gridCanvas()->hasFocus();
        const auto run = keys.run();
        s.selected = run ? run->first <= day && day <= run->second : keys.day() == day;
        return s;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override;
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    GridTable *m_table;
    const GridSource &m_source;
    int m_row;    // from 0
    int m_column; // from 0
};

class GridTable : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    GridTable(QWidget *grid, YearPlan *plan)
        : QAccessibleWidget(grid, QAccessible::Table), m_ids(kRows * kColumns, 0),
          m_headerIds(kRows + kColumns, 0)
    {
        m_source.plan = plan;
    }
    ~GridTable() override
    {
        for (const std::vector<QAccessible::Id> *ids : {&m_ids, &m_headerIds})
            for (QAccessible::Id id : *ids)
                if (id)
                    QAccessible::deleteAccessibleInterface(id);
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && m_source.valid())
            return m_source.plan->yearLabel()->text();
        if (t == QAccessible::Description)
            return QStringLiteral("Twelve months of days; arrows move between days, Tab "
                                  "through a day's appointments, Enter opens one");
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return kRows * kColumns; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= kRows * kColumns || !m_source.valid())
            return nullptr;
        QAccessible::Id &id = m_ids[size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new GridCell(
                const_cast<GridTable *>(this), m_source, index / kColumns, index % kColumns));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (const auto *cell = const_cast<QAccessibleInterface *>(child)->tableCellInterface())
            return cell->rowIndex() * kColumns + cell->columnIndex();
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int r = 0; r < kRows && m_source.valid(); ++r)
            for (int c = 0; c < kColumns; ++c)
                if (m_source.rect(r, c).contains(x, y))
                    return child(r * kColumns + c);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (!m_source.valid() || !widget()->hasFocus())
            return nullptr;
        const QDate day = m_source.plan->keyboard().day();
        const PlannerYear &year = m_source.plan->state().year;
        if (!day.isValid() || !year.InPlannerYear(day.year(), day.month()))
            return nullptr;
        const int row = year.RowOfMonth(day.month());
        return child(GridCellIndex(row, year.LeadIn(row) + day.day()));
    }
    QAccessibleInterface *header(QAccessible::Role role, int index) const
    {
        const size_t at = role == QAccessible::RowHeader ? size_t(index) : size_t(kRows + index);
        QAccessible::Id &id = m_headerIds[at];
        if (!id)
            id = QAccessible::registerAccessibleInterface(
                new GridHeader(const_cast<GridTable *>(this), m_source, role, index));
        return QAccessible::accessibleInterface(id);
    }

    // QAccessibleTableInterface
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QString columnDescription(int column) const override
    {
        return header(QAccessible::ColumnHeader, column)->text(QAccessible::Name);
    }
    QString rowDescription(int row) const override
    {
        return header(QAccessible::RowHeader, row)->text(QAccessible::Name);
    }
    int columnCount() const override { return kColumns; }
    int rowCount() const override { return kRows; }
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
            return nullptr;
        return child(row * kColumns + column);
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface *c = child(i); c && c->state().selected)
                cells << c;
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    GridSource m_source;
    mutable std::vector<QAccessible::Id> m_ids;
    mutable std::vector<QAccessible::Id> m_headerIds;
};

GridCell::GridCell(GridTable *table, const GridSource &source, int row, int column)
    : Leaf(table), m_table(table), m_source(source), m_row(row), m_column(column)
{
}

QAccessibleInterface *GridCell::table() const
{
    return m_table;
}

QList<QAccessibleInterface *> GridCell::columnHeaderCells() const
{
    return {m_table->header(QAccessible::ColumnHeader, m_column)};
}

QList<QAccessibleInterface *> GridCell::rowHeaderCells() const
{
    return {m_table->header(QAccessible::RowHeader, m_row)};
}

// A legend row: a category, or a calendar of marked days.
class LegendRow : public Leaf
{
public:
    LegendRow(QAccessibleInterface *list, LegendPanel *panel, int row)
        : Leaf(list), m_panel(panel), m_row(row)
    {
    }
    bool isValid() const override { return !m_panel.isNull(); }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return QString();
        return m_panel->rowNames().value(m_row - 1);
    }
    QRect rect() const override { return isValid() ? m_panel->rowRect(m_row) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = s.focusable = true;
        s.selected = m_panel->isPicked(m_row);
        s.focused = m_panel->list()->hasFocus() && m_panel->keyRow() == m_row;
        return s;
    }

private:
    QPointer<LegendPanel> m_panel;
    int m_row;
};

class LegendList : public QAccessibleWidget
{
public:
    LegendList(QWidget *list, LegendPanel *panel)
        : QAccessibleWidget(list, QAccessible::List), m_panel(panel)
    {
    }
    ~LegendList() override
    {
        for (QAccessible::Id id : std::as_const(m_ids))
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return m_panel ? int(m_panel->rowNames().size()) : 0; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        while (m_ids.size() <= index)
            m_ids.append(QAccessible::registerAccessibleInterface(
                new LegendRow(const_cast<LegendList *>(this), m_panel, int(m_ids.size()) + 1)));
        return QAccessible::accessibleInterface(m_ids[index]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < m_ids.size(); ++i)
            if (QAccessible::accessibleInterface(m_ids[i]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface *focusChild() const override
    {
        return m_panel && widget()->hasFocus() ? child(m_panel->keyRow() - 1) : nullptr;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (child(i)->rect().contains(x, y))
                return child(i);
        return nullptr;
    }

private:
    QPointer<LegendPanel> m_panel;
    mutable QList<QAccessible::Id> m_ids;
};

QAccessibleInterface *YearFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->objectName() == QLatin1String("picCats"))
        if (auto *panel = qobject_cast<LegendPanel *>(widget->parentWidget()))
            return new LegendList(widget, panel);
    if (widget->objectName() != QLatin1String("pic1"))
        return nullptr;
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        if (auto *plan = qobject_cast<YearPlan *>(w))
            return plan->gridCanvas() == widget ? new GridTable(widget, plan) : nullptr;
    return nullptr;
}

} // namespace

void InstallYearAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(YearFactory);
        return true;
    }();
    (void)installed;
}

int GridCellIndex(int row, int column)
{
    return (row - 1) * kColumns + (column - 1);
}
