#include "canvaswidget.h"

#include <QPainter>
#include <QPixmap>

CanvasWidget::CanvasWidget(QWidget *parent, quint32 backColour)
    : QWidget(parent), m_back(backColour)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ImageCanvas &CanvasWidget::canvas()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (!m_canvas || m_canvas->image().size() != size) {
        m_canvas = std::make_unique<ImageCanvas>(size, logicalDpiX(), m_back);
        m_canvas->setFont(font.font);
    }
    return *m_canvas;
}

void CanvasWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_canvas)
        p.drawImage(0, 0, m_canvas->image());
    else
        p.fillRect(rect(), ColorOf(m_back));
}

QCursor PenCursor()
{
    static const QCursor pen = [] {
        QPixmap pixmap(24, 24);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(2, 22);
        p.rotate(-45);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(0xF2, 0xC0, 0x3C));
        p.drawRect(QRectF(6, -3, 16, 6));
        p.setBrush(QColor(0xE8, 0xC9, 0xA0));
        p.drawPolygon(QPolygonF({QPointF(6, -3), QPointF(0, 0), QPointF(6, 3)}));
        return QCursor(pixmap, 1, 22);
    }();
    return pen;
}
