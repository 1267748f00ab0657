#pragma once

#include <QtGlobal>

// The update indicator's states, each the colour it is filled with (0x00BBGGRR). The host page
// knows them only by the status text that goes with some (see Planner::SetUpdateIndicator).
namespace Indicator {
constexpr quint32 kIdle = 0xFFFFFF;       // white: the year shows what the cache holds
constexpr quint32 kLoading = 0x00FFFF;    // yellow: the cache is being read
constexpr quint32 kDrawing = 0xFF0000;    // blue: the year is being drawn
constexpr quint32 kRebuilding = 0x00FF00; // green: the synchroniser is rebuilding the cache
constexpr quint32 kBusy = 0x000000;       // black: a request came while a rebuild was busy
constexpr quint32 kFailed = 0x0000FF;     // red: the synchroniser failed; it is reset
} // namespace Indicator
