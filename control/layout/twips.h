#pragma once

// The planner measures every length in twips, 1/1440 inch, as the platform it was designed on
// did; devices come in pixels at some dots per inch, paper in millimetres.
namespace Twips {

constexpr double kPerInch = 1440;
constexpr double kPerMillimetre = kPerInch / 25.4;

constexpr double perPixel(double dotsPerInch)
{
    return kPerInch / dotsPerInch;
}
constexpr double toPixels(double twips, double dotsPerInch)
{
    return twips * dotsPerInch / kPerInch;
}

} // namespace Twips
