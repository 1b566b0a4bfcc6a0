#include "forms/ItemPropModel.h"

#include "forms/ListFillers.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

namespace vi {

namespace {
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
    FillFontSizeList(fontSize_);
    FillColourList(fontColour_);
    // The "Use Global" boxes and the locked fields are in step with the
    // settings from the start, so the refreshes raised while loading see them.
    RefreshUseGlobalVisibility();
    RefreshItemPropControls();
}

void ItemPropModel::SetLeaf(bool leaf)
{
    if (leaf_ == leaf)
        return;
    leaf_ = leaf;
    RefreshUseGlobalVisibility();
    RefreshItemPropControls();
}

void ItemPropModel::SetFriendlyName(const QString& text) { friendlyName_.Text = text; }

void ItemPropModel::TickValue(ItemValue value, bool ticked)
{
    CheckBox& box = Box(value);
    if (box.Value == ticked)
        return;
    box.Value = ticked;
    RefreshItemPropControls();
}

void ItemPropModel::SetValue(ItemValue value, const QString& text) { Text(value).Text = text; }

void ItemPropModel::TickUseGlobal(GlobalChoice choice, bool ticked)
{
    CheckBox& box = Global(choice);
    if (box.Value == ticked)
        return;
    box.Value = ticked;
    RefreshItemPropControls();
}

void ItemPropModel::TickText(bool ticked)
{
    if (hasText_.Value == ticked)
        return;
    hasText_.Value = ticked;
    RefreshItemPropControls();
}

void ItemPropModel::SetItemText(const QString& text)
{
    if (itemText_.Text == text)
        return;
    // The label follows the text only while the user has not given it one of its own.
    const QString& label = friendlyName_.Text;
    const bool following = TrimSpaces(label).isEmpty() || label == kNoneSpecified || label == itemText_.Text;
    itemText_.Text = text;
    if (following)
        friendlyName_.Text = text;
}

void ItemPropModel::TickOwnFont(bool ticked)
{
    if (ownFont_.Value == ticked)
        return;
    ownFont_.Value = ticked;
    RefreshItemPropControls();
    // Ticking the own font starts from the tree-wide one.
    if (ownFont_.Value && !settings_.TreeFontSize.isEmpty()) {
        fontSize_.ListIndex = ListLookup(fontSize_, settings_.TreeFontSize);
        fontColour_.ListIndex = ListLookup(fontColour_, settings_.TreeFontColor);
    }
}

void ItemPropModel::SetFontSize(int listIndex) { Select(fontSize_, listIndex); }

void ItemPropModel::SetFontColour(int listIndex) { Select(fontColour_, listIndex); }

void ItemPropModel::RefreshItemPropControls()
{
    using enum ItemValue;
    Lock(itemText_, !hasText_.Value);
    Enable(fontSize_, ownFont_.Value);
    Enable(fontColour_, ownFont_.Value);
    for (std::size_t i = 0; i < values_.size(); ++i)
        Lock(values_[i], !valueBoxes_[i].Value);

    // Links belong to leaves only. Clearing a ticked box raises its click,
    // which runs this refresh again, so the cleared boxes' fields end locked.
    for (ItemValue link : {LinkHref, LinkTarget, LinkDescription})
        Box(link).Enabled = leaf_;
    Global(GlobalChoice::LinkTarget).Enabled = leaf_;
    if (!leaf_) {
        for (ItemValue link : {LinkHref, LinkTarget, LinkDescription})
            TickValue(link, false);
        TickUseGlobal(GlobalChoice::LinkTarget, false);
    }

    const auto usesGlobal = [this](GlobalChoice choice) { return Global(choice).Value && Global(choice).Visible; };
    const auto disableOwn = [this](ItemValue value) {
        Box(value).Enabled = false;
        TickValue(value, false);
        Lock(Text(value), true);
    };
    if (usesGlobal(GlobalChoice::NonExpandedBullet))
        disableOwn(NonExpandedBullet);
    else
        Box(NonExpandedBullet).Enabled = true;

    if (leaf_ || usesGlobal(GlobalChoice::ExpandedBullet))
        disableOwn(ExpandedBullet);
    else
        Box(ExpandedBullet).Enabled = true;

    if (usesGlobal(GlobalChoice::Font)) {
        ownFont_.Enabled = false;
        TickOwnFont(false);
        Enable(fontSize_, false);
        Enable(fontColour_, false);
    } else {
        ownFont_.Enabled = true;
    }

    // The target's "Use Global" choice acts even while its box is hidden.
    if (Global(GlobalChoice::LinkTarget).Value)
        disableOwn(LinkTarget);
}

void ItemPropModel::RefreshUseGlobalVisibility()
{
    Global(GlobalChoice::NonExpandedBullet).Visible =
        leaf_ ? !settings_.TreeLeaf.isEmpty() : !settings_.TreeBNonExpanded.isEmpty();
    Global(GlobalChoice::ExpandedBullet).Visible = !leaf_ && !settings_.TreeBExpanded.isEmpty();
    Global(GlobalChoice::Font).Visible = !settings_.TreeFontSize.isEmpty();
    Global(GlobalChoice::LinkTarget).Visible = !settings_.TreeTarget.isEmpty();
}

void ItemPropModel::Form_Activate()
{
    Show();
    RefreshItemPropControls();
    RefreshUseGlobalVisibility();
}

QString ItemPropModel::ValidationMessage() const
{
    using enum ItemValue;
    const auto missing = [this](ItemValue value) {
        return ValueBox(value).Value && TrimSpaces(Value(value).Text).isEmpty();
    };
    const bool link = ValueBox(LinkHref).Value;
    if (missing(NonExpandedBullet))
        return kNonExpandedMessage;
    if (missing(ExpandedBullet))
        return kExpandedMessage;
    if (missing(MouseOutPicture))
        return kMouseOutMessage;
    if (missing(MouseOverPicture))
        return kMouseOverMessage;
    if (missing(LinkHref))
        return kHrefMessage;
    if (link && missing(LinkTarget))
        return kTargetMessage;
    if (link && missing(LinkDescription))
        return kDescriptionMessage;
    if (TrimSpaces(friendlyName_.Text).isEmpty())
        return kFriendlyNameMessage;
    if (friendlyName_.Text.contains(kMarkerSeparator) || HasScriptLineEnd(friendlyName_.Text))
        return kNameBreaksMarkerMessage;
    return {};
}

void ItemPropModel::ChoosePicture(ItemValue picture)
{
    if (Index(picture) > Index(ItemValue::MouseOverPicture) || !ValueBox(picture).Value || !chooser_)
        return;
    if (const std::optional<QString> path = chooser_())
        SetValue(picture, *path);
}

void ItemPropModel::LoadOwnValue(ItemValue value, const QString& text)
{
    const bool set = !TrimSpaces(text).isEmpty();
    TickValue(value, set);
    SetValue(value, set ? text : QString());
}

void ItemPropModel::LoadGlobalChoice(bool useGlobal, GlobalChoice choice, ItemValue own, const QString& text)
{
    TickUseGlobal(choice, useGlobal);
    if (!useGlobal)
        LoadOwnValue(own, text);
}

void ItemPropModel::StoreChoice(ItemValue own, GlobalChoice choice, QString& text, bool& useGlobal) const
{
    // An own value wins over a ticked "Use Global".
    useGlobal = !ValueBox(own).Value && UseGlobal(choice).Value;
    text = StoreOwnValue(own);
}

QString ItemPropModel::StoreOwnValue(ItemValue value) const
{
    return ValueBox(value).Value ? Value(value).Text : QString();
}

void ItemPropModel::Load(const ItemRecord& record)
{
    using enum ItemValue;
    SetLeaf(record.ItemType != kBranch);
    friendlyName_.Text = record.FriendlyName;
    LoadGlobalChoice(record.UseGlobalBNonExpanded, GlobalChoice::NonExpandedBullet, NonExpandedBullet,
                     record.BNonExpanded);
    LoadGlobalChoice(record.UseGlobalBExpanded, GlobalChoice::ExpandedBullet, ExpandedBullet, record.BExpanded);
    LoadOwnValue(MouseOutPicture, record.MouseOutPic);
    LoadOwnValue(MouseOverPicture, record.MouseOverPic);
    LoadOwnValue(LinkHref, record.LinkHref);
    LoadGlobalChoice(record.UseGlobalTarget, GlobalChoice::LinkTarget, LinkTarget, record.LinkTarget);
    LoadOwnValue(LinkDescription, record.LinkDescription);
    // Loading the text leaves the label as stored: only the user's typing carries the text into it.
    const bool hasText = !TrimSpaces(record.ItemText).isEmpty();
    TickText(hasText);
    itemText_.Text = hasText ? record.ItemText : QString();
    TickUseGlobal(GlobalChoice::Font, record.UseGlobalFont);
    if (record.UseGlobalFont)
        return;
    TickOwnFont(!record.FontSize.isEmpty());
    if (ownFont_.Value) {
        fontSize_.ListIndex = ListLookup(fontSize_, record.FontSize);
        fontColour_.ListIndex = ListLookup(fontColour_, record.FontColor);
    }
}

void ItemPropModel::Store(ItemRecord& record) const
{
    using enum ItemValue;
    record.ItemType = leaf_ ? kLeaf : kBranch;
    record.FriendlyName = friendlyName_.Text;
    StoreChoice(NonExpandedBullet, GlobalChoice::NonExpandedBullet, record.BNonExpanded, record.UseGlobalBNonExpanded);
    StoreChoice(ExpandedBullet, GlobalChoice::ExpandedBullet, record.BExpanded, record.UseGlobalBExpanded);
    record.MouseOutPic = StoreOwnValue(MouseOutPicture);
    record.MouseOverPic = StoreOwnValue(MouseOverPicture);
    record.LinkHref = StoreOwnValue(LinkHref);
    // The target is kept whether or not "Link" is ticked.
    StoreChoice(LinkTarget, GlobalChoice::LinkTarget, record.LinkTarget, record.UseGlobalTarget);
    record.LinkDescription = StoreOwnValue(LinkDescription);
    record.ItemText = hasText_.Value ? itemText_.Text : QString();
    record.UseGlobalFont = !ownFont_.Value && useGlobal_[Index(GlobalChoice::Font)].Value;
    record.FontSize = ownFont_.Value ? fontSize_.Text() : QString();
    record.FontColor = ownFont_.Value ? fontColour_.Text() : QString();
}

} // namespace vi
