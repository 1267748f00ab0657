#pragma once

#include "canvaswidget.h"
#include "controllayout.h"

#include <QWidget>

class QScrollBar;
class QToolButton;

// The area below the toolbar (picGridArea): the grid canvas (pic1) with the weekday strip
// (picHeadRow) above it and the month names (picHeadCol) beside it, the grid's scroll bar and
// the refresh button in the corner. Scrolling moves the canvas and the month names together.
class GridArea : public QWidget
{
    Q_OBJECT
public:
    explicit GridArea(QWidget *parent);

    CanvasWidget *grid() const { return m_grid; }
    CanvasWidget *dayHeadings() const { return m_dayHeadings; }
    CanvasWidget *monthColumn() const { return m_monthColumn; }
    QScrollBar *scrollBar() const { return m_scroll; }
    QToolButton *refreshButton() const { return m_refresh; }

    // Places the children where the layout put them; px and py twips per pixel.
    void apply(const GridLayout &layout, const QRectF &cornerButton, double px, double py);
    // The scroll value in twips, 0 while the grid does not scroll.
    int scrollValue() const;
    // The three canvases' text in font at the size the cells have room for, prepared for the
    // user's code page.
    void setCanvasFont(const QFont &font, int codePage);

signals:
    void refreshClicked();
    // The grid and the month column moved; what their images do not cover needs drawing.
    void scrolled();

private:
    CanvasWidget *m_grid;
    CanvasWidget *m_dayHeadings;
    CanvasWidget *m_monthColumn;
    QScrollBar *m_scroll;
    QToolButton *m_refresh;
    double m_py = 15;
};
