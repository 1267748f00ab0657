#pragma once

// The corners of a drag selection over the grid's days: day columns 1..37 and month rows 1..12
// as the pointer gave them, in any order.
struct SelectionCorners
{
    int startColumn = 0;
    int endColumn = 0;
    int startRow = 0;
    int endRow = 0;

    bool operator==(const SelectionCorners &) const = default;
};

// The same corners from the earlier to the later day: rows swapped with their columns when the
// end row lies above the start row; in one row, the columns in order.
SelectionCorners Normalised(SelectionCorners corners);
