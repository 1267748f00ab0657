#include "categoryindex.h"

#include <QStringTokenizer>

qint16 CategoryIndexOf(const QString &categories, const QStringList &names,
                       const QString &separator, bool hideNonCategoryItems)
{
    if (!categories.isEmpty() && !separator.isEmpty()) {
        for (QStringView piece : qTokenize(categories, separator)) {
            const int i = names.indexOf(piece.trimmed());
            if (i >= 0)
                return qint16(i + 1);
        }
    }
    return hideNonCategoryItems ? qint16(-1) : qint16(names.size());
}
