#include "pagetemplate.h"

QString HtmlEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString ReplaceTokens(const QString &text, const PageTokens &tokens)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QPair<QString, QString> *hit = nullptr;
        for (const auto &token : tokens) {
            if (!token.first.isEmpty() && QStringView(text).mid(i).startsWith(token.first)) {
                hit = &token;
                break;
            }
        }
        if (hit) {
            out += hit->second;
            i += hit->first.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}
