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

// The grid of state's year laid out to fill canvas without headings or scrolling, the bands
// worked out first. Very full years get bands below a pixel; a screen would scroll then.
inline GridGeometry FitBenchYear(PlannerState &state, const Canvas &canvas)
{
    CalculateBands(*state.store, state.year, state.AllEvents, kScreenMinimumBands,
                   [&](const CalEvent &e) { return state.isVisible(e); }, state.RowBands, state.dialogs);
    GridLayoutInput fit;
    fit.areaWidth = canvas.width();
    fit.areaHeight = canvas.height();
    fit.px = canvas.px();
    fit.py = canvas.py();
    fit.totalBands = state.RowBands[12];
    fit.headings = false;
    fit.mayScroll = false;
    return LayoutGrid(fit).geometry;
}
