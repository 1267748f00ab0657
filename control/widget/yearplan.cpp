#include "yearplan.h"

#include "accessibleyear.h"
#include "appointmentmenu.h"
#include "categorystore.h"
#include "controllayout.h"
#include "filterdialog.h"
#include "gridarea.h"
#include "helpmenu.h"
#include "layoutapply.h"
#include "legendpanel.h"
#include "oadate.h"
#include "plannerinput.h"
#include "plannertoolbar.h"
#include "printpreviewwindow.h"
#include "qtdialogs.h"
#include "regio.h"
#include "savetypedialog.h"
#include "twips.h"
#include "updateindicator.h"
#include "xmlexporter.h"
#include "yearpainter.h"

#include <QAccessible>
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>

using namespace GridMetrics;

YearPlan::YearPlan(QWidget *parent, Dialogs *dialogs)
    : QWidget(parent), m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this)),
      m_planner(std::make_unique<Planner>(dialogs ? *dialogs : *m_ownDialogs)),
      m_commands(std::make_unique<AppointmentCommands>(*m_planner)),
      m_pointer(std::make_unique<GridPointer>(*m_planner, *m_commands,
                                              static_cast<PointerView &>(*this))),
      m_keyboard(std::make_unique<GridKeyboard>(*m_planner, *m_commands, *m_pointer,
                                                static_cast<PointerView &>(*this))),
      m_categories(std::make_unique<CategoryEditor>(*m_planner))
{
    setFocusPolicy(Qt::StrongFocus);
    InstallYearAccessibility();
    buildChildren();
    // Focus given to the window goes to the year; Tab goes toolbar, grid, legend.
    setFocusProxy(m_grid);
    QWidget::setTabOrder(m_toolbar->button(Command::About), m_grid);
    QWidget::setTabOrder(m_grid, m_gridArea->refreshButton());
    QWidget::setTabOrder(m_gridArea->refreshButton(), m_legend->list());
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

void YearPlan::buildChildren()
{
    m_toolbar = new PlannerToolBar(this);
    for (Command hidden : {Command::Filter, Command::Categories, Command::Save})
        m_toolbar->setShown(hidden, false);
    connect(m_toolbar, &PlannerToolBar::triggered, this, &YearPlan::runCommand);

    m_statusStrip = new QWidget(this);
    m_statusStrip->setAutoFillBackground(true);
    m_statusStrip->lower();
    m_dateLabel = new QLabel(this);
    m_dateLabel->setObjectName("lblDate");
    // Subjects and category names come from the calendar: plain text, never markup.
    m_dateLabel->setTextFormat(Qt::PlainText);
    // A patch beside the date label in pen mode, in the picked category's colour.
    m_bulletLabel = new QLabel(this);
    m_bulletLabel->setObjectName("lblBullet");
    m_bulletLabel->setAutoFillBackground(true);
    m_bulletLabel->setFrameShape(QFrame::Box);
    m_bulletLabel->resize(12, 12);
    m_bulletLabel->hide();

    m_gridArea = new GridArea(this);
    m_grid = m_gridArea->grid();
    m_grid->setFocusPolicy(Qt::StrongFocus);
    m_grid->overlay = [this](QPainter &painter) { paintKeyboardMarks(painter); };
    m_dayHeadings = m_gridArea->dayHeadings();
    m_monthColumn = m_gridArea->monthColumn();
    m_gridScroll = m_gridArea->scrollBar();
    connect(m_gridArea, &GridArea::refreshClicked, this, [this] { m_planner->ReloadPlanner(); });
    connect(m_gridArea, &GridArea::scrolled, this, &YearPlan::drawScrolledIn);

    m_legend = new LegendPanel(*m_planner, *m_categories, this);
    m_logo = new QLabel(QStringLiteral("<b>Quorvel</b>"), this);
    m_logo->setObjectName("imgLogo");
    m_logo->setCursor(Qt::PointingHandCursor);
    m_logo->setAccessibleName(QStringLiteral("Quorvel"));
    m_logo->adjustSize();
    m_indicator = new UpdateIndicator(this);
    m_indicator->setObjectName("shpUpdate");
    m_indicator->setAccessibleName(tr("Update indicator"));
    m_indicator->resize(12, 12);

    m_popup = new AppointmentMenu(this);
    connect(m_popup, &AppointmentMenu::editRequested, this,
            [this] { m_commands->OpenAppointment(menuKey()); });
    connect(m_popup, &AppointmentMenu::deleteRequested, this,
            [this] { m_commands->DeleteAppointment(menuKey()); });
    connect(m_popup, &AppointmentMenu::clearRequested, this,
            [this] { m_pointer->clickOutsideGrid(); });
    // From the pointer a category starts pen mode; from the keyboard its days are chosen already.
    connect(m_popup, &AppointmentMenu::newAppointmentRequested, this, [this](int index) {
        if (m_menuFromKeyboard)
            m_keyboard->createOver(index);
        else
            m_planner->SelectCategory(index);
    });
    m_help = new HelpMenu(this);
    connect(m_help, &HelpMenu::aboutRequested, this, [this] { m_planner->ShowAbout(); });
    connect(m_help, &HelpMenu::leftOutRequested, this, [this] { m_planner->ShowLeftOutFiles(); });
    m_input = new PlannerInput(
        *m_pointer, *m_keyboard, *m_planner,
        {this, m_grid, m_monthColumn, m_dayHeadings, m_dateLabel, m_logo, m_gridScroll, m_help},
        m_px, m_py, this);
}

void YearPlan::runCommand(Command command)
{
    switch (command) {
    case Command::Back:
        m_planner->ChangeYear(-1);
        break;
    case Command::Next:
        m_planner->ChangeYear(1);
        break;
    case Command::About:
        m_planner->ShowAbout();
        break;
    case Command::Categories:
        m_categories->EditOutlookCategories();
        break;
    case Command::Filter:
        showFilterDialog();
        break;
    case Command::Save:
        XmlExporter(*m_planner).ExportXml([this](int year) {
            return SaveTypeDialog::ask(year, this);
        });
        break;
    case Command::Print:
        showPrintPreview();
        break;
    }
}

void YearPlan::showFilterDialog()
{
    Planner &p = *m_planner;
    RegIO registry(p.dialogs());
    Store::NameSpacePtr session = p.access() ? p.access()->session() : nullptr;
    std::unique_ptr<FilterDialog> dialog;
    {
        // The wait cursor while the dialog is made, not while the user works in it.
        WaitCursor wait(p.dialogs());
        dialog = std::make_unique<FilterDialog>(
            p.filter(), p.TitleName(), GetStringList(), p.state().CategorySeparator,
            p.clientVersion(),
            [&] { return ReadMasterCategories(p.clientVersion(), registry, session.get()); },
            p.dialogs(), this);
    }
    dialog->exec();
    if (dialog->OKPressed()) {
        p.ShowFilterState();
        p.ArrangeControls();
    }
}

void YearPlan::showPrintPreview()
{
    std::unique_ptr<PrintPreviewWindow> preview;
    {
        WaitCursor wait(m_planner->dialogs());
        preview = std::make_unique<PrintPreviewWindow>(m_planner->state(),
                                                       m_planner->clientVersion(), this);
    }
    preview->exec();
}

QStringList YearPlan::GetStringList() const
{
    return ::GetStringList(m_planner->state().categories);
}

bool YearPlan::visualStylesActive() const
{
    return !QApplication::style()->name().isEmpty();
}

quint32 YearPlan::menuColour() const
{
    return BgrOf(palette().color(QPalette::Window));
}

void YearPlan::applyToolbarColours(quint32 background, quint32 text)
{
    // A dark or high-contrast desktop keeps its own colours: the pale toolbar would glare in it,
    // and its dark text is what the user turned away from.
    const QPalette &desktop = palette();
    if (desktop.color(QPalette::Window).lightness() <
        desktop.color(QPalette::WindowText).lightness()) {
        background = BgrOf(desktop.color(QPalette::Window));
        text = BgrOf(desktop.color(QPalette::WindowText));
    }
    m_toolbar->applyColours(background, text, {m_statusStrip, m_dateLabel});
}

void YearPlan::readTwipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_px = Twips::perPixel(screen ? screen->logicalDotsPerInchX() : 96);
    m_py = Twips::perPixel(screen ? screen->logicalDotsPerInchY() : 96);
}

void YearPlan::applyFontCharset(int codePage)
{
    m_gridArea->setCanvasFont(font(), codePage); // the control's own font
    m_legend->setListFont(font());
    m_colours = SystemColoursOf(palette());
    m_legend->legend().setColours(m_colours);
}

void YearPlan::placeRefreshButton()
{
    m_gridArea->refreshButton()->setGeometry(
        pixels(QRectF(0, 0, kMonthColumnWidth, kDayStripHeight)));
}

void YearPlan::DrawLegend()
{
    m_legend->legend().DrawLegend();
    const Planner &p = *m_planner;
    if (p.CategorySelectionActive()) {
        const int i = p.SelectedCategory() - 1;
        QPalette pal = m_bulletLabel->palette();
        pal.setColor(QPalette::Window, ColorOf(p.state().categories.colours.value(i)));
        m_bulletLabel->setPalette(pal);
        m_bulletLabel->show();
        m_dateLabel->setText(p.state().categories.names.value(i));
        setGridCursor(PointerView::Cursor::Pen);
    } else {
        m_bulletLabel->hide();
        m_dateLabel->clear();
        setGridCursor(PointerView::Cursor::Default);
    }
}

void YearPlan::setGridCursor(PointerView::Cursor cursor)
{
    switch (cursor) {
    case PointerView::Cursor::Default:
        m_grid->unsetCursor();
        break;
    case PointerView::Cursor::Hand:
        m_grid->setCursor(Qt::PointingHandCursor);
        break;
    case PointerView::Cursor::Pen:
        m_grid->setCursor(PenCursor());
        break;
    }
}

void YearPlan::toggleSelection(const SelectionCorners &corners)
{
    DrawSelection(m_grid->canvas(), m_planner->state(), m_geometry, corners);
    m_grid->update();
}

void YearPlan::showAppointmentMenu(const QString &key, bool clearSelection,
                                   std::optional<QPointF> at)
{
    m_menuKey = key;
    m_menuFromKeyboard = at.has_value();
    m_popup->editAction()->setEnabled(!key.isEmpty());
    m_popup->deleteAction()->setEnabled(!key.isEmpty());
    m_popup->clearAction()->setEnabled(clearSelection);
    m_popup->popup(at ? m_grid->mapToGlobal(QPoint(int(at->x() / m_px), int(at->y() / m_py)))
                      : QCursor::pos());
}

void YearPlan::showKeyboardMarks(const QRectF &keepInView)
{
    if (!m_gridScroll->isHidden() && !keepInView.isNull()) {
        const int value = m_gridScroll->value(), page = m_gridScroll->pageStep();
        if (keepInView.top() < value)
            m_gridScroll->setValue(int(std::floor(keepInView.top())));
        else if (keepInView.bottom() > value + page)
            m_gridScroll->setValue(int(std::ceil(keepInView.bottom())) - page);
    }
    m_grid->update();
    if (m_grid->hasFocus() && m_keyboard->day().isValid()) {
        QAccessibleEvent moved(m_grid, QAccessible::Focus);
        moved.setChild(GridCellIndex(m_keyboard->row(), m_keyboard->column()));
        QAccessible::updateAccessibility(&moved);
    }
}

void YearPlan::paintKeyboardMarks(QPainter &painter)
{
    // Shown while the grid has the focus: the pointer's users see nothing new.
    if (!m_grid->hasFocus())
        return;
    const GridKeyboard::Marks marks = m_keyboard->marks();
    painter.save();
    for (const QRectF &days : marks.run)
        painter.fillRect(pixels(days), QColor(0xFF, 0xD8, 0x00, 150));
    if (!marks.chosen.isEmpty()) {
        painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(pixels(marks.chosen).adjusted(1, 1, -1, -1));
    }
    if (!marks.cursor.isEmpty()) {
        // Blue and dashed beside today's solid red.
        painter.setPen(QPen(QColor(0x00, 0x5A, 0xD2), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(pixels(marks.cursor).adjusted(2, 2, -2, -2));
    }
    painter.restore();
}

void YearPlan::redrawYear()
{
    DrawYear();
    drawEvents();
}

void YearPlan::showUpdateIndicator(quint32 colour, const QString &status)
{
    m_indicator->setColour(colour);
    for (QWidget *w : {static_cast<QWidget *>(m_logo), static_cast<QWidget *>(m_indicator)}) {
        w->setToolTip(status);
        w->setAccessibleDescription(status);
    }
    if (m_help)
        m_help->leftOutAction()->setVisible(!m_planner->leftOutFiles().isEmpty());
}

QRect YearPlan::pixels(const QRectF &twips) const
{
    return PixelsOf(twips, m_px, m_py);
}

void YearPlan::DrawYear()
{
    m_planner->SetUpdateIndicator(Indicator::kDrawing);
    ::DrawYear(m_grid->canvas(), m_planner->state(), m_geometry, m_planner->weekendColour());
    m_planner->SetUpdateIndicator(Indicator::kIdle);
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
    in.legendListHeight = m_legend->legend().rows().height;
    const int dateLeft = margin + m_bulletLabel->width() + margin;
    in.dateLabelLeft = dateLeft * m_px;
    in.scrollBarWidth = m_gridScroll->sizeHint().width() * m_px;
    in.gridScroll = m_gridArea->scrollValue();
    in.legendScroll = m_legend->scrollValue();
    in.totalBands = m_planner->state().RowBands[12];
    const ControlLayout c = LayoutControls(in);

    m_gridArea->setGeometry(pixels(c.gridArea));
    m_gridArea->apply(c.grid, c.cornerButton, m_px, m_py);

    m_legend->apply(c.legendView, c.legendList, c.legendScroll, m_px, m_py);
    const int centre = int(std::lround(c.legendCentre / m_px));
    const int belowToolbar = int(std::lround(in.toolbarHeight / m_py)) + margin;
    m_logo->move(centre - m_logo->width() / 2, belowToolbar);
    m_indicator->move(centre - m_indicator->width() / 2, belowToolbar + m_logo->height() + margin);

    m_toolbar->stretchStatus(int(std::lround(c.statusWidth / m_px)));
    m_toolbar->setGeometry(0, 0, width(), m_toolbar->sizeHint().height());
    m_statusStrip->setGeometry(pixels(c.statusStrip));
    m_bulletLabel->move(margin, (m_toolbar->height() - m_bulletLabel->height()) / 2);
    m_bulletLabel->raise();
    m_dateLabel->setGeometry(dateLeft, 2, int(c.dateLabelWidth / m_px), m_toolbar->height() - 4);
    m_dateLabel->raise();

    m_geometry = c.grid.geometry;
    drawEverything();
}

void YearPlan::drawEverything()
{
    const Planner &p = *m_planner;
    DrawDayHeadings(m_dayHeadings->canvas(), m_geometry, p.names(), m_colours);
    DrawMonthHeadings(m_monthColumn->canvas(), p.state(), m_geometry, p.names(), m_colours,
                      m_gridArea->scrollValue());
    m_legend->legend().DrawLegend();
    DrawYear();
    drawEvents();
    m_dayHeadings->update();
    m_monthColumn->update();
}

void YearPlan::drawScrolledIn()
{
    const Planner &p = *m_planner;
    // Always: the name of a month taller than the window follows it.
    DrawMonthHeadings(m_monthColumn->canvas(), p.state(), m_geometry, p.names(), m_colours,
                      m_gridArea->scrollValue());
    m_monthColumn->update();
    if (!m_grid->covered())
        redrawYear();
}

void YearPlan::drawEvents()
{
    std::function<void()> selection;
    if (m_pointer->selecting())
        selection = [this] { toggleSelection(m_pointer->selection()); };
    m_planner->SetUpdateIndicator(Indicator::kDrawing);
    DrawEvents(m_grid->canvas(), m_planner->state(), m_geometry, m_planner->hitMap(),
               OADate::fromDateTime(QDateTime::currentDateTime()), selection);
    if (m_planner->session().readingFirstTime() && m_planner->state().store->isEmpty())
        DrawGridNotice(m_grid->canvas(), m_geometry, m_gridArea->scrollValue(),
                       tr("Reading the calendar for the first time: the year's appointments "
                          "appear as soon as it is read."));
    m_planner->SetUpdateIndicator(Indicator::kIdle);
    m_grid->update();
    m_pointer->refresh();
    m_keyboard->redrawn();
    emit yearDrawn();
}

void YearPlan::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_planner->ArrangeControls();
}
