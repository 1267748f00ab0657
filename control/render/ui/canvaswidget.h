#pragma once

#include "localefont.h"
#include "paintercanvas.h"

#include <QCursor>
#include <QWidget>

#include <functional>
#include <memory>

// A child that shows a canvas: the drawing stays on its image until drawn over.
class CanvasWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget *parent, quint32 backColour = 0xFFFFFF);
    // The canvas at the widget's size, its image covering the part the parent shows and as much
    // again above and below (made anew, undrawn, when the size changed or that part moved out).
    ImageCanvas &canvas();
    // Whether the canvas's image covers what the parent shows; when not, the owner draws again.
    bool covered() const;
    LocaleFont font;
    // Drawn over the image at every paint, never into it: marks that come and go (the keyboard's
    // cursor) leave the drawing as it was.
    std::function<void(QPainter &)> overlay;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The part of the widget inside its parent, in the widget's pixels.
    QRect shownPart() const;

    std::unique_ptr<ImageCanvas> m_canvas;
    QSize m_canvasSize;
    quint32 m_back;
};

// The pen the pointer becomes over the grid in pen mode, its tip at the hot spot.
QCursor PenCursor();
