#include "canvaswidget.h"

#include <QPainter>
#include <QPixmap>

CanvasWidget::CanvasWidget(QWidget *parent, quint32 backColour)
    : QWidget(parent), m_back(backColour)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect CanvasWidget::shownPart() const
{
    const QWidget *parent = parentWidget();
    return parent ? rect().intersected(QRect(mapFromParent(QPoint(0, 0)), parent->size())) : rect();
}

bool CanvasWidget::covered() const
{
    const QRect shown = shownPart();
    return m_canvas && (shown.isEmpty() || m_canvas->window().contains(shown));
}

ImageCanvas &CanvasWidget::canvas()
{
    // A tall year scrolls under its parent: an image of the whole would cost its height in
    // memory and in drawing, so the image keeps what is shown and a screen's height either way.
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (!m_canvas || m_canvasSize != size || !covered()) {
        const QRect shown = shownPart();
        const QRect window = shown.isEmpty()
                                 ? QRect(0, 0, size.width(), 1) // nothing to keep yet
                                 : shown.adjusted(0, -shown.height(), 0, shown.height());
        m_canvas = std::make_unique<ImageCanvas>(size, logicalDpiX(), m_back, window);
        m_canvas->setFont(font.font);
        m_canvasSize = size;
    }
    return *m_canvas;
}

void CanvasWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_canvas)
        p.drawImage(m_canvas->window().topLeft(), m_canvas->image());
    else
        p.fillRect(rect(), ColorOf(m_back));
    if (overlay)
        overlay(p);
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
