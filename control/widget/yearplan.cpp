#include "yearplan.h"

#include "appointmentmenu.h"
#include "controllayout.h"
#include "helpmenu.h"
#include "oadate.h"
#include "plannertoolbar.h"
#include "qtdialogs.h"
#include "updateindicator.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

#include <cmath>

using namespace GridMetrics;

namespace {

quint32 bgrOf(const QColor &c)
{
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

// Shows a scroll bar where the layout put it, keeping its value.
void applyScrollBar(QScrollBar *bar, const ScrollBarLayout &layout, const QRect &pixels)
{
    if (!layout.visible) {
        bar->hide();
        bar->setValue(0);
        return;
    }
    bar->setRange(0, layout.maximum);
    bar->setPageStep(layout.pageStep);
    bar->setSingleStep(kMinimumBandHeight);
    bar->setValue(layout.value);
    bar->setGeometry(pixels);
    bar->show();
}

} // namespace

YearPlan::YearPlan(QWidget *parent, Dialogs *dialogs)
    : QWidget(parent),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this)),
      m_planner(std::make_unique<Planner>(dialogs ? *dialogs : *m_ownDialogs))
{
    buildChildren();
    connect(m_planner.get(), &Planner::propertyChanged, this, &YearPlan::propertyChanged);
    connect(m_planner.get(), &Planner::StatusChange, this, &YearPlan::StatusChange);
    m_planner->setView(this);
    m_planner->create();
}

YearPlan::~YearPlan()
{
    // The planner releases the calendar and the synchroniser; it must not draw meanwhile.
    m_planner->setView(nullptr);
    m_planner.reset();
}

QToolBar *YearPlan::toolBar() const
{
    return m_toolbar;
}

QLabel *YearPlan::yearLabel() const
{
    return m_toolbar->yearLabel();
}

QMenu *YearPlan::appointmentMenu() const
{
    return m_popup;
}

QMenu *YearPlan::newAppointmentMenu() const
{
    return m_popup->newAppointmentMenu();
}

void YearPlan::buildChildren()
{
    m_toolbar = new PlannerToolBar(this);
    for (Command unbuilt : {Command::Filter, Command::Categories, Command::Save, Command::Print})
        m_toolbar->setAvailable(unbuilt, false);
    for (Command hidden : {Command::Filter, Command::Categories, Command::Save})
        m_toolbar->setShown(hidden, false);
    connect(m_toolbar, &PlannerToolBar::triggered, this, &YearPlan::runCommand);

    m_statusStrip = new QWidget(this);
    m_statusStrip->setAutoFillBackground(true);
    m_statusStrip->lower();
    m_dateLabel = new QLabel(this);
    m_dateLabel->setObjectName("lblDate");
    // Beside the date label in pen mode, in the picked category's colour.
    m_bulletLabel = new QLabel(QStringLiteral("\u2022"), this);
    m_bulletLabel->hide();

    m_gridArea = new QWidget(this);
    m_gridArea->setObjectName("picGridArea");
    m_grid = new CanvasWidget(m_gridArea);
    m_grid->setObjectName("pic1");
    m_dayHeadings = new CanvasWidget(m_gridArea);
    m_dayHeadings->setObjectName("picHeadRow");
    m_monthColumn = new CanvasWidget(m_gridArea);
    m_monthColumn->setObjectName("picHeadCol");
    m_gridScroll = new QScrollBar(Qt::Vertical, m_gridArea);
    m_gridScroll->setObjectName("VScroll1");
    m_gridScroll->hide();
    connect(m_gridScroll, &QScrollBar::valueChanged, this, [this](int value) {
        // The canvas and the month column move together; the weekday strip stays.
        const int top = int(std::lround((kDayStripHeight - value) / m_py));
        m_grid->move(m_grid->x(), top);
        m_monthColumn->move(0, top);
    });
    m_refresh = new QToolButton(m_gridArea);
    m_refresh->setObjectName("cmdRefresh");
    m_refresh->setText(QStringLiteral("\u21bb"));
    m_refresh->setToolTip(QStringLiteral("Force refresh of current year"));
    m_refresh->setAccessibleName(m_refresh->toolTip());
    connect(m_refresh, &QToolButton::clicked, this, [this] { m_planner->ReloadPlanner(); });

    m_legendView = new QWidget(this);
    m_legendView->setObjectName("picLegendView");
    m_legendList = new QWidget(m_legendView);
    m_legendList->setObjectName("picLegend");
    m_legendScroll = new QScrollBar(Qt::Vertical, m_legendView);
    m_legendScroll->hide();
    m_logo = new QLabel(QStringLiteral("<b>Quorvel</b>"), this);
    m_logo->setObjectName("imgLogo");
    m_logo->setCursor(Qt::PointingHandCursor);
    m_logo->adjustSize();
    m_indicator = new UpdateIndicator(this);
    m_indicator->setObjectName("shpUpdate");
    m_indicator->resize(12, 12);

    m_popup = new AppointmentMenu(this);
    m_help = new HelpMenu(this);
    connect(m_help, &HelpMenu::aboutRequested, this, [this] { m_planner->ShowAbout(); });
}

void YearPlan::runCommand(Command command)
{
    switch (command) {
    case Command::Back: m_planner->ChangeYear(-1); break;
    case Command::Next: m_planner->ChangeYear(1); break;
    case Command::About: m_planner->ShowAbout(); break;
    case Command::Filter:
    case Command::Categories:
    case Command::Save:
    case Command::Print:
        break; // not offered yet: their buttons stay disabled
    }
}

void YearPlan::RebuildCategoryMenu()
{
    m_popup->setCategories(m_planner->state().categories.names);
}

bool YearPlan::visualStylesActive() const
{
    return !QApplication::style()->name().isEmpty();
}

quint32 YearPlan::menuColour() const
{
    return bgrOf(palette().color(QPalette::Window));
}

void YearPlan::applyToolbarColours(quint32 background, quint32 text)
{
    for (QWidget *w : {m_statusStrip, static_cast<QWidget *>(m_toolbar->yearLabel()),
                       static_cast<QWidget *>(m_dateLabel), static_cast<QWidget *>(m_toolbar)}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, ColorOf(background));
        pal.setColor(QPalette::WindowText, ColorOf(text));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }
}

void YearPlan::readTwipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_px = 1440.0 / (screen ? screen->logicalDotsPerInchX() : 96);
    m_py = 1440.0 / (screen ? screen->logicalDotsPerInchY() : 96);
}

void YearPlan::applyFontCharset(int codePage)
{
    // The grid's text in the control's own font, at the size the cells have room for.
    for (CanvasWidget *c : {m_grid, m_dayHeadings, m_monthColumn}) {
        c->font.font = font();
        c->font.font.setPointSize(8);
        ApplyLocaleFont(c->font, codePage);
    }
    m_colours = SystemColoursOf(palette());
}

void YearPlan::placeRefreshButton()
{
    m_refresh->setGeometry(pixels(QRectF(0, 0, kMonthColumnWidth, kDayStripHeight)));
}

void YearPlan::showSelectedYear(int year)
{
    m_toolbar->yearLabel()->setText(QStringLiteral("Year %1").arg(year));
}

void YearPlan::showRefreshCommands(bool categories)
{
    m_toolbar->setShown(Command::Filter, true);
    m_toolbar->setShown(Command::Save, true);
    m_toolbar->setShown(Command::Categories, categories);
}

void YearPlan::showFilterState(const QString &tooltip, bool active)
{
    QToolButton *button = m_toolbar->button(Command::Filter);
    button->setToolTip(tooltip);
    // The image of an active filter: shown here as a pressed button.
    button->setCheckable(true);
    button->setChecked(active);
}

void YearPlan::categoriesChanged()
{
    RebuildCategoryMenu();
}

void YearPlan::showUpdateIndicator(quint32 colour, const QString &status)
{
    m_indicator->setColour(colour);
    m_logo->setToolTip(status);
}

QRect YearPlan::pixels(const QRectF &twips) const
{
    return QRect(int(std::lround(twips.left() / m_px)), int(std::lround(twips.top() / m_py)),
                 int(std::lround(twips.width() / m_px)), int(std::lround(twips.height() / m_py)));
}

void YearPlan::DrawYear()
{
    ::DrawYear(m_grid->canvas(), m_planner->state(), m_geometry, m_planner->weekendColour());
}

void YearPlan::layOutAndDraw()
{
    const int margin = 4; // pixels between the toolbar, the logo, the indicator and the legend
    LayoutInput in;
    in.width = width() * m_px;
    in.height = height() * m_py;
    in.px = m_px;
    in.py = m_py;
    in.toolbarHeight = m_toolbar->sizeHint().height() * m_py;
    in.toolbarOthersWidth = m_toolbar->othersWidth() * m_px;
    in.logoHeight = (margin + m_logo->height() + margin + m_indicator->height()) * m_py;
    in.legendListHeight = m_legendList->height() * m_py;
    in.dateLabelLeft = margin * m_px;
    in.scrollBarWidth = m_gridScroll->sizeHint().width() * m_px;
    in.gridScroll = m_gridScroll->isHidden() ? 0 : m_gridScroll->value();
    in.legendScroll = m_legendScroll->value();
    in.totalBands = m_planner->state().RowBands[12];
    const ControlLayout c = LayoutControls(in);

    m_gridArea->setGeometry(pixels(c.gridArea));
    applyScrollBar(m_gridScroll, c.grid.scroll, pixels(c.grid.scroll.rect));
    m_grid->setGeometry(pixels(c.grid.grid));
    m_monthColumn->setGeometry(pixels(c.grid.monthColumn));
    m_dayHeadings->setGeometry(pixels(c.grid.dayHeadings));
    m_refresh->setGeometry(pixels(c.cornerButton));
    m_refresh->raise();

    m_legendView->setGeometry(pixels(c.legendView));
    m_legendList->setGeometry(pixels(c.legendList));
    applyScrollBar(m_legendScroll, c.legendScroll, pixels(c.legendScroll.rect));
    const int centre = int(std::lround(c.legendCentre / m_px));
    const int belowToolbar = int(std::lround(in.toolbarHeight / m_py)) + margin;
    m_logo->move(centre - m_logo->width() / 2, belowToolbar);
    m_indicator->move(centre - m_indicator->width() / 2, belowToolbar + m_logo->height() + margin);

    m_toolbar->stretchStatus(int(std::lround(c.statusWidth / m_px)));
    m_toolbar->setGeometry(0, 0, width(), m_toolbar->sizeHint().height());
    m_statusStrip->setGeometry(pixels(c.statusStrip));
    m_dateLabel->setGeometry(margin, 2, int(c.dateLabelWidth / m_px), m_toolbar->height() - 4);
    m_dateLabel->raise();

    m_geometry = c.grid.geometry;
    drawEverything();
}

void YearPlan::drawEverything()
{
    const Planner &p = *m_planner;
    DrawDayHeadings(m_dayHeadings->canvas(), m_geometry, p.names(), m_colours);
    DrawMonthHeadings(m_monthColumn->canvas(), p.state(), m_geometry, p.names(), m_colours);
    ::DrawYear(m_grid->canvas(), m_planner->state(), m_geometry, p.weekendColour());
    DrawEvents(m_grid->canvas(), m_planner->state(), m_geometry, m_planner->hitMap(),
               OADate::fromDateTime(QDateTime::currentDateTime()));
    m_dayHeadings->update();
    m_monthColumn->update();
    m_grid->update();
    emit yearDrawn();
}

void YearPlan::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_planner->ArrangeControls();
}
