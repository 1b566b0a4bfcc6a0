#include "cli/DocumentJson.h"

#include "document/TreeDocument.h"
#include "script/ItemStatement.h"
#include "script/RootStatement.h"

#include <QStringEncoder>
#include <vector>

namespace vi {

namespace {

constexpr qsizetype kBlockSize = 256 * 1024;

// UTF-8 JSON text, handed to the sink a block at a time.
class JsonWriter {
public:
    explicit JsonWriter(const JsonSink& sink) : sink_(sink) { buffer_.reserve(kBlockSize + 4096); }

    JsonWriter& operator<<(const char* ascii)
    {
        buffer_.append(ascii);
        return *this;
    }
    JsonWriter& operator<<(int number)
    {
        buffer_.append(QByteArray::number(number));
        return *this;
    }
    JsonWriter& operator<<(bool flag) { return *this << (flag ? "true" : "false"); }

    // A JSON string: quotes, backslashes and control characters escaped.
    JsonWriter& operator<<(QStringView text)
    {
        buffer_.append('"');
        qsizetype run = 0; // start of the characters not yet written
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c >= 0x20 && c != u'"' && c != u'\\')
                continue;
            Encode(text.sliced(run, i - run));
            run = i + 1;
            Escape(c);
        }
        Encode(text.sliced(run));
        buffer_.append('"');
        if (buffer_.size() >= kBlockSize)
            Flush();
        return *this;
    }
    JsonWriter& operator<<(const QString& text) { return *this << QStringView(text); }

    // A JSON string from UTF-8 bytes, escaped as above.
    JsonWriter& operator<<(QByteArrayView utf8)
    {
        buffer_.append('"');
        qsizetype run = 0;
        for (qsizetype i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c >= 0x20 && c != '"' && c != '\\')
                continue;
            buffer_.append(utf8.constData() + run, i - run);
            run = i + 1;
            Escape(c);
        }
        buffer_.append(utf8.constData() + run, utf8.size() - run);
        buffer_.append('"');
        if (buffer_.size() >= kBlockSize)
            Flush();
        return *this;
    }

    // A member of an object: the key, ": " and the value.
    template <typename T> JsonWriter& Member(const char* key, const T& value)
    {
        return *this << "\"" << key << "\": " << value;
    }

    bool Finish()
    {
        Flush();
        return ok_;
    }

private:
    // A quote, a backslash or a control character.
    void Escape(char16_t c)
    {
        switch (c) {
        case u'"':
            buffer_.append("\\\"");
            break;
        case u'\\':
            buffer_.append("\\\\");
            break;
        case u'\b':
            buffer_.append("\\b");
            break;
        case u'\f':
            buffer_.append("\\f");
            break;
        case u'\n':
            buffer_.append("\\n");
            break;
        case u'\r':
            buffer_.append("\\r");
            break;
        case u'\t':
            buffer_.append("\\t");
            break;
        default:
            buffer_.append("\\u00").append(QByteArray::number(c, 16).rightJustified(2, '0'));
        }
    }

    void Encode(QStringView text)
    {
        if (text.isEmpty())
            return;
        const qsizetype used = buffer_.size();
        buffer_.resize(used + encoder_.requiredSpace(text.size()));
        char* end = encoder_.appendToBuffer(buffer_.data() + used, text);
        buffer_.truncate(end - buffer_.constData());
    }

    void Flush()
    {
        if (ok_ && !buffer_.isEmpty())
            ok_ = sink_(buffer_);
        buffer_.truncate(0); // keeps the block allocated
    }

    const JsonSink& sink_;
    QByteArray buffer_;
    QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    bool ok_ = true;
};

} // namespace

bool WriteDocumentJson(const TreeDocument& document, const JsonSink& sink)
{
    JsonWriter out(sink);
    const TreeSettings& s = document.Settings();
    out << "{\"settings\": {";
    out.Member("TreeX", int(s.TreeX)) << ", ";
    out.Member("TreeY", int(s.TreeY)) << ", ";
    out.Member("TreeSize", int(s.TreeSize)) << ", ";
    out.Member("TreeLines", int(s.TreeLines)) << ", ";
    out.Member("TreeLineColor", s.TreeLineColor) << ", ";
    out.Member("TreePMColor", s.TreePMColor) << ", ";
    out.Member("TreeBNonExpanded", s.TreeBNonExpanded) << ", ";
    out.Member("TreeBExpanded", s.TreeBExpanded) << ", ";
    out.Member("TreeLeaf", s.TreeLeaf) << ", ";
    out.Member("TreeTarget", s.TreeTarget) << ", ";
    out.Member("TreeBackground", s.TreeBackground) << ", ";
    out.Member("TreeFontSize", s.TreeFontSize) << ", ";
    out.Member("TreeFontColor", s.TreeFontColor) << "},\n";
    out.Member("rootStatement", RootStatementOf(document)) << ",\n";
    out.Member("treeChanged", document.TreeChanged()) << ",\n";

    // An array of one element per line, or [] when empty.
    auto array = [&](int first, int last, auto&& element) {
        if (first > last) {
            out << "[]";
            return;
        }
        out << "[\n";
        for (int i = first; i <= last; ++i) {
            out << (i > first ? ",\n{" : "{");
            element(i);
            out << "}";
        }
        out << "\n]";
    };

    out << "\"nodes\": ";
    array(2, document.NodeCount(), [&](int p) {
        const TreeNode* n = document.Node(p);
        out.Member("position", p) << ", ";
        out.Member("parent", n->Parent()->Position()) << ", ";
        out.Member("text", n->Text()) << ", ";
        out.Member("tag", n->Tag());
    });
    // Each record's statement is built as the export writes it: from the
    // place of its node, whose parent's number in the item walk is noted here.
    std::vector<const TreeNode*> nodeOf(static_cast<std::size_t>(document.UpperBound()) + 1, nullptr);
    std::vector<int> numberOf(nodeOf.size(), 0);
    int number = 0;
    WalkItems(document, [&](TreeNode* n, const QString&, int) {
        ++number;
        if (document.HasRecord(n->Tag())) {
            nodeOf[static_cast<std::size_t>(n->Tag())] = n;
            numberOf[static_cast<std::size_t>(n->Tag())] = number;
        }
        return true;
    });
    const auto statement = [&](int index) {
        const TreeNode* n = nodeOf[static_cast<std::size_t>(index)];
        if (!n)
            return QByteArrayView();
        const TreeNode* parent = n->Parent();
        const int parentRow = parent->IsRoot() ? 0 : numberOf[static_cast<std::size_t>(parent->Tag())];
        return ItemStatementView(document.Record(index), document.Settings(), ItemScriptPath(n), parentRow);
    };

    out << ",\n\"records\": ";
    array(2, document.UpperBound(), [&](int i) {
        const ItemRecord& r = document.Record(i);
        out.Member("index", i) << ", ";
        out.Member("RootMark", int(r.RootMark)) << ", ";
        out.Member("ScriptLine", statement(i)) << ", ";
        out.Member("ItemType", r.ItemType) << ", ";
        out.Member("FriendlyName", r.FriendlyName) << ", ";
        out.Member("UseGlobalBNonExpanded", r.UseGlobalBNonExpanded) << ", ";
        out.Member("BNonExpanded", r.BNonExpanded) << ", ";
        out.Member("UseGlobalBExpanded", r.UseGlobalBExpanded) << ", ";
        out.Member("BExpanded", r.BExpanded) << ", ";
        out.Member("MouseOutPic", r.MouseOutPic) << ", ";
        out.Member("MouseOverPic", r.MouseOverPic) << ", ";
        out.Member("ItemText", r.ItemText) << ", ";
        out.Member("UseGlobalFont", r.UseGlobalFont) << ", ";
        out.Member("FontSize", r.FontSize) << ", ";
        out.Member("FontColor", r.FontColor) << ", ";
        out.Member("LinkHref", r.LinkHref) << ", ";
        out.Member("UseGlobalTarget", r.UseGlobalTarget) << ", ";
        out.Member("LinkTarget", r.LinkTarget) << ", ";
        out.Member("LinkDescription", r.LinkDescription);
    });
    out << "}\n";
    return out.Finish();
}

} // namespace vi
