#include "yearplan.h"

#include "categorystore.h"
#include "eventkey.h"
#include "itemchanges.h"
#include "oadate.h"
#include "qtdialogs.h"
#include "qverror.h"
#include "regio.h"
#include "remotesyncher.h"
#include "yearpainter.h"
#include "yield.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace {

constexpr int kMonthColumn = 405;  // twips
constexpr int kDayStrip = 240;
constexpr int kLegendWidth = 1365;
constexpr int kMinimumBand = 100;
constexpr int kMinimumLegendHeight = 3000;
constexpr int kDateLabelReserve = 1650;

const QString kCategoryPrefix = QStringLiteral("PLEASE IGNORE - Quorvel Category Colours: ");

QString statusTextOf(quint32 colour)
{
    if (colour == 0x0000FF)
        return QStringLiteral("An error occured while synchronising with Outlook, attempting to "
                              "reset and refresh appointment data");
    if (colour == 0x00FF00)
        return QStringLiteral("Downloading appointment data from Outlook, the year planner will be "
                              "refreshed when this operation is completed");
    return QString();
}

// The update indicator: a small round shape in the colour of the moment.
class Indicator : public QWidget
{
public:
    Indicator(QWidget *parent, const quint32 &colour) : QWidget(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(ColorOf(m_colour));
        p.drawEllipse(rect().adjusted(1, 1, -2, -2));
    }

private:
    const quint32 &m_colour;
};

} // namespace

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

YearPlan::YearPlan(QWidget *parent, Dialogs *dialogs)
    : QWidget(parent),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this)),
      m_state(dialogs ? *dialogs : *m_ownDialogs)
{
    m_syncherFactory = [this](const Store::ProfileOptions &options) {
        return MakeSyncherLink(m_state.dialogs, options);
    };
    CacheUpdater::Planner planner;
    planner.createLink = [this] {
        return m_syncherFactory(m_access ? m_access->session()->options() : Store::ProfileOptions());
    };
    planner.describeRequest = [this](SyncherLink &link) {
        link.CalStartYear = m_state.year.selectedYear();
        link.CalStartMonth = m_state.year.startMonth();
        link.CacheFileName = m_cacheFiles.cacheFile;
        link.TempFileName = m_cacheFiles.tempFile;
        link.FolderID = m_access->folderId();
        link.StoreID = m_access->storeId();
    };
    planner.showCache = [this] {
        m_loader.LoadCache(m_state, m_cacheFiles.cacheFile);
        ArrangeControls();
    };
    m_updater = std::make_unique<CacheUpdater>(m_state, std::move(planner));
    m_state.SetUpdateIndicator = [this](quint32 c) { SetUpdateIndicator(c); };
    m_state.IsFilteredOut = [this](const QString &c) { return m_filter.IsFilteredOut(c); };
    buildChildren();
    create();
}

YearPlan::~YearPlan()
{
    // Release the calendar session and the synchroniser link.
    m_items.reset();
    m_updater.reset();
    m_access.reset();
}

void YearPlan::buildChildren()
{
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName("Toolbar1");
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    struct Button
    {
        const char *key;
        const char *caption;
        const char *tooltip;
    };
    // Eleven buttons: the stretched status button, two separators, and the commands.
    const Button buttons[] = {{"Status", "", ""},
                              {"Back", "<", "Back a year"},
                              {nullptr, nullptr, nullptr},
                              {"Year", "", ""},
                              {"Next", ">", "Forward a year"},
                              {nullptr, nullptr, nullptr},
                              {"Filter", "Filter", "Apply filter"},
                              {"Categories", "Categories", "Define Categories"},
                              {"Save", "Export", "Export"},
                              {"Print", "Print", "Print this year"},
                              {"About", "?", "About Quorvel"}};
    for (const Button &b : buttons) {
        if (!b.key) {
            m_toolbar->addSeparator();
            continue;
        }
        auto *button = new QToolButton(m_toolbar);
        button->setObjectName(QLatin1String(b.key));
        button->setText(QLatin1String(b.caption));
        button->setToolTip(QLatin1String(b.tooltip));
        button->setAutoRaise(true);
        m_toolbar->addWidget(button)->setObjectName(QLatin1String(b.key));
        if (qstrcmp(b.key, "Status") == 0 || qstrcmp(b.key, "Year") == 0)
            button->setEnabled(false);
        if (qstrcmp(b.key, "Year") == 0) // room for the selected-year label lying over it
            button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("Year 00000")) + 8);
    }
    m_toolbar->findChild<QToolButton *>("Back")->connect(
        m_toolbar->findChild<QToolButton *>("Back"), &QToolButton::clicked, this, [this] { ChangeYear(-1); });
    m_toolbar->findChild<QToolButton *>("Next")->connect(
        m_toolbar->findChild<QToolButton *>("Next"), &QToolButton::clicked, this, [this] { ChangeYear(1); });
    for (const char *hidden : {"Filter", "Categories", "Save"})
        m_toolbar->findChild<QToolButton *>(hidden)->setVisible(false);

    m_statusStrip = new QWidget(this);
    m_statusStrip->setAutoFillBackground(true);
    m_yearLabel = new QLabel(this);
    m_yearLabel->setObjectName("lblYear");
    m_dateLabel = new QLabel(this);
    m_dateLabel->setObjectName("lblDate");
    m_bulletLabel = new QLabel(QStringLiteral("\u2022"), this);

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
        const int top = int(std::lround((kDayStrip - value) / m_py));
        m_grid->move(m_grid->x(), top);
        m_monthColumn->move(0, top);
    });
    m_refresh = new QToolButton(m_gridArea);
    m_refresh->setObjectName("cmdRefresh");
    m_refresh->setText(QStringLiteral("\u21bb"));
    m_refresh->setToolTip(QStringLiteral("Force refresh of current year"));
    connect(m_refresh, &QToolButton::clicked, this, &YearPlan::ReloadPlanner);

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
    m_indicator = new Indicator(this, m_indicatorColour);
    m_indicator->setObjectName("shpUpdate");
    m_indicator->resize(12, 12);

    // The appointment menu; its commands come with the pointer handling.
    m_popup = new QMenu(this);
    m_popup->setObjectName("mnuPop");
    m_popup->addAction(QStringLiteral("Edit Appointment"))->setObjectName("mnuEdit");
    m_popup->addAction(QStringLiteral("Delete Appointment"))->setObjectName("mnuDelete");
    m_popup->addSeparator();
    m_popup->addAction(QStringLiteral("Clear Selection"))->setObjectName("mnuClear");
    m_newMenu = m_popup->addMenu(QStringLiteral("New Appointment"));
    m_newMenu->setObjectName("mnuNew");
}

void YearPlan::RebuildCategoryMenu()
{
    const QStringList &names = m_state.categories.names;
    QList<QAction *> items = m_newMenu->actions();
    while (items.size() > names.size())
        delete items.takeLast();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i == items.size()) {
            items.append(m_newMenu->addAction(QString()));
            items.last()->setObjectName(QStringLiteral("mnuSelection%1").arg(i + 1));
        }
        items[i]->setVisible(true);
        items[i]->setText(names[i]);
    }
}

void YearPlan::create()
{
    int step = 1;
    try {
        // 1-3: the calendar client's major version.
        const QString version = Store::Application::shared()->Version();
        step = 2;
        const QString major = version.left(version.indexOf(QLatin1Char('.')));
        step = 3;
        m_outlookMajor = major.toShort();
        step = 4;
        m_visualStyles = !QApplication::style()->name().isEmpty();
        step = 5;
        const QColor menu = palette().color(QPalette::Window);
        m_toolbarBackground = m_visualStyles ? 0xFFEDDF
                                             : quint32(menu.red() | menu.green() << 8 | menu.blue() << 16);
        m_toolbarText = m_visualStyles ? 0x723708 : 0x000000;
        for (QWidget *w : {static_cast<QWidget *>(m_statusStrip), static_cast<QWidget *>(m_yearLabel),
                           static_cast<QWidget *>(m_dateLabel), static_cast<QWidget *>(m_toolbar)}) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::Window, ColorOf(m_toolbarBackground));
            pal.setColor(QPalette::WindowText, ColorOf(m_toolbarText));
            w->setPalette(pal);
            w->setAutoFillBackground(true);
        }
        step = 6;
        RegIO registry(m_state.dialogs);
        m_weekendColour = WeekendColourOf(
            m_outlookMajor,
            m_outlookMajor < 12 ? QVariant()
                                : registry.RegReadNumber(
                                      QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\") +
                                          QString::number(m_outlookMajor) +
                                          QStringLiteral(".0\\Outlook\\Options\\Calendar"),
                                      QStringLiteral("BackgroundColorIndex")));
        step = 7;
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
        const double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
        m_px = 1440.0 / dpiX;
        m_py = 1440.0 / dpiY;
        m_categoryStoreSubject = kCategoryPrefix;
        m_appointmentForm = QStringLiteral("IPM.Appointment");
        m_state.HideNonCategoryItems = false;
        step = 8;
        const QString separator = registry.RegReadText(
            QStringLiteral("HKEY_CURRENT_USER\\Control Panel\\International"), QStringLiteral("sList"));
        m_state.ListSeparator = separator == RegIO::kError ? QStringLiteral(",") : separator;
        m_state.CategorySeparator = m_state.ListSeparator + QLatin1Char(' ');
        m_filter.setSeparator(m_state.CategorySeparator);
        step = 9;
        const QLocale locale;
        m_names = LoadCalendarNames(locale);
        m_codePage = AnsiCodePageOf(locale);
        SetEventKeyLocale(locale);
        for (CanvasWidget *c : {m_grid, m_dayHeadings, m_monthColumn}) {
            c->font.font = font();
            c->font.font.setPointSize(8);
            ApplyLocaleFont(c->font, m_codePage);
        }
        m_colours = SystemColoursOf(palette());
        step = 10;
        m_refresh->setGeometry(0, 0, int(kMonthColumn / m_px), int(kDayStrip / m_py));
        step = 11;
    } catch (const QvError &e) {
        m_state.dialogs.message(QStringLiteral("Error initialising: %1 %2 Step: %3")
                                    .arg(e.number()).arg(e.description()).arg(step));
        m_access.reset();
    }
}

void YearPlan::setFolder(const QString &folder)
{
    m_folder = folder;
    emit propertyChanged(QStringLiteral("Folder"));
}

void YearPlan::setAllEvents(bool all)
{
    m_state.AllEvents = all;
    emit propertyChanged(QStringLiteral("AllEvents"));
}

void YearPlan::setDisplaySubject(bool display)
{
    m_state.DisplaySubject = display;
    emit propertyChanged(QStringLiteral("DisplaySubject"));
}

void YearPlan::setHideNonCategoryItems(bool hide)
{
    m_state.HideNonCategoryItems = hide;
    emit propertyChanged(QStringLiteral("HideNonCategoryItems"));
}

void YearPlan::setTitleName(const QString &title)
{
    m_state.TitleName = title;
    m_categoryStoreSubject = kCategoryPrefix + title;
    emit propertyChanged(QStringLiteral("TitleName"));
}

void YearPlan::setAppointmentForm(const QString &form)
{
    m_appointmentForm = form;
    emit propertyChanged(QStringLiteral("AppointmentForm"));
}

void YearPlan::setStartMonth(qint16 month)
{
    m_state.year.setStartMonth(month); // a month outside 1..12 leaves it as it was
    emit propertyChanged(QStringLiteral("StartMonth"));
}

void YearPlan::ReadProperties(const PropertyBag &bag)
{
    m_folder = bag.ReadProperty(QStringLiteral("Folder"), QString()).toString();
    m_state.AllEvents = bag.ReadProperty(QStringLiteral("AllEvents"), false).toBool();
    m_state.DisplaySubject = bag.ReadProperty(QStringLiteral("DisplaySubject"), false).toBool();
    setTitleName(bag.ReadProperty(QStringLiteral("TitleName"), QStringLiteral("Default")).toString());
    m_state.HideNonCategoryItems = bag.ReadProperty(QStringLiteral("HideNonCategoryItems"), false).toBool();
    m_appointmentForm =
        bag.ReadProperty(QStringLiteral("AppointmentForm"), QStringLiteral("IPM.Appointment")).toString();
    m_state.year.setStartMonth(qint16(bag.ReadProperty(QStringLiteral("StartMonth"), 1).toInt()));
    try {
        RefreshPlanner();
    } catch (...) {
        // The sequence reports its own failures.
    }
}

void YearPlan::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("Folder"), m_folder, QString());
    bag.WriteProperty(QStringLiteral("AllEvents"), m_state.AllEvents, false);
    bag.WriteProperty(QStringLiteral("DisplaySubject"), m_state.DisplaySubject, false);
    bag.WriteProperty(QStringLiteral("TitleName"), m_state.TitleName, QStringLiteral("Default"));
    bag.WriteProperty(QStringLiteral("HideNonCategoryItems"), m_state.HideNonCategoryItems, false);
    bag.WriteProperty(QStringLiteral("AppointmentForm"), m_appointmentForm,
                      QStringLiteral("IPM.Appointment"));
    bag.WriteProperty(QStringLiteral("StartMonth"), int(m_state.year.startMonth()), 1);
}

void YearPlan::setSelectedYear(int year)
{
    m_state.year.setSelectedYear(qint16(year));
    m_yearLabel->setText(QStringLiteral("Year %1").arg(year));
    if (m_access) {
        m_cacheFiles = MakeCacheFileNames([this] { return m_access->GetCurrentUserName(); }, year,
                                          m_folder, m_state.dialogs);
    }
}

void YearPlan::RefreshPlanner()
{
    // First half: the link to the calendar.
    try {
        setSelectedYear(m_state.year.PlannerYearOf(OADate::fromDateTime(QDateTime::currentDateTime())));
        m_categoryStoreSubject = kCategoryPrefix + m_state.TitleName;
        m_toolbar->findChild<QToolButton *>("Filter")->setVisible(true);
        m_toolbar->findChild<QToolButton *>("Save")->setVisible(true);
        m_toolbar->findChild<QToolButton *>("Categories")->setVisible(m_outlookMajor > 11);
        m_access = std::make_unique<CalendarAccess>(
            Store::Application::shared()->GetNamespace(QStringLiteral("MAPI")));
    } catch (const QvError &e) {
        m_state.dialogs.message(QStringLiteral("Could not set up a link to Outlook. Cache will not "
                                               "be updated. Refresh to try again.\n\n") +
                                ErrorTail(e));
        return;
    }

    // Second half: background processing.
    int step = 0;
    try {
        m_access->ResolveFolder(m_folder);
        step = 1;
        subscribe();
        step = 2;
        if (!m_items) {
            m_state.dialogs.message(QStringLiteral("Unable to access specified calendar folder."));
            return;
        }
        setSelectedYear(m_state.year.selectedYear()); // names the cache files
        step = 4;
        CategoryStore(m_state.dialogs, m_access->session(), m_access->folderId(), m_access->storeId())
            .LoadCategories(m_state.categories, m_categoryStoreSubject);
        RebuildCategoryMenu();
        step = 5;
        ArrangeControls(); // draws the empty year
        step = 6;
        m_loader.LoadCache(m_state, m_cacheFiles.cacheFile);
        step = 7;
        ArrangeControls();
        step = 8;
        YieldToLoop();
        step = 9;
        m_updater->ResetSyncLink();
        step = 10;
        m_updater->link()->AllEvents = m_state.AllEvents;
        step = 11;
        m_updater->StartBackgroundUpdate(false);
        step = 12;
        m_filter.restore(m_state.TitleName);
        ShowFilterState();
        ArrangeControls();
    } catch (const QvError &e) {
        m_state.dialogs.message(QStringLiteral("Error while initialising the background processing, "
                                               "the cache file will not be updated from the calender "
                                               "(Step:%1). \n\n")
                                    .arg(step) +
                                ErrorTail(e));
    }
}

void YearPlan::ShowFilterState()
{
    const FilterModel::ButtonState state = m_filter.ShowFilterState();
    auto *button = m_toolbar->findChild<QToolButton *>("Filter");
    button->setToolTip(state.tooltip);
    // Image 5 of the toolbar's list marks an active filter: shown here as a pressed button.
    button->setCheckable(true);
    button->setChecked(state.image == 5);
}

void YearPlan::subscribe()
{
    m_items.reset();
    Store::ItemsPtr items = m_access->folder()->Items();
    auto changed = [this](const Store::ItemPtr &item) {
        if (item->MessageClass() == m_appointmentForm)
            ApplyItemChange(item);
    };
    connect(items.get(), &Store::Items::ItemAdd, this, changed);
    connect(items.get(), &Store::Items::ItemChange, this, changed);
    // A removal does not say which item went: only a rebuild can tell.
    connect(items.get(), &Store::Items::ItemRemove, this,
            [this] { m_updater->StartBackgroundUpdate(true); });
    m_items = items;
}

void YearPlan::ReloadPlanner()
{
    m_loader.LoadCache(m_state, m_cacheFiles.cacheFile);
    ArrangeControls();
    m_updater->StartBackgroundUpdate(true);
}

void YearPlan::ApplyItemChange(const Store::ItemPtr &item)
{
    if (!m_access)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const bool changed = ::ApplyItemChange(m_state, *m_access, item, m_categoryStoreSubject);
        QGuiApplication::restoreOverrideCursor();
        if (changed) {
            ArrangeControls();
            WriteBackCache();
        }
    } catch (const QvError &) {
        QGuiApplication::restoreOverrideCursor();
        ReloadPlanner();
    }
}

void YearPlan::WriteBackCache()
{
    m_updater->WriteBackCache(m_cacheFiles);
}

void YearPlan::ChangeYear(int delta)
{
    setSelectedYear(m_state.year.selectedYear() + delta);
    DrawYear(m_grid->canvas(), m_state, m_geometry, m_weekendColour);
    m_loader.LoadCache(m_state, m_cacheFiles.cacheFile);
    ArrangeControls();
    m_updater->StartBackgroundUpdate(true);
}

void YearPlan::SetUpdateIndicator(quint32 colour)
{
    m_indicatorColour = colour;
    m_indicator->update();
    const QString text = statusTextOf(colour);
    m_logo->setToolTip(text);
    emit StatusChange(text);
}

double YearPlan::toolbarHeightTwips() const
{
    return m_toolbar->sizeHint().height() * m_py;
}

void YearPlan::ArrangeControls()
{
    try {
        // 1. The band layout.
        CalculateBands(*m_state.store, m_state.year, m_state.AllEvents, kScreenMinimumBands,
                       [this](const CalEvent &e) { return m_state.isVisible(e); }, m_state.RowBands,
                       m_state.dialogs);
        // 2-3. Legend column and the width left for the grid (the legend is drawn elsewhere).
        const double height = std::max<double>(this->height() * m_py - m_py, kMinimumLegendHeight);
        double available = width() * m_px - kLegendWidth;
        const double logoHeight = m_logo->height() * m_py;
        const double legendSpace = height - (logoHeight + 30);
        const double legendList = m_legendList->height() * m_py;
        if (legendList > legendSpace) {
            m_legendScroll->setMaximum(int(legendList - legendSpace));
            m_legendScroll->show();
            available -= m_legendScroll->sizeHint().width() * m_px;
        } else {
            m_legendScroll->hide();
            m_legendScroll->setValue(0);
        }
        // 4. The grid's area below the toolbar.
        const double toolbar = toolbarHeightTwips();
        const double areaWidth = available, areaHeight = height - toolbar;
        auto px = [this](double twips) { return int(std::lround(twips / m_px)); };
        auto py = [this](double twips) { return int(std::lround(twips / m_py)); };
        m_gridArea->setGeometry(0, py(toolbar), px(areaWidth), py(areaHeight));
        // 5. Band height: tall enough for every band, or 100 twips and a scroll bar.
        const int bands = std::max<int>(m_state.RowBands[12], 1);
        const double b = (areaHeight - kDayStrip - 3 * m_py) / bands;
        double canvasHeight;
        if (b >= kMinimumBand) {
            m_gridScroll->hide();
            m_gridScroll->setValue(0);
            m_geometry.BandHeight = b;
            m_geometry.GridWidth = int(areaWidth - kMonthColumn);
            canvasHeight = areaHeight - kDayStrip + m_py;
        } else {
            m_geometry.BandHeight = kMinimumBand;
            const double scrollWidth = m_gridScroll->sizeHint().width() * m_px;
            m_geometry.GridWidth = int(areaWidth - kMonthColumn - scrollWidth - m_px);
            canvasHeight = bands * double(kMinimumBand) + m_py;
            m_gridScroll->setGeometry(px(m_geometry.GridWidth + kMonthColumn), 0,
                                      m_gridScroll->sizeHint().width(), py(areaHeight - m_py));
            m_gridScroll->setMaximum(int(canvasHeight - (areaHeight - kDayStrip) + 2 * m_py));
            m_gridScroll->setPageStep(int(areaHeight - kDayStrip));
            m_gridScroll->setSingleStep(kMinimumBand);
            m_gridScroll->show();
        }
        const int top = py(kDayStrip - m_gridScroll->value());
        m_grid->setGeometry(px(kMonthColumn), top, px(m_geometry.GridWidth), py(canvasHeight));
        m_monthColumn->setGeometry(0, top, px(kMonthColumn), py(canvasHeight));
        m_dayHeadings->setGeometry(px(kMonthColumn), 0, px(m_geometry.GridWidth), py(kDayStrip));
        m_refresh->raise();
        // 6-7. Legend view, logo and indicator in the legend column.
        m_legendView->setGeometry(px(available), py(logoHeight + 30), px(kLegendWidth),
                                  py(legendSpace));
        m_logo->move(px(available + kLegendWidth / 2.0) - m_logo->width() / 2, py(toolbar) + 4);
        m_indicator->move(px(available + kLegendWidth / 2.0) - m_indicator->width() / 2,
                          py(toolbar) + m_logo->height() + 8);
        // 8-9. Toolbar across the top, labels over it.
        // The status button takes the width the others leave, pushing them to the right edge.
        auto *status = m_toolbar->findChild<QToolButton *>("Status");
        status->setFixedWidth(1);
        const int others = m_toolbar->sizeHint().width() - 1;
        status->setFixedWidth(std::max(0, width() - others - 4));
        m_toolbar->setGeometry(0, 0, width(), m_toolbar->sizeHint().height());
        m_statusStrip->setGeometry(0, 0, status->width() + px(45), m_toolbar->height() - 1);
        if (QWidget *year = m_toolbar->widgetForAction(m_toolbar->findChild<QAction *>("Year")))
            m_yearLabel->move(year->x(), (m_toolbar->height() - m_yearLabel->height()) / 2);
        m_yearLabel->adjustSize();
        m_yearLabel->raise();
        m_dateLabel->setGeometry(4, 2, std::max(0, std::min(px(available - kDateLabelReserve),
                                                            status->width() - 8)),
                                 m_toolbar->height() - 4);
        m_dateLabel->raise();
        // 10. Day width.
        m_geometry.DayWidth = (m_geometry.GridWidth - 3 * m_px) / PlannerYear::kColumns;
        // 11. Redraw.
        drawEverything();
        m_retries = 0;
    } catch (const std::exception &) {
        if (m_retries < 3) {
            ++m_retries;
            ArrangeControls();
        }
    }
}

void YearPlan::drawEverything()
{
    DrawDayHeadings(m_dayHeadings->canvas(), m_geometry, m_names, m_colours);
    DrawMonthHeadings(m_monthColumn->canvas(), m_state, m_geometry, m_names, m_colours);
    DrawYear(m_grid->canvas(), m_state, m_geometry, m_weekendColour);
    DrawEvents(m_grid->canvas(), m_state, m_geometry, m_hits,
               OADate::fromDateTime(QDateTime::currentDateTime()));
    m_dayHeadings->update();
    m_monthColumn->update();
    m_grid->update();
    emit yearDrawn();
}

void YearPlan::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    ArrangeControls();
}
