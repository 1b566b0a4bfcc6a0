#include "app/PropertyDialogControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace vi {

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
QString Shown(QString caption) { return caption.remove(QLatin1Char('&')); }
} // namespace

QRect CaptionTextRect(const QWidget* widget, const QFont& font, bool wrap)
{
    const QFontMetrics metrics(font);
    QRect room;
    QString text;
    int alignment = Qt::AlignLeft | Qt::AlignVCenter;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        room = label->contentsRect();
        text = Shown(label->text());
        alignment = int(label->alignment());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = Shown(button->text());
        if (qobject_cast<const QCheckBox*>(button) || qobject_cast<const QRadioButton*>(button)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
            room = button->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
                                                   &option, button);
        } else {
            room = button->rect();
            alignment = Qt::AlignCenter;
        }
    } else {
        return {};
    }
    // A single line is measured across only: the style centres it in the height it has.
    const QSize size = wrap ? metrics
                                  .boundingRect(QRect(0, 0, room.width(), 10000),
                                                (alignment & Qt::AlignHorizontal_Mask) | Qt::TextWordWrap, text)
                                  .size()
                            : QSize(metrics.horizontalAdvance(text), std::min(metrics.height(), room.height()));
    const QRect needed = QStyle::alignedRect(widget->layoutDirection(), Qt::Alignment(alignment), size, room);
    return needed.translated(widget->pos());
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
