#pragma once
// The generated trees both benchmarks use: 32,766 items with realistic texts
// and links, in three shapes.
#include "document/TreeDocument.h"
#include "script/UserInterface.h"

#include <QString>

namespace vi::bench {

// Flat: every item under the root. Deep: chains 256 levels deep. Bushy: eight
// children per item, filled level by level.
enum Shape { Flat, Deep, Bushy };

// Says nothing and answers every question with the given answer.
class SilentUserInterface : public UserInterface {
public:
    explicit SilentUserInterface(Answer answer = Answer::Cancel) : answer_(answer) {}
    void ShowMessage(const QString&, Icon) override {}
    Answer Ask(const QString&, Buttons) override { return answer_; }
    bool EditItemRecord(ItemRecord&, const TreeSettings&) override { return false; }
    bool EditTreeSettings(TreeSettings&) override { return false; }
    std::optional<QString> ChooseExportFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseFileToLoad(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

private:
    Answer answer_;
};

inline void FillItem(TreeDocument& d, TreeNode* parent, int i)
{
    const int k = *d.AddItemRecord();
    const QString n = QString::number(i);
    d.AddNode(parent, QStringLiteral("Item ") + n, k);
    d.InitItemRecord(k);
    ItemRecord& r = d.Record(k);
    r.ItemType = i % 3 ? kLeaf : kBranch;
    r.FriendlyName = QStringLiteral("Item ") + n;
    r.ItemText = QStringLiteral("Product <b>") + n + QStringLiteral("</b> overview");
    r.LinkHref = QStringLiteral("https://www.example.com/catalogue/products/item") + n + QStringLiteral(".html");
    r.LinkTarget = QStringLiteral("main");
    r.LinkDescription = QStringLiteral("Details, prices and delivery times of product ") + n;
    r.UseGlobalFont = i % 2;
    r.FontSize = QStringLiteral("3");
    r.FontColor = QStringLiteral("Navy");
}

// Fills a new document with a full tree of the given shape; chainDepth sets
// how deep the chains of the Deep shape go.
inline void BuildTree(TreeDocument& d, Shape shape, int chainDepth = 256)
{
    d.BeginBulkChange();
    for (int i = 0; i < kMaxItems; ++i) {
        TreeNode* parent = d.Root();
        if (shape == Deep && i % chainDepth != 0)
            parent = d.Node(d.NodeCount());
        else if (shape == Bushy && i >= 8)
            parent = d.Node(2 + (i - 8) / 8);
        FillItem(d, parent, i);
    }
    d.EndBulkChange();
}

} // namespace vi::bench
