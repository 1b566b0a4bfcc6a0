#include "forms/FindBarModel.h"

#include <QCoreApplication>
#include <algorithm>

namespace vi {

FindBarModel::FindBarModel(TreeDocument& document) : document_(document) { document_.AddObserver(this); }

FindBarModel::~FindBarModel() { document_.RemoveObserver(this); }

QString FindBarModel::Fold(QStringView text, bool html)
{
    QString plain;
    plain.reserve(text.size());
    bool inTag = false;
    bool ascii = true;
    for (const QChar c : text) {
        if (html && c == QLatin1Char('<'))
            inTag = true;
        else if (inTag)
            inTag = c != QLatin1Char('>');
        else {
            plain.append(c);
            ascii = ascii && c.unicode() < 0x80;
        }
    }
    if (ascii)
        return plain.toLower();
    // Decomposed, an accented letter is its base letter and marks to drop.
    const QString decomposed = plain.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c);
    }
    // Simple case folding keeps the sharp s, which "ss" spells as well.
    return folded.toCaseFolded().replace(QChar(0xDF), QLatin1String("ss"));
}

QStringList FindBarModel::Words(const QString& text)
{
    QStringList words;
    const QString simple = text.simplified();
    for (const QStringView word : QStringView(simple).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString folded = Fold(word);
        if (!folded.isEmpty())
            words << folded;
    }
    return words;
}

namespace {

bool Findable(const TreeDocument& document, const TreeNode* node)
{
    return !node->IsRoot() && document.HasRecord(node->Tag());
}

// The fields in one text; no word holds the line break between them.
QString FoldFields(const TreeDocument& document, const TreeNode* node)
{
    const ItemRecord& record = document.RecordOf(node);
    return FindBarModel::Fold(node->Text()) + QLatin1Char('\n') + FindBarModel::Fold(record.ItemText, true)
           + QLatin1Char('\n') + FindBarModel::Fold(record.LinkHref);
}

bool HoldsAll(const QString& fields, const QStringList& words)
{
    return std::all_of(words.cbegin(), words.cend(), [&](const QString& word) { return fields.contains(word); });
}

} // namespace

bool FindBarModel::Matches(const QStringList& words, const TreeDocument& document, const TreeNode* node)
{
    return Findable(document, node) && HoldsAll(FoldFields(document, node), words);
}

const QString& FindBarModel::FoldedFields(const TreeNode* node)
{
    const ItemRecord& record = document_.RecordOf(node);
    Folded& entry = folded_[node];
    if (!entry.Label.isSharedWith(node->Text()) || !entry.Text.isSharedWith(record.ItemText)
        || !entry.Link.isSharedWith(record.LinkHref) || entry.Fields.isEmpty()) {
        entry.Label = node->Text();
        entry.Text = record.ItemText;
        entry.Link = record.LinkHref;
        entry.Fields = FoldFields(document_, node);
    }
    return entry.Fields;
}

void FindBarModel::SetText(const QString& text)
{
    text_ = text;
    Search();
    if (!matches_.empty())
        Show(0);
}

void FindBarModel::Search()
{
    const TreeNode* was = stale_ ? nullptr : Current();
    stale_ = false;
    matches_.clear();
    current_ = -1;
    const QStringList words = Words(text_);
    if (words.isEmpty() || !document_.Root())
        return;
    // Depth first in the order shown, without recursion: chains may be deep.
    std::vector<const TreeNode*> pending{document_.Root()};
    while (!pending.empty()) {
        const TreeNode* node = pending.back();
        pending.pop_back();
        if (Findable(document_, node) && HoldsAll(FoldedFields(node), words))
            matches_.push_back(const_cast<TreeNode*>(node));
        const std::vector<TreeNode*>& children = node->Children();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    const auto at = std::find(matches_.cbegin(), matches_.cend(), was);
    if (at != matches_.cend())
        current_ = static_cast<int>(at - matches_.cbegin());
}

void FindBarModel::Next() { Step(1); }

void FindBarModel::Previous() { Step(-1); }

void FindBarModel::Step(int by)
{
    if (stale_) {
        // Where the selection is now, after the tree changed.
        TreeNode* selected = document_.SelectedNode();
        Search();
        const auto at = std::find(matches_.cbegin(), matches_.cend(), selected);
        current_ = at == matches_.cend() ? (by > 0 ? -1 : 0) : static_cast<int>(at - matches_.cbegin());
    }
    if (matches_.empty())
        return;
    const int count = Count();
    Show(((current_ + by) % count + count) % count);
}

void FindBarModel::Show(int index)
{
    current_ = index;
    TreeNode* node = matches_[static_cast<std::size_t>(index)];
    std::vector<TreeNode*> above;
    for (TreeNode* p = node->Parent(); p; p = p->Parent())
        above.push_back(p);
    for (auto p = above.rbegin(); p != above.rend(); ++p) {
        if (!(*p)->Expanded()) {
            document_.SetExpanded(*p, true);
            opened_.push_back(*p);
        }
    }
    document_.Select(node);
}

TreeNode* FindBarModel::Current() const
{
    return current_ < 0 || stale_ ? nullptr : matches_[static_cast<std::size_t>(current_)];
}

QString FindBarModel::Counter() const
{
    if (Words(text_).isEmpty())
        return {};
    return QCoreApplication::translate("FindBar", "%1 of %2").arg(CurrentNumber()).arg(Count());
}

void FindBarModel::Close()
{
    const TreeNode* selected = document_.SelectedNode();
    for (auto p = opened_.rbegin(); p != opened_.rend(); ++p) {
        if ((*p)->Expanded() && !(selected && selected != *p && selected->IsInside(*p)))
            document_.SetExpanded(*p, false);
    }
    opened_.clear();
    folded_.clear();
    text_.clear();
    matches_.clear();
    current_ = -1;
    stale_ = false;
}

void FindBarModel::BeforeReset()
{
    stale_ = true;
    opened_.clear();
    folded_.clear();
}

void FindBarModel::BeforeRemove(TreeNode* parent, int row)
{
    stale_ = true;
    const TreeNode* top = parent->Child(row);
    std::erase_if(opened_, [top](const TreeNode* node) { return node->IsInside(top); });
}

} // namespace vi
