#include "script/ScriptParser.h"

#include "document/AppInfo.h"
#include "script/HeaderKeys.h"
#include "script/LoaderText.h"
#include "script/PicturePath.h"
#include "script/RootStatement.h"
#include "script/ScriptText.h"

#include <algorithm>
#include <cstring>

namespace vi {

namespace {

bool KeyIs(QStringView key, QLatin1String name) { return key.size() == name.size() && StartsWithNoCase(key, name); }

} // namespace

const QString& ScriptParser::RecentValues::Shared(QStringView value)
{
    for (const QString& known : values_) {
        if (known.size() == value.size()
            && (value.isEmpty()
                || std::memcmp(known.utf16(), value.utf16(), sizeof(char16_t) * std::size_t(value.size())) == 0))
            return known;
    }
    next_ = (next_ + 1) % values_.size();
    values_[next_] = value.toString();
    return values_[next_];
}

ScriptParser::ScriptParser(QString scriptFolder) : scriptFolder_(std::move(scriptFolder)) {}

ScriptParser::LineKind ScriptParser::Read(QStringView line)
{
    if (headerMode_)
        return ReadHeaderLine(line);
    if (StartsWithNoCase(line, QLatin1String("var menu"))) {
        rootStatement_ = IsRootStatementForm(line) ? line.toString() : QString();
        return LineKind::RootStatement;
    }
    if (StartsWithNoCase(line, QLatin1String("menubase"))) {
        ReadItem(line);
        return LineKind::Item;
    }
    return LineKind::Skipped;
}

ScriptParser::LineKind ScriptParser::ReadHeaderLine(QStringView line)
{
    if (line.startsWith(QLatin1String("//# "))) {
        QStringView value = line.sliced(4);
        const QStringView key = NextToken(value, u"=");
        return ReadKey(key, value);
    }
    if (line.startsWith(QLatin1String("//\\\\"))) {
        headerMode_ = false;
        return LineKind::HeaderEnd;
    }
    return LineKind::Skipped;
}

ScriptParser::LineKind ScriptParser::ReadKey(QStringView key, QStringView rawValue)
{
    // The value is trimmed as the writer trims it; a character that would end
    // the comment line in a browser is a blank, as written.
    const QString safe = CommentSafe(rawValue.toString());
    const QStringView value = TrimBlanks(safe);
    if (KeyIs(key, QLatin1String("generator")) || KeyIs(key, QLatin1String("version"))) {
        value_ = value.toString();
        return KeyIs(key, QLatin1String("generator")) ? LineKind::Generator : LineKind::Version;
    }
    for (const HeaderKey& k : kHeaderKeys) {
        if (key.compare(k.Name, Qt::CaseInsensitive) != 0)
            continue;
        switch (k.Kind) {
        case HeaderKind::Number:
            if (const auto v = ToInt16(value))
                settings_.*k.Number = *v;
            break;
        case HeaderKind::Text:
            settings_.*k.Text = value.toString();
            break;
        case HeaderKind::Picture:
            settings_.*k.Text = PicturePath(TrimBlanks(PictureName(value)));
            break;
        }
        break;
    }
    return LineKind::Setting;
}

// A picture named in the file lies in the treePics folder beside it. Only the
// file name is taken, cut at either separator, so a hand-made path cannot
// point elsewhere; a name that is empty then names no picture.
QString ScriptParser::PicturePath(QStringView path) const { return TreePicsPicture(scriptFolder_, path); }

void ScriptParser::ReadItem(QStringView line)
{
    QStringView afterMarker = line;
    NextToken(afterMarker, u"//[+]");
    item_.Marked = !afterMarker.isEmpty();
    // The marker is a comment: a character that would end it in a browser is
    // a blank, as the writer writes it.
    const QString safeMarker = HasScriptLineEnd(afterMarker) ? CommentSafe(afterMarker.toString()) : QString();
    QStringView marker = safeMarker.isNull() ? afterMarker : QStringView(safeMarker);
    std::array<QStringView, 7> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const QStringView field = NextUntrimmedToken(marker, u"[+]");
        fields[i] = i == 1 ? field : TrimBlanks(field);
    }

    const auto row = ToInt16(fields[2]);
    item_.ParentRow = row ? std::optional<int>(*row) : std::nullopt;
    ItemRecord& r = item_.Record;
    ReadArguments(line, r);
    r.ItemType = recentItemTypes_.Shared(fields[0]);
    // The label is most often the item's text as well: share it then.
    r.FriendlyName = r.ItemText == fields[1] ? r.ItemText : fields[1].toString();
    r.UseGlobalBNonExpanded = ToBoolean(fields[3]);
    r.UseGlobalBExpanded = ToBoolean(fields[4]);
    r.UseGlobalTarget = ToBoolean(fields[5]);
    r.UseGlobalFont = ToBoolean(fields[6]);
}

// The ten quoted arguments of the menuItemObject call, in order; missing
// ones stay empty.
void ScriptParser::ReadArguments(QStringView line, ItemRecord& r)
{
    QStringView rest = line;
    NextToken(rest, u"=");
    NextToken(rest, u"new menuItemObject(\"");
    for (std::size_t i = 0; i < kArguments; ++i) {
        if (i > 0)
            SkipPast(rest, QLatin1Char('"')); // the separator between closing and opening quote
        bool escaped = false;
        const QStringView raw = NextQuotedToken(rest, &escaped);
        Argument(i, raw, escaped);
    }
    r.BNonExpanded = Picture(0);
    r.BExpanded = Picture(1);
    r.MouseOutPic = Picture(2);
    r.MouseOverPic = Picture(3);
    r.ItemText = lastArgument_[4];
    r.FontSize = lastArgument_[5];
    r.FontColor = lastArgument_[6];
    r.LinkHref = lastArgument_[7];
    r.LinkTarget = lastArgument_[8];
    r.LinkDescription = lastArgument_[9];
}

void ScriptParser::Argument(std::size_t i, QStringView raw, bool escaped)
{
    QString& last = lastArgument_[i];
    if (escaped)
        last = UnescapeScriptText(raw);
    else if (last != raw)
        last = recentArguments_[i].Shared(raw);
}

const QString& ScriptParser::Picture(std::size_t i)
{
    if (!lastArgument_[i].isSharedWith(pictureArgument_[i])) {
        pictureArgument_[i] = lastArgument_[i];
        picturePath_[i] = PicturePath(lastArgument_[i]);
    }
    return picturePath_[i];
}

} // namespace vi
