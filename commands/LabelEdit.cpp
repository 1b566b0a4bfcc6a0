#include "commands/LabelEdit.h"

#include "document/TreeDocument.h"
#include "document/UserInterface.h"
#include "script/ScriptText.h"

namespace vi {

bool CanEditLabel(const TreeNode* node) { return node && !node->IsRoot(); }

bool ApplyLabelEdit(TreeDocument& document, UserInterface& ui, TreeNode* node, const QString& text)
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
    ItemRecord& record = document.RecordOf(node);
    if (record.FriendlyName != text || node->Text() != text) {
        record.FriendlyName = text;
        document.SetText(node, text);
        document.SetTreeChanged(true);
    }
    return true;
}

} // namespace vi
