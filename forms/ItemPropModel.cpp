#include "forms/ItemPropModel.h"

#include "forms/ListFillers.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

namespace vi {

namespace {
constexpr int kBranchOption = 0;
constexpr int kLeafOption = 1;

constexpr TranslatableText kNonExpandedMessage{
    "ItemPropModel", QT_TRANSLATE_NOOP("ItemPropModel", "You must specify the SRC for the 'Non-Expanded Bullet'.  "
                                                        "Click the folder to locate one on your system, or you "
                                                        "can unclick the check box next to it.")};
constexpr TranslatableText kExpandedMessage{
    "ItemPropModel", QT_TRANSLATE_NOOP("ItemPropModel", "You must specify the SRC for the 'Expanded Bullet'.  Click "
                                                        "the folder to locate one on your system, or you can "
                                                        "unclick the check box next to it.")};
constexpr TranslatableText kMouseOutMessage{
    "ItemPropModel", QT_TRANSLATE_NOOP("ItemPropModel", "You must specify the SRC for the 'Mouse Out Menu Item'.  "
                                                        "Click the folder to locate one on your system, or you "
                                                        "can unclick the check box next to it.")};
constexpr TranslatableText kMouseOverMessage{
    "ItemPropModel", QT_TRANSLATE_NOOP("ItemPropModel", "You must specify the SRC for the 'Mouse Over Menu Item'.  "
                                                        "Click the folder to locate one on your system, or you "
                                                        "can unclick the check box next to it.")};
constexpr TranslatableText kHrefMessage{
    "ItemPropModel",
    QT_TRANSLATE_NOOP("ItemPropModel",
                      "You must specify the HREF for the 'Link'.  Or you can unclick the check box next to it.")};
constexpr TranslatableText kTargetMessage{
    "ItemPropModel",
    QT_TRANSLATE_NOOP("ItemPropModel",
                      "You must specify the TARGET for the 'Link'.  Or you can unclick the check box next to it.")};
constexpr TranslatableText kDescriptionMessage{
    "ItemPropModel",
    QT_TRANSLATE_NOOP(
        "ItemPropModel",
        "You must specify the Description for the 'Link'.  Or you can unclick the check box next to it.")};
constexpr TranslatableText kFriendlyNameMessage{
    "ItemPropModel", QT_TRANSLATE_NOOP("ItemPropModel", "You need to specify a Friendly Name.  This name is only for "
                                                        "display in the Vuvov-Ivoza program and is not used "
                                                        "in the actual tree.")};
// The saved tree writes the friendly label raw into the marker behind each
// statement, whose fields "[+]" separates and whose line a line break would end.
const QString kMarkerSeparator = QStringLiteral("[+]");
constexpr TranslatableText kNameBreaksMarkerMessage{
    "ItemPropModel",
    QT_TRANSLATE_NOOP(
        "ItemPropModel",
        "The Friendly Name can not contain \"[+]\" or a line break, because the saved tree uses them to separate its "
        "values.  Please change the Friendly Name.")};
} // namespace

ItemPropModel::ItemPropModel(const TreeSettings& settings) : FormModel(DialogTag::None), settings_(settings)
{
    FillFontSizeList(combo1_[0]);
    FillColourList(combo1_[1]);
    // The "Use Global" boxes and the locked fields are in step with the
    // settings from the start, so the refreshes raised while loading see them.
    RefreshUseGlobalVisibility();
    RefreshItemPropControls();
}

void ItemPropModel::SetOption1(int index)
{
    if ((index != kBranchOption && index != kLeafOption) || option1_ == index)
        return;
    option1_ = index;
    RefreshUseGlobalVisibility();
    RefreshItemPropControls();
}

void ItemPropModel::SetCheck1(int index, bool ticked)
{
    CheckBox& box = check1_.at(Index(index));
    if (box.Value == ticked)
        return;
    box.Value = ticked;
    RefreshItemPropControls();
}

void ItemPropModel::SetCheck2(bool ticked)
{
    if (check2_.Value == ticked)
        return;
    check2_.Value = ticked;
    RefreshItemPropControls();
}

void ItemPropModel::SetCheck3(bool ticked)
{
    if (check3_.Value == ticked)
        return;
    check3_.Value = ticked;
    Check3_Click();
}

void ItemPropModel::Check3_Click()
{
    RefreshItemPropControls();
    // Ticking the own font starts from the tree-wide one.
    if (check3_.Value && !settings_.TreeFontSize.isEmpty()) {
        combo1_[0].ListIndex = ListLookup(combo1_[0], settings_.TreeFontSize);
        combo1_[1].ListIndex = ListLookup(combo1_[1], settings_.TreeFontColor);
    }
}

void ItemPropModel::SetCheck4(int index, bool ticked)
{
    CheckBox& box = check4_.at(Index(index));
    if (box.Value == ticked)
        return;
    box.Value = ticked;
    RefreshItemPropControls();
}

void ItemPropModel::SetText1(const QString& text)
{
    if (text1_.Text == text)
        return;
    text1_.Text = text;
    // Text1_Change: the item text is also the friendly label until the user edits the label.
    SetText3(text);
}

void ItemPropModel::SetText2(int index, const QString& text) { text2_.at(Index(index)).Text = text; }

void ItemPropModel::SetText3(const QString& text) { text3_.Text = text; }

void ItemPropModel::SetCombo1(int index, int listIndex)
{
    ComboBox& list = combo1_.at(Index(index));
    if (listIndex >= -1 && listIndex < list.Entries.size())
        list.ListIndex = listIndex;
}

void ItemPropModel::RefreshItemPropControls()
{
    const bool leaf = option1_ == kLeafOption;

    Lock(text1_, !check2_.Value);
    Enable(combo1_[0], check3_.Value);
    Enable(combo1_[1], check3_.Value);
    for (std::size_t i = 0; i < text2_.size(); ++i)
        Lock(text2_[i], !check1_[i].Value);

    // Links belong to leaves only. Clearing a ticked box raises its click,
    // which runs this refresh again, so the cleared boxes' fields end locked.
    for (int i : {4, 5, 6})
        check1_[Index(i)].Enabled = leaf;
    check4_[3].Enabled = leaf;
    if (!leaf) {
        SetCheck1(4, false);
        SetCheck1(5, false);
        SetCheck1(6, false);
        SetCheck4(3, false);
    }

    if (check4_[0].Value && check4_[0].Visible) {
        check1_[0].Enabled = false;
        SetCheck1(0, false);
        Lock(text2_[0], true);
    } else {
        check1_[0].Enabled = true;
    }

    if (leaf || (check4_[1].Value && check4_[1].Visible)) {
        check1_[1].Enabled = false;
        SetCheck1(1, false);
        Lock(text2_[1], true);
    } else {
        check1_[1].Enabled = true;
    }

    if (check4_[2].Value && check4_[2].Visible) {
        check3_.Enabled = false;
        SetCheck3(false);
        Enable(combo1_[0], false);
        Enable(combo1_[1], false);
    } else {
        check3_.Enabled = true;
    }

    // The target's "Use Global" choice acts even while its box is hidden.
    if (check4_[3].Value) {
        check1_[5].Enabled = false;
        SetCheck1(5, false);
        Lock(text2_[5], true);
    }
}

void ItemPropModel::RefreshUseGlobalVisibility()
{
    const bool branch = option1_ == kBranchOption;
    check4_[0].Visible = branch ? !settings_.TreeBNonExpanded.isEmpty() : !settings_.TreeLeaf.isEmpty();
    check4_[1].Visible = branch && !settings_.TreeBExpanded.isEmpty();
    check4_[2].Visible = !settings_.TreeFontSize.isEmpty();
    check4_[3].Visible = !settings_.TreeTarget.isEmpty();
}

void ItemPropModel::Form_Activate()
{
    Show();
    RefreshItemPropControls();
    RefreshUseGlobalVisibility();
}

QString ItemPropModel::ValidationMessage() const
{
    const auto empty = [this](int i) { return TrimSpaces(text2_[Index(i)].Text).isEmpty(); };
    const auto ticked = [this](int i) { return check1_[Index(i)].Value; };
    if (ticked(0) && empty(0))
        return kNonExpandedMessage;
    if (ticked(1) && empty(1))
        return kExpandedMessage;
    if (ticked(2) && empty(2))
        return kMouseOutMessage;
    if (ticked(3) && empty(3))
        return kMouseOverMessage;
    if (ticked(4) && empty(4))
        return kHrefMessage;
    if (ticked(4) && ticked(5) && empty(5))
        return kTargetMessage;
    if (ticked(4) && ticked(6) && empty(6))
        return kDescriptionMessage;
    if (TrimSpaces(text3_.Text).isEmpty())
        return kFriendlyNameMessage;
    if (text3_.Text.contains(kMarkerSeparator) || HasScriptLineEnd(text3_.Text))
        return kNameBreaksMarkerMessage;
    return {};
}

void ItemPropModel::Image1_Click(int index)
{
    if (!check1_.at(Index(index)).Value || !chooser_)
        return;
    if (const std::optional<QString> path = chooser_())
        SetText2(index, *path);
}

void ItemPropModel::LoadOwnValue(int index, const QString& value)
{
    const bool set = !TrimSpaces(value).isEmpty();
    SetCheck1(index, set);
    SetText2(index, set ? value : QString());
}

void ItemPropModel::LoadGlobalChoice(bool useGlobal, int check4, int check1, const QString& value)
{
    if (useGlobal) {
        SetCheck4(check4, true);
        return;
    }
    SetCheck4(check4, false);
    LoadOwnValue(check1, value);
}

void ItemPropModel::StoreChoice(int check1, int check4, QString& value, bool& useGlobal) const
{
    if (check1_[Index(check1)].Value) {
        value = text2_[Index(check1)].Text;
        useGlobal = false;
    } else if (check4_[Index(check4)].Value) {
        useGlobal = true;
        value.clear();
    } else {
        useGlobal = false;
        value.clear();
    }
}

void ItemPropModel::ExchangeItemRecord(ItemRecord& record, bool load)
{
    if (load) {
        SetOption1(record.ItemType == kBranch ? kBranchOption : kLeafOption);
        SetText3(record.FriendlyName);
        LoadGlobalChoice(record.UseGlobalBNonExpanded, 0, 0, record.BNonExpanded);
        LoadGlobalChoice(record.UseGlobalBExpanded, 1, 1, record.BExpanded);
        LoadOwnValue(2, record.MouseOutPic);
        LoadOwnValue(3, record.MouseOverPic);
        LoadOwnValue(4, record.LinkHref);
        LoadGlobalChoice(record.UseGlobalTarget, 3, 5, record.LinkTarget);
        LoadOwnValue(6, record.LinkDescription);
        const bool hasText = !TrimSpaces(record.ItemText).isEmpty();
        SetCheck2(hasText);
        SetText1(hasText ? record.ItemText : QString());
        if (record.UseGlobalFont) {
            SetCheck4(2, true);
        } else {
            SetCheck4(2, false);
            if (!record.FontSize.isEmpty()) {
                SetCheck3(true);
                combo1_[0].ListIndex = ListLookup(combo1_[0], record.FontSize);
                combo1_[1].ListIndex = ListLookup(combo1_[1], record.FontColor);
            } else {
                SetCheck3(false);
            }
        }
        return;
    }

    record.ItemType = option1_ == kBranchOption ? kBranch : kLeaf;
    record.FriendlyName = text3_.Text;
    StoreChoice(0, 0, record.BNonExpanded, record.UseGlobalBNonExpanded);
    StoreChoice(1, 1, record.BExpanded, record.UseGlobalBExpanded);
    record.MouseOutPic = check1_[2].Value ? text2_[2].Text : QString();
    record.MouseOverPic = check1_[3].Value ? text2_[3].Text : QString();
    record.LinkHref = check1_[4].Value ? text2_[4].Text : QString();
    // The target is kept whether or not "Link" is ticked.
    StoreChoice(5, 3, record.LinkTarget, record.UseGlobalTarget);
    record.LinkDescription = check1_[6].Value ? text2_[6].Text : QString();
    record.ItemText = check2_.Value ? text1_.Text : QString();
    if (check3_.Value) {
        record.FontSize = combo1_[0].Text();
        record.FontColor = combo1_[1].Text();
        record.UseGlobalFont = false;
    } else {
        record.UseGlobalFont = check4_[2].Value;
        record.FontSize.clear();
        record.FontColor.clear();
    }
}

} // namespace vi
