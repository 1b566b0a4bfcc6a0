// The parser alone: lines in, settings, values, the root statement and items
// with their parent rows out; no document, no user.
#include "script/ScriptParser.h"

#include "script/ScriptLines.h"
#include "script/ScriptText.h"
#include "tests/script/ExportTestSupport.h"

#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;
using Kind = ScriptParser::LineKind;

namespace {

// What a parser found in every line of a text.
struct ParsedScript {
    std::vector<Kind> Kinds; // one per line
    TreeSettings Settings;
    QStringList Values; // of the Generator and Version lines, in order
    QString RootStatement;
    std::vector<ParsedItem> Items; // without their Line
};

ParsedScript ParseScriptLines(const QStringList& lines, const QString& scriptFolder)
{
    ParsedScript parsed;
    ScriptParser parser(scriptFolder);
    for (const QString& line : lines) {
        const Kind kind = parser.Read(TrimBlanks(line));
        parsed.Kinds.push_back(kind);
        if (kind == Kind::Generator || kind == Kind::Version)
            parsed.Values << parser.Value();
        if (kind == Kind::Item)
            parsed.Items.push_back(parser.Item());
    }
    parsed.Settings = parser.Settings();
    parsed.RootStatement = parser.RootStatement();
    return parsed;
}

} // namespace

TEST(ScriptParser, TellsEachLineApartAndTakesHeaderAndItemsApart)
{
    const QString folder = S("/site");
    const struct {
        const char* line;
        Kind kind;
    } lines[] = {
        {"menuBase.menuItems[0]= new menuItemObject(\"\"); //[+]LEAF[+]early[+]0", Kind::Skipped}, // in the header
        {"//# Generator =  Vuvov-Ivoza ", Kind::Generator},
        {"//# VERSION = 1.0", Kind::Version},
        {"//#TreeX = 9", Kind::Skipped}, // no blank after "//#"
        {"//# treey = 2.5", Kind::Setting},
        {"//# TreeSize = 40000", Kind::Setting},
        {"//# TreeLeaf = C:\\pics\\leaf.gif", Kind::Setting},
        {"//# TreeTarget = main\u2028x", Kind::Setting},
        {"//# Unknown = 1", Kind::Setting},
        {"//\\\\", Kind::HeaderEnd},
        {"//# TreeX = 77", Kind::Skipped}, // in the body
        {"var menuBase = new menuObject(5,5,20,true,\"\",\"\",\"\",\"\",\"\",\"\",\"\");", Kind::RootStatement},
        {"menuBase.menuItems[0]= new menuItemObject(\"treePics/a.gif\",\"\",\"\",\"\",\"Home\",\"2\"); "
         "//[+]BRANCH[+]Start[+]0[+]TRUE[+]false[+]1[+]x",
         Kind::Item},
        {"MENUBASE.menuItems[0].subMenu[0]= new menuItemObject(\"\",\"\",\"\",\"\",\"a\"b\",\"c\"); //[+]LEAF[+]a[+]1",
         Kind::Item},
        {"menuBase.menuItems[1] = 2; //[+]LEAF[+]b[+]no row", Kind::Item},
        {"menuBase.menuItems[2]= new menuItemObject(\"\"); // no marker", Kind::Item},
        {"function menu() {}", Kind::Skipped},
    };
    QStringList text;
    for (const auto& l : lines)
        text << S(l.line);
    const ParsedScript parsed = ParseScriptLines(text, folder);

    std::vector<Kind> kinds;
    for (const auto& l : lines)
        kinds.push_back(l.kind);
    EXPECT_EQ(parsed.Kinds, kinds);
    EXPECT_EQ(parsed.Values, (QStringList{S("Vuvov-Ivoza"), S("1.0")}));
    TreeSettings want;
    want.TreeY = 2; // halves to the even neighbour; out of range leaves the default
    want.TreeLeaf = JoinPath(JoinPath(folder, S("treePics")), S("leaf.gif"));
    want.TreeTarget = S("main x");
    EXPECT_EQ(parsed.Settings, want);
    EXPECT_TRUE(parsed.RootStatement.startsWith(S("var menuBase = new menuObject(5,5,20")));

    // Kind, label, parent row, marked, flags ("1" and "true" in any case are true), then the arguments that matter.
    ASSERT_EQ(parsed.Items.size(), 4u);
    const struct {
        const char* type;
        const char* name;
        std::optional<int> row;
        bool marked;
        std::array<bool, 4> flags;
        const char* text;
        const char* fontSize;
    } items[] = {
        {"BRANCH", "Start", 0, true, {true, false, true, false}, "Home", "2"},
        // A raw quote ends the text; the arguments after it shift.
        {"LEAF", "a", 1, true, {false, false, false, false}, "a", ","},
        {"LEAF", "b", std::nullopt, true, {false, false, false, false}, "", ""},
        {"", "", std::nullopt, false, {false, false, false, false}, "", ""},
    };
    for (std::size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE(i);
        const ParsedItem& p = parsed.Items[i];
        const ItemRecord& r = p.Record;
        EXPECT_EQ(r.ItemType, S(items[i].type));
        EXPECT_EQ(r.FriendlyName, S(items[i].name));
        EXPECT_EQ(p.ParentRow, items[i].row);
        EXPECT_EQ(p.Marked, items[i].marked);
        EXPECT_EQ(
            (std::array<bool, 4>{r.UseGlobalBNonExpanded, r.UseGlobalBExpanded, r.UseGlobalTarget, r.UseGlobalFont}),
            items[i].flags);
        EXPECT_EQ(r.ItemText, S(items[i].text));
        EXPECT_EQ(r.FontSize, S(items[i].fontSize));
    }
    EXPECT_EQ(parsed.Items[0].Record.BNonExpanded, JoinPath(JoinPath(folder, S("treePics")), S("a.gif")));
}

// Other line ends and the encodings are read through the loader's tests.
TEST(ScriptLines, SplitsAtTheLineEndsOfTheFile)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"CR LF, blanks trimmed", "a \r\n b\r\n", {S("a"), S("b")}},
        {"LF line ends", "a\nb\n\nc", {S("a"), S("b"), S(""), S("c")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList lines;
        SplitScriptLines(c.bytes, [&](QStringView line) {
            lines << line.toString();
            return true;
        });
        EXPECT_EQ(lines, c.lines);
    }
    QStringList first;
    SplitScriptLines("a\r\nb\r\n", [&](QStringView line) {
        first << line.toString();
        return false;
    });
    EXPECT_EQ(first, QStringList{S("a")});
}
