#include "commands/PastedItems.h"

#include "commands/LabelEdit.h"
#include "document/TreeDocument.h"
#include "script/PicturePath.h"
#include "script/ScriptFile.h"
#include "script/ScriptSize.h"
#include "script/ScriptText.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <array>

namespace vi {

namespace {

// Digests of the payloads this editor made lately: a payload is known by its
// bytes, not by anything written in it, which any program could copy.
struct OwnPayloads {
    std::array<QByteArray, 4> Digests;
    std::size_t Next = 0;
};

OwnPayloads& Own()
{
    static OwnPayloads own;
    return own;
}

QByteArray Digest(const QByteArray& payload) { return QCryptographicHash::hash(payload, QCryptographicHash::Sha256); }

} // namespace

QString TooLargeToPasteMessage()
{
    return QCoreApplication::translate("PastedItems",
                                       "These items would make the tree too large: its custom.js would be larger than "
                                       "%1 MB, more than the editor can load back.")
        .arg(kMaxScriptFileBytes >> 20);
}

QString PicturesLeftOutMessage(int count)
{
    return QCoreApplication::translate("PastedItems",
                                       "%n picture(s) of the pasted items were left out: items from another editor "
                                       "or program keep only pictures that lie in a treePics folder.",
                                       nullptr, count);
}

void RememberOwnPayload(const QByteArray& payload)
{
    OwnPayloads& own = Own();
    own.Digests[own.Next] = Digest(payload);
    own.Next = (own.Next + 1) % own.Digests.size();
}

bool IsOwnPayload(const QByteArray& payload)
{
    const QByteArray digest = Digest(payload);
    for (const QByteArray& known : Own().Digests) {
        if (known == digest)
            return true;
    }
    return false;
}

bool AcceptAsLoaded(Subtree& items)
{
    for (Subtree::Item& item : items.Items) {
        ItemRecord& r = item.Record;
        item.Text = r.FriendlyName;
        if ((r.ItemType != kBranch && r.ItemType != kLeaf) || LabelProblem(r.FriendlyName))
            return false;
        if (item.Parent >= 0 && items.Items[static_cast<std::size_t>(item.Parent)].Record.ItemType == kLeaf)
            return false;
    }
    return true;
}

int KeepTreePicsPictures(Subtree& items)
{
    int emptied = 0;
    for (Subtree::Item& item : items.Items) {
        ItemRecord& r = item.Record;
        for (QString* picture : {&r.BNonExpanded, &r.BExpanded, &r.MouseOutPic, &r.MouseOverPic}) {
            if (!picture->isEmpty() && !IsTreePicsPicture(*picture)) {
                picture->clear();
                ++emptied;
            }
        }
    }
    return emptied;
}

bool FitsTheFile(const TreeDocument& document, const Subtree& items, const TreeNode* parent, int row)
{
    return ScriptBytesWith(document, items, parent, row, kMaxScriptFileBytes) <= kMaxScriptFileBytes;
}

} // namespace vi
