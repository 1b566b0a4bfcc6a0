#include "document/TreeDocument.h"
#include "tests/support/TestTree.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

using namespace vi;
using vi::test::AddItem;

namespace {

// Notes every notification with the parent's children as they stand at that
// moment, so a case sees both the state before and the state after a change.
class Recorder final : public DocumentObserver {
public:
    QStringList Log;

    void BeforeReset() override { Log << QStringLiteral("BeforeReset"); }
    void AfterReset() override { Log << QStringLiteral("AfterReset"); }
    void BeforeInsert(TreeNode* p, int row) override { Note("BeforeInsert", p, QString::number(row)); }
    void AfterInsert(TreeNode* p, int row) override { Note("AfterInsert", p, QString::number(row)); }
    void BeforeRemove(TreeNode* p, int row) override { Note("BeforeRemove", p, QString::number(row)); }
    void AfterRemove(TreeNode* p, int row) override { Note("AfterRemove", p, QString::number(row)); }
    void BeforeMove(TreeNode* p, int from, TreeNode* q, int to) override
    {
        Note("BeforeMove", p, Span(from, p, q, to));
    }
    void AfterMove(TreeNode* p, int from, TreeNode* q, int to) override { Note("AfterMove", p, Span(from, p, q, to)); }
    void TextChanged(TreeNode* n) override { Log << QStringLiteral("TextChanged ") + n->Text(); }
    void SelectionChanged(TreeNode* n) override
    {
        Log << QStringLiteral("SelectionChanged ") + (n ? n->Text() : QStringLiteral("none"));
    }
    void ExpansionChanged(TreeNode* n) override
    {
        Log << QStringLiteral("ExpansionChanged ") + n->Text() + (n->Expanded() ? QStringLiteral(" open") : QString());
    }

private:
    // "0->2" within one parent, "0->B:0" into another.
    static QString Span(int from, const TreeNode* p, const TreeNode* q, int to)
    {
        return QString::number(from) + QStringLiteral("->") + (p == q ? QString() : q->Text() + QLatin1Char(':'))
               + QString::number(to);
    }
    void Note(const char* what, const TreeNode* parent, const QString& where)
    {
        QStringList children;
        for (const TreeNode* child : parent->Children())
            children << child->Text();
        Log << QString::fromLatin1(what) + QLatin1Char(' ') + parent->Text() + QLatin1Char(' ') + where
                   + QStringLiteral(" [") + children.join(QLatin1Char(' ')) + QLatin1Char(']');
    }
};

// The root's children with their rows and collection positions: "A:0@2 B:1@3".
QString Rows(const TreeDocument& d)
{
    QStringList rows;
    for (const TreeNode* child : d.Root()->Children())
        rows << child->Text() + QLatin1Char(':') + QString::number(child->Row()) + QLatin1Char('@')
                    + QString::number(child->Position());
    return rows.join(QLatin1Char(' '));
}

struct Case {
    const char* name;
    std::function<void(TreeDocument&)> change; // on a tree of A, B, C under the root
    QStringList log;
    const char* rows; // the root's children afterwards
    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
};

class DocumentNotifies : public ::testing::TestWithParam<Case> {};

TEST_P(DocumentNotifies, BeforeAndAfterEachChange)
{
    const Case& c = GetParam();
    TreeDocument d;
    for (const char* name : {"A", "B", "C"})
        AddItem(d, d.Root(), QString::fromLatin1(name));
    Recorder recorder;
    d.AddObserver(&recorder);
    c.change(d);
    d.RemoveObserver(&recorder);
    EXPECT_EQ(recorder.Log.join(QLatin1Char('|')).toStdString(), c.log.join(QLatin1Char('|')).toStdString());
    EXPECT_EQ(Rows(d).toStdString(), c.rows);
    EXPECT_EQ(d.CheckInvariants().toStdString(), "");
}

TreeNode* Item(TreeDocument& d, int row) { return d.Root()->Child(row); }
QString S(const char* text) { return QString::fromLatin1(text); }

INSTANTIATE_TEST_SUITE_P(
    Changes, DocumentNotifies,
    ::testing::Values(
        Case{"AddNode",
             [](TreeDocument& d) { AddItem(d, d.Root(), S("D")); },
             {S("BeforeInsert Your Tree 3 [A B C]"), S("AfterInsert Your Tree 3 [A B C D]")},
             "A:0@2 B:1@3 C:2@4 D:3@5"},
        Case{"RemoveItemNode",
             [](TreeDocument& d) {
                 d.RemoveItemRecord(3);
                 d.RemoveItemNode(3, 3);
             },
             {S("BeforeRemove Your Tree 1 [A B C]"), S("AfterRemove Your Tree 1 [A C]")},
             "A:0@2 C:1@3"},
        // Moving keeps the collection positions: they follow the order of addition.
        Case{"MoveNodeDown",
             [](TreeDocument& d) { d.MoveNode(Item(d, 0), 2); },
             {S("BeforeMove Your Tree 0->2 [A B C]"), S("AfterMove Your Tree 0->2 [B C A]")},
             "B:0@3 C:1@4 A:2@2"},
        Case{"MoveNodeUp",
             [](TreeDocument& d) { d.MoveNode(Item(d, 2), 1); },
             {S("BeforeMove Your Tree 2->1 [A B C]"), S("AfterMove Your Tree 2->1 [A C B]")},
             "A:0@2 C:1@4 B:2@3"},
        // Under another parent the subtree is added anew: its positions follow the others.
        Case{"MoveNodeIntoAnotherParent",
             [](TreeDocument& d) { d.MoveNode(Item(d, 0), Item(d, 1), 0); },
             {S("BeforeMove Your Tree 0->B:0 [A B C]"), S("AfterMove Your Tree 0->B:0 [B C]")},
             "B:0@2 C:1@3"},
        Case{"MoveNodeToItsOwnRowOrOutOfRangeOrTheRoot",
             [](TreeDocument& d) {
                 d.MoveNode(Item(d, 1), 1);
                 d.MoveNode(Item(d, 1), 3);
                 d.MoveNode(Item(d, 1), -1);
                 d.MoveNode(d.Root(), 0);
                 d.MoveNode(nullptr, 0);
                 d.MoveNode(Item(d, 1), Item(d, 1), 0); // into itself
                 d.MoveNode(Item(d, 1), Item(d, 0), 1); // past the end of A's children
             },
             {},
             "A:0@2 B:1@3 C:2@4"},
        Case{"SetTextOnlyWhenItDiffers",
             [](TreeDocument& d) {
                 d.SetText(Item(d, 0), S("A"));
                 d.SetText(Item(d, 0), S("A2"));
             },
             {S("TextChanged A2")},
             "A2:0@2 B:1@3 C:2@4"},
        Case{"SelectAndExpandOnlyOnChange",
             [](TreeDocument& d) {
                 d.Select(Item(d, 1));
                 d.Select(Item(d, 1));
                 d.Select(nullptr);
                 d.SetExpanded(d.Root(), true);
                 d.SetExpanded(d.Root(), true);
             },
             {S("SelectionChanged B"), S("SelectionChanged none"), S("ExpansionChanged Your Tree open")},
             "A:0@2 B:1@3 C:2@4"},
        Case{"NewTreeIsOneReset", [](TreeDocument& d) { d.NewTree(); }, {S("BeforeReset"), S("AfterReset")}, ""},
        Case{"NestedBulkChangeIsOneReset",
             [](TreeDocument& d) {
                 d.BeginBulkChange();
                 d.BeginBulkChange();
                 AddItem(d, d.Root(), S("D"));
                 d.EndBulkChange();
                 d.RemoveItemRecord(2);
                 d.RemoveItemNode(2, 2);
                 d.EndBulkChange();
                 d.EndBulkChange(); // unbalanced: ignored
             },
             {S("BeforeReset"), S("AfterReset")},
             "B:0@2 C:1@3 D:2@4"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
