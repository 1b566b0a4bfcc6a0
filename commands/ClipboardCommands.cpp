#include "commands/ClipboardCommands.h"

#include "commands/EditSteps.h"
#include "commands/ItemCommands.h"
#include "commands/PastedItems.h"
#include "document/TreeDocument.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>
#include <QSet>
#include <optional>

namespace vi {

namespace {

constexpr quint32 kMagic = 0x56497473; // "VIts"
constexpr quint16 kFormatVersion = 1;

// Tells this document apart from every other one, in this process and in others.
QString DocumentId(const TreeDocument& document)
{
    return QString::number(QCoreApplication::applicationPid()) + QLatin1Char(':')
           + QString::number(reinterpret_cast<quintptr>(&document), 16);
}

struct Payload {
    QString Source;
    int TopPosition = 0;
    Subtree Items; // positions and Tags still to be given
};

void WriteRecord(QDataStream& out, const ItemRecord& r)
{
    out << r.ItemType << r.FriendlyName << r.UseGlobalBNonExpanded << r.BNonExpanded << r.UseGlobalBExpanded
        << r.BExpanded << r.MouseOutPic << r.MouseOverPic << r.ItemText << r.UseGlobalFont << r.FontSize << r.FontColor
        << r.LinkHref << r.UseGlobalTarget << r.LinkTarget << r.LinkDescription;
}

void ReadRecord(QDataStream& in, ItemRecord& r)
{
    in >> r.ItemType >> r.FriendlyName >> r.UseGlobalBNonExpanded >> r.BNonExpanded >> r.UseGlobalBExpanded
        >> r.BExpanded >> r.MouseOutPic >> r.MouseOverPic >> r.ItemText >> r.UseGlobalFont >> r.FontSize >> r.FontColor
        >> r.LinkHref >> r.UseGlobalTarget >> r.LinkTarget >> r.LinkDescription;
}

// The clipboard may hold anything: a payload that is cut short, too large or
// not shaped as a tree is no payload. Items to be added as a copy are then
// checked as a loaded file's are (CheckedCopy).
std::optional<Payload> Decode(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    qint32 top = 0, count = 0;
    Payload payload;
    in >> magic >> version >> payload.Source >> top >> count;
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kFormatVersion || count < 1
        || count > kMaxItems)
        return std::nullopt;
    payload.TopPosition = top;
    payload.Items.Items.resize(static_cast<std::size_t>(count));
    for (qint32 i = 0; i < count; ++i) {
        Subtree::Item& item = payload.Items.Items[static_cast<std::size_t>(i)];
        qint32 parent = 0;
        in >> parent;
        ReadRecord(in, item.Record);
        if (in.status() != QDataStream::Ok || (i == 0 ? parent != -1 : parent < 0 || parent >= i))
            return std::nullopt;
        item.Parent = parent;
        item.Text = item.Record.FriendlyName;
    }
    return payload;
}

bool AcceptsChildren(const TreeDocument& document, const TreeNode* parent)
{
    return parent && (parent->IsRoot() || document.RecordOf(parent).ItemType != kLeaf);
}

// Gives pasted items their places: after every node and record there is, the
// top under parent at row. Values that many items repeat (kinds, fonts,
// targets, pictures) arrive as a text per item; each is kept once.
Subtree PlaceCopy(const TreeDocument& document, Subtree items, const TreeNode* parent, int row)
{
    items.ParentPosition = parent->Position();
    items.Row = row;
    int position = document.NodeCount();
    int tag = document.UpperBound();
    QSet<QString> shared{kBranch, kLeaf, document.Settings().TreeFontSize, document.Settings().TreeFontColor};
    for (Subtree::Item& item : items.Items) {
        item.Position = ++position;
        item.Tag = ++tag;
        item.Expanded = false;
        ItemRecord& r = item.Record;
        r.RootMark = 0;
        for (QString* value : {&r.ItemType, &r.BNonExpanded, &r.BExpanded, &r.MouseOutPic, &r.MouseOverPic, &r.FontSize,
                               &r.FontColor, &r.LinkTarget})
            *value = *shared.insert(*value);
    }
    return items;
}

bool Fits(const TreeDocument& document, const Subtree& items)
{
    return document.UpperBound() + static_cast<int>(items.Items.size()) <= kMaxRecords;
}

// The items of a payload to be added as a copy under parent at row, checked
// as strictly as a loaded file before anything is built; nothing, after the
// message when there is a user interface, when they can not be added.
// Pictures that items from elsewhere may not bring are left out, and counted.
std::optional<Subtree> CheckedCopy(const TreeDocument& document, const QByteArray& bytes, Payload payload,
                                   const TreeNode* parent, int row, UserInterface* ui, int& picturesLeftOut)
{
    const auto refuse = [ui](const QString& message) -> std::optional<Subtree> {
        if (ui)
            ui->ShowMessage(message);
        return std::nullopt;
    };
    if (!AcceptAsLoaded(payload.Items))
        return refuse(kNothingToPasteMessage);
    if (!Fits(document, payload.Items))
        return refuse(kTooManyItemsMessage);
    if (!FitsTheFile(document, payload.Items, parent, row))
        return refuse(TooLargeToPasteMessage());
    picturesLeftOut = IsOwnPayload(bytes) ? 0 : KeepTreePicsPictures(payload.Items);
    return std::move(payload.Items);
}

// The node a payload names when it was dragged from this document.
TreeNode* DraggedNode(const TreeDocument& document, const Payload& payload)
{
    if (payload.Source != DocumentId(document))
        return nullptr;
    TreeNode* node = document.Node(payload.TopPosition);
    return node && !node->IsRoot() ? node : nullptr;
}

} // namespace

QByteArray EncodeItems(const TreeDocument& document, const TreeNode* top)
{
    const Subtree items = document.CaptureSubtree(top);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << kFormatVersion << DocumentId(document) << qint32(top ? top->Position() : 0)
        << qint32(items.Items.size());
    for (const Subtree::Item& item : items.Items) {
        out << qint32(item.Parent);
        WriteRecord(out, item.Record);
    }
    RememberOwnPayload(bytes);
    return bytes;
}

QString ItemsAsText(const TreeNode* top)
{
    QString text;
    if (!top)
        return text;
    std::vector<std::pair<const TreeNode*, int>> stack{{top, 0}};
    while (!stack.empty()) {
        const auto [node, depth] = stack.back();
        stack.pop_back();
        text += QString(depth, QLatin1Char('\t')) + node->Text() + QLatin1Char('\n');
        for (auto it = node->Children().rbegin(); it != node->Children().rend(); ++it)
            stack.emplace_back(*it, depth + 1);
    }
    return text;
}

namespace {

// Puts the selected item with its sub-items on the clipboard; null, after the
// message, when nothing or the root is selected.
TreeNode* PutSelectionOnClipboard(TreeDocument& document, UserInterface& ui, const QString& nothingSelected)
{
    TreeNode* node = document.SelectedNode();
    if (!node) {
        ui.ShowMessage(nothingSelected);
        return nullptr;
    }
    if (node->IsRoot()) {
        ui.ShowMessage(kCopyRootMessage);
        return nullptr;
    }
    ui.PutItemsOnClipboard(EncodeItems(document, node), ItemsAsText(node));
    return node;
}

} // namespace

void CopyItem(TreeDocument& document, UserInterface& ui)
{
    PutSelectionOnClipboard(document, ui, kSelectToCopyMessage);
}

void CutItem(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    TreeNode* node = PutSelectionOnClipboard(document, ui, kSelectToCutMessage);
    if (!node)
        return;
    Run(document, history, RemoveItemStep(kCutStep, document, node));
}

void PasteItem(TreeDocument& document, UserInterface& ui, EditHistory* history)
{
    TreeNode* parent = document.SelectedNode();
    if (!parent) {
        ui.ShowMessage(kSelectParentMessage);
        return;
    }
    if (!AcceptsChildren(document, parent)) {
        ui.ShowMessage(kLeafParentMessage);
        return;
    }
    const QByteArray bytes = ui.ItemsOnClipboard();
    std::optional<Payload> payload = Decode(bytes);
    if (!payload) {
        ui.ShowMessage(kNothingToPasteMessage);
        return;
    }
    int picturesLeftOut = 0;
    std::optional<Subtree> items =
        CheckedCopy(document, bytes, std::move(*payload), parent, parent->ChildCount(), &ui, picturesLeftOut);
    if (!items)
        return;
    document.SetExpanded(parent, true);
    Run(document, history,
        InsertItemsStep(kPasteStep, PlaceCopy(document, std::move(*items), parent, parent->ChildCount())));
    if (picturesLeftOut > 0)
        ui.ShowMessage(PicturesLeftOutMessage(picturesLeftOut));
}

bool CanDropItems(const TreeDocument& document, const QByteArray& payload, const TreeNode* parent, int row)
{
    if (!AcceptsChildren(document, parent) || row < -1 || row > parent->ChildCount())
        return false;
    std::optional<Payload> items = Decode(payload);
    if (!items)
        return false;
    if (const TreeNode* node = DraggedNode(document, *items))
        return !parent->IsInside(node);
    return Fits(document, items->Items) && AcceptAsLoaded(items->Items);
}

bool DropItems(TreeDocument& document, EditHistory* history, const QByteArray& payload, TreeNode* parent, int row,
               UserInterface* ui)
{
    if (!CanDropItems(document, payload, parent, row))
        return false;
    std::optional<Payload> items = Decode(payload);
    if (row < 0)
        row = parent->ChildCount();
    TreeNode* node = DraggedNode(document, *items);
    if (!node) {
        int picturesLeftOut = 0;
        std::optional<Subtree> copy =
            CheckedCopy(document, payload, std::move(*items), parent, row, ui, picturesLeftOut);
        if (!copy)
            return false;
        document.SetExpanded(parent, true);
        Run(document, history, InsertItemsStep(kDropStep, PlaceCopy(document, std::move(*copy), parent, row)));
        if (picturesLeftOut > 0 && ui)
            ui->ShowMessage(PicturesLeftOutMessage(picturesLeftOut));
        return true;
    }
    // The row counts the place before the move; the item's own place closes up first.
    if (parent == node->Parent() && row > node->Row())
        --row;
    std::unique_ptr<EditStep> step = MoveItemStep(kMoveItemStep, node, parent, row);
    if (!step)
        return parent == node->Parent(); // dropped where it already was
    document.SetExpanded(parent, true);
    Run(document, history, std::move(step));
    return true;
}

} // namespace vi
