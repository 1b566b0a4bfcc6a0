#include "app/DesignLayout.h"

#include "app/PropertyDialogControls.h"

#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace vi {

namespace {
const char* const kPlaceProperty = "vi_designPlace";
const char* const kFontProperty = "vi_designFont";
constexpr qreal kDesignPointSize = 8.25;
constexpr qreal kLargestScale = 6.0;
constexpr int kBisections = 10;
// A text box or list shows its line of text with its frame and a pixel above and below.
constexpr int kBoxFrame = 4;
// A button's bevel around its caption.
constexpr int kButtonBevel = 6;

QRect Scaled(const QRect& place, qreal scale)
{
    const auto at = [scale](int v) { return int(std::lround(v * scale)); };
    const QPoint topLeft(at(place.left()), at(place.top()));
    return {topLeft, QPoint(at(place.left() + place.width()), at(place.top() + place.height())) - QPoint(1, 1)};
}

// Whether any later sibling, shown or not, is drawn over the rectangle: the
// "Use Global" boxes appear and disappear with the settings, and a caption
// must fit beside them either way.
bool Covered(const QWidget* widget, const QRect& text)
{
    const QObjectList& siblings = widget->parent()->children();
    for (auto it = std::find(siblings.begin(), siblings.end(), widget); it != siblings.end(); ++it) {
        const auto* sibling = qobject_cast<const QWidget*>(*it);
        if (sibling && sibling != widget && !sibling->isWindow() && sibling->geometry().intersects(text))
            return true;
    }
    return false;
}

bool Fits(const QWidget* widget)
{
    const QFontMetrics metrics(widget->font());
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget))
        return widget->height() >= metrics.height() + kBoxFrame;
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        // The title takes the frame's first line.
        if (metrics.horizontalAdvance(box->title()) + 2 * metrics.height() > box->width())
            return false;
        const QList<QWidget*> inside = box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        return std::all_of(inside.begin(), inside.end(), [&](const QWidget* w) { return w->y() >= metrics.height(); });
    }
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (label && (label->text().isEmpty() || !label->pixmap().isNull()))
        return true;
    const QRect text = CaptionTextRect(widget, widget->font(), label && label->wordWrap());
    if (text.isEmpty())
        return true;
    if (qobject_cast<const QPushButton*>(widget)
        && (text.width() + 2 * kButtonBevel > widget->width() || text.height() + kButtonBevel > widget->height()))
        return false;
    return widget->geometry().contains(text) && !Covered(widget, text);
}
} // namespace

void SetDesignPlace(QWidget* widget, const QRect& place)
{
    widget->setProperty(kPlaceProperty, place);
    widget->setGeometry(place);
}

void SetDesignFont(QWidget* widget, const QFont& font)
{
    widget->setProperty(kFontProperty, font);
    widget->setFont(font);
}

DesignLayout::DesignLayout(QWidget* window, QSize designSize) : QLayout(window), designSize_(designSize)
{
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetFixedSize);
}

QList<QWidget*> DesignLayout::Placed() const
{
    QList<QWidget*> placed;
    for (QWidget* widget : parentWidget()->findChildren<QWidget*>()) {
        if (widget->window() == parentWidget() && widget->property(kPlaceProperty).isValid())
            placed << widget;
    }
    return placed;
}

void DesignLayout::Apply(qreal scale) const
{
    const bool wasApplying = applying_;
    applying_ = true; // the fonts set here must not restart the measuring
    for (QWidget* widget : Placed()) {
        const QVariant font = widget->property(kFontProperty);
        if (font.isValid()) {
            QFont scaled = font.value<QFont>();
            scaled.setPointSizeF(scaled.pointSizeF() * scale);
            if (scaled != widget->font())
                widget->setFont(scaled);
        }
        QRect place = Scaled(widget->property(kPlaceProperty).toRect(), scale);
        if (widget->parentWidget() == parentWidget())
            place.translate(geometry().topLeft());
        if (place != widget->geometry())
            widget->setGeometry(place);
    }
    applying_ = wasApplying;
}

bool DesignLayout::AllFit() const
{
    const QList<QWidget*> placed = Placed();
    return std::all_of(placed.begin(), placed.end(), Fits);
}

qreal DesignLayout::Scale() const
{
    if (scale_ > 0)
        return scale_;
    const bool wasApplying = applying_;
    applying_ = true;
    // The window grows with the font at least as the font grows over the one it was drawn for.
    qreal fits = std::max(1.0, QFontInfo(parentWidget()->font()).pointSizeF() / kDesignPointSize);
    Apply(fits);
    if (!AllFit()) {
        qreal tooSmall = fits;
        do {
            tooSmall = fits;
            fits = std::min(fits * 1.5, kLargestScale);
            Apply(fits);
        } while (!AllFit() && fits < kLargestScale);
        for (int i = 0; i < kBisections; ++i) {
            const qreal middle = (tooSmall + fits) / 2;
            Apply(middle);
            (AllFit() ? fits : tooSmall) = middle;
        }
        Apply(fits);
    }
    scale_ = fits;
    applying_ = wasApplying;
    return scale_;
}

QSize DesignLayout::sizeHint() const
{
    const qreal scale = Scale();
    return {int(std::ceil(designSize_.width() * scale)), int(std::ceil(designSize_.height() * scale))};
}

QSize DesignLayout::minimumSize() const { return sizeHint(); }

QSize DesignLayout::maximumSize() const { return sizeHint(); }

void DesignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Apply(Scale());
}

void DesignLayout::invalidate()
{
    if (!applying_)
        scale_ = 0;
    QLayout::invalidate();
}

void DesignLayout::addItem(QLayoutItem* item) { delete item; }

} // namespace vi
