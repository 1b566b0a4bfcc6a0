#pragma once
#include "preview/Twips.h"

namespace vi {

// The controls of the preview window that the resize rule places.
struct QuickViewLayout {
    TwipsRect WebBrowser1;
    TwipsRect Default; // Option1 element 0
    TwipsRect Static;  // Option1 element 1
    TwipsRect Refresh; // Command1 element 0
    TwipsRect Close;   // Command1 element 1
    friend bool operator==(const QuickViewLayout&, const QuickViewLayout&) = default;
};

inline constexpr int kQuickViewClientWidth = 5865;  // 391 pixels
inline constexpr int kQuickViewClientHeight = 5100; // 340 pixels

// The window's design positions.
QuickViewLayout QuickViewDesign();

// The resize rule: a 75-twip margin round the browser and a bottom row aligned
// to the right edge, Default, Static, Refresh, Close. The steps run in order on
// the current layout; a step that would give a negative width or height is
// skipped, as the window system refuses it, and the later steps still run.
QuickViewLayout ArrangeQuickView(QuickViewLayout layout, int clientWidth, int clientHeight);

} // namespace vi
