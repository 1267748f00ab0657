#pragma once

#include <QColor>

// The system's colours are 24-bit values in 0x00BBGGRR order; these turn them into device
// colours and back.
QColor ColorOf(quint32 bgr);
quint32 BgrOf(const QColor &colour);
