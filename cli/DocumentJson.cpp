#include "cli/DocumentJson.h"

#include "document/TreeDocument.h"

#include <QStringList>

namespace vi {

namespace {

QString Quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\b': out += QStringLiteral("\\b"); break;
        case '\f': out += QStringLiteral("\\f"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Builds one JSON object, members in the order they are added.
class Object {
public:
    Object& Add(const char* key, const QString& text) { return Raw(key, Quoted(text)); }
    Object& Add(const char* key, int number) { return Raw(key, QString::number(number)); }
    Object& Add(const char* key, bool flag) { return Raw(key, flag ? QStringLiteral("true") : QStringLiteral("false")); }
    Object& Raw(const char* key, const QString& json)
    {
        members_ << Quoted(QString::fromLatin1(key)) + QStringLiteral(": ") + json;
        return *this;
    }
    QString Text(const QString& separator = QStringLiteral(", ")) const
    {
        return QLatin1Char('{') + members_.join(separator) + QLatin1Char('}');
    }

private:
    QStringList members_;
};

QString Array(const QStringList& elements)
{
    if (elements.isEmpty())
        return QStringLiteral("[]");
    return QStringLiteral("[\n") + elements.join(QStringLiteral(",\n")) + QStringLiteral("\n]");
}

} // namespace

QString DocumentJson(const TreeDocument& document)
{
    const TreeSettings& s = document.Settings();
    Object settings;
    settings.Add("TreeX", s.TreeX).Add("TreeY", s.TreeY).Add("TreeSize", s.TreeSize).Add("TreeLines", s.TreeLines);
    settings.Add("TreeLineColor", s.TreeLineColor).Add("TreePMColor", s.TreePMColor);
    settings.Add("TreeBNonExpanded", s.TreeBNonExpanded).Add("TreeBExpanded", s.TreeBExpanded);
    settings.Add("TreeLeaf", s.TreeLeaf).Add("TreeTarget", s.TreeTarget).Add("TreeBackground", s.TreeBackground);
    settings.Add("TreeFontSize", s.TreeFontSize).Add("TreeFontColor", s.TreeFontColor);

    QStringList nodes;
    for (int p = 2; p <= document.NodeCount(); ++p) {
        const TreeNode* n = document.Node(p);
        nodes << Object()
                     .Add("position", p)
                     .Add("parent", n->Parent()->Position())
                     .Add("text", n->Text())
                     .Add("tag", n->Tag())
                     .Text();
    }

    QStringList records;
    for (int i = 2; i <= document.UpperBound(); ++i) {
        const ItemRecord& r = document.Record(i);
        records << Object()
                       .Add("index", i)
                       .Add("RootMark", int(r.RootMark))
                       .Add("ScriptLine", r.ScriptLine)
                       .Add("ItemType", r.ItemType)
                       .Add("FriendlyName", r.FriendlyName)
                       .Add("UseGlobalBNonExpanded", r.UseGlobalBNonExpanded)
                       .Add("BNonExpanded", r.BNonExpanded)
                       .Add("UseGlobalBExpanded", r.UseGlobalBExpanded)
                       .Add("BExpanded", r.BExpanded)
                       .Add("MouseOutPic", r.MouseOutPic)
                       .Add("MouseOverPic", r.MouseOverPic)
                       .Add("ItemText", r.ItemText)
                       .Add("UseGlobalFont", r.UseGlobalFont)
                       .Add("FontSize", r.FontSize)
                       .Add("FontColor", r.FontColor)
                       .Add("LinkHref", r.LinkHref)
                       .Add("UseGlobalTarget", r.UseGlobalTarget)
                       .Add("LinkTarget", r.LinkTarget)
                       .Add("LinkDescription", r.LinkDescription)
                       .Text();
    }

    return Object()
               .Raw("settings", settings.Text())
               .Add("rootStatement", document.RootStatement())
               .Add("treeChanged", document.TreeChanged())
               .Raw("nodes", Array(nodes))
               .Raw("records", Array(records))
               .Text(QStringLiteral(",\n"))
        + QLatin1Char('\n');
}

} // namespace vi
