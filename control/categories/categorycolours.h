#pragma once

#include "plannerstate.h"

#include <QStringList>

// The colour (0x00BBGGRR) of the calendar client's category colour number 1..25; white for any
// other number.
quint32 OutlookColourOf(int number);

// The table used when a folder keeps none: fourteen unused grey entries and "Other" in light grey
// as the catch-all, as its lines: a header, then "name|colour" per category.
QStringList DefaultCategoryLines();
CategoryTable DefaultCategoryTable();
