#pragma once

#include <QFont>

// A font with the character set it was prepared for: the control's fonts carry the set of the
// user's code page, as the platform they were designed on asks of every font.
struct LocaleFont
{
    QFont font;
    int charSet = 0;
};

// Prepares a font for the user's code page: sets its character set, and for the East Asian code
// pages the platform's usual font of the script and a size of at least 9 points; for the others
// the font name is cleared, so the desktop's default family serves. Glyphs a family lacks come
// from the fonts the desktop substitutes for the script.
void ApplyLocaleFont(LocaleFont &font, int codePage);
