#include "paintercanvas.h"

#include "twips.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTransform>

#include <cmath>

namespace {
constexpr qsizetype kMostLineTexts = 50000;

// The part of a canvas of that many pixels an image keeps: the window within it, never empty.
QRect WindowOf(QSize pixels, const QRect &window)
{
    const QRect whole(QPoint(0, 0), pixels.expandedTo(QSize(1, 1)));
    const QRect part = window.isNull() ? whole : window.intersected(whole);
    return part.isEmpty() ? QRect(0, 0, 1, 1) : part;
}
} // namespace

PainterCanvas::PainterCanvas(QPainter &painter, const QRect &area, double dpiX, double dpiY,
                             quint32 backColour)
    : m_painter(painter), m_area(area), m_px(Twips::perPixel(dpiX)), m_py(Twips::perPixel(dpiY)),
      m_dpiY(dpiY), m_backColour(backColour)
{
    // Paper shows the whole area; an image only its own pixels.
    const QPaintDevice *device = painter.device();
    m_shown = device && device->devType() == QInternal::Image
                  ? area.intersected(QRect(0, 0, device->width(), device->height()))
                  : area;
    m_font = QFont(m_painter.font());
    m_font.setPointSizeF(8);
}

int PainterCanvas::toX(double twips) const
{
    return m_area.left() + int(std::lround(twips / m_px));
}

int PainterCanvas::toY(double twips) const
{
    return m_area.top() + int(std::lround(twips / m_py));
}

void PainterCanvas::applyMode()
{
    m_painter.setCompositionMode(m_xor ? QPainter::RasterOp_SourceXorDestination
                                       : QPainter::CompositionMode_SourceOver);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

bool PainterCanvas::shows(double top, double bottom) const
{
    return std::max(toY(top), toY(bottom)) >= m_shown.top() &&
           std::min(toY(top), toY(bottom)) <= m_shown.bottom();
}

void PainterCanvas::clear()
{
    m_painter.save();
    m_painter.setClipping(false);
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.fillRect(m_area, ColorOf(m_backColour));
    m_painter.restore();
}

void PainterCanvas::line(double x1, double y1, double x2, double y2, quint32 colour)
{
    applyMode();
    QPen pen(ColorOf(colour));
    pen.setWidth(strokeWidth());
    pen.setCapStyle(Qt::SquareCap);
    m_painter.setPen(pen);
    m_painter.setClipRect(m_area);
    m_painter.drawLine(toX(x1), toY(y1), toX(x2), toY(y2));
}

void PainterCanvas::box(double x1, double y1, double x2, double y2, quint32 colour, bool filled)
{
    applyMode();
    m_painter.setClipRect(m_area);
    const int l = std::min(toX(x1), toX(x2)), r = std::max(toX(x1), toX(x2));
    const int t = std::min(toY(y1), toY(y2)), b = std::max(toY(y1), toY(y2));
    const QColor c = ColorOf(colour);
    if (filled) {
        m_painter.fillRect(QRect(QPoint(l, t), QPoint(r, b)), c);
        return;
    }
    QPen pen(c);
    pen.setWidth(strokeWidth());
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    // The outline's outer edge lies on the end points and a wider pen grows inwards. A stroke of
    // w pixels covers [c - w / 2, c + (w - 1) / 2] around its centre line c, and the right and
    // bottom centre lines of a drawn rectangle lie one past its right and bottom.
    const int w = m_penWidth;
    m_painter.drawRect(
        QRect(QPoint(l + w / 2, t + w / 2), QPoint(r - (w - 1) / 2 - 1, b - (w - 1) / 2 - 1)));
}

int PainterCanvas::strokeWidth() const
{
    // One pixel is the device's thinnest line: the same on screen, and on paper, where one dot
    // of a printer or of a PDF at its resolution would all but vanish, still a visible line.
    return m_penWidth == 1 ? 0 : m_penWidth;
}

void PainterCanvas::setFontSize(double points)
{
    if (points == m_font.pointSizeF())
        return;
    m_font.setPointSizeF(points);
    fontChanged();
}

void PainterCanvas::setFont(const QFont &font)
{
    m_font = font;
    fontChanged();
    m_lines.clear(); // another face: the lines kept are of the old one
    m_lineCount = 0;
    m_elisions.clear();
}

void PainterCanvas::fontChanged()
{
    m_deviceFont.reset();
    m_deviceMetrics.reset();
}

const QFont &PainterCanvas::deviceFont() const
{
    if (!m_deviceFont) {
        // Point sizes are measured against the canvas's own resolution.
        m_deviceFont = m_font;
        m_deviceFont->setPixelSize(
            std::max(1, int(std::lround(m_font.pointSizeF() * m_dpiY / 72.0))));
    }
    return *m_deviceFont;
}

const QFontMetricsF &PainterCanvas::deviceMetrics() const
{
    if (!m_deviceMetrics)
        m_deviceMetrics.emplace(deviceFont());
    return *m_deviceMetrics;
}

double PainterCanvas::textHeight(const QString &text) const
{
    const QFontMetricsF &metrics = deviceMetrics();
    const int lines = std::max<int>(1, int(text.count(QLatin1Char('\n'))) + 1);
    return std::round(metrics.height()) * lines * m_py;
}

double PainterCanvas::textWidth(const QString &text) const
{
    return deviceMetrics().horizontalAdvance(text) * m_px;
}

void PainterCanvas::print(const QString &text)
{
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setClipRect(m_area);
    m_painter.setFont(deviceFont());
    m_painter.setPen(ColorOf(m_foreColour));
    m_painter.drawText(QPointF(toX(m_currentX), toY(m_currentY) + deviceMetrics().ascent()), text);
    m_currentY += textHeight(text);
    m_currentX = 0;
}

bool PainterCanvas::drawLine(const QString &text, const QRect &rect, unsigned flags, int &height)
{
    constexpr unsigned kOther = DT_CALCRECT | DT_CENTER | DT_VCENTER | DT_NOCLIP;
    if ((flags & kOther) || !(flags & DT_NOPREFIX) ||
        !(flags & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS)) ||
        ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE)))
        return false;
    if (!(flags & DT_SINGLELINE) && text.contains(QLatin1Char('\n')))
        return false; // lines of their own
    const QFont &f = deviceFont();
    if (m_lineCount > kMostLineTexts) {
        m_lines.clear();
        m_lineCount = 0;
    }
    auto &sized = m_lines[f.pixelSize()];
    const qsizetype before = sized.size();
    LineText &line = sized[{text, rect.width()}];
    m_lineCount += sized.size() - before;
    if (line.text.text().isEmpty() && !line.empty) {
        QString shown = text;
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
        LineElision &elision = m_elisions.try_emplace(f.pixelSize(), f).first->second;
        const std::optional<QString> cut = elision.elided(shown, rect.width());
        shown = cut ? *cut : QFontMetrics(f).elidedText(shown, Qt::ElideRight, rect.width());
        line.empty = shown.isEmpty();
        line.text.setText(shown);
        line.text.setTextFormat(Qt::PlainText);
        line.text.setPerformanceHint(QStaticText::AggressiveCaching);
        line.text.prepare(QTransform(), f);
    }
    const int lineHeight = int(std::ceil(deviceMetrics().height()));
    height = line.empty ? 0 : lineHeight;
    if (line.empty)
        return true;
    const QRect area = rect.translated(m_area.topLeft());
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!f.isCopyOf(m_painterFontFrom) || !m_painter.font().isCopyOf(m_painterFont)) {
        m_painter.setFont(f);
        m_painterFontFrom = f;
        m_painterFont = m_painter.font();
    }
    m_painter.setPen(ColorOf(m_foreColour));
    // Cut at the bar's edges only where the line is taller than the bar: it fits its width.
    const bool taller = lineHeight > rect.height();
    if (taller)
        m_painter.setClipRect(area.intersected(m_area));
    // On the screen's image a line drawn again is copied from a picture of it; paper, and a line
    // drawn the first time, get the letters.
    const bool again = std::exchange(line.drawn, true);
    if (again && m_painter.device() && m_painter.device()->devType() == QInternal::Image) {
        if (line.image.isNull() || line.imageColour != m_foreColour) {
            const QSizeF size = line.text.size();
            line.image = QImage(std::max(1, int(std::ceil(size.width()))), std::max(1, lineHeight),
                                QImage::Format_ARGB32_Premultiplied);
            line.image.fill(Qt::transparent);
            QPainter onLine(&line.image);
            onLine.setFont(f);
            onLine.setPen(ColorOf(m_foreColour));
            onLine.drawStaticText(0, 0, line.text);
            line.imageColour = m_foreColour;
        }
        m_painter.drawImage(area.topLeft(), line.image);
    } else {
        m_painter.drawStaticText(area.topLeft(), line.text);
    }
    if (taller)
        m_painter.setClipRect(m_area);
    return true;
}

int PainterCanvas::DrawText(const QString &text, QRect &rect, unsigned flags)
{
    // Clipped to a rectangle too small to show a pixel of it: nothing to draw.
    if (!(flags & (DT_CALCRECT | DT_NOCLIP)) && (rect.width() < 1 || rect.height() < 1))
        return 0;
    if (int height = 0; drawLine(text, rect, flags, height))
        return height;
    const QFont &f = deviceFont();
    const QFontMetrics metrics(f);
    QString shown = text;
    if (!(flags & DT_NOPREFIX)) {
        // "&x" marks a mnemonic: drop the marker, "&&" is an ampersand.
        shown.replace(QLatin1String("&&"), QStringLiteral("\x01"));
        shown.remove(QLatin1Char('&'));
        shown.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    }
    int qtFlags = (flags & DT_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft;
    qtFlags |= (flags & DT_VCENTER) && (flags & DT_SINGLELINE) ? Qt::AlignVCenter : Qt::AlignTop;
    const bool wrap = (flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE);
    if (wrap)
        qtFlags |= Qt::TextWordWrap;
    if (wrap && (flags & DT_EDITCONTROL))
        shown = BreakLongWords(shown, metrics, rect.width());
    if (flags & DT_SINGLELINE)
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!wrap && (flags & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS)))
        shown = metrics.elidedText(shown, Qt::ElideRight, rect.width());

    const QRect area = rect.translated(m_area.topLeft());
    const QRect needed = metrics.boundingRect(
        wrap ? area : QRect(area.topLeft(), QSize(1 << 20, area.height())), qtFlags, shown);
    if (flags & DT_CALCRECT) {
        rect.setWidth(wrap ? rect.width() : needed.width());
        rect.setHeight(needed.height());
        return needed.height();
    }
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setFont(f);
    m_painter.setPen(ColorOf(m_foreColour));
    if (flags & DT_NOCLIP)
        m_painter.setClipRect(m_area);
    else
        m_painter.setClipRect(area.intersected(m_area));
    m_painter.drawText(area, qtFlags, shown);
    m_painter.setClipRect(m_area);
    return std::min(needed.height(), wrap ? needed.height() : metrics.height());
}

detail::ImageHolder::ImageHolder(QSize pixels)
    : image(std::make_unique<QImage>(pixels, QImage::Format_RGB32)),
      painter(std::make_unique<QPainter>(image.get()))
{
}

detail::ImageHolder::~ImageHolder()
{
    painter->end();
}

ImageCanvas::ImageCanvas(QSize pixels, double dpi, quint32 backColour, const QRect &window)
    : detail::ImageHolder(WindowOf(pixels, window).size()),
      PainterCanvas(*painter, QRect(-WindowOf(pixels, window).topLeft(), pixels), dpi, dpi,
                    backColour),
      m_window(WindowOf(pixels, window))
{
    clear();
}
