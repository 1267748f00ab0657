#pragma once

#include "controllayout.h"

#include <QRect>

class QScrollBar;

// A rectangle of the layout pass in twips, as the pixels of a widget at px and py twips per pixel.
QRect PixelsOf(const QRectF &twips, double px, double py);

// Shows a scroll bar where the layout put it (pixels), with its range and value; hides it, at 0,
// when the layout has none. singleStep in the bar's units.
void ApplyScrollBar(QScrollBar *bar, const ScrollBarLayout &layout, const QRect &pixels,
                    int singleStep);
