#include "plannerstate.h"

#include "categoryindex.h"

qint16 PlannerState::categoryIndexOf(const QString &categories) const
{
    return CategoryIndexOf(categories, this->categories.names, CategorySeparator,
                           HideNonCategoryItems);
}
