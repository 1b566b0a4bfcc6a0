#include "document/TreeDocument.h"
#include "tests/support/TestTree.h"

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
    void ExpansionChanged(TreeNode* n) override { Note("ExpansionChanged " + Name(n)); }

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

// The view's own test drives selection, expansion and a new tree through Qt's model tester.
TEST(DocumentObserver, NotifiesBeforeAndAfterEachChangeAndOnlyOnChange)
{
    TreeDocument d;
    for (const char* name : {"A", "B", "C"})
        AddItem(d, d.Root(), QString::fromLatin1(name));
    TreeNode* a = d.Root()->Child(0);
    TreeNode* b = d.Root()->Child(1);
    Recorder recorder;
    d.AddObserver(&recorder);
    AddItem(d, d.Root(), QStringLiteral("D"));
    d.MoveNode(a, 3);
    d.MoveNode(b, 0); // a row of its own: nothing to do
    for (int row : {4, -1})
        d.MoveNode(b, row);
    d.MoveNode(d.Root(), 0);
    d.MoveNode(nullptr, 0);
    d.MoveNode(b, b, 0);
    d.MoveNode(b, a, 1); // past the end of A's children
    d.MoveNode(b, a, 0);
    TreeNode* c = d.Root()->Child(0);
    const int tag = c->Tag();
    d.RemoveItemRecord(tag);
    d.RemoveItemNode(c->Position(), tag);
    d.SetText(d.Root()->Child(0), QStringLiteral("D"));
    d.SetText(d.Root()->Child(0), QStringLiteral("D2"));
    d.BeginBulkChange();
    d.BeginBulkChange();
    AddItem(d, d.Root(), QStringLiteral("E"));
    d.EndBulkChange();
    d.MoveNode(d.Root()->Child(0), 1);
    d.EndBulkChange();
    d.EndBulkChange(); // unbalanced: ignored
    d.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.Log, "BeforeInsert Your Tree 3 [A B C]|AfterInsert Your Tree 3 [A B C D]"
                            "|BeforeMove Your Tree 0->3 [A B C D]|AfterMove Your Tree 0->3 [B C D A]"
                            "|BeforeMove Your Tree 0->A:0 [B C D A]|AfterMove Your Tree 0->A:0 [C D A]"
                            "|BeforeRemove Your Tree 0 [C D A]|AfterRemove Your Tree 0 [D A]"
                            "|TextChanged D2|BeforeReset|AfterReset");
    EXPECT_EQ(d.CheckInvariants().toStdString(), "");
}

} // namespace
