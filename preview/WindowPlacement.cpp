#include "preview/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace vi {

namespace {

QMargins FrameOf(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void Place(QWidget* window, const QMargins& frame)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(CentredFramePosition(screen->availableGeometry(), window->size(), frame));
}

// Places the window again the first time it moves or shows with a frame
// other than the one it was placed with, then leaves it to the user.
class PlaceWhenFramed final : public QObject {
public:
    PlaceWhenFramed(QWidget* window, const QMargins& placedWith) : QObject(window), placedWith_(placedWith) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Show || type == QEvent::Resize) && window->isVisible()) {
            const QMargins frame = FrameOf(window);
            if (frame != placedWith_ && !frame.isNull()) {
                window->removeEventFilter(this);
                Place(window, frame);
                deleteLater();
            }
        }
        return false;
    }

private:
    QMargins placedWith_;
};

} // namespace

QPoint CentredFramePosition(const QRect& available, const QSize& clientSize, const QMargins& frame)
{
    const QSize frameSize = clientSize.grownBy(frame);
    return {available.x() + (available.width() - frameSize.width()) / 2,
            available.y() + (available.height() - frameSize.height()) / 2};
}

void CentreOnScreen(QWidget* window)
{
    const QMargins frame = FrameOf(window);
    Place(window, frame);
    if (frame.isNull())
        window->installEventFilter(new PlaceWhenFramed(window, frame));
}

} // namespace vi
