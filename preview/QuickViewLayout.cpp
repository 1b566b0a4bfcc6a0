#include "preview/QuickViewLayout.h"

namespace vi {

namespace {
constexpr int kMargin = 75;
} // namespace

QuickViewLayout QuickViewDesign()
{
    return {
        .WebBrowser1 = {75, 75, 5730, 4410},
        .Default = {885, 4680, 1005, 375},
        .Static = {1950, 4725, 1005, 375},
        .Refresh = {3030, 4635, 1260, 375},
        .Close = {4545, 4635, 1260, 375},
    };
}

QuickViewLayout ArrangeQuickView(QuickViewLayout layout, int clientWidth, int clientHeight)
{
    TwipsRect& browser = layout.WebBrowser1;
    browser.Left = kMargin;
    browser.Top = kMargin;
    if (const int width = clientWidth - 2 * kMargin; width >= 0)
        browser.Width = width;
    if (const int height = clientHeight - 3 * kMargin - layout.Close.Height; height >= 0)
        browser.Height = height;

    layout.Close.Left = clientWidth - kMargin - layout.Close.Width;
    layout.Refresh.Left = layout.Close.Left - kMargin - layout.Refresh.Width;
    layout.Close.Top = layout.Refresh.Top = browser.Top + browser.Height + kMargin;

    layout.Static.Left = layout.Refresh.Left - kMargin - layout.Static.Width;
    layout.Default.Left = layout.Static.Left - kMargin - layout.Default.Width;
    layout.Static.Top = layout.Default.Top = browser.Top + browser.Height + kMargin;
    return layout;
}

} // namespace vi
