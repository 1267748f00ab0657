#pragma once

#include <QRect>
#include <QString>

// Where the year is drawn, as the drawing and the layout see it (a screen image, a PDF page or a
// printer is behind it): callers work in twips (1/1440 inch) from the canvas's top-left
// corner and in 0x00BBGGRR colours; the canvas turns both into pixels and device colours.
// Boxes and lines include both end points, as the drawing calls the planner was designed with.
class Canvas
{
public:
    // Flags of DrawText, as the platform's text-drawing call numbers them.
    enum TextFlags : unsigned {
        DT_CENTER = 0x1,
        DT_VCENTER = 0x4,
        DT_WORDBREAK = 0x10,
        DT_SINGLELINE = 0x20,
        DT_NOCLIP = 0x100,
        DT_CALCRECT = 0x400,
        DT_NOPREFIX = 0x800,
        DT_EDITCONTROL = 0x2000,
        DT_END_ELLIPSIS = 0x8000,
        DT_WORD_ELLIPSIS = 0x40000,
    };

    virtual ~Canvas() = default;

    // Twips per pixel across and down.
    virtual double px() const = 0;
    virtual double py() const = 0;
    // The canvas size in twips.
    virtual double width() const = 0;
    virtual double height() const = 0;

    // Whether something drawn between these heights (twips) could be seen: a drawing of many
    // parts leaves out those that could not. A canvas on a window of a tall picture sees a part.
    virtual bool shows(double top, double bottom) const
    {
        (void)top;
        (void)bottom;
        return true;
    }

    virtual void clear() = 0;
    virtual void line(double x1, double y1, double x2, double y2, quint32 colour) = 0;
    virtual void box(double x1, double y1, double x2, double y2, quint32 colour, bool filled) = 0;
    virtual void setPenWidth(int pixels) = 0;
    // Draws the exclusive-or of the colour and what is there, so that drawing the same twice
    // restores it (for rubber bands); off draws plainly.
    virtual void setXorMode(bool on) = 0;

    // Text at a current position, the way the platform's Print statement places it: top-left
    // at (currentX, currentY).
    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual void print(const QString &text) = 0;
    virtual double textHeight(const QString &text) const = 0; // twips
    virtual double textWidth(const QString &text) const = 0;
    virtual void setFontSize(double points) = 0;
    virtual double fontSize() const = 0;
    virtual void setForeColor(quint32 colour) = 0;

    // Draws text into a rectangle given in pixels with the TextFlags; DT_CALCRECT only measures
    // (and widens or heightens rect to fit). Returns the height of the text in pixels.
    virtual int DrawText(const QString &text, QRect &rect, unsigned flags) = 0;
};
