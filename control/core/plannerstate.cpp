#include "plannerstate.h"

#include "categoryindex.h"

qint16 PlannerState::categoryIndexOf(const QString &categories) const
{
    return CategoryIndexOf(categories, this->categories.names, CategorySeparator,
                           HideNonCategoryItems);
}

CategoryTable PlannerState::legendTable() const
{
    CategoryTable table = categories;
    for (const DayMarks::Source &s : marks->sources) {
        table.names << s.name;
        table.colours << s.colour;
    }
    return table;
}

bool PlannerState::isVisible(const CalEvent &event) const
{
    return event.CatIndex >= 0 && !filter.IsFilteredOut(event.Categories);
}
