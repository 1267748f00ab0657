#pragma once

// The year grid as assistive technology sees it: a table of 12 month rows by 37 weekday columns,
// the months and weekdays its headers, each day a cell named by DayDescription; the columns
// outside a month are nameless invisible cells. Installed once for the grid of every YearPlan.
void InstallGridAccessibility();
// A cell's index among the table's children: rows and columns from 1.
int GridCellIndex(int row, int column);
