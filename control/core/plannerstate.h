#pragma once

#include "daymarks.h"
#include "eventstore.h"
#include "filtermodel.h"
#include "indicatorstate.h"
#include "planneryear.h"

#include <QList>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class Dialogs;

// The category table: positions 1..N, the last being the catch-all. Colours are 0x00BBGGRR.
struct CategoryTable
{
    QStringList names;
    QList<quint32> colours;
};

// What every part of one control shares: the planner year, the event store, the category table
// and the settings that layout, drawing and loading read. One per control.
struct PlannerState
{
    explicit PlannerState(Dialogs &dialogs) : dialogs(dialogs) {}

    PlannerYear year;
    // Shared so that a procedure enumerating the store across a yield keeps the store it started
    // with when a load replaces it.
    std::shared_ptr<EventStore> store = std::make_shared<EventStore>();
    CategoryTable categories;

    bool AllEvents = false;
    bool DisplaySubject = false;
    bool HideNonCategoryItems = false;
    bool WeekNumbers = false; // on the grid, at the start of each week
    QString TitleName = QStringLiteral("Default");
    QString ListSeparator = QStringLiteral(",");
    QString CategorySeparator = QStringLiteral(", ");

    // The category filter of the planner's title: what it hides is left out of layout, drawing,
    // printing and export.
    FilterModel filter;

    // The days marked under the year (holidays and other calendars of days); none when empty.
    std::shared_ptr<const DayMarks> marks = std::make_shared<DayMarks>();

    // Running band totals of the month rows, index 0..12.
    std::array<qint32, PlannerYear::kRows + 1> RowBands{};

    Dialogs &dialogs;

    // What a legend lists: the categories, then the calendars of marked days in their colours.
    CategoryTable legendTable() const;
    // CategoryIndexOf over this control's table and settings.
    qint16 categoryIndexOf(const QString &categories) const;
    // Whether an event takes part in layout, drawing, hit-testing, printing and export.
    bool isVisible(const CalEvent &event) const;
};
