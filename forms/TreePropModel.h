#pragma once
// The behaviour of the tree properties dialog without widgets: every control's
// value and state, the event handlers, the refresh rules, the checks of OK and
// the loading and storing of the tree settings.
#include "document/TranslatableText.h"
#include "document/TreeSettings.h"
#include "forms/FormModel.h"
#include "forms/ListFillers.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace vi {

class UserInterface;

inline constexpr TranslatableText kTreePropCaption{"TreePropModel",
                                                   QT_TRANSLATE_NOOP("TreePropModel", "Tree Properties")};

// True for a decimal number with optional sign, fraction and exponent, with
// spaces allowed around it; false for the empty text.
bool IsNumericText(const QString& text);
// The number rounded to the nearest whole number (a half to the even
// neighbour) when it is numeric and fits 16 bits; nothing otherwise.
std::optional<std::int16_t> ToInt16(const QString& text);

// The tree-line style, TreeLines: its option buttons in order.
enum class LineStyle { NoTreelines, LinesAndSigns, SignsOnly };

// The tree-wide texts that may be set; a check box beside each says whether it is set.
enum class TreeValue { NonExpandedBullet, ExpandedBullet, LeafBullet, LinkTarget, Background };
inline constexpr int kTreeValueCount = 5;

class TreePropModel final : public FormModel {
public:
    // Creates the dialog's state and fills the lists (Form_Load); the line
    // colours come from the sub-folders of treeLinesFolder.
    explicit TreePropModel(const QString& treeLinesFolder = TreeLinesFolder());

    void Load(const TreeSettings& settings);
    // Stores the controls; a position that is no 16-bit number leaves its setting as it was.
    void Store(TreeSettings& settings) const;

    // The box of TreeX stands lower, beside the Y label; the box of TreeY
    // upper, beside the X label, and comes first in tab order.
    const TextBox& PositionX() const { return positionX_; }
    const TextBox& PositionY() const { return positionY_; }
    const ComboBox& ItemHeight() const { return itemHeight_; }
    LineStyle Lines() const { return lines_; }
    const ComboBox& LineColour() const { return lineColour_; }
    const ComboBox& SignColour() const { return signColour_; } // the plus and minus signs
    const CheckBox& ValueBox(TreeValue value) const { return valueBoxes_[Index(value)]; }
    const TextBox& Value(TreeValue value) const { return values_[Index(value)]; }
    const CheckBox& GlobalFont() const { return globalFont_; } // "Global Font Size and Color"
    const ComboBox& FontSize() const { return fontSize_; }
    const ComboBox& FontColour() const { return fontColour_; }

    // Changes made by the user; a changed value raises the control's click event.
    void SetPositionX(const QString& text);
    void SetPositionY(const QString& text);
    void SetItemHeight(int listIndex);
    void SetLines(LineStyle style);
    void SetLineColour(int listIndex);
    void SetSignColour(int listIndex);
    void TickValue(TreeValue value, bool ticked);
    void SetValue(TreeValue value, const QString& text);
    void TickGlobalFont(bool ticked);
    void SetFontSize(int listIndex);
    void SetFontColour(int listIndex);

    // Events of the dialog.
    void Form_Activate() override;
    // The folder picture beside one of the three bullets opens the picture chooser.
    void ChoosePicture(TreeValue bullet);

    QString ValidationMessage() const override;

    void RefreshTreePropControls();

private:
    static std::size_t Index(TreeValue value) { return static_cast<std::size_t>(value); }

    TextBox positionX_{QStringLiteral("5")};
    TextBox positionY_{QStringLiteral("5")};
    ComboBox itemHeight_;
    LineStyle lines_ = LineStyle::LinesAndSigns;
    ComboBox lineColour_;
    ComboBox signColour_;
    std::array<CheckBox, kTreeValueCount> valueBoxes_;
    std::array<TextBox, kTreeValueCount> values_;
    CheckBox globalFont_;
    ComboBox fontSize_;
    ComboBox fontColour_;
};

} // namespace vi
