#include "printpreview.h"

#include "dialogs.h"
#include "paintercanvas.h"
#include "papers.h"
#include "qverror.h"

#include <QCoreApplication>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

constexpr int kMostRetries = 3;

// The bands of the events in store order, to put back when a new layout is given up.
std::vector<qint32> bandsOf(const EventStore &store)
{
    std::vector<qint32> bands;
    bands.reserve(size_t(store.Count()));
    for (const CalEvent &e : store)
        bands.push_back(e.Band);
    return bands;
}

void restoreBands(EventStore &store, const std::vector<qint32> &bands)
{
    size_t i = 0;
    for (const CalEvent &e : store)
        store.SetBand(e, bands[i++]);
}

} // namespace

PrintPreview::PrintPreview(const PlannerState &planner, PrintTarget &printer)
    : m_year(planner), m_printer(printer)
{
    m_year.store = std::make_shared<EventStore>(planner.store->clone());
    m_style.names = LoadCalendarNames(QLocale());
    m_style.font = PageFont();
    m_layout.pageCount = 0;
}

bool PrintPreview::open()
{
    try {
        m_settings.LoadPrintSettings(m_year.TitleName, m_year.year.startMonth(),
                                     m_year.DisplaySubject);
    } catch (const QvError &e) {
        m_year.dialogs.message(QCoreApplication::translate("Messages", "Error initialising: %1 %2")
                                   .arg(e.number())
                                   .arg(e.description()),
                               Dialogs::Buttons::Ok);
        return false;
    }
    ApplyStoredPaper(m_settings, m_printer);
    return true;
}

PrintPreview::Outcome PrintPreview::Paginate()
{
    EventStore &store = *m_year.store;
    const std::vector<qint32> bands = bandsOf(store);
    for (;;) {
        try {
            const int dpi = std::max(1, m_printer.resolution());
            ImageCanvas measure(QSize(1, 1), dpi);
            measure.setFont(m_style.font);
            PageLayout laid = ::Paginate(m_year, m_settings, m_printer.printableTwips(), measure);
            if (!laid.problem.isEmpty()) {
                restoreBands(store, bands);
                const Dialogs::Answer answer =
                    m_year.dialogs.message(laid.problem, Dialogs::Buttons::OkCancel,
                                           Dialogs::Icon::Information, QStringLiteral("Print"));
                return answer == Dialogs::Answer::Cancel ? Outcome::Close : Outcome::Kept;
            }
            m_layout = std::move(laid);
            m_current = 1;
            return Outcome::Laid;
        } catch (const std::exception &) {
            restoreBands(store, bands);
            if (++m_retries > kMostRetries)
                return Outcome::Kept;
        }
    }
}

bool PrintPreview::back()
{
    if (!canGoBack())
        return false;
    --m_current;
    return true;
}

bool PrintPreview::next()
{
    if (!canGoNext())
        return false;
    ++m_current;
    return true;
}

QString PrintPreview::status() const
{
    return QStringLiteral("Page %1 of %2  %3 %4")
        .arg(m_current)
        .arg(pageCount())
        .arg(OrientationName(m_printer.orientation()), PaperSizeName(m_printer.paperSize()));
}

void PrintPreview::drawPage(QPainter &painter, const QRect &area, double dpiX, double dpiY)
{
    if (m_current < 1 || m_current > pageCount()) {
        painter.fillRect(area, Qt::white);
        return;
    }
    DrawPage(painter, area, dpiX, dpiY, m_year, m_settings, m_layout, m_current, m_style);
}

bool PrintPreview::print(QPagedPaintDevice &device)
{
    if (pageCount() < 1)
        return false;
    const int shown = m_current;
    const bool printed = PrintPages(device, m_year, m_settings, m_layout, m_style);
    m_current = shown;
    return printed;
}

ScrollRange ScrollRangeOf(int canvas, int viewport, int margin)
{
    ScrollRange range;
    const int d = canvas - viewport;
    if (d < 1 || viewport < 1)
        return range;
    range.visible = true;
    range.largeChange = std::max(1, d / (d / viewport + 1));
    range.smallChange = std::max(1, range.largeChange / 10);
    range.maximum = d + 2 * margin;
    return range;
}

QRect ZoomedPage(const QSize &viewport, const QSize &canvas, int margin)
{
    const double availableHeight = viewport.height() - 2 * margin;
    const double availableWidth = viewport.width() - 2 * margin;
    if (canvas.isEmpty() || availableHeight < 1 || availableWidth < 1)
        return QRect(margin, margin, 1, 1);
    const double ratio = double(canvas.height()) / canvas.width();
    if (ratio * availableWidth > availableHeight) {
        const int width = int(std::lround(availableHeight / ratio));
        return QRect(margin + int(std::lround((availableWidth - width) / 2)), margin, width,
                     int(availableHeight));
    }
    const int height = int(std::lround(ratio * availableWidth));
    return QRect(margin, margin + int(std::lround((availableHeight - height) / 2)),
                 int(availableWidth), height);
}

int WheelScrollAmount(int delta, int smallChange, int linesPerNotch)
{
    return (-delta / 120) * smallChange * (linesPerNotch < 1 ? 3 : linesPerNotch);
}

QString MatchPrinter(const QString &chosen, const QStringList &installed)
{
    const QString kept = chosen.left(31).toUpper();
    if (kept.isEmpty())
        return QString();
    for (const QString &name : installed) {
        if (name.toUpper().contains(kept))
            return name;
    }
    return QString();
}
