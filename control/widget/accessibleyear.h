#pragma once

// The year as assistive technology sees it, installed once for every YearPlan. The grid: a table
// of 12 month rows by 37 weekday columns, the months and weekdays its headers, each day a cell
// named by DayDescription; the columns outside a month are nameless invisible cells. The legend:
// a list of its rows by their names, the picked category selected.
void InstallYearAccessibility();
// A cell's index among the table's children: rows and columns from 1.
int GridCellIndex(int row, int column);
