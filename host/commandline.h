#pragma once

#include "propertybag.h"

#include <QCommandLineParser>
#include <QSize>

// The options of the planner host: which store and folder, the planner's properties, and the
// scripted runs (a screenshot, a start-up time).
void DescribeHostOptions(QCommandLineParser &parser);

// The properties given on the command line over those of the folder's page (bag); firstYear the
// year to show first, 0 for the planner year of today. An empty text, or what is wrong.
QString ApplyPlannerOptions(const QCommandLineParser &parser, MapPropertyBag &bag, int &firstYear);

// The size of --window-size ("700x450", 200x150 to 10000x10000); invalid when the text is none.
QSize WindowSizeOption(const QString &text);
