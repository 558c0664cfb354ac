#pragma once

#include <QPoint>

namespace orvane {

// Window positions and widths are given in twips (1/1440 inch); at the usual
// 96 dots per inch one pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

inline constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

// A point given as left and top in twips.
inline QPoint twipsPoint(int leftTwips, int topTwips)
{
    return {twipsToPixels(leftTwips), twipsToPixels(topTwips)};
}

} // namespace orvane
