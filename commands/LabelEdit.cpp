#include "commands/LabelEdit.h"

#include "commands/EditSteps.h"
#include "document/TreeDocument.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

namespace vi {

bool CanEditLabel(const TreeNode* node) { return node && !node->IsRoot(); }

bool ApplyLabelEdit(TreeDocument& document, UserInterface& ui, TreeNode* node, const QString& text,
                    EditHistory* history)
{
    if (!CanEditLabel(node))
        return false;
    if (text.trimmed().isEmpty()) {
        ui.ShowMessage(kFriendlyNameRequired);
        return false;
    }
    if (text.contains(QStringLiteral("[+]"))) {
        ui.ShowMessage(kMarkerInLabel);
        return false;
    }
    if (HasScriptLineEnd(text)) {
        ui.ShowMessage(kLineBreakInLabel);
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
