#include "app/PropertyDialogControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

namespace vi {

QRect Twips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

QString Indexed(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

namespace {
// Editable boxes and enabled lists in the window colour, the others in the button-face colour.
void Paint(QWidget* widget, BackColour colour)
{
    const QPalette standard = QApplication::palette(widget);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base,
                     standard.color(colour == BackColour::ButtonFace ? QPalette::Button : QPalette::Base));
    widget->setPalette(palette);
}
} // namespace

namespace {
constexpr qreal kSmallestPointSize = 6.0;

QString Shown(QString caption) { return caption.remove(QLatin1Char('&')); }

bool LabelFits(const QLabel* label, const QFont& font, bool wrap)
{
    const QFontMetrics metrics(font);
    const QRect room = label->contentsRect();
    if (!wrap)
        return metrics.horizontalAdvance(Shown(label->text())) <= room.width();
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, Shown(label->text()));
    return needed.height() <= room.height();
}

bool ButtonFits(const QAbstractButton* button, const QFont& font)
{
    const QStyle* style = button->style();
    const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button)
        + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    return indicator + QFontMetrics(font).horizontalAdvance(Shown(button->text())) + 2 <= button->width();
}

template <class Fits> void Shrink(QWidget* widget, Fits fits)
{
    QFont font = widget->font();
    while (!fits(font) && font.pointSizeF() > kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (font != widget->font())
        widget->setFont(font);
}
} // namespace

void FitCaptions(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        // A caption that fits on one line stays on one line; a longer one wraps.
        const bool wrap = label->wordWrap() && !LabelFits(label, label->font(), false);
        label->setWordWrap(wrap);
        Shrink(label, [&](const QFont& font) { return LabelFits(label, font, wrap); });
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
            Shrink(button, [&](const QFont& font) { return ButtonFits(button, font); });
    }
}

void ShowCheckBox(QCheckBox* widget, const CheckBox& state)
{
    widget->setChecked(state.Value);
    widget->setEnabled(state.Enabled);
    widget->setHidden(!state.Visible);
}

void ShowTextBox(QLineEdit* widget, const TextBox& state)
{
    if (widget->text() != state.Text)
        widget->setText(state.Text);
    widget->setReadOnly(state.Locked);
    Paint(widget, state.BackColor);
}

void ShowComboBox(QComboBox* widget, const ComboBox& state)
{
    QStringList shown;
    for (int i = 0; i < widget->count(); ++i)
        shown << widget->itemText(i);
    if (shown != state.Entries) {
        widget->clear();
        widget->addItems(state.Entries);
    }
    widget->setCurrentIndex(state.ListIndex);
    widget->setEnabled(state.Enabled);
    Paint(widget, state.BackColor);
}

} // namespace vi
