#include "gridarea.h"

#include "layoutapply.h"

#include <QScrollBar>
#include <QToolButton>

#include <cmath>

using namespace GridMetrics;

GridArea::GridArea(QWidget *parent) : QWidget(parent)
{
    setObjectName("picGridArea");
    m_grid = new CanvasWidget(this);
    m_grid->setObjectName("pic1");
    m_dayHeadings = new CanvasWidget(this);
    m_dayHeadings->setObjectName("picHeadRow");
    m_monthColumn = new CanvasWidget(this);
    m_monthColumn->setObjectName("picHeadCol");
    m_scroll = new QScrollBar(Qt::Vertical, this);
    m_scroll->setObjectName("VScroll1");
    m_scroll->hide();
    connect(m_scroll, &QScrollBar::valueChanged, this, [this](int value) {
        // The canvas and the month column move together; the weekday strip stays.
        const int top = int(std::lround((kDayStripHeight - value) / m_py));
        m_grid->move(m_grid->x(), top);
        m_monthColumn->move(0, top);
        emit scrolled();
    });
    m_refresh = new QToolButton(this);
    m_refresh->setObjectName("cmdRefresh");
    m_refresh->setText(QStringLiteral("\u21bb"));
    m_refresh->setToolTip(tr("Force refresh of current year"));
    m_refresh->setAccessibleName(m_refresh->toolTip());
    connect(m_refresh, &QToolButton::clicked, this, &GridArea::refreshClicked);
}

void GridArea::apply(const GridLayout &layout, const QRectF &cornerButton, double px, double py)
{
    m_py = py;
    ApplyScrollBar(m_scroll, layout.scroll, PixelsOf(layout.scroll.rect, px, py),
                   kMinimumBandHeight);
    m_grid->setGeometry(PixelsOf(layout.grid, px, py));
    m_monthColumn->setGeometry(PixelsOf(layout.monthColumn, px, py));
    m_dayHeadings->setGeometry(PixelsOf(layout.dayHeadings, px, py));
    m_refresh->setGeometry(PixelsOf(cornerButton, px, py));
    m_refresh->raise();
}

int GridArea::scrollValue() const
{
    return m_scroll->isHidden() ? 0 : m_scroll->value();
}

void GridArea::setCanvasFont(const QFont &font, int codePage)
{
    for (CanvasWidget *c : {m_grid, m_dayHeadings, m_monthColumn}) {
        c->font.font = font;
        c->font.font.setPointSize(8);
        ApplyLocaleFont(c->font, codePage);
    }
}
