#pragma once
// The behaviour of the tree properties dialog without widgets: every control's
// value and state, the event handlers, the refresh rules, the checks of OK and
// the exchange with the tree settings.
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

class TreePropModel final : public FormModel {
public:
    // Creates the dialog's state and fills the lists (Form_Load); the line
    // colours come from the sub-folders of treeLinesFolder.
    explicit TreePropModel(const QString& treeLinesFolder = TreeLinesFolder());

    // Settings to controls (load true) or controls to settings (load false).
    void ExchangeTreeSettings(TreeSettings& settings, bool load);

    // Controls, by the names the behaviour is described with. The upper
    // position box, Text1 index 1, edits TreeY; the lower, index 0, TreeX.
    const TextBox& Text1(int index) const { return text1_.at(Index(index)); }
    const ComboBox& Combo2() const { return combo2_; } // item heights
    bool Option1(int index) const { return option1_ == index; }
    const ComboBox& Combo1(int index) const { return combo1_.at(Index(index)); } // 0, 1 line colours; 2 colour; 3 size
    const CheckBox& Check1(int index) const { return check1_.at(Index(index)); }
    const TextBox& Text2(int index) const { return text2_.at(Index(index)); }
    const CheckBox& Check3() const { return check3_; }

    // Changes made by the user or by the exchange; a changed value raises the
    // control's click event.
    void SetText1(int index, const QString& text);
    void SetCombo2(int listIndex);
    void SetOption1(int index);
    void SetCombo1(int index, int listIndex);
    void SetCheck1(int index, bool ticked);
    void SetText2(int index, const QString& text);
    void SetCheck3(bool ticked);

    // Events of the dialog.
    void Form_Activate() override;
    void Image1_Click(int index); // the folder pictures 0 to 2

    QString ValidationMessage() const override;

    void RefreshTreePropControls();

private:
    static std::size_t Index(int index) { return static_cast<std::size_t>(index); }

    std::array<TextBox, 2> text1_{TextBox{QStringLiteral("5")}, TextBox{QStringLiteral("5")}};
    ComboBox combo2_;
    int option1_ = 1;
    std::array<ComboBox, 4> combo1_;
    std::array<CheckBox, 5> check1_;
    std::array<TextBox, 5> text2_;
    CheckBox check3_;
};

} // namespace vi
