#pragma once

#include "canvas.h"
#include "colours.h"
#include "lineelision.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QStaticText>

#include <memory>
#include <optional>
#include <unordered_map>

class QPainter;

// A canvas on a QPainter: a backing image on screen (what is drawn stays until cleared), a PDF
// writer or a printer on paper. origin and size (pixels) cut the canvas out of a larger device,
// so several canvases can share one page.
class PainterCanvas : public Canvas
{
public:
    // Draws on painter (not owned) over the pixel rectangle area of its device, at dpi dots per
    // inch across and down.
    PainterCanvas(QPainter &painter, const QRect &area, double dpiX, double dpiY,
                  quint32 backColour = 0xFFFFFF);

    double px() const override { return m_px; }
    double py() const override { return m_py; }
    double width() const override { return m_area.width() * m_px; }
    double height() const override { return m_area.height() * m_py; }

    bool shows(double top, double bottom) const override;
    void clear() override;
    void line(double x1, double y1, double x2, double y2, quint32 colour) override;
    void box(double x1, double y1, double x2, double y2, quint32 colour, bool filled) override;
    void setPenWidth(int pixels) override { m_penWidth = std::max(1, pixels); }
    void setXorMode(bool on) override { m_xor = on; }
    void setCurrentX(double x) override { m_currentX = x; }
    void setCurrentY(double y) override { m_currentY = y; }
    void print(const QString &text) override;
    double textHeight(const QString &text) const override;
    double textWidth(const QString &text) const override;
    void setFontSize(double points) override;
    double fontSize() const override { return m_font.pointSizeF(); }
    void setForeColor(quint32 colour) override { m_foreColour = colour; }
    int DrawText(const QString &text, QRect &rect, unsigned flags) override;

    void setFont(const QFont &font);
    QFont font() const { return m_font; }

private:
    int toX(double twips) const;
    int toY(double twips) const;
    void applyMode();
    int strokeWidth() const;
    // The font at the canvas's resolution and its metrics, made again when the font changes.
    const QFont &deviceFont() const;
    const QFontMetricsF &deviceMetrics() const;
    void fontChanged();
    // A text on one line in a bar: left-aligned at the top, cut with an ellipsis. false when the
    // text is not of that kind.
    bool drawLine(const QString &text, const QRect &rect, unsigned flags, int &height);

    QPainter &m_painter;
    QRect m_area;
    QRect m_shown; // the pixels of the area the device has
    double m_px, m_py;
    double m_dpiY;
    quint32 m_backColour;
    quint32 m_foreColour = 0x000000;
    int m_penWidth = 1;
    bool m_xor = false;
    double m_currentX = 0, m_currentY = 0;
    QFont m_font;
    mutable std::optional<QFont> m_deviceFont;
    mutable std::optional<QFontMetricsF> m_deviceMetrics;
    // Texts on one line as elided to a width and laid out (and on the screen drawn), so that
    // drawing the same year again lays out and draws none of them again; kept for the face.
    struct LineText
    {
        QStaticText text;
        bool empty = false;
        QImage image; // on a screen canvas, once drawn again: the line in imageColour
        quint32 imageColour = 0;
        bool drawn = false;
    };
    QHash<int, QHash<std::pair<QString, int>, LineText>> m_lines; // by pixel size, text and width
    qsizetype m_lineCount = 0;
    std::unordered_map<int, LineElision> m_elisions; // by pixel size
    // The font this canvas last set on the painter, and the painter's copy of it: set again only
    // when the canvas's font or the painter's (by another canvas) changed since.
    QFont m_painterFontFrom;
    QFont m_painterFont;
};

namespace detail {
// Owns an image and its painter; a base of ImageCanvas so both exist before the canvas.
struct ImageHolder
{
    explicit ImageHolder(QSize pixels);
    ~ImageHolder();
    std::unique_ptr<QImage> image;
    std::unique_ptr<QPainter> painter;
};
} // namespace detail

// A screen canvas with its own backing image: drawing persists until cleared. A window (pixels
// of the canvas) keeps only that part of a tall canvas in the image; the rest is left undrawn.
class ImageCanvas : private detail::ImageHolder, public PainterCanvas
{
public:
    explicit ImageCanvas(QSize pixels, double dpi = 96, quint32 backColour = 0xFFFFFF,
                         const QRect &window = QRect());
    const QImage &image() const { return *detail::ImageHolder::image; }
    // Where the image lies on the canvas, in pixels.
    QRect window() const { return m_window; }

private:
    QRect m_window;
};
