#include "commands/LabelEdit.h"

#include "commands/EditSteps.h"
#include "document/TreeDocument.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

namespace vi {

std::optional<TranslatableText> LabelProblem(const QString& label)
{
    if (label.trimmed().isEmpty())
        return kFriendlyNameRequired;
    if (label.contains(QStringLiteral("[+]")))
        return kMarkerInLabel;
    if (HasScriptLineEnd(label))
        return kLineBreakInLabel;
    return std::nullopt;
}

bool CanEditLabel(const TreeNode* node) { return node && !node->IsRoot(); }

bool ApplyLabelEdit(TreeDocument& document, UserInterface& ui, TreeNode* node, const QString& text,
                    EditHistory* history)
{
    if (!CanEditLabel(node))
        return false;
    if (const std::optional<TranslatableText> problem = LabelProblem(text)) {
        ui.ShowMessage(*problem);
        return false;
    }
    const ItemRecord& record = document.RecordOf(node);
    if (record.FriendlyName != text || node->Text() != text) {
        ItemRecord renamed = record;
        renamed.FriendlyName = text;
        Run(document, history, RecordStep(kRenameStep, document, node, std::move(renamed)));
    }
    return true;
}

} // namespace vi
