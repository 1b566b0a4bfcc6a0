#include "forms/TreePropModel.h"

#include "script/LoaderText.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

#include <QRegularExpression>

namespace vi {

namespace {
constexpr int kNoTreelines = 0;
constexpr int kLinesAndSigns = 1;
constexpr int kSignsOnly = 2;

constexpr TranslatableText kPositionMessage{
    "TreePropModel",
    QT_TRANSLATE_NOOP("TreePropModel", "You must enter a number value for the Top left X, and Top left Y position.")};
const std::array<QString, 5> kMissingValueMessages = {
    QStringLiteral("You must specify the SRC for the 'Branch Non-Expanded Bullet'.  Click the folder to locate one on "
                   "your system, or you can unclick the check box next to it."),
    QStringLiteral("You must specify the SRC for the 'Branch Expanded Bullet'.  Click the folder to locate one on "
                   "your system, or you can unclick the check box next to it."),
    QStringLiteral("You must specify the SRC for the 'Leaf Bullet'.  Click the folder to locate one on your system, "
                   "or you can unclick the check box next to it."),
    QStringLiteral("You must specify the TARGET for the global Link.  Or you can unclick the check box next to it."),
    QStringLiteral(
        "You must specify the BGCOLOR for the 'Background Color'.  Or you can unclick the check box next to it."),
};

// The header of the saved tree holds one setting a line, written as typed.
constexpr TranslatableText kLineBreakMessage{
    "TreePropModel",
    QT_TRANSLATE_NOOP(
        "TreePropModel",
        "The global values can not contain a line break, because the saved tree keeps each one on a line of its own.  "
        "Please remove the line break.")};

// The five optional texts in the order of Check1 and Text2.
std::array<QString*, 5> OptionalTexts(TreeSettings& settings)
{
    return {&settings.TreeBNonExpanded, &settings.TreeBExpanded, &settings.TreeLeaf, &settings.TreeTarget,
            &settings.TreeBackground};
}
} // namespace

bool IsNumericText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^ *[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)? *$"));
    return number.match(text).hasMatch();
}

std::optional<std::int16_t> ToInt16(const QString& text)
{
    // The dialog's stricter number rule, then the loader's one conversion.
    if (!IsNumericText(text))
        return std::nullopt;
    const QString trimmed = TrimSpaces(text);
    return ToInt16(QStringView(trimmed));
}

TreePropModel::TreePropModel(const QString& treeLinesFolder) : FormModel(DialogTag::Cancel)
{
    FillItemHeightList(combo2_);
    FillLineColourList(combo1_[0], treeLinesFolder);
    FillLineColourList(combo1_[1], treeLinesFolder);
    FillFontSizeList(combo1_[3]);
    FillColourList(combo1_[2]);
    RefreshTreePropControls();
}

void TreePropModel::SetText1(int index, const QString& text) { text1_.at(Index(index)).Text = text; }

void TreePropModel::SetCombo2(int listIndex)
{
    if (listIndex >= -1 && listIndex < combo2_.Entries.size())
        combo2_.ListIndex = listIndex;
}

void TreePropModel::SetOption1(int index)
{
    if (index < kNoTreelines || index > kSignsOnly)
        return;
    option1_ = index;
    RefreshTreePropControls();
}

void TreePropModel::SetCombo1(int index, int listIndex)
{
    ComboBox& list = combo1_.at(Index(index));
    if (listIndex >= -1 && listIndex < list.Entries.size())
        list.ListIndex = listIndex;
}

void TreePropModel::SetCheck1(int index, bool ticked)
{
    CheckBox& box = check1_.at(Index(index));
    if (box.Value == ticked)
        return;
    box.Value = ticked;
    RefreshTreePropControls();
}

void TreePropModel::SetText2(int index, const QString& text) { text2_.at(Index(index)).Text = text; }

void TreePropModel::SetCheck3(bool ticked)
{
    if (check3_.Value == ticked)
        return;
    check3_.Value = ticked;
    RefreshTreePropControls();
}

void TreePropModel::RefreshTreePropControls()
{
    if (option1_ == kSignsOnly) {
        Enable(combo1_[0], false);
        Enable(combo1_[1], true);
    } else if (option1_ == kLinesAndSigns) {
        Enable(combo1_[0], true);
        Enable(combo1_[1], true);
    } else {
        Enable(combo1_[0], false);
        Enable(combo1_[1], false);
    }
    Enable(combo1_[2], check3_.Value);
    Enable(combo1_[3], check3_.Value);
    for (std::size_t i = 0; i < check1_.size(); ++i)
        Lock(text2_[i], !check1_[i].Value);
}

void TreePropModel::Form_Activate()
{
    Show();
    RefreshTreePropControls();
}

QString TreePropModel::ValidationMessage() const
{
    // A position that does not fit 16 bits fails here too, so OK never drops a typed value.
    if (!ToInt16(text1_[0].Text) || !ToInt16(text1_[1].Text))
        return kPositionMessage;
    for (std::size_t i = 0; i < check1_.size(); ++i) {
        if (check1_[i].Value && TrimSpaces(text2_[i].Text).isEmpty())
            return kMissingValueMessages[i];
    }
    for (std::size_t i = 0; i < check1_.size(); ++i) {
        if (check1_[i].Value && HasScriptLineEnd(text2_[i].Text))
            return kLineBreakMessage;
    }
    return {};
}

void TreePropModel::Image1_Click(int index)
{
    if (index < 0 || index > 2 || !check1_.at(Index(index)).Value || !chooser_)
        return;
    if (const std::optional<QString> path = chooser_())
        SetText2(index, *path);
}

void TreePropModel::ExchangeTreeSettings(TreeSettings& settings, bool load)
{
    const std::array<QString*, 5> texts = OptionalTexts(settings);
    if (load) {
        SetText1(0, QString::number(settings.TreeX));
        SetText1(1, QString::number(settings.TreeY));
        if (settings.TreeSize == -1 || (settings.TreeSize >= 0 && settings.TreeSize < combo2_.Entries.size()))
            combo2_.ListIndex = settings.TreeSize;
        SetOption1(settings.TreeLines);
        if (settings.TreeLines == kSignsOnly) {
            combo1_[1].ListIndex = ListLookup(combo1_[1], settings.TreePMColor);
        } else if (settings.TreeLines == kLinesAndSigns) {
            combo1_[0].ListIndex = ListLookup(combo1_[0], settings.TreeLineColor);
            combo1_[1].ListIndex = ListLookup(combo1_[1], settings.TreePMColor);
        }
        if (!settings.TreeFontSize.isEmpty()) {
            SetCheck3(true);
            combo1_[3].ListIndex = ListLookup(combo1_[3], settings.TreeFontSize);
            combo1_[2].ListIndex = ListLookup(combo1_[2], settings.TreeFontColor);
        } else {
            SetCheck3(false);
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const bool set = !texts[i]->isEmpty();
            SetCheck1(static_cast<int>(i), set);
            SetText2(static_cast<int>(i), set ? *texts[i] : QString());
        }
        return;
    }

    if (const auto x = ToInt16(text1_[0].Text))
        settings.TreeX = *x;
    if (const auto y = ToInt16(text1_[1].Text))
        settings.TreeY = *y;
    settings.TreeSize = static_cast<std::int16_t>(combo2_.ListIndex);
    if (option1_ == kSignsOnly) {
        settings.TreeLines = kSignsOnly;
        settings.TreePMColor = combo1_[1].Text();
    } else if (option1_ == kLinesAndSigns) {
        settings.TreeLines = kLinesAndSigns;
        settings.TreeLineColor = combo1_[0].Text();
        settings.TreePMColor = combo1_[1].Text();
    } else {
        settings.TreeLines = kNoTreelines;
    }
    if (check3_.Value) {
        settings.TreeFontSize = combo1_[3].Text();
        settings.TreeFontColor = combo1_[2].Text();
    } else {
        settings.TreeFontSize.clear();
        settings.TreeFontColor.clear();
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        *texts[i] = check1_[i].Value ? TrimSpaces(text2_[i].Text) : QString();
}

} // namespace vi
