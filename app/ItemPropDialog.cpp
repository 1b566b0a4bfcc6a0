#include "app/ItemPropDialog.h"

#include "app/PicturePicker.h"
#include "app/PropertyDialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace vi {

ItemPropDialog::ItemPropDialog(const TreeSettings& settings, QWidget* parent)
    : FormDialog(parent, QStringLiteral("frmItemProp"), kItemPropCaption, QSize(kClientWidth, kClientHeight)),
      model_(settings)
{
    BindForm(model_);

    using enum ItemValue;
    std::vector<QWidget*> tabOrder;
    const auto label = [](QWidget* parent, const QString& name, const QRect& place, const char* caption) {
        auto* l = MakeControl<QLabel>(parent, name, place, tr(caption));
        l->setWordWrap(true);
        return l;
    };
    const auto valueBox = [&](QWidget* frame, ItemValue value, const QRect& place, const char* caption) {
        QCheckBox*& box = valueBoxes_[std::size_t(value)];
        box = MakeControl<QCheckBox>(frame, Indexed("Check1", int(value)), place, tr(caption));
        tabOrder.push_back(box);
    };
    const auto useGlobal = [&](QWidget* frame, GlobalChoice choice, const QRect& place) {
        QCheckBox*& box = useGlobal_[std::size_t(choice)];
        box = MakeControl<QCheckBox>(frame, Indexed("Check4", int(choice)), place, tr("Use Global"));
        tabOrder.push_back(box);
    };
    const auto value = [&](QWidget* frame, ItemValue value, const QRect& place) {
        QLineEdit*& box = values_[std::size_t(value)];
        box = MakeControl<QLineEdit>(frame, Indexed("Text2", int(value)), place);
        tabOrder.push_back(box);
    };
    const auto pictureChooser = [&](QWidget* frame, ItemValue picture, const QRect& place) {
        FolderPicture*& chooser = pictureChoosers_[std::size_t(picture)];
        chooser = MakeControl<FolderPicture>(frame, Indexed("Image1", int(picture)), place);
        tabOrder.push_back(chooser);
    };

    label(this, QStringLiteral("Label2"), Twips(120, 165, 870, 210), QT_TR_NOOP("Item Type:"));
    branch_ = MakeControl<QRadioButton>(this, Indexed("Option1", 0), Twips(1020, 165, 900, 255), tr("Branch"));
    leaf_ = MakeControl<QRadioButton>(this, Indexed("Option1", 1), Twips(2010, 165, 690, 255), tr("Leaf"));
    tabOrder.insert(tabOrder.end(), {branch_, leaf_});
    label(this, QStringLiteral("Label8"), Twips(3435, 180, 1110, 225), QT_TR_NOOP("Friendly Label:"));
    friendlyName_ = MakeControl<QLineEdit>(this, QStringLiteral("Text3"), Twips(4515, 135, 2205, 285));
    tabOrder.push_back(friendlyName_);
    label(this, QStringLiteral("Label9"), Twips(4740, 450, 1785, 300), QT_TR_NOOP("(Not used in actual tree)"));

    auto* bullets =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame1"), Twips(120, 795, 3225, 2805), tr("Item Bullet"));
    valueBox(bullets, NonExpandedBullet, Twips(120, 270, 2925, 270), QT_TR_NOOP("Regular Bullet Icon"));
    useGlobal(bullets, GlobalChoice::NonExpandedBullet, Twips(2040, 285, 1095, 240));
    value(bullets, NonExpandedBullet, Twips(120, 555, 2490, 285));
    pictureChooser(bullets, NonExpandedBullet, Twips(2670, 555, 300, 300));
    valueBox(bullets, ExpandedBullet, Twips(120, 1095, 2925, 270), QT_TR_NOOP("Expanded Bullet Icon"));
    useGlobal(bullets, GlobalChoice::ExpandedBullet, Twips(2040, 1110, 1095, 240));
    value(bullets, ExpandedBullet, Twips(120, 1380, 2490, 285));
    pictureChooser(bullets, ExpandedBullet, Twips(2670, 1380, 300, 300));
    label(bullets, QStringLiteral("Label1"), Twips(225, 1965, 2760, 615),
          "Note: Bullet Icon sizes should be the 'Height of Each Item', squared, in your tree specifyed in the "
          "'Tree Properties'");

    auto* pictures =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame2"), Twips(3495, 795, 3285, 2805), tr("Menu Item Pictures"));
    valueBox(pictures, MouseOutPicture, Twips(195, 285, 2925, 270), QT_TR_NOOP("Mouse Out Menu Item Picture"));
    value(pictures, MouseOutPicture, Twips(195, 570, 2535, 285));
    pictureChooser(pictures, MouseOutPicture, Twips(2790, 570, 300, 300));
    valueBox(pictures, MouseOverPicture, Twips(225, 1095, 2925, 270), QT_TR_NOOP("Mouse Over Menu Item Picture"));
    value(pictures, MouseOverPicture, Twips(195, 1380, 2535, 285));
    pictureChooser(pictures, MouseOverPicture, Twips(2790, 1380, 300, 300));
    label(pictures, QStringLiteral("Label3"), Twips(480, 1860, 2535, 870),
          "Note: The Height of these images should be the same as 'Height of Each Item' located in the 'Tree "
          "Properties', the Width is up to you.");

    auto* text = MakeControl<QGroupBox>(this, QStringLiteral("Frame3"), Twips(120, 3690, 3225, 2955), tr("Text Item"));
    hasText_ = MakeControl<QCheckBox>(text, QStringLiteral("Check2"), Twips(105, 300, 1695, 285), tr("Text"));
    tabOrder.push_back(hasText_);
    label(text, QStringLiteral("Label5"), Twips(120, 675, 405, 285), QT_TR_NOOP("Text:"));
    itemText_ = MakeControl<QLineEdit>(text, QStringLiteral("Text1"), Twips(585, 645, 2340, 285));
    tabOrder.push_back(itemText_);
    label(text, QStringLiteral("Label6"), Twips(660, 975, 2295, 285), QT_TR_NOOP("(Can include some HTML tags)"));
    ownFont_ = MakeControl<QCheckBox>(text, QStringLiteral("Check3"), Twips(120, 1470, 2130, 285),
                                      tr("Enable Size and Color"));
    tabOrder.push_back(ownFont_);
    useGlobal(text, GlobalChoice::Font, Twips(2085, 1500, 1095, 240));
    label(text, Indexed("Label7", 0), Twips(885, 1920, 765, 270), QT_TR_NOOP("Font Size:"));
    fontSize_ = MakeControl<QComboBox>(text, Indexed("Combo1", 0), Twips(1635, 1875, 705, 315));
    tabOrder.push_back(fontSize_);
    label(text, Indexed("Label7", 1), Twips(585, 2385, 765, 270), QT_TR_NOOP("Font Color:"));
    fontColour_ = MakeControl<QComboBox>(text, Indexed("Combo1", 1), Twips(1395, 2340, 1170, 315));
    tabOrder.push_back(fontColour_);

    auto* link = MakeControl<QGroupBox>(this, QStringLiteral("Frame4"), Twips(3495, 3690, 3285, 2955), tr("Item Link"));
    valueBox(link, LinkHref, Twips(210, 315, 2925, 270), QT_TR_NOOP("Link"));
    label(link, Indexed("Label4", 4), Twips(195, 675, 615, 225), QT_TR_NOOP("HREF:"));
    value(link, LinkHref, Twips(870, 645, 2190, 285));
    valueBox(link, LinkTarget, Twips(210, 1275, 2745, 270), QT_TR_NOOP("Link Target"));
    useGlobal(link, GlobalChoice::LinkTarget, Twips(2100, 1290, 1095, 240));
    label(link, Indexed("Label4", 5), Twips(210, 1605, 855, 225), QT_TR_NOOP("TARGET:"));
    value(link, LinkTarget, Twips(1110, 1560, 1950, 285));
    valueBox(link, LinkDescription, Twips(210, 2100, 2925, 270), QT_TR_NOOP("Link Description"));
    value(link, LinkDescription, Twips(270, 2430, 2790, 285));

    auto* ok = MakeControl<QPushButton>(this, Indexed("Command1", 1), Twips(4320, 6765, 1140, 390), tr("&OK"));
    auto* cancel = MakeControl<QPushButton>(this, Indexed("Command1", 0), Twips(5625, 6765, 1140, 390), tr("&Cancel"));
    tabOrder.insert(tabOrder.end(), {ok, cancel});
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    On(branch_, &QRadioButton::clicked, [this]() { model_.SetLeaf(false); });
    On(leaf_, &QRadioButton::clicked, [this]() { model_.SetLeaf(true); });
    On(friendlyName_, &QLineEdit::textEdited, [this](const QString& text) { model_.SetFriendlyName(text); });
    for (int i = 0; i < kItemValueCount; ++i) {
        const auto v = ItemValue(i);
        On(valueBoxes_[std::size_t(i)], &QCheckBox::clicked, [this, v](bool ticked) { model_.TickValue(v, ticked); });
        On(values_[std::size_t(i)], &QLineEdit::textEdited,
           [this, v](const QString& text) { model_.SetValue(v, text); });
    }
    for (int i = 0; i < kGlobalChoiceCount; ++i) {
        const auto c = GlobalChoice(i);
        On(useGlobal_[std::size_t(i)], &QCheckBox::clicked,
           [this, c](bool ticked) { model_.TickUseGlobal(c, ticked); });
    }
    for (std::size_t i = 0; i < pictureChoosers_.size(); ++i) {
        const auto v = ItemValue(i);
        On(pictureChoosers_[i], &FolderPicture::clicked, [this, v]() { model_.ChoosePicture(v); });
    }
    On(hasText_, &QCheckBox::clicked, [this](bool ticked) { model_.TickText(ticked); });
    On(itemText_, &QLineEdit::textEdited, [this](const QString& text) { model_.SetItemText(text); });
    On(ownFont_, &QCheckBox::clicked, [this](bool ticked) { model_.TickOwnFont(ticked); });
    On(fontSize_, &QComboBox::activated, [this](int index) { model_.SetFontSize(index); });
    On(fontColour_, &QComboBox::activated, [this](int index) { model_.SetFontColour(index); });
    On(ok, &QPushButton::clicked, [this]() { model_.OkClicked(); });
    On(cancel, &QPushButton::clicked, [this]() { model_.CancelClicked(); });

    Refresh();
}

void ItemPropDialog::Refresh()
{
    (model_.Leaf() ? leaf_ : branch_)->setChecked(true);
    ShowTextBox(friendlyName_, model_.FriendlyName());
    for (int i = 0; i < kItemValueCount; ++i) {
        ShowCheckBox(valueBoxes_[std::size_t(i)], model_.ValueBox(ItemValue(i)));
        ShowTextBox(values_[std::size_t(i)], model_.Value(ItemValue(i)));
    }
    for (int i = 0; i < kGlobalChoiceCount; ++i)
        ShowCheckBox(useGlobal_[std::size_t(i)], model_.UseGlobal(GlobalChoice(i)));
    ShowCheckBox(hasText_, model_.HasText());
    ShowTextBox(itemText_, model_.ItemText());
    ShowCheckBox(ownFont_, model_.OwnFont());
    ShowComboBox(fontSize_, model_.FontSize());
    ShowComboBox(fontColour_, model_.FontColour());
}

} // namespace vi
