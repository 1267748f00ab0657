#pragma once

#include <QString>

// A text of the user's (a category name, a subject) as a menu item, check box or button shows it:
// every "&" doubled, so that none is taken for a shortcut marker ("R&D" would show as "RD").
inline QString MenuText(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}
