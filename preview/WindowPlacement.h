#pragma once
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace vi {

// Where a window's frame goes so that the frame, not only the client area,
// is centred in the available area of a screen.
QPoint CentredFramePosition(const QRect& available, const QSize& clientSize, const QMargins& frame);

// Centres a top-level window, frame included, on its screen. The window
// manager tells the frame's size only once the window is shown, so the
// window is placed once more when its frame becomes known.
void CentreOnScreen(QWidget* window);

} // namespace vi
