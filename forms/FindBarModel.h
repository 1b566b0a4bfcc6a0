#pragma once
#include "document/TreeDocument.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace vi {

// The find bar over the tree: the items whose label, text or link holds every
// word typed (letter case and accents aside), in the order the tree shows
// them. Going to an item opens the branches above it and selects it; closing
// the bar closes again the branches it opened, but those above the selected item.
class FindBarModel final : private DocumentObserver {
public:
    explicit FindBarModel(TreeDocument& document);
    ~FindBarModel() override;
    FindBarModel(const FindBarModel&) = delete;
    FindBarModel& operator=(const FindBarModel&) = delete;

    // Finds the items for a new text and goes to the first.
    void SetText(const QString& text);
    const QString& Text() const { return text_; }
    // The next and the previous item found, round from the last to the first.
    void Next();
    void Previous();
    void Close();

    int Count() const { return static_cast<int>(matches_.size()); }
    // 1 for the first item found; 0 when there is none.
    int CurrentNumber() const { return current_ + 1; }
    TreeNode* Current() const;
    // "n of m"; empty while nothing is typed.
    QString Counter() const;

    // A text as it is compared: letter case folded, accents and HTML tags left out.
    static QString Fold(QStringView text, bool html = false);
    // The words of a text, folded.
    static QStringList Words(const QString& text);
    static bool Matches(const QStringList& words, const TreeDocument& document, const TreeNode* node);

private:
    // An item's fields as they were folded; valid while the fields still
    // share their texts with the record's, which a change would have detached.
    struct Folded {
        QString Label, Text, Link;
        QString Fields;
    };
    const QString& FoldedFields(const TreeNode* node);
    void Search();
    void Show(int index);
    void Step(int by);
    void BeforeReset() override;
    void BeforeInsert(TreeNode*, int) override { stale_ = true; }
    void BeforeRemove(TreeNode* parent, int row) override;
    void BeforeMove(TreeNode*, int, TreeNode*, int) override { stale_ = true; }
    void TextChanged(TreeNode*) override { stale_ = true; }

    TreeDocument& document_;
    QString text_;
    std::vector<TreeNode*> matches_;
    int current_ = -1;
    bool stale_ = false; // the tree changed since the search: found items may be gone
    std::vector<TreeNode*> opened_;
    QHash<const TreeNode*, Folded> folded_;
};

} // namespace vi
