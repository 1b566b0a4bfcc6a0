#pragma once
// The thirteen setting lines of the custom.js header, for the writer and the
// loader alike: "//# ", the key, " = " and the value.
#include "document/TreeSettings.h"

#include <QLatin1String>
#include <array>
#include <cstdint>

namespace vi {

enum class HeaderKind {
    Number,  // a 16-bit integer
    Text,    // the text as it stands
    Picture, // a picture path: the file holds its file name, which the loader points into the treePics beside the file
};

struct HeaderKey {
    QLatin1String Name; // as written; the loader compares it without letter case
    HeaderKind Kind;
    std::int16_t TreeSettings::*Number; // the setting of a Number key
    QString TreeSettings::*Text;        // the setting of the other kinds
};

// In the order of the header.
inline constexpr std::array<HeaderKey, 13> kHeaderKeys = {{
    {QLatin1String("TreeX"), HeaderKind::Number, &TreeSettings::TreeX, nullptr},
    {QLatin1String("TreeY"), HeaderKind::Number, &TreeSettings::TreeY, nullptr},
    {QLatin1String("TreeSize"), HeaderKind::Number, &TreeSettings::TreeSize, nullptr},
    {QLatin1String("TreeLines"), HeaderKind::Number, &TreeSettings::TreeLines, nullptr},
    {QLatin1String("TreeLineColor"), HeaderKind::Text, nullptr, &TreeSettings::TreeLineColor},
    {QLatin1String("TreePMColor"), HeaderKind::Text, nullptr, &TreeSettings::TreePMColor},
    {QLatin1String("TreeBNonExpanded"), HeaderKind::Picture, nullptr, &TreeSettings::TreeBNonExpanded},
    {QLatin1String("TreeBExpanded"), HeaderKind::Picture, nullptr, &TreeSettings::TreeBExpanded},
    {QLatin1String("TreeLeaf"), HeaderKind::Picture, nullptr, &TreeSettings::TreeLeaf},
    {QLatin1String("TreeTarget"), HeaderKind::Text, nullptr, &TreeSettings::TreeTarget},
    {QLatin1String("TreeBackground"), HeaderKind::Text, nullptr, &TreeSettings::TreeBackground},
    {QLatin1String("TreeFontSize"), HeaderKind::Text, nullptr, &TreeSettings::TreeFontSize},
    {QLatin1String("TreeFontColor"), HeaderKind::Text, nullptr, &TreeSettings::TreeFontColor},
}};

} // namespace vi
