#include "forms/TreePropModel.h"

#include "script/LoaderText.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

#include <QRegularExpression>

namespace vi {

namespace {
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

// The settings of the optional texts, in the order of TreeValue.
constexpr std::array<QString TreeSettings::*, kTreeValueCount> kValueSettings = {
    &TreeSettings::TreeBNonExpanded, &TreeSettings::TreeBExpanded, &TreeSettings::TreeLeaf, &TreeSettings::TreeTarget,
    &TreeSettings::TreeBackground};
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
    FillItemHeightList(itemHeight_);
    FillLineColourList(lineColour_, treeLinesFolder);
    FillLineColourList(signColour_, treeLinesFolder);
    FillFontSizeList(fontSize_);
    FillColourList(fontColour_);
    RefreshTreePropControls();
}

void TreePropModel::SetPositionX(const QString& text) { positionX_.Text = text; }

void TreePropModel::SetPositionY(const QString& text) { positionY_.Text = text; }

void TreePropModel::SetItemHeight(int listIndex) { Select(itemHeight_, listIndex); }

void TreePropModel::SetLines(LineStyle style)
{
    lines_ = style;
    RefreshTreePropControls();
}

void TreePropModel::SetLineColour(int listIndex) { Select(lineColour_, listIndex); }

void TreePropModel::SetSignColour(int listIndex) { Select(signColour_, listIndex); }

void TreePropModel::TickValue(TreeValue value, bool ticked)
{
    CheckBox& box = valueBoxes_[Index(value)];
    if (box.Value == ticked)
        return;
    box.Value = ticked;
    RefreshTreePropControls();
}

void TreePropModel::SetValue(TreeValue value, const QString& text) { values_[Index(value)].Text = text; }

void TreePropModel::TickGlobalFont(bool ticked)
{
    if (globalFont_.Value == ticked)
        return;
    globalFont_.Value = ticked;
    RefreshTreePropControls();
}

void TreePropModel::SetFontSize(int listIndex) { Select(fontSize_, listIndex); }

void TreePropModel::SetFontColour(int listIndex) { Select(fontColour_, listIndex); }

void TreePropModel::RefreshTreePropControls()
{
    Enable(lineColour_, lines_ == LineStyle::LinesAndSigns);
    Enable(signColour_, lines_ != LineStyle::NoTreelines);
    Enable(fontColour_, globalFont_.Value);
    Enable(fontSize_, globalFont_.Value);
    for (std::size_t i = 0; i < values_.size(); ++i)
        Lock(values_[i], !valueBoxes_[i].Value);
}

void TreePropModel::Form_Activate()
{
    Show();
    RefreshTreePropControls();
}

QString TreePropModel::ValidationMessage() const
{
    // A position that does not fit 16 bits fails here too, so OK never drops a typed value.
    if (!ToInt16(positionX_.Text) || !ToInt16(positionY_.Text))
        return kPositionMessage;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (valueBoxes_[i].Value && TrimSpaces(values_[i].Text).isEmpty())
            return kMissingValueMessages[i];
    }
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (valueBoxes_[i].Value && HasScriptLineEnd(values_[i].Text))
            return kLineBreakMessage;
    }
    return {};
}

void TreePropModel::ChoosePicture(TreeValue bullet)
{
    if (Index(bullet) > Index(TreeValue::LeafBullet) || !ValueBox(bullet).Value || !chooser_)
        return;
    if (const std::optional<QString> path = chooser_())
        SetValue(bullet, *path);
}

void TreePropModel::Load(const TreeSettings& settings)
{
    SetPositionX(QString::number(settings.TreeX));
    SetPositionY(QString::number(settings.TreeY));
    if (settings.TreeSize == -1 || (settings.TreeSize >= 0 && settings.TreeSize < itemHeight_.Entries.size()))
        itemHeight_.ListIndex = settings.TreeSize;
    // A style outside the three options leaves the initial one selected.
    if (settings.TreeLines >= int(LineStyle::NoTreelines) && settings.TreeLines <= int(LineStyle::SignsOnly))
        SetLines(LineStyle(settings.TreeLines));
    if (settings.TreeLines == int(LineStyle::LinesAndSigns))
        lineColour_.ListIndex = ListLookup(lineColour_, settings.TreeLineColor);
    if (settings.TreeLines == int(LineStyle::LinesAndSigns) || settings.TreeLines == int(LineStyle::SignsOnly))
        signColour_.ListIndex = ListLookup(signColour_, settings.TreePMColor);
    TickGlobalFont(!settings.TreeFontSize.isEmpty());
    if (globalFont_.Value) {
        fontSize_.ListIndex = ListLookup(fontSize_, settings.TreeFontSize);
        fontColour_.ListIndex = ListLookup(fontColour_, settings.TreeFontColor);
    }
    for (std::size_t i = 0; i < kValueSettings.size(); ++i) {
        const QString& text = settings.*kValueSettings[i];
        TickValue(TreeValue(i), !text.isEmpty());
        SetValue(TreeValue(i), text);
    }
}

void TreePropModel::Store(TreeSettings& settings) const
{
    if (const auto x = ToInt16(positionX_.Text))
        settings.TreeX = *x;
    if (const auto y = ToInt16(positionY_.Text))
        settings.TreeY = *y;
    settings.TreeSize = static_cast<std::int16_t>(itemHeight_.ListIndex);
    // A style keeps the colours it does not show.
    settings.TreeLines = static_cast<std::int16_t>(lines_);
    if (lines_ == LineStyle::LinesAndSigns)
        settings.TreeLineColor = lineColour_.Text();
    if (lines_ != LineStyle::NoTreelines)
        settings.TreePMColor = signColour_.Text();
    settings.TreeFontSize = globalFont_.Value ? fontSize_.Text() : QString();
    settings.TreeFontColor = globalFont_.Value ? fontColour_.Text() : QString();
    for (std::size_t i = 0; i < kValueSettings.size(); ++i)
        settings.*kValueSettings[i] = valueBoxes_[i].Value ? TrimSpaces(values_[i].Text) : QString();
}

} // namespace vi
