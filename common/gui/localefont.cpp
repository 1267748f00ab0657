#include "localefont.h"

#include "localeservices.h"

namespace {

QString eastAsianFamily(int codePage)
{
    switch (codePage) {
    case 932: // MS PGothic, in full-width letters and katakana
        return QString::fromUtf16(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    case 936: // SimSun
        return QString::fromUtf16(u"\u5B8B\u4F53");
    case 949: // Gulim
        return QString::fromUtf16(u"\uAD74\uB9BC");
    case 950: // PMingLiU
        return QString::fromUtf16(u"\u65B0\u7D30\u660E\u9AD4");
    default:
        return QString();
    }
}

} // namespace

void ApplyLocaleFont(LocaleFont &font, int codePage)
{
    font.charSet = CharSetOfCodePage(codePage);
    const QString family = eastAsianFamily(codePage);
    if (family.isEmpty())
        return;
    font.font.setFamily(family);
    if (font.font.pointSizeF() < 9)
        font.font.setPointSizeF(9);
}
