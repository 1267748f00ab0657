#include "canvaswidget.h"

#include <QPainter>

CanvasWidget::CanvasWidget(QWidget *parent, quint32 backColour) : QWidget(parent), m_back(backColour)
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
