#pragma once
// Shared by the property dialogs' views: building controls at their places and
// making widgets mirror their model's control state.
#include "app/DesignLayout.h"
#include "forms/Controls.h"
#include "preview/Twips.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <limits>
#include <type_traits>

class QCheckBox;
class QComboBox;

namespace vi {

// A control array element's object name: "Check1_4".
QString Indexed(const char* name, int index);

// Creates a control with its object name, place as drawn and caption.
template <class Widget>
Widget* MakeControl(QWidget* parent, const QString& name, const QRect& place, const QString& caption = {})
{
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    SetDesignPlace(widget, place);
    if constexpr (std::is_same_v<Widget, QGroupBox>)
        widget->setTitle(caption);
    else if constexpr (std::is_base_of_v<QAbstractButton, Widget> || std::is_same_v<Widget, QLabel>)
        widget->setText(caption);
    else if constexpr (std::is_same_v<Widget, QLineEdit>)
        widget->setMaxLength(std::numeric_limits<int>::max()); // never cut a long loaded text
    return widget;
}

// Where a label's or button's caption is drawn in a font, in its parent's
// coordinates (wrapped within the width when wrap is set); empty for other widgets.
QRect CaptionTextRect(const QWidget* widget, const QFont& font, bool wrap = false);

void ShowCheckBox(QCheckBox* widget, const CheckBox& state);
// Locked boxes are read-only; the background follows the state's colour.
void ShowTextBox(QLineEdit* widget, const TextBox& state);
void ShowComboBox(QComboBox* widget, const ComboBox& state);

} // namespace vi
