#include "commands/ClipboardCommands.h"
#include "commands/DocumentPlace.h"
#include "commands/EditHistory.h"
#include "commands/EditSteps.h"
#include "commands/ItemCommands.h"
#include "commands/LabelEdit.h"
#include "commands/MissingPictures.h"
#include "commands/PastedItems.h"
#include "commands/TreeCommands.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/RootStatement.h"
#include "script/ScriptSize.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <tuple>

namespace vi {
namespace {

using Answer = UserInterface::Answer;
using Command = void (*)(TreeDocument&, UserInterface&, EditHistory*);

// Everything undo must bring back: records, shape, Tags, positions, settings,
// the root statement and TreeChanged.
struct State {
    std::vector<ItemRecord> Records;
    std::vector<std::tuple<int, int, int, QString>> Nodes; // parent position, row, Tag, text by position
    TreeSettings Settings;
    QString RootStatement;
    bool TreeChanged = false;
    bool operator==(const State&) const = default;
};

State StateOf(const TreeDocument& d)
{
    State s{{}, {}, d.Settings(), d.RootStatement(), d.TreeChanged()};
    for (int k = 1; k <= d.UpperBound(); ++k)
        s.Records.push_back(d.Record(k));
    for (int p = 1; p <= d.NodeCount(); ++p) {
        const TreeNode* n = d.Node(p);
        s.Nodes.emplace_back(n->IsRoot() ? 0 : n->Parent()->Position(), n->Row(), n->Tag(), n->Text());
    }
    return s;
}

// The document's own checks, and every item showing its own record's label,
// which a Tag left pointing at another record would break.
QString Unsound(const TreeDocument& d)
{
    for (int p = 2; p <= d.NodeCount(); ++p)
        if (d.Node(p)->Text() != d.RecordOf(d.Node(p)).FriendlyName)
            return QStringLiteral("item %1 shows another record's label").arg(p);
    return d.CheckInvariants();
}

// Items copied in another editor.
QByteArray ForeignItem(const QString& label)
{
    TreeDocument other;
    test::AddItem(other, other.Root(), label);
    return EncodeItems(other, other.Node(2));
}

// Items another program put on the clipboard: the format's bytes, written
// here as anyone could write them. Each item is its parent's index and its record.
QByteArray FromElsewhere(const std::vector<std::pair<int, ItemRecord>>& items)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint32(0x56497473) << quint16(1) << QStringLiteral("elsewhere") << qint32(2) << qint32(items.size());
    for (const auto& [parent, r] : items) {
        out << qint32(parent) << r.ItemType << r.FriendlyName << r.UseGlobalBNonExpanded << r.BNonExpanded
            << r.UseGlobalBExpanded << r.BExpanded << r.MouseOutPic << r.MouseOverPic << r.ItemText << r.UseGlobalFont
            << r.FontSize << r.FontColor << r.LinkHref << r.UseGlobalTarget << r.LinkTarget << r.LinkDescription;
    }
    return bytes;
}

ItemRecord Item(const QString& type, const QString& label)
{
    ItemRecord r;
    r.ItemType = type;
    r.FriendlyName = r.ItemText = label;
    return r;
}

// A branch in a branch, and so on: a chain of nested items.
QByteArray Chain(int count)
{
    std::vector<std::pair<int, ItemRecord>> items;
    for (int i = 0; i < count; ++i)
        items.emplace_back(i - 1, Item(kBranch, QStringLiteral("n")));
    return FromElsewhere(items);
}

struct CommandsTest : ::testing::Test {
    TreeDocument doc;
    test::FakeUserInterface ui;
    test::FakeProgramFolder program;
    QTemporaryDir out;
    std::unique_ptr<EditHistory> history = std::make_unique<EditHistory>(doc);

    CommandsTest() { Dialogs(true); }
    // The user changes what each dialog shows, then confirms or cancels.
    void Dialogs(bool ok)
    {
        ui.OnEditItem = [ok](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = QStringLiteral("Edited");
            return ok;
        };
        ui.OnEditSettings = [ok](TreeSettings& s) {
            s.TreeX = 77;
            return ok;
        };
    }
    bool withoutHistory = false;
    EditHistory* H() { return withoutHistory ? nullptr : history.get(); }
    // The old history goes first, so a new tree is no step of it.
    void FreshHistory(bool newTree = false)
    {
        history.reset();
        if (newTree)
            doc.NewTree();
        history = std::make_unique<EditHistory>(doc);
    }

    // Branches A (with leaves a1, a2, a3) and B (with b1), a leaf L, with a fresh
    // history, exported so TreeChanged is false.
    void BuildTree()
    {
        FreshHistory(true);
        TreeNode* a = test::AddItem(doc, doc.Root(), QStringLiteral("A"));
        for (const char* name : {"a1", "a2", "a3"})
            test::AddItem(doc, a, QString::fromUtf8(name), [](ItemRecord& r) { r.ItemType = kLeaf; });
        test::AddItem(doc, test::AddItem(doc, doc.Root(), QStringLiteral("B")), QStringLiteral("b1"));
        test::AddItem(doc, doc.Root(), QStringLiteral("L"), [](ItemRecord& r) { r.ItemType = kLeaf; });
        ExportTree(doc, out.path(), false, ui);
        doc.SetTreeChanged(false);
    }

    TreeNode* Find(const char* label) const
    {
        for (int p = 1; p <= doc.NodeCount(); ++p)
            if (doc.Node(p)->Text() == QString::fromUtf8(label))
                return doc.Node(p);
        return nullptr;
    }
    QByteArray Items(const char* label) const { return EncodeItems(doc, Find(label)); }
    void Delete(std::initializer_list<const char*> labels)
    {
        for (const char* label : labels) {
            doc.Select(Find(label));
            DeleteItem(doc, ui, H());
        }
    }
};

TEST_F(CommandsTest, RefusalsAndCancelledDialogsLeaveTreeAndHistoryAlone)
{
    BuildTree();
    Dialogs(false);
    const QByteArray items = Items("A"); // four items
    const Command Copy = [](TreeDocument& d, UserInterface& u, EditHistory*) { CopyItem(d, u); };
    const auto rename = [](const QString& label) {
        return [label](TreeDocument& d, UserInterface& u, EditHistory* h) {
            ApplyLabelEdit(d, u, d.SelectedNode(), label, h);
        };
    };
    const struct {
        const char* name;
        const char* selected; // nullptr: none
        std::function<void(TreeDocument&, UserInterface&, EditHistory*)> command;
        QString message; // empty: none
        QByteArray clipboard = {};
    } cases[] = {
        {"new, nothing selected", nullptr, NewItem, kSelectParentMessage},
        {"new under a leaf", "L", NewItem, kLeafParentMessage},
        {"delete, nothing selected", nullptr, DeleteItem, kSelectToDeleteMessage},
        {"delete the root", "Your Tree", DeleteItem, kDeleteRootMessage},
        {"delete a branch with items", "B", DeleteItem, kBranchNotEmptyMessage},
        {"properties of the root", "Your Tree", EditItemProperties, kNoPropertiesMessage},
        {"copy, nothing selected", nullptr, Copy, kSelectToCopyMessage},
        {"copy the root", "Your Tree", Copy, kCopyRootMessage},
        {"cut, nothing selected", nullptr, CutItem, kSelectToCutMessage},
        {"cut the root", "Your Tree", CutItem, kCopyRootMessage},
        {"paste, nothing selected", nullptr, PasteItem, kSelectParentMessage, items},
        {"paste under a leaf", "L", PasteItem, kLeafParentMessage, items},
        {"paste an empty clipboard", "B", PasteItem, kNothingToPasteMessage},
        {"paste items cut short", "B", PasteItem, kNothingToPasteMessage, items.chopped(3)},
        {"paste what is not ours", "B", PasteItem, kNothingToPasteMessage, QByteArray("plain text")},
        {"paste a label with a line separator", "B", PasteItem, kNothingToPasteMessage,
         ForeignItem(QStringLiteral("a\u2028b"))},
        // Trees no loaded file gives.
        {"paste a leaf with items under it", "B", PasteItem, kNothingToPasteMessage,
         FromElsewhere({{-1, Item(kLeaf, QStringLiteral("x"))}, {0, Item(kLeaf, QStringLiteral("y"))}})},
        {"paste an item neither branch nor leaf", "B", PasteItem, kNothingToPasteMessage,
         FromElsewhere({{-1, Item(QStringLiteral("NODE"), QStringLiteral("x"))}})},
        {"paste a label of blanks", "B", PasteItem, kNothingToPasteMessage,
         FromElsewhere({{-1, Item(kBranch, QStringLiteral("   "))}})},
        // A chain as deep as the tree may be long has a custom.js of gigabytes:
        // refused before anything is built, like a load of such a file.
        {"paste a tree too deep to load back", "B", PasteItem, TooLargeToPasteMessage(), Chain(20000)},
        {"drop a tree too deep to load back", "B",
         [](TreeDocument& d, UserInterface& u, EditHistory* h) {
             EXPECT_FALSE(DropItems(d, h, Chain(20000), d.Root(), -1, &u));
         },
         TooLargeToPasteMessage()},
        // Labels that would not load back as they were.
        {"rename to blank", "A", rename(QStringLiteral("  ")), kFriendlyNameRequired},
        {"rename with the marker separator", "A", rename(QStringLiteral("a[+]b")), kMarkerInLabel},
        {"rename with a line feed", "A", rename(QStringLiteral("a\nb")), kLineBreakInLabel},
        {"rename with a line separator", "A", rename(QStringLiteral("a\u2028b")), kLineBreakInLabel},
        {"new, dialog cancelled", "B", NewItem, {}},
        {"item properties cancelled", "a1", EditItemProperties, {}},
        {"tree properties cancelled", "a1", EditTreeProperties, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.Messages.clear();
        ui.ClipboardItems = c.clipboard;
        doc.Select(c.selected ? Find(c.selected) : nullptr);
        const State before = StateOf(doc);
        c.command(doc, ui, H());
        EXPECT_EQ(ui.MessageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_TRUE(StateOf(doc) == before);
        EXPECT_FALSE(history->CanUndo());
    }

    // Past the item limit: a paste counts every item it brings, New Item its one.
    while (doc.UpperBound() + 3 < kMaxRecords)
        doc.AddItemRecord();
    for (Command command : {PasteItem, NewItem}) {
        ui.Messages.clear();
        ui.ClipboardItems = items;
        doc.Select(Find("B"));
        command(doc, ui, H());
        EXPECT_EQ(ui.MessageTexts(), QStringList{kTooManyItemsMessage});
        while (doc.AddItemRecord()) {
        }
    }
    EXPECT_EQ(std::pair(doc.NodeCount(), doc.UpperBound()), std::pair(8, 32767));
}

TEST_F(CommandsTest, TheExportQuestionGuardsUnexportedChanges)
{
    LoadTreeCommand(doc, ui); // no changes: no question
    EXPECT_TRUE(ui.Questions.isEmpty());
    // No starting folder: the dialog opens on the folder last used, never the program's.
    EXPECT_EQ(ui.FileDialog, (QStringList{QStringLiteral("Load Custom JavaScript Tree.."),
                                          QStringLiteral("Custom Tree File (*.js)|*.js"), QString()}));

    // The answer, the chooser's outcome after Yes, whether the tree is kept.
    const std::tuple<const char*, Answer, std::optional<QString>, bool> cases[] = {
        {"cancel", Answer::Cancel, std::nullopt, true},
        {"no", Answer::No, std::nullopt, false},
        {"yes, chooser cancelled", Answer::Yes, std::nullopt, true},
        {"yes, exported", Answer::Yes, out.path(), false},
    };
    for (const auto& [name, answer, folder, kept] : cases) {
        SCOPED_TRACE(name);
        doc.NewTree();
        test::AddItem(doc, doc.Root(), QStringLiteral("Item"));
        doc.SetTreeChanged(true);
        ui.Questions.clear();
        ui.Answers = {answer};
        ui.Folders = {folder};
        NewTreeCommand(doc, ui);
        EXPECT_EQ(ui.Questions, QStringList{kExportChangesQuestion});
        EXPECT_EQ(std::pair(doc.NodeCount(), doc.TreeChanged()), std::pair(kept ? 2 : 1, kept));
    }
    EXPECT_TRUE(ui.MessageTexts().isEmpty());

    // Yes on a tree without items: the no-tree message, and the changes stay.
    ui.Answers = {Answer::Yes};
    doc.SetTreeChanged(true);
    EXPECT_TRUE(AskToExportChanges(doc, ui));
    EXPECT_EQ(ui.MessageTexts(), QStringList{kNoTreeToExportMessage});
}

TEST_F(CommandsTest, EveryCommandUndoesToTheStateBeforeAndRedoesToTheStateAfter)
{
    using T = CommandsTest;
    // The selected item, the command, the step it leaves for undo.
    const std::tuple<const char*, const char*, std::function<void(T&)>, QString> rows[] = {
        {"new item", "B", [](T& t) { NewItem(t.doc, t.ui, t.H()); }, kNewItemStep},
        {"delete an item with a Tag in the middle", "a2", [](T& t) { DeleteItem(t.doc, t.ui, t.H()); },
         kDeleteItemStep},
        {"item properties", "a1", [](T& t) { EditItemProperties(t.doc, t.ui, t.H()); }, kItemPropertiesStep},
        {"move a branch down", "A", [](T& t) { MoveItem(t.doc, false, t.H()); }, kMoveDownStep},
        {"move a leaf up", "a3", [](T& t) { MoveItem(t.doc, true, t.H()); }, kMoveUpStep},
        {"rename", "b1", [](T& t) { ApplyLabelEdit(t.doc, t.ui, t.Find("b1"), QStringLiteral(" spaced "), t.H()); },
         kRenameStep},
        {"tree properties", "A", [](T& t) { EditTreeProperties(t.doc, t.ui, t.H()); }, kTreePropertiesStep},
        {"new tree", "A", [](T& t) { NewTreeCommand(t.doc, t.ui, t.H()); }, kNewTreeStep},
        {"load after a change", "A", [](T& t) { LoadTreeCommand(t.doc, t.ui); }, kLoadTreeStep},
        {"cut a branch", "A", [](T& t) { CutItem(t.doc, t.ui, t.H()); }, kCutStep},
        {"paste a branch into a branch", "B", [](T& t) { PasteItem(t.doc, t.ui, t.H()); }, kPasteStep},
        {"drop a branch into another", "A", [](T& t) { DropItems(t.doc, t.H(), t.Items("A"), t.Find("B"), -1); },
         kMoveItemStep},
        {"drop a leaf before its parent", "a3", [](T& t) { DropItems(t.doc, t.H(), t.Items("a3"), t.doc.Root(), 0); },
         kMoveItemStep},
        {"drop from another editor", "L",
         [](T& t) { DropItems(t.doc, t.H(), ForeignItem(QStringLiteral("Foreign")), t.Find("A"), 1); }, kDropStep},
    };
    for (const auto& [name, selected, command, step] : rows) {
        SCOPED_TRACE(name);
        // A loaded tree is the clean state, so the one before it has changes.
        const bool loads = step == kLoadTreeStep;
        const auto prepare = [&, selected = selected] {
            BuildTree();
            if (loads)
                ApplyLabelEdit(doc, ui, Find("L"), QStringLiteral("Changed"), H());
            ui.Answers = {Answer::No};
            ui.Files = {out.filePath(QStringLiteral("custom.js"))};
            ui.ClipboardItems = Items("A");
            doc.Select(Find(selected));
        };
        prepare();
        const State before = StateOf(doc);
        command(*this);
        const State after = StateOf(doc);
        ASSERT_FALSE(before == after);
        // A new tree or a load is unchanged; the tree before either comes back as it was.
        EXPECT_EQ(after.TreeChanged, !loads && step != kNewTreeStep);
        EXPECT_EQ(history->UndoName(), step);
        EXPECT_EQ(Unsound(doc), QString());
        for (int round = 0; round < 2; ++round) {
            history->Undo();
            EXPECT_TRUE(StateOf(doc) == before);
            EXPECT_EQ(history->RedoName(), step);
            history->Redo();
            EXPECT_TRUE(StateOf(doc) == after);
            EXPECT_EQ(Unsound(doc), QString());
        }

        // Without a history the command makes the very same change.
        withoutHistory = true;
        prepare();
        command(*this);
        EXPECT_TRUE(StateOf(doc) == after);
        withoutHistory = false;
    }
}

TEST_F(CommandsTest, TreeChangedFollowsTheStateLastExportedAndOldStepsGoFirst)
{
    BuildTree();
    Delete({"L", "b1"});
    ExportTree(doc, out.path(), false, ui); // exported after two steps
    EXPECT_FALSE(doc.TreeChanged());
    history->Undo();
    EXPECT_TRUE(doc.TreeChanged());
    history->Redo();
    EXPECT_FALSE(doc.TreeChanged());

    // A new step after undoing past the exported state makes it unreachable.
    history->Undo();
    Delete({"a1"});
    history->Undo();
    history->Redo();
    EXPECT_TRUE(doc.TreeChanged());

    // Past the memory limit the oldest steps go; the newest always stays.
    Delete({"a2", "a3"});
    history->SetMemoryLimit(history->MemoryUse() - 1);
    EXPECT_EQ(history->Count(), 3u);
    history->SetMemoryLimit(0);
    EXPECT_EQ(history->Count(), 1u);
    history->Undo();
    EXPECT_EQ(std::pair(history->CanUndo(), Find("a3")->Parent()), std::pair(false, Find("A")));
}

// A step's cost counts the tree settings it keeps: a header value of some
// megabytes loaded again and again must reach the memory limit.
TEST_F(CommandsTest, TheHistoryBoundCountsTheTreeSettingsItsStepsKeep)
{
    const QString big(1 << 20, QLatin1Char('x')); // 2 MB in memory
    const std::size_t bigBytes = std::size_t{2} << 20;
    BuildTree();
    doc.Settings().TreeTarget = big;
    ASSERT_TRUE(ExportTree(doc, out.path(), false, ui).Complete());
    for (int load = 0; load < 3; ++load)
        LoadTreeScript(doc, out.filePath(QStringLiteral("custom.js")), ui);
    EXPECT_GE(history->MemoryUse(), 3 * bigBytes) << "each load keeps the tree it replaced";

    FreshHistory();
    ui.OnEditSettings = [](TreeSettings& s) {
        s.TreeBackground = QString(1 << 20, QLatin1Char('y'));
        return true;
    };
    EditTreeProperties(doc, ui, H()); // the settings before and after
    EXPECT_GE(history->MemoryUse(), 2 * bigBytes);
}

TEST_F(CommandsTest, AnEmptyTreeReplacedLeavesNoStepAndNoStepsOfItsOwn)
{
    NewTreeCommand(doc, ui, H()); // as at start-up
    EXPECT_FALSE(history->CanUndo());
    doc.Select(test::AddItem(doc, doc.Root(), QStringLiteral("A")));
    DeleteItem(doc, ui, H());
    history->Undo();
    NewTreeCommand(doc, ui, H()); // the tree with A stays undoable
    EXPECT_EQ(std::pair(history->UndoName(), history->CanRedo()), std::pair(QString(kNewTreeStep), false));
    doc.Select(doc.Root());
    NewItem(doc, ui, H());
    history->Undo(); // back to the empty tree, with the New Item to redo
    ui.Answers = {Answer::No};
    NewTreeCommand(doc, ui, H());
    EXPECT_EQ(std::tuple(history->CanUndo(), history->CanRedo(), doc.TreeChanged()), std::tuple(false, false, false))
        << "a redo would act on a tree that is gone";
}

// A load that does not happen (a file that is refused, or the version question
// answered No) leaves the tree, its changes and its history as they were.
TEST_F(CommandsTest, ALoadThatDoesNotHappenChangesNothing)
{
    BuildTree();
    const QString exported = out.filePath(QStringLiteral("custom.js"));
    const QString other = out.filePath(QStringLiteral("other.js")), empty = out.filePath(QStringLiteral("empty.js"));
    test::WriteFile(other, test::ReadFile(exported).replace("//# Version = ", "//# Version = 0."));
    test::WriteFile(empty, "");
    const QString fifo = out.filePath(QStringLiteral("fifo.js")); // would block the editor for ever
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    Delete({"L"});
    const State before = StateOf(doc);
    const QString undoName = history->UndoName();
    // The file, the answers to the export and version questions, the messages shown.
    const std::tuple<QString, std::deque<Answer>, int> refusals[] = {
        {other, {Answer::No, Answer::No}, 0},
        {empty, {Answer::No}, 1},
        {out.filePath(QStringLiteral("missing.js")), {Answer::No}, 1},
        {fifo, {Answer::No}, 1},
    };
    for (const auto& [file, answers, messages] : refusals) {
        SCOPED_TRACE(file.toStdString());
        ui.Messages.clear();
        ui.Answers = answers;
        ui.Files = {file};
        LoadTreeCommand(doc, ui);
        EXPECT_TRUE(ui.Answers.empty());
        EXPECT_EQ(ui.Messages.size(), std::size_t(messages));
        EXPECT_TRUE(StateOf(doc) == before);
        EXPECT_EQ(history->UndoName(), undoName);
        EXPECT_FALSE(history->CanRedo());
    }
    ui.Answers = {Answer::No, Answer::Yes};
    ui.Files = {other};
    LoadTreeCommand(doc, ui);
    EXPECT_TRUE(Find("L") && !doc.TreeChanged());
}

TEST_F(CommandsTest, PastesCarryEveryValueMovesTakeTheSubItemsAlongAndDropsRefuseWhatCannotBe)
{
    BuildTree();
    // Pasted into another editor, every value arrives.
    doc.Select(Find("A"));
    CopyItem(doc, ui);
    TreeDocument other;
    other.Select(other.Root());
    PasteItem(other, ui);
    ASSERT_EQ(other.NodeCount(), 5);
    EXPECT_EQ(other.Record(4), doc.RecordOf(Find("a2")));
    EXPECT_EQ(Unsound(other), QString());
    // Values the items repeat are kept once, not once per item.
    EXPECT_EQ(other.Record(4).ItemType.constData(), kLeaf.constData());
    EXPECT_EQ(other.Record(3).FontColor.constData(), other.Record(5).FontColor.constData());

    for (const auto& [label, up] : {std::pair{"A", true}, {"L", false}, {"Your Tree", true}}) {
        doc.Select(Find(label));
        MoveItem(doc, up); // nothing to do at either end, or on the root
    }
    EXPECT_FALSE(doc.TreeChanged());
    doc.Select(Find("B"));
    MoveItem(doc, true);
    EXPECT_EQ(ItemsAsText(doc.Root()), QStringLiteral("Your Tree\n\tB\n\t\tb1\n\tA\n\t\ta1\n\t\ta2\n\t\ta3\n\tL\n"));
    EXPECT_EQ(doc.SelectedNode(), Find("B"));

    // Dragged, target, row, allowed: never into a leaf, the own subtree or the item itself, never the root.
    const std::tuple<const char*, const char*, int, bool> drops[] = {
        {"a1", "L", -1, false},    {"A", "a1", -1, false}, {"A", "A", 0, false},
        {nullptr, "B", -1, false}, {"L", "B", 5, false},   {"A", "Your Tree", 3, true}};
    for (const auto& [dragged, target, row, allowed] : drops)
        EXPECT_EQ(CanDropItems(doc, EncodeItems(doc, dragged ? Find(dragged) : doc.Root()), Find(target), row), allowed)
            << target << ' ' << row;
}

// Items from another program name any file as a picture; a paste or drop
// keeps only those in a treePics folder, so the export publishes nothing else.
// Items of this editor's own keep what they have.
TEST_F(CommandsTest, PastedItemsAreReadAsStrictlyAsALoadedFile)
{
    const QString site = out.filePath(QStringLiteral("site/treePics/"));
    const QString secret = out.filePath(QStringLiteral("private/secret.gif"));
    for (const QString& picture : {site + QStringLiteral("over.gif"), secret})
        ASSERT_TRUE(test::WriteFile(picture, "GIF89a secret"));
    ItemRecord r = Item(kBranch, QStringLiteral("  Team  "));
    r.BNonExpanded = QStringLiteral("/etc/shadow");
    r.BExpanded = secret;
    r.MouseOutPic = site + QStringLiteral("over.gif");
    r.MouseOverPic = site + QStringLiteral("../../private/secret.gif");
    const QByteArray elsewhere = FromElsewhere({{-1, r}, {0, Item(kLeaf, QStringLiteral("Member "))}});
    for (const bool drop : {false, true}) {
        SCOPED_TRACE(drop ? "drop" : "paste");
        FreshHistory(true);
        ui.Messages.clear();
        ui.ClipboardItems = elsewhere;
        doc.Select(doc.Root());
        if (drop)
            EXPECT_TRUE(DropItems(doc, H(), elsewhere, doc.Root(), -1, &ui));
        else
            PasteItem(doc, ui, H());
        ASSERT_EQ(doc.NodeCount(), 3);
        EXPECT_EQ(ItemsAsText(doc.Root()),
                  QStringLiteral("Your Tree\n\t  Team  \n\t\tMember \n")); // labels as typed, as a load keeps them
        const ItemRecord& pasted = doc.Record(2);
        EXPECT_EQ(QStringList({pasted.BNonExpanded, pasted.BExpanded, pasted.MouseOutPic, pasted.MouseOverPic}),
                  QStringList({{}, {}, site + QStringLiteral("over.gif"), {}}));
        EXPECT_EQ(ui.MessageTexts(), QStringList{PicturesLeftOutMessage(3)});
        QDir().mkpath(out.filePath(QStringLiteral("published")));
        ExportTree(doc, out.filePath(QStringLiteral("published")), false, ui);
        EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("published/treePics/secret.gif"))));
        EXPECT_TRUE(QFileInfo::exists(out.filePath(QStringLiteral("published/treePics/over.gif"))));
    }

    // Copied here, a picture chosen anywhere stays; copied in another
    // editor, or changed by any program on the way, it goes.
    doc.RecordOf(doc.Node(2)).BExpanded = secret;
    doc.Select(doc.Node(2));
    CopyItem(doc, ui);
    const QByteArray own = ui.ClipboardItems;
    for (const bool changed : {false, true}) {
        ui.Messages.clear();
        ui.ClipboardItems = changed ? own + QByteArray(1, '\0') : own;
        doc.Select(doc.Root());
        PasteItem(doc, ui, H());
        EXPECT_EQ(doc.RecordOf(doc.SelectedNode()).BExpanded, changed ? QString() : secret);
        EXPECT_EQ(ui.MessageTexts().size(), changed ? 1 : 0);
    }
}

// The count the paste checks is the size the export writes, wherever the items go.
TEST_F(CommandsTest, TheSizeCheckedIsTheSizeExported)
{
    BuildTree();
    doc.RecordOf(Find("a2")).ItemText = QStringLiteral("Caf\u00e9 \"quoted\" \u2028 ");
    doc.Settings().TreeTarget = QStringLiteral("main");
    const auto exported = [&] {
        ExportTree(doc, out.path(), false, ui);
        return QFileInfo(out.filePath(QStringLiteral("custom.js"))).size();
    };
    EXPECT_EQ(ScriptBytesWith(doc, {}, nullptr, 0, kMaxScriptFileBytes), exported());
    for (const auto& [copied, target, row] : {std::tuple{"A", "B", 0}, {"A", "Your Tree", 1}, {"B", "A", 3}}) {
        SCOPED_TRACE(std::string(copied) + " under " + target);
        TreeDocument other; // the items come from another editor
        doc.Select(Find(copied));
        CopyItem(doc, ui);
        other.Select(other.Root());
        PasteItem(other, ui);
        const qint64 expected =
            ScriptBytesWith(doc, other.CaptureSubtree(other.Node(2)), Find(target), row, kMaxScriptFileBytes);
        ASSERT_TRUE(DropItems(doc, H(), EncodeItems(other, other.Node(2)), Find(target), row));
        EXPECT_EQ(expected, exported());
    }
}

// Random commands, undos and redos on a generated tree: the document stays
// sound after each, undoing everything gives the first tree back, redoing
// everything the last, and the result survives export and load.
TEST_F(CommandsTest, RandomEditingKeepsTheDocumentSoundAndRoundTrips)
{
    std::mt19937 rng(20261206);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 150; ++i)
        test::AddItem(doc, doc.Node(pick(1, doc.NodeCount())), QStringLiteral("Item %1").arg(i),
                      [&](ItemRecord& r) { r.ItemType = pick(0, 3) ? kBranch : kLeaf; });
    doc.SetRootStatement(BuildRootStatement(doc.Settings())); // as a loaded tree has
    doc.SetTreeChanged(false);
    FreshHistory();
    const State first = StateOf(doc);
    int counter = 0;
    ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Edit %1").arg(++counter);
        r.ItemType = pick(0, 2) ? kBranch : kLeaf;
        r.LinkHref = pick(0, 1) ? QString() : QStringLiteral("page%1.html").arg(counter);
        return pick(0, 5) > 0;
    };
    ui.OnEditSettings = [&](TreeSettings& s) {
        s.TreeX = static_cast<std::int16_t>(pick(0, 500));
        return true;
    };
    const std::function<void()> commands[] = {
        [&] { NewItem(doc, ui, H()); },
        [&] { DeleteItem(doc, ui, H()); },
        [&] { EditItemProperties(doc, ui, H()); },
        [&] { MoveItem(doc, pick(0, 1) == 1, H()); },
        [&] { ApplyLabelEdit(doc, ui, doc.SelectedNode(), QStringLiteral("Label %1").arg(++counter), H()); },
        [&] { EditTreeProperties(doc, ui, H()); },
        [&] { CopyItem(doc, ui); },
        [&] { pick(0, 9) ? PasteItem(doc, ui, H()) : CutItem(doc, ui, H()); },
        [&] {
            TreeNode* target = doc.Node(pick(1, doc.NodeCount()));
            DropItems(doc, H(), EncodeItems(doc, doc.SelectedNode()), target, pick(-1, target->ChildCount()));
        },
    };
    for (int i = 0; i < 10000; ++i) {
        doc.Select(doc.Node(pick(1, doc.NodeCount())));
        const int k = pick(0, 13);
        k < 9 ? commands[k]() : k < 12 ? history->Undo() : history->Redo();
        // Keep the tree from growing without bound through paste.
        if (doc.NodeCount() > 400)
            ui.ClipboardItems.clear();
        ASSERT_EQ(Unsound(doc), QString()) << "after step " << i;
    }
    while (history->CanRedo())
        history->Redo();
    const State last = StateOf(doc);
    while (history->CanUndo())
        history->Undo();
    EXPECT_TRUE(StateOf(doc) == first);
    while (history->CanRedo())
        history->Redo();
    EXPECT_TRUE(StateOf(doc) == last);

    ASSERT_TRUE(ExportTree(doc, out.path(), false, ui).Complete());
    const QByteArray exported = test::ReadFile(out.filePath(QStringLiteral("custom.js")));
    TreeDocument loaded;
    LoadTreeScript(loaded, out.filePath(QStringLiteral("custom.js")), ui);
    EXPECT_EQ(Unsound(loaded), QString());
    EXPECT_TRUE(loaded.NodeCount() == doc.NodeCount() && loaded.Settings() == doc.Settings());
    EXPECT_EQ(loaded.RootStatement(), BuildRootStatement(doc.Settings())); // the layout the browser gets
    QTemporaryDir again;
    ASSERT_TRUE(ExportTree(loaded, again.path(), false, ui).Complete());
    EXPECT_EQ(test::ReadFile(again.filePath(QStringLiteral("custom.js"))), exported);
}

} // namespace
} // namespace vi

namespace vi {
namespace {

// Export, load and save as the editor runs them, with the document's place.
struct DocumentPlaceTest : CommandsTest {
    DocumentPlace place{doc};
    QStringList told; // every file the place reported
    QTemporaryDir other;

    DocumentPlaceTest()
    {
        place.Changed = [this](const QString& file) { told << file; };
        BuildTree();
    }
    QString Script(const QTemporaryDir& dir) const { return dir.filePath(QStringLiteral("custom.js")); }
    void Change() { doc.SetTreeChanged(true); }
};

TEST_F(DocumentPlaceTest, SaveWritesToTheFolderLoadedFromOrLastExportedToAndAsksOnlyWithoutOne)
{
    // A new tree has no folder: saving asks.
    ui.Folders = {out.path()};
    SaveTreeCommand(doc, ui, place);
    ASSERT_TRUE(place.LastExport());
    EXPECT_EQ(place.LastExport()->Items, 7);
    EXPECT_EQ(told.value(told.size() - 1), Script(out));

    // The folder stays after a load from there.
    LoadTreeCommand(doc, ui, &place);
    EXPECT_EQ(place.Folder(), out.path()) << "a cancelled load keeps the folder";
    ui.Files = {Script(out)};
    LoadTreeCommand(doc, ui, &place);
    EXPECT_EQ(place.Folder(), out.path());
    EXPECT_FALSE(place.LastExport()) << "nothing exported since the load";

    // Yes to the export question writes there too, before the next load.
    Change();
    ui.Answers = {Answer::Yes};
    ui.Files = {Script(out)};
    LoadTreeCommand(doc, ui, &place);
    EXPECT_EQ(ui.Questions, QStringList{kExportChangesQuestion});
    EXPECT_TRUE(ui.Files.empty()) << "exported, then loaded";

    // Export To always asks, and the folder follows it.
    ui.Folders = {other.path()};
    ExportTreeCommand(doc, ui, &place);
    // The chooser opens on the document's folder, with none chosen for a tree without one.
    EXPECT_EQ(ui.ChooserOpenedOn, (QStringList{QString(), out.path()}));

    // Undo of the load that gave the folder, or a new tree, leaves none.
    ui.Files = {Script(out)};
    LoadTreeCommand(doc, ui, &place);
    EXPECT_EQ(place.Folder(), out.path());
    history->Undo();
    EXPECT_EQ(place.Folder(), QString()) << "the tree shown is not the one in that folder";
    history->Redo();
    ui.Files = {Script(out)};
    LoadTreeCommand(doc, ui, &place);
    NewTreeCommand(doc, ui, H(), &place);
    EXPECT_EQ(place.Folder(), QString());
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(DocumentPlaceTest, OnlyAWholeCustomJsGivesTheDocumentItsFolder)
{
    const QString renamed = other.filePath(QStringLiteral("menu.js"));
    ASSERT_TRUE(QFile::copy(Script(out), renamed));
    QFile hand(other.filePath(QStringLiteral("sub/custom.js")));
    ASSERT_TRUE(QDir(other.path()).mkpath(QStringLiteral("sub")));
    QFile original(Script(out));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly) && hand.open(QIODevice::WriteOnly));
    // An item whose parent comes after it is left out at load.
    QString text = QString::fromUtf8(original.readAll());
    text.replace(QRegularExpression(QStringLiteral("\\[\\+\\]a1\\[\\+\\]\\d+")), QStringLiteral("[+]a1[+]99"));
    hand.write(text.toUtf8());
    hand.close();

    // [file, whether it is now the document's custom.js]
    for (const auto& [file, whole] : {std::pair{Script(out), true}, {renamed, false}, {hand.fileName(), false}}) {
        SCOPED_TRACE(file.toStdString());
        ui.Files = {file};
        LoadTreeCommand(doc, ui, &place);
        EXPECT_EQ(told.value(told.size() - 1), file) << "every loaded file is reported for the recent files";
        EXPECT_EQ(place.Folder(), whole ? out.path() : QString());
    }
}

TEST_F(DocumentPlaceTest, ALoadNamesTheMissingPicturesOnce)
{
    for (const char* name : {"here.gif", "gone.gif"})
        ASSERT_TRUE(test::WriteFile(other.filePath(QString::fromUtf8(name)), test::Gif(name)));
    doc.Record(2).MouseOutPic = other.filePath(QStringLiteral("here.gif"));
    doc.Record(3).MouseOverPic = other.filePath(QStringLiteral("gone.gif"));
    doc.Record(4).MouseOutPic = other.filePath(QStringLiteral("gone.gif"));
    doc.Record(5).UseGlobalBExpanded = true;
    doc.Record(5).BExpanded = other.filePath(QStringLiteral("unused.gif")); // the export takes the tree's
    ExportTree(doc, out.path(), false, ui);
    ASSERT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    const QString pics = out.filePath(QStringLiteral("treePics/"));
    ASSERT_TRUE(QFile::remove(pics + QStringLiteral("gone.gif")));

    ui.Files = {Script(out)};
    LoadTreeCommand(doc, ui, &place);
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{test::S("These pictures of the tree could not be found:\r") + pics + test::S("gone.gif")});

    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QString::number(i);
    EXPECT_EQ(MissingPicturesMessage(many).split(QLatin1Char('\r')).mid(10).join(QLatin1Char('|')).toStdString(),
              "9|... and 2 more.");
}

} // namespace
} // namespace vi
