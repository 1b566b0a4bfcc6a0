#include "forms/ListFillers.h"

#include "document/AppInfo.h"
#include "document/ChoiceValues.h"
#include "script/FileSystem.h"
#include "script/ScriptText.h"

namespace vi {

QString TrimSpaces(const QString& text) { return TrimBlanks(text).toString(); }

namespace {
template <std::size_t N> void Fill(ComboBox& list, const std::array<const char*, N>& entries, int selected)
{
    list.Entries.clear();
    for (const char* entry : entries)
        list.Entries << QString::fromLatin1(entry);
    list.ListIndex = selected;
}
} // namespace

void FillColourList(ComboBox& list) { Fill(list, kColourNames, kDefaultColourIndex); }

void FillFontSizeList(ComboBox& list) { Fill(list, kFontSizes, kDefaultFontSizeIndex); }

void FillItemHeightList(ComboBox& list) { Fill(list, kItemHeights, kDefaultItemHeightIndex); }

void FillLineColourList(ComboBox& list, const QString& treeLinesFolder)
{
    list.Entries.clear();
    list.ListIndex = -1;
    for (const QString& name : SubFolderNames(treeLinesFolder)) {
        QString entry = FileNameOf(JoinPath(treeLinesFolder, name));
        if (!entry.isEmpty())
            entry[0] = entry[0].toUpper();
        list.Entries << entry;
    }
    list.ListIndex = ListLookup(list, QStringLiteral("Black"));
}

QString TreeLinesFolder() { return JoinPath(DataFolder(), QStringLiteral("TreeLines")); }

int ListLookup(const ComboBox& list, const QString& text)
{
    const QString wanted = TrimSpaces(text).toLower();
    for (qsizetype i = 0; i < list.Entries.size(); ++i) {
        if (TrimSpaces(list.Entries[i]).toLower() == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace vi
