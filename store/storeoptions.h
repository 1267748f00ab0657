#pragma once

#include "calendarstore.h"

#include <QCommandLineParser>

// The options every program takes to choose the calendar store: --profile FILE or --store DIR.
void AddStoreOptions(QCommandLineParser &parser);
Store::ProfileOptions StoreOptionsFrom(const QCommandLineParser &parser);
