#pragma once

#include <QList>
#include <QPair>
#include <QString>

// A value written into an HTML page: "&", "<", ">", '"' and "'" as character references, so a
// title or folder holding them neither ends an attribute nor starts markup.
QString HtmlEscaped(const QString &text);

// text with every occurrence of each token replaced by its value, in one pass from the start:
// what a value brings in is never scanned for tokens again. Where two tokens start at one place
// the earlier in the list wins.
using PageTokens = QList<QPair<QString, QString>>;
QString ReplaceTokens(const QString &text, const PageTokens &tokens);
