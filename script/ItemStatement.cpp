#include "script/ItemStatement.h"

#include "document/TreeDocument.h"
#include "script/ScriptText.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vi {

namespace {

// The next node of the pre-order walk over the items, or nullptr after the last.
const TreeNode* NextInWalk(const TreeNode* node)
{
    if (node->ChildCount() > 0)
        return node->FirstChild();
    for (; node && !node->IsRoot(); node = node->Parent()) {
        if (const TreeNode* next = node->NextSibling())
            return next;
    }
    return nullptr;
}

// For each ASCII character: 1 when EscapeScriptText always changes it, 2 for
// the slash and 4 for the bracket of "//[+]".
constexpr std::array<unsigned char, 128> kEscapeClass = [] {
    std::array<unsigned char, 128> classes{};
    classes['\\'] = classes['"'] = classes['\r'] = classes['\n'] = 1;
    classes['/'] = 2;
    classes['['] = 4;
    return classes;
}();

// True when EscapeScriptText would change the value. The export asks this for
// every argument of every item, so the scan takes eight characters at a time
// where it can. Links and HTML are full of slashes but hardly ever hold a
// bracket: only values with both get searched for "//[+]".
// Hand-rolled: QStringView::contains per character doubled the statement time in export_bench.
bool NeedsEscape(QStringView value)
{
    const char16_t* text = value.utf16();
    const std::size_t size = static_cast<std::size_t>(value.size());
    std::size_t i = 0;
    unsigned found = 0;
#if !defined(__SSE2__)
    bool highFound = false;
#endif
#if defined(__SSE2__)
    const __m128i backslash = _mm_set1_epi16('\\');
    const __m128i quote = _mm_set1_epi16('"');
    const __m128i cr = _mm_set1_epi16('\r');
    const __m128i lf = _mm_set1_epi16('\n');
    const __m128i slash = _mm_set1_epi16('/');
    const __m128i bracket = _mm_set1_epi16('[');
    __m128i specials = _mm_setzero_si128();
    __m128i slashes = _mm_setzero_si128();
    __m128i brackets = _mm_setzero_si128();
    __m128i high = _mm_setzero_si128(); // characters from U+2028 on
    const __m128i belowHigh = _mm_set1_epi16(0x2027);
    for (; i + 8 <= size; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        specials =
            _mm_or_si128(specials, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, backslash), _mm_cmpeq_epi16(v, quote)),
                                                _mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf))));
        slashes = _mm_or_si128(slashes, _mm_cmpeq_epi16(v, slash));
        brackets = _mm_or_si128(brackets, _mm_cmpeq_epi16(v, bracket));
        high = _mm_or_si128(high, _mm_subs_epu16(v, belowHigh));
    }
    bool highFound = _mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) != 0xFFFF;
    found |= (_mm_movemask_epi8(specials) ? 1u : 0u) | (_mm_movemask_epi8(slashes) ? 2u : 0u)
             | (_mm_movemask_epi8(brackets) ? 4u : 0u);
#endif
    for (; i < size; ++i) {
        found |= text[i] < 128 ? kEscapeClass[text[i]] : 0;
        highFound = highFound || text[i] >= 0x2028;
    }
    if (found & 1)
        return true;
    // Blanks at the ends, and the rare characters escaped as "\u".
    if (size > 0 && (text[0] == u' ' || text[size - 1] == u' '))
        return true;
    for (i = 0; highFound && i < size; ++i) {
        if (text[i] >= 0x2028 && (text[i] <= 0x2029 || (text[i] >= 0xD800 && text[i] <= 0xDFFF)))
            return true;
    }
    return (found & 6) == 6 && std::u16string_view(text, size).find(u"//[+]") != std::u16string_view::npos;
}

} // namespace

QString ChildScriptPath(const QString& parentPath, int row)
{
    if (parentPath.isEmpty())
        return u"menuBase.menuItems[" + QString::number(row) + u']';
    return parentPath + u".subMenu[" + QString::number(row) + u']';
}

QString ItemScriptPath(const TreeNode* node)
{
    if (!node || node->IsRoot())
        return {};
    std::vector<int> rows;
    for (; !node->IsRoot(); node = node->Parent())
        rows.push_back(node->Row());
    QString path;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        path = ChildScriptPath(path, *it);
    return path;
}

int ParentItemRow(const TreeDocument& document, const TreeNode* node)
{
    if (!node || node->IsRoot() || node->Parent()->IsRoot())
        return 0;
    const TreeNode* parent = node->Parent();
    const TreeNode* root = document.Root();
    int number = 0;
    for (const TreeNode* n = root ? root->FirstChild() : nullptr; n; n = NextInWalk(n)) {
        ++number;
        if (n == parent)
            return number;
    }
    return -1; // the node does not belong to this document
}

QString PictureReference(const QString& picturePath)
{
    // An empty path names no picture; "treePics/" alone would be a broken image.
    return picturePath.isEmpty() ? QString() : QStringLiteral("treePics/") + FileNameOf(picturePath);
}

namespace {

// Hands the expression of an item's statement to join, which makes the line.
template <typename Join>
auto JoinItemStatement(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow, Join&& join)
{
    static const QString none;
    QString pictures[4];
    if (r.UseGlobalBNonExpanded)
        pictures[0] = PictureReference(r.ItemType == kLeaf ? s.TreeLeaf : s.TreeBNonExpanded);
    else
        pictures[0] = PictureReference(r.BNonExpanded);
    pictures[1] = PictureReference(r.UseGlobalBExpanded ? s.TreeBExpanded : r.BExpanded);
    pictures[2] = PictureReference(r.MouseOutPic);
    pictures[3] = PictureReference(r.MouseOverPic);
    const QString& fontSize = r.UseGlobalFont ? s.TreeFontSize : r.FontSize;
    // An item's own colour goes out only together with its own size.
    const QString& fontColor = r.UseGlobalFont ? s.TreeFontColor : (r.FontSize.isEmpty() ? none : r.FontColor);
    const QString& target = r.UseGlobalTarget ? s.TreeTarget : r.LinkTarget;
    const QString* const arguments[] = {&pictures[0], &pictures[1], &pictures[2], &pictures[3], &r.ItemText,
                                        &fontSize,    &fontColor,   &r.LinkHref,  &target,      &r.LinkDescription};

    QString escaped[std::size(arguments)];
    const QString* out[std::size(arguments)];
    for (std::size_t i = 0; i < std::size(arguments); ++i) {
        out[i] = arguments[i];
        if (NeedsEscape(*arguments[i])) {
            escaped[i] = EscapeScriptText(*arguments[i], true);
            out[i] = &escaped[i];
        }
    }
    // The marker is a comment: no character of it may end the line early.
    const QString type = CommentSafe(r.ItemType);
    const QString name = CommentSafe(r.FriendlyName);
    const auto flag = [](bool global) { return global ? QStringView(u"[+]True") : QStringView(u"[+]False"); };
    return join(path + u"= new menuItemObject(\"" + *out[0] + u"\",\"" + *out[1] + u"\",\"" + *out[2] + u"\",\""
                + *out[3] + u"\",\"" + *out[4] + u"\",\"" + *out[5] + u"\",\"" + *out[6] + u"\",\"" + *out[7] + u"\",\""
                + *out[8] + u"\",\"" + *out[9] + u"\"); //[+]" + type + u"[+]" + name + u"[+]"
                + QString::number(parentRow) + flag(r.UseGlobalBNonExpanded) + flag(r.UseGlobalBExpanded)
                + flag(r.UseGlobalTarget) + flag(r.UseGlobalFont));
}

} // namespace

QString ItemStatementText(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow)
{
    return JoinItemStatement(r, s, path, parentRow, [](const auto& line) { return QString(line); });
}

QByteArrayView ItemStatementView(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow)
{
    return JoinItemStatement(r, s, path, parentRow, [](const auto& line) {
        thread_local QString text; // keeps its room from line to line
        text.resize(0);
        text += line;
        return Utf8View(text);
    });
}

QByteArray ItemStatementBytes(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow)
{
    return ItemStatementView(r, s, path, parentRow).toByteArray();
}

void WalkItems(const TreeDocument& document, const ItemVisitor& visit)
{
    struct Level {
        const TreeNode* Parent;
        int NextRow;
        qsizetype PathSize; // the length of the parent's path; 0 for the root
        int Number;         // the parent's number in the walk; 0 for the root
    };
    if (!document.Root())
        return;
    // One buffer holds the path of the node being visited. A child's path
    // extends its parent's, so each step cuts the buffer back to the parent's
    // path and appends ".subMenu[row]": no path is copied or allocated per
    // item, however deep the tree.
    QString path;
    std::vector<Level> levels;
    levels.push_back({document.Root(), 0, 0, 0});
    int counter = 0;
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.NextRow >= level.Parent->ChildCount()) {
            levels.pop_back();
            continue;
        }
        const int row = level.NextRow++;
        TreeNode* node = level.Parent->Child(row);
        path.truncate(level.PathSize);
        path += QStringView(levels.size() == 1 ? u"menuBase.menuItems[" : u".subMenu[") + QString::number(row) + u']';
        ++counter;
        if (!visit(node, path, level.Number))
            return;
        if (node->ChildCount() > 0)
            levels.push_back({node, 0, path.size(), counter});
    }
}

} // namespace vi
