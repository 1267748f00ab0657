#include "updateindicator.h"

#include "colours.h"

#include <QPainter>

void UpdateIndicator::setColour(quint32 colour)
{
    m_colour = colour;
    update();
}

void UpdateIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(ColorOf(m_colour));
    p.drawEllipse(rect().adjusted(1, 1, -2, -2));
}
