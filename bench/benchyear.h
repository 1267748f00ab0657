#pragma once

#include "bandlayout.h"
#include "calevent.h"
#include "canvas.h"
#include "controllayout.h"
#include "eventkey.h"
#include "plannerstate.h"

#include <QRandomGenerator>

#include <cmath>

// n whole-day appointments spread evenly over the planner year of state, mostly one or two days
// long and every tenth up to two weeks, in three categories with subjects: the same year for
// every drawing benchmark.
inline void FillBenchYear(PlannerState &state, int n)
{
    QRandomGenerator rng(5);
    auto store = std::make_shared<EventStore>();
    const double first = state.year.PlannerStart();
    for (int i = 0; i < n; ++i) {
        auto e = std::make_unique<CalEvent>();
        e->EventID = QString::number(i);
        e->Subject = QStringLiteral("Appointment %1").arg(i);
        const double day = first + std::floor(365.0 * i / n);
        e->StartDate = day;
        e->EndDate = day + 1 + (rng.bounded(10) == 0 ? rng.bounded(14) : rng.bounded(2));
        e->CatIndex = qint16(1 + i % 3);
        PlaceEvent(*e, state.year);
        const QString key = EventKey(*e);
        store->Add(std::move(e), key);
    }
    state.store = store;
    state.categories.names = {"Holiday", "Work", "Other"};
    state.categories.colours = {0x9FDDA6, 0xE4B497, 0xCCCCCC};
}

// The year's bands worked out and its grid laid out in an area of pixels at 96 dots per inch:
// squeezed into it, or as the planner lays it out, scrolling once bands would fall below their
// least height. canvasSize gets the pixels the grid needs.
inline GridGeometry LayOutBenchYear(PlannerState &state, QSize area, bool scroll, QSize &canvasSize)
{
    state.RowBands = CalculateBands(
        *state.store, state.year, state.AllEvents, kScreenMinimumBands,
        [&](const CalEvent &e) { return state.isVisible(e); }, state.dialogs);
    GridLayoutInput fit;
    fit.areaWidth = area.width() * 15.0;
    fit.areaHeight = area.height() * 15.0;
    fit.totalBands = state.RowBands[12];
    fit.headings = false;
    fit.mayScroll = scroll;
    const GridLayout grid = LayoutGrid(fit);
    canvasSize =
        QSize(area.width(), std::max(area.height(), int(std::ceil(grid.grid.height() / 15))));
    return grid.geometry;
}
