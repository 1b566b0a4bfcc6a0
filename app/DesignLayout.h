#pragma once
#include <QFont>
#include <QLayout>
#include <QRect>

namespace vi {

// Records where a control was drawn (pixels at 96 dpi, for the 8-point dialog
// font, relative to its parent) and puts it there.
void SetDesignPlace(QWidget* widget, const QRect& place);
// Records the font a control was drawn with; it grows with its window's scale.
void SetDesignFont(QWidget* widget, const QFont& font);

// Lays a window out as it was drawn, every control at its recorded place, all
// places scaled by one factor: 1 at the font the places were drawn for, at
// least as much as the window's font is larger, and as much more as every
// caption needs to fit whole and clear of its neighbours and every box to hold
// a line of text.
// A larger font or a translation so grows the window and keeps its
// arrangement, as dialog units do; the screen's scale is Qt's own. The window
// keeps the size the layout gives it.
class DesignLayout final : public QLayout {
    Q_OBJECT
public:
    DesignLayout(QWidget* window, QSize designSize);

    // The factor the places are scaled by, measured for the window's fonts.
    qreal Scale() const;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    QSize maximumSize() const override;
    void setGeometry(const QRect& rect) override;
    void invalidate() override;
    // The controls are found by their recorded places, not added as items.
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int) const override { return nullptr; }
    QLayoutItem* takeAt(int) override { return nullptr; }
    int count() const override { return 0; }

private:
    QList<QWidget*> Placed() const;
    void Apply(qreal scale) const;
    bool AllFit() const;

    QSize designSize_;
    mutable qreal scale_ = 0; // 0 until measured
    mutable bool applying_ = false;
};

} // namespace vi
