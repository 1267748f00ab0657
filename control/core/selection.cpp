#include "selection.h"

#include <utility>

SelectionCorners Normalised(SelectionCorners c)
{
    if (c.endRow < c.startRow) {
        std::swap(c.startRow, c.endRow);
        std::swap(c.startColumn, c.endColumn);
    } else if (c.endRow == c.startRow && c.endColumn < c.startColumn) {
        std::swap(c.startColumn, c.endColumn);
    }
    return c;
}
