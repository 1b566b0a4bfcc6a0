#pragma once
#include <QString>
#include <cstdint>

namespace vi {

// The thirteen tree-wide settings; their names are also the header keys of custom.js.
// An empty text means the value is not set.
struct TreeSettings {
    std::int16_t TreeX = 5;
    std::int16_t TreeY = 5;
    std::int16_t TreeSize = 1;  // index into kItemHeights
    std::int16_t TreeLines = 1; // 0 none, 1 lines and plus/minus, 2 plus/minus only
    QString TreeLineColor = QStringLiteral("Black");
    QString TreePMColor = QStringLiteral("Black");
    QString TreeBNonExpanded;
    QString TreeBExpanded;
    QString TreeLeaf;
    QString TreeTarget;
    QString TreeBackground;
    QString TreeFontSize = QStringLiteral("2");
    QString TreeFontColor = QStringLiteral("Black");

    friend bool operator==(const TreeSettings&, const TreeSettings&) = default;
};

} // namespace vi
