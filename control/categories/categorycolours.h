#pragma once

#include "plannerstate.h"

#include <QStringList>

#include <optional>

// The colour (0x00BBGGRR) of the calendar client's category colour number 1..25; white for any
// other number.
quint32 OutlookColourOf(int number);

// The colour (0x00BBGGRR) of a "#RRGGBB" text, as calendar folders keep theirs; nothing for any
// other text.
std::optional<quint32> ColourOfHexText(const QString &text);

// The table used when a folder keeps none: fourteen unused grey entries and "Other" in light grey
// as the catch-all, as its lines: a header, then "name|colour" per category.
QStringList DefaultCategoryLines();
CategoryTable DefaultCategoryTable();

// The table a folder that keeps none starts from when its appointments use categories: those
// names in order of first use (each once, up to the default table's fourteen), in distinct
// colours a bar's black text reads on, then "Other" as the catch-all in catchAll (the
// calendar's own colour, lightened where black text would not read on it; else light grey). The
// default table when used is empty.
CategoryTable CategoryTableOfUse(const QStringList &used, std::optional<quint32> catchAll);
// colour, mixed with as little white as makes black text readable on it (the same colour where
// it is light enough already). Colours in the table's order (red in the low byte).
quint32 ReadableUnderBlackText(quint32 colour);
// The colour a category added to table gets: the first of those light colours the table does
// not use yet, so that it differs from the others and its black text stays readable.
quint32 NextCategoryColour(const CategoryTable &table);
// The category names of a store's events in order of first use, as their texts join them with
// separator (the user's list separator).
QStringList CategoriesInUse(const EventStore &store, const QString &separator);
