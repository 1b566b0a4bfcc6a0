#pragma once
// The behaviour of the item properties dialog without widgets: every control's
// value and state, the event handlers, the refresh rules, the checks of OK and
// the loading and storing of an item record.
#include "document/ItemRecord.h"
#include "document/TranslatableText.h"
#include "document/TreeSettings.h"
#include "forms/FormModel.h"

#include <QString>
#include <array>

namespace vi {

class UserInterface;

inline constexpr TranslatableText kItemPropCaption{"ItemPropModel",
                                                   QT_TRANSLATE_NOOP("ItemPropModel", "Item Properties")};

// The texts an item may set for itself; a check box beside each says whether it is set.
enum class ItemValue {
    NonExpandedBullet,
    ExpandedBullet,
    MouseOutPicture,
    MouseOverPicture,
    LinkHref,
    LinkTarget,
    LinkDescription,
};
inline constexpr int kItemValueCount = 7;

// What an item may take from the tree instead of its own value ("Use Global").
enum class GlobalChoice { NonExpandedBullet, ExpandedBullet, Font, LinkTarget };
inline constexpr int kGlobalChoiceCount = 4;

class ItemPropModel final : public FormModel {
public:
    // Creates the dialog's state and fills the lists (Form_Load). The tree
    // settings decide which "Use Global" boxes are offered.
    explicit ItemPropModel(const TreeSettings& settings);

    void Load(const ItemRecord& record);
    void Store(ItemRecord& record) const;

    bool Leaf() const { return leaf_; }
    const TextBox& FriendlyName() const { return friendlyName_; }
    const CheckBox& ValueBox(ItemValue value) const { return valueBoxes_[Index(value)]; }
    const TextBox& Value(ItemValue value) const { return values_[Index(value)]; }
    const CheckBox& UseGlobal(GlobalChoice choice) const { return useGlobal_[Index(choice)]; }
    const CheckBox& HasText() const { return hasText_; } // "Text"
    const TextBox& ItemText() const { return itemText_; }
    const CheckBox& OwnFont() const { return ownFont_; } // "Enable Size and Color"
    const ComboBox& FontSize() const { return fontSize_; }
    const ComboBox& FontColour() const { return fontColour_; }

    // Changes made by the user; a changed value raises the control's event as
    // a click or a typed change does.
    void SetLeaf(bool leaf);
    void SetFriendlyName(const QString& text);
    void TickValue(ItemValue value, bool ticked);
    void SetValue(ItemValue value, const QString& text);
    void TickUseGlobal(GlobalChoice choice, bool ticked);
    void TickText(bool ticked);
    // Typing the item text carries it into the friendly label while the label still follows the text.
    void SetItemText(const QString& text);
    void TickOwnFont(bool ticked);
    void SetFontSize(int listIndex);
    void SetFontColour(int listIndex);

    // Events of the dialog.
    void Form_Activate() override;
    // The folder picture beside one of the four pictures opens the picture chooser.
    void ChoosePicture(ItemValue picture);

    QString ValidationMessage() const override;

    void RefreshItemPropControls();
    void RefreshUseGlobalVisibility();

private:
    template <class Enum> static std::size_t Index(Enum e) { return static_cast<std::size_t>(e); }
    CheckBox& Box(ItemValue value) { return valueBoxes_[Index(value)]; }
    TextBox& Text(ItemValue value) { return values_[Index(value)]; }
    CheckBox& Global(GlobalChoice choice) { return useGlobal_[Index(choice)]; }
    void LoadOwnValue(ItemValue value, const QString& text);
    void LoadGlobalChoice(bool useGlobal, GlobalChoice choice, ItemValue own, const QString& text);
    void StoreChoice(ItemValue own, GlobalChoice choice, QString& text, bool& useGlobal) const;
    QString StoreOwnValue(ItemValue value) const;

    TreeSettings settings_;

    bool leaf_ = false;
    TextBox friendlyName_{kNoneSpecified};
    std::array<CheckBox, kItemValueCount> valueBoxes_;
    std::array<TextBox, kItemValueCount> values_;
    std::array<CheckBox, kGlobalChoiceCount> useGlobal_;
    CheckBox hasText_;
    TextBox itemText_;
    CheckBox ownFont_;
    ComboBox fontSize_;
    ComboBox fontColour_;
};

} // namespace vi
