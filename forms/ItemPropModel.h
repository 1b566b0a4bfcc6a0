#pragma once
// The behaviour of the item properties dialog without widgets: every control's
// value and state, the event handlers, the refresh rules, the checks of OK and
// the exchange with an item record.
#include "document/ItemRecord.h"
#include "document/TranslatableText.h"
#include "document/TreeSettings.h"
#include "forms/FormModel.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace vi {

class UserInterface;

inline constexpr TranslatableText kItemPropCaption{"ItemPropModel",
                                                   QT_TRANSLATE_NOOP("ItemPropModel", "Item Properties")};

class ItemPropModel final : public FormModel {
public:
    // Creates the dialog's state and fills the lists (Form_Load). The tree
    // settings decide which "Use Global" boxes are offered.
    explicit ItemPropModel(const TreeSettings& settings);

    // Record to controls (load true) or controls to record (load false).
    void ExchangeItemRecord(ItemRecord& record, bool load);

    // Controls, by the names the behaviour is described with.
    bool Option1(int index) const { return option1_ == index; } // 0 "Branch", 1 "Leaf"
    const TextBox& Text1() const { return text1_; }             // item text
    const TextBox& Text2(int index) const { return text2_.at(Index(index)); }
    const TextBox& Text3() const { return text3_; } // friendly label
    const CheckBox& Check1(int index) const { return check1_.at(Index(index)); }
    const CheckBox& Check2() const { return check2_; }
    const CheckBox& Check3() const { return check3_; }
    const CheckBox& Check4(int index) const { return check4_.at(Index(index)); } // "Use Global"
    const ComboBox& Combo1(int index) const { return combo1_.at(Index(index)); } // 0 sizes, 1 colours

    // Changes made by the user or by the exchange; a changed value raises the
    // control's event as a click or a typed change does.
    void SetOption1(int index);
    void SetCheck1(int index, bool ticked);
    void SetCheck2(bool ticked);
    void SetCheck3(bool ticked);
    void SetCheck4(int index, bool ticked);
    void SetText1(const QString& text);
    void SetText2(int index, const QString& text);
    void SetText3(const QString& text);
    void SetCombo1(int index, int listIndex);

    // Events of the dialog.
    void Form_Activate() override;
    void Image1_Click(int index); // the folder pictures 0 to 3

    QString ValidationMessage() const override;

    void RefreshItemPropControls();
    void RefreshUseGlobalVisibility();

private:
    static std::size_t Index(int index) { return static_cast<std::size_t>(index); }
    void Check3_Click();
    void LoadOwnValue(int index, const QString& value);
    void LoadGlobalChoice(bool useGlobal, int check4, int check1, const QString& value);
    void StoreChoice(int check1, int check4, QString& value, bool& useGlobal) const;

    TreeSettings settings_;

    int option1_ = 0;
    TextBox text1_;
    std::array<TextBox, 7> text2_;
    TextBox text3_{kNoneSpecified};
    std::array<CheckBox, 7> check1_;
    CheckBox check2_;
    CheckBox check3_;
    std::array<CheckBox, 4> check4_;
    std::array<ComboBox, 2> combo1_;
};

} // namespace vi
