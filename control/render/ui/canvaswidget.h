#pragma once

#include "localefont.h"
#include "paintercanvas.h"

#include <QCursor>
#include <QWidget>

#include <memory>

// A child that shows a canvas: the drawing stays on its image until drawn over.
class CanvasWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget *parent, quint32 backColour = 0xFFFFFF);
    // The canvas at the widget's size (made anew when the size changed).
    ImageCanvas &canvas();
    LocaleFont font;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::unique_ptr<ImageCanvas> m_canvas;
    quint32 m_back;
};

// The pen the pointer becomes over the grid in pen mode, its tip at the hot spot.
QCursor PenCursor();
