#include "document/TreeDocument.h"
#include "tests/support/TestTree.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace vi;
using vi::test::AddItem;

namespace {

std::string Name(const TreeNode* n) { return n ? n->Text().toStdString() : "none"; }

// Notes every notification with the parent's children as they stand at that
// moment, so a case sees both the state before and the state after a change.
class Recorder final : public DocumentObserver {
public:
    std::string Log;

    void BeforeReset() override { Note("BeforeReset"); }
    void AfterReset() override { Note("AfterReset"); }
    void BeforeInsert(TreeNode* p, int row) override { Note("BeforeInsert", p, row); }
    void AfterInsert(TreeNode* p, int row) override { Note("AfterInsert", p, row); }
    void BeforeRemove(TreeNode* p, int row) override { Note("BeforeRemove", p, row); }
    void AfterRemove(TreeNode* p, int row) override { Note("AfterRemove", p, row); }
    void BeforeMove(TreeNode* p, int from, TreeNode* q, int to) override { Note("BeforeMove", p, from, q, to); }
    void AfterMove(TreeNode* p, int from, TreeNode* q, int to) override { Note("AfterMove", p, from, q, to); }
    void TextChanged(TreeNode* n) override { Note("TextChanged " + Name(n)); }
    void SelectionChanged(TreeNode* n) override { Note("SelectionChanged " + Name(n)); }
    void ExpansionChanged(TreeNode* n) override
    {
        Note("ExpansionChanged " + Name(n) + (n->Expanded() ? " open" : ""));
    }

private:
    // "Parent 0->2 [B C A]" within one parent, "0->B:0" into another; '|' between notifications.
    void Note(std::string line, const TreeNode* p = nullptr, int row = 0, const TreeNode* q = nullptr, int to = 0)
    {
        if (p) {
            line += ' ' + Name(p) + ' ' + std::to_string(row);
            if (q)
                line += "->" + (p == q ? "" : Name(q) + ':') + std::to_string(to);
            line += " [";
            for (const TreeNode* child : p->Children())
                line += Name(child) + (child == p->LastChild() ? "" : " ");
            line += ']';
        }
        Log += (Log.empty() ? "" : "|") + line;
    }
};

TreeNode* Item(TreeDocument& d, int row) { return d.Root()->Child(row); }

// Inserts, removes, moves and resets with their rows and the children before
// and after; a change that changes nothing tells no one. The view's own test
// drives the rest (selection, expansion, a new tree) through Qt's model tester.
TEST(DocumentObserver, NotifiesBeforeAndAfterEachChange)
{
    const struct {
        const char* name;
        std::function<void(TreeDocument&)> change; // on a tree of A, B, C under the root
        const char* log;
    } cases[] = {
        {"add", [](TreeDocument& d) { AddItem(d, d.Root(), QStringLiteral("D")); },
         "BeforeInsert Your Tree 3 [A B C]|AfterInsert Your Tree 3 [A B C D]"},
        {"remove",
         [](TreeDocument& d) {
             d.RemoveItemRecord(3);
             d.RemoveItemNode(3, 3);
         },
         "BeforeRemove Your Tree 1 [A B C]|AfterRemove Your Tree 1 [A C]"},
        {"move down", [](TreeDocument& d) { d.MoveNode(Item(d, 0), 2); },
         "BeforeMove Your Tree 0->2 [A B C]|AfterMove Your Tree 0->2 [B C A]"},
        {"move into another parent", [](TreeDocument& d) { d.MoveNode(Item(d, 0), Item(d, 1), 0); },
         "BeforeMove Your Tree 0->B:0 [A B C]|AfterMove Your Tree 0->B:0 [B C]"},
        {"moves to the own row, out of range, of the root, into itself",
         [](TreeDocument& d) {
             d.MoveNode(Item(d, 1), 1);
             d.MoveNode(Item(d, 1), 3);
             d.MoveNode(Item(d, 1), -1);
             d.MoveNode(d.Root(), 0);
             d.MoveNode(nullptr, 0);
             d.MoveNode(Item(d, 1), Item(d, 1), 0);
             d.MoveNode(Item(d, 1), Item(d, 0), 1); // past the end of A's children
         },
         ""},
        {"text set only when it differs",
         [](TreeDocument& d) {
             d.SetText(Item(d, 0), QStringLiteral("A"));
             d.SetText(Item(d, 0), QStringLiteral("A2"));
         },
         "TextChanged A2"},
        {"nested bulk change",
         [](TreeDocument& d) {
             d.BeginBulkChange();
             d.BeginBulkChange();
             AddItem(d, d.Root(), QStringLiteral("D"));
             d.EndBulkChange();
             d.RemoveItemRecord(2);
             d.RemoveItemNode(2, 2);
             d.EndBulkChange();
             d.EndBulkChange(); // unbalanced: ignored
         },
         "BeforeReset|AfterReset"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TreeDocument d;
        for (const char* name : {"A", "B", "C"})
            AddItem(d, d.Root(), QString::fromLatin1(name));
        Recorder recorder;
        d.AddObserver(&recorder);
        c.change(d);
        d.RemoveObserver(&recorder);
        EXPECT_EQ(recorder.Log, c.log);
        EXPECT_EQ(d.CheckInvariants().toStdString(), "");
    }
}

} // namespace
