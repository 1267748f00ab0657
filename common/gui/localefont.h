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
// pages the platform's usual font of the script and a size of at least 9 points; the others keep
// their family (the control's user-interface font). Glyphs a family lacks come from the fonts the
// desktop substitutes for the script.
void ApplyLocaleFont(LocaleFont &font, int codePage);
