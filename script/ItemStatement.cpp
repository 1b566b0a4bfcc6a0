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
    found |= (_mm_movemask_epi8(specials) ? 1u : 0u) | (_mm_movemask_epi8(slashes) ? 2u : 0u) |
             (_mm_movemask_epi8(brackets) ? 4u : 0u);
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

// A string literal as a view, its length taken from the array: no scan for its end.
template <std::size_t N> constexpr QStringView Literal(const char16_t (&text)[N])
{
    return QStringView(text, static_cast<qsizetype>(N - 1));
}

// A decimal number written into a small buffer, for the pieces of a line.
class Digits {
public:
    explicit Digits(int value)
    {
        const bool negative = value < 0;
        unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
        do {
            buffer_[--start_] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
        if (negative)
            buffer_[--start_] = u'-';
    }
    QStringView View() const { return QStringView(buffer_.data() + start_, buffer_.data() + buffer_.size()); }

private:
    std::array<char16_t, 12> buffer_{};
    std::size_t start_ = buffer_.size();
};

// The pieces of one line, joined with a single allocation.
template <std::size_t Capacity> class Pieces {
public:
    void Add(QStringView piece)
    {
        pieces_[count_++] = {piece.utf16(), piece.size()};
        size_ += piece.size();
    }
    template <std::size_t N> void Add(const char16_t (&literal)[N]) { Add(Literal(literal)); }

    QString Join() const
    {
        QString line(size_, Qt::Uninitialized);
        char16_t* out = reinterpret_cast<char16_t*>(line.data());
        for (std::size_t i = 0; i < count_; ++i)
            out = std::copy_n(pieces_[i].Data, pieces_[i].Size, out);
        return line;
    }

    // The line as UTF-8, in an array of exactly its size.
    QByteArray JoinUtf8() const
    {
        thread_local QString line; // keeps its room from line to line
        line.resize(size_);
        char16_t* out = reinterpret_cast<char16_t*>(line.data());
        for (std::size_t i = 0; i < count_; ++i)
            out = std::copy_n(pieces_[i].Data, pieces_[i].Size, out);
        return Utf8Text(line);
    }

private:
    struct Piece {
        const char16_t* Data;
        qsizetype Size;
    };
    std::array<Piece, Capacity> pieces_; // only the first count_ are set
    std::size_t count_ = 0;
    qsizetype size_ = 0;
};

} // namespace

QString ChildScriptPath(const QString& parentPath, int row)
{
    const Digits digits(row);
    Pieces<4> path;
    if (parentPath.isEmpty()) {
        path.Add(u"menuBase.menuItems[");
    } else {
        path.Add(parentPath);
        path.Add(u".subMenu[");
    }
    path.Add(digits.View());
    path.Add(u"]");
    return path.Join();
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

// Hands the pieces of an item's statement to join, which makes the line.
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
    Pieces<32> line;
    line.Add(path);
    line.Add(u"= new menuItemObject(\"");
    for (std::size_t i = 0; i < std::size(arguments); ++i) {
        if (i > 0)
            line.Add(u"\",\"");
        if (NeedsEscape(*arguments[i])) {
            escaped[i] = EscapeScriptText(*arguments[i], true);
            line.Add(escaped[i]);
        } else {
            line.Add(*arguments[i]);
        }
    }
    // The marker is a comment: no character of it may end the line early.
    const QString type = CommentSafe(r.ItemType);
    const QString name = CommentSafe(r.FriendlyName);
    line.Add(u"\"); //[+]");
    line.Add(type);
    line.Add(u"[+]");
    line.Add(name);
    line.Add(u"[+]");
    const Digits row(parentRow);
    line.Add(row.View());
    for (bool flag : {r.UseGlobalBNonExpanded, r.UseGlobalBExpanded, r.UseGlobalTarget, r.UseGlobalFont}) {
        if (flag)
            line.Add(u"[+]True");
        else
            line.Add(u"[+]False");
    }
    return join(line);
}

} // namespace

QString ItemStatementText(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow)
{
    return JoinItemStatement(r, s, path, parentRow, [](const auto& line) { return line.Join(); });
}

QByteArray ItemStatementBytes(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow)
{
    return JoinItemStatement(r, s, path, parentRow, [](const auto& line) { return line.JoinUtf8(); });
}

void BuildItemStatement(TreeDocument& document, int position)
{
    const TreeNode* node = document.Node(position);
    if (!node || node->IsRoot() || !document.HasRecord(node->Tag()))
        return;
    ItemRecord& record = document.RecordOf(node);
    record.ScriptLine =
        ItemStatementBytes(record, document.Settings(), ItemScriptPath(node), ParentItemRow(document, node));
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
        path.append(levels.size() == 1 ? Literal(u"menuBase.menuItems[") : Literal(u".subMenu["));
        path.append(Digits(row).View());
        path.append(QLatin1Char(']'));
        ++counter;
        if (!visit(node, path, level.Number))
            return;
        if (node->ChildCount() > 0)
            levels.push_back({node, 0, path.size(), counter});
    }
}

} // namespace vi
