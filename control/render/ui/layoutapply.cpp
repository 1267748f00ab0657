#include "layoutapply.h"

#include <QScrollBar>

#include <cmath>

QRect PixelsOf(const QRectF &twips, double px, double py)
{
    return QRect(int(std::lround(twips.left() / px)), int(std::lround(twips.top() / py)),
                 int(std::lround(twips.width() / px)), int(std::lround(twips.height() / py)));
}

void ApplyScrollBar(QScrollBar *bar, const ScrollBarLayout &layout, const QRect &pixels,
                    int singleStep)
{
    if (!layout.visible) {
        bar->hide();
        bar->setValue(0);
        return;
    }
    bar->setRange(0, layout.maximum);
    bar->setPageStep(layout.pageStep);
    bar->setSingleStep(singleStep);
    bar->setValue(layout.value);
    bar->setGeometry(pixels);
    bar->show();
}
