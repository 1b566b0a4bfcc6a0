#pragma once
#include <QRect>

namespace vi {

// The windows' design places are given in twips: 15 twips make one pixel at
// 96 dpi, and Qt scales pixels for high-DPI screens.
inline constexpr int kTwipsPerPixel = 15;

struct TwipsRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

inline QRect ToPixels(const TwipsRect& r)
{
    return {r.Left / kTwipsPerPixel, r.Top / kTwipsPerPixel, r.Width / kTwipsPerPixel, r.Height / kTwipsPerPixel};
}

inline TwipsRect ToTwips(const QRect& r)
{
    return {r.x() * kTwipsPerPixel, r.y() * kTwipsPerPixel, r.width() * kTwipsPerPixel, r.height() * kTwipsPerPixel};
}

// A place written as left, top, width and height in twips.
inline QRect Twips(int left, int top, int width, int height) { return ToPixels({left, top, width, height}); }

} // namespace vi
