#include "lineelision.h"

namespace {

// How much narrower kerning makes a line at most, as a share of its letters' advances.
constexpr qreal kKerningShare = 0.06;

} // namespace

LineElision::LineElision(const QFont &font)
    : m_metrics(font), m_ellipsis(m_metrics.horizontalAdvance(QChar(0x2026)))
{
    m_advances.fill(-1);
}

qreal LineElision::advance(char16_t c)
{
    qreal &a = m_advances[c];
    if (a < 0)
        a = m_metrics.horizontalAdvance(QChar(c));
    return a;
}

std::optional<QString> LineElision::elided(const QString &text, qreal width)
{
    qreal whole = 0;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() >= kPlainLetters)
            return std::nullopt;
        whole += advance(c.unicode());
    }
    if (whole <= width || text.size() <= 1) // a letter alone is not cut, as shaped text is not
        return text;
    // Kerning may make it fit: only shaping tells.
    if (whole * (1 - kKerningShare) <= width)
        return std::nullopt;
    qreal used = m_ellipsis;
    qsizetype kept = 0;
    while (kept < text.size() && used + advance(text[kept].unicode()) <= width)
        used += advance(text[kept++].unicode());
    if (used > width)
        return QString(); // not even the ellipsis
    return text.first(kept) + QChar(0x2026);
}

QString BreakLongWords(const QString &text, const QFontMetrics &metrics, int width)
{
    if (width <= 0 || metrics.horizontalAdvance(text) <= width)
        return text;
    QString out;
    out.reserve(text.size() + 8);
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        QStringView word = QStringView(text).mid(i, end - i);
        while (metrics.horizontalAdvance(word.toString()) > width && word.size() > 1) {
            qsizetype fits = 1; // at least a letter a line, however narrow the box
            while (fits < word.size() &&
                   metrics.horizontalAdvance(word.left(fits + 1).toString()) <= width)
                ++fits;
            if (word[fits - 1].isHighSurrogate())
                fits = fits > 1 ? fits - 1 : fits + 1;
            out += word.left(fits);
            out += QLatin1Char('\n');
            word = word.mid(fits);
        }
        out += word;
        for (i = end; i < text.size() && text[i].isSpace(); ++i)
            out += text[i];
    }
    return out;
}
