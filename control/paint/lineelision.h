#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>

#include <array>
#include <optional>

// A line cut at the right with an ellipsis to fit a width, as QFontMetrics::elidedText cuts it,
// worked out from the advance of each letter for text in the Latin letters: a year's first
// drawing cuts thousands of subjects, and shaping each one twice (to cut it, then to lay it out)
// was most of that drawing. Without kerning the letters are hardly ever narrower than shaped, so
// a cut line fits; at most it keeps a letter less.
class LineElision
{
public:
    explicit LineElision(const QFont &font);

    // nullopt for text with other letters, whose widths depend on their neighbours, and for a
    // line that kerning may fit whole.
    std::optional<QString> elided(const QString &text, qreal width);

private:
    static constexpr char16_t kPlainLetters = 0x250; // Latin-1 and Latin Extended-A and -B
    qreal advance(char16_t c);

    QFontMetricsF m_metrics;
    qreal m_ellipsis;
    std::array<qreal, kPlainLetters> m_advances;
};

// Text wrapped at words as an edit control wraps it: a word wider than width is broken where it
// reaches the edge, instead of running past it (and being cut off) as word wrapping leaves it.
QString BreakLongWords(const QString &text, const QFontMetrics &metrics, int width);
