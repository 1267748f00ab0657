#include "plannerstate.h"

#include "categoryindex.h"

qint16 PlannerState::categoryIndexOf(const QString &categories) const
{
    return CategoryIndexOf(categories, this->categories.names, CategorySeparator,
                           HideNonCategoryItems);
}

bool PlannerState::isVisible(const CalEvent &event) const
{
    return event.CatIndex >= 0 && !filter.IsFilteredOut(event.Categories);
}
