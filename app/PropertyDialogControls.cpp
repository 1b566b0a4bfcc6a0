#include "app/PropertyDialogControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

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
