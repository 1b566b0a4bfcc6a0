#pragma once
#include "document/TranslatableText.h"

#include <QString>
#include <optional>

namespace vi {

class EditHistory;
class TreeDocument;
class TreeNode;
class UserInterface;

inline constexpr TranslatableText kFriendlyNameRequired{
    "LabelEdit", QT_TRANSLATE_NOOP("LabelEdit", "You have to specify a friendly name.")};
inline constexpr TranslatableText kMarkerInLabel{
    "LabelEdit",
    QT_TRANSLATE_NOOP("LabelEdit", "A friendly name can not contain \"[+]\".  Please choose another name.")};
inline constexpr TranslatableText kLineBreakInLabel{
    "LabelEdit",
    QT_TRANSLATE_NOOP("LabelEdit", "A friendly name can not contain a line break.  Please choose another name.")};

// Why a label can not be stored, or nothing when it can: a blank label, or
// one holding "[+]" or a line break (CR, LF, U+2028, U+2029), would break the
// saved file.
std::optional<TranslatableText> LabelProblem(const QString& label);

// Whether an in-place label edit may start on the node: never on the root.
bool CanEditLabel(const TreeNode* node);

// Applies an in-place label edit. A label with a LabelProblem is refused
// with its message and the old label stays. Otherwise the text is stored exactly as typed; a changed text marks
// the document changed. Returns whether the edit was accepted.
bool ApplyLabelEdit(TreeDocument& document, UserInterface& ui, TreeNode* node, const QString& text,
                    EditHistory* history = nullptr);

} // namespace vi
