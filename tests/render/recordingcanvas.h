#pragma once

#include "canvas.h"

#include <QList>

// A canvas that records what is drawn on it, in twips, for tests of the drawing's geometry.
// Text is 20 twips high per point of font size, and 100 twips wide per character.
class RecordingCanvas : public Canvas
{
public:
    struct Op
    {
        enum Kind { Clear, Line, Box, FilledBox, Print, Text } kind = Clear;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        quint32 colour = 0;
        int penWidth = 1;
        QString text;
        QRect rect;
        unsigned flags = 0;
        double fontSize = 0;
    };

    RecordingCanvas(double width, double height) : m_width(width), m_height(height) {}

    static Op make(Op::Kind kind, double x1 = 0, double y1 = 0, double x2 = 0, double y2 = 0,
                   quint32 colour = 0, int pen = 1)
    {
        Op op;
        op.kind = kind;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.colour = colour;
        op.penWidth = pen;
        return op;
    }

    double px() const override { return 15; }
    double py() const override { return 15; }
    double width() const override { return m_width; }
    double height() const override { return m_height; }
    void clear() override { ops.append(make(Op::Clear)); }
    void line(double x1, double y1, double x2, double y2, quint32 colour) override
    {
        ops.append(make(Op::Line, x1, y1, x2, y2, colour, m_pen));
    }
    void box(double x1, double y1, double x2, double y2, quint32 colour, bool filled) override
    {
        ops.append(make(filled ? Op::FilledBox : Op::Box, x1, y1, x2, y2, colour, m_pen));
    }
    void setPenWidth(int pixels) override { m_pen = pixels; }
    void setXorMode(bool on) override { xor_ = on; }
    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }
    void print(const QString &text) override
    {
        Op op = make(Op::Print, m_x, m_y);
        op.text = text;
        op.fontSize = m_size;
        ops.append(op);
        m_y += textHeight(text);
        m_x = 0;
    }
    double textHeight(const QString &) const override { return m_size * 20; }
    double textWidth(const QString &text) const override { return text.size() * 100.0; }
    void setFontSize(double points) override { m_size = points; }
    double fontSize() const override { return m_size; }
    void setForeColor(quint32) override {}
    int DrawText(const QString &text, QRect &rect, unsigned flags) override
    {
        Op op = make(Op::Text);
        op.text = text;
        op.rect = rect;
        op.flags = flags;
        op.fontSize = m_size;
        ops.append(op);
        return int(m_size * 20 / 15);
    }

    QList<Op> of(Op::Kind kind) const
    {
        QList<Op> out;
        for (const Op &op : ops)
            if (op.kind == kind)
                out.append(op);
        return out;
    }
    QList<Op> ofColour(Op::Kind kind, quint32 colour) const
    {
        QList<Op> out;
        for (const Op &op : of(kind))
            if (op.colour == colour)
                out.append(op);
        return out;
    }

    QList<Op> ops;
    bool xor_ = false;

private:
    double m_width, m_height;
    int m_pen = 1;
    double m_x = 0, m_y = 0;
    double m_size = 8;
};
