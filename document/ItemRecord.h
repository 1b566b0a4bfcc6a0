#pragma once
#include <QString>
#include <cstdint>

namespace vi {

inline const QString kBranch = QStringLiteral("BRANCH");
inline const QString kLeaf = QStringLiteral("LEAF");
inline const QString kNoneSpecified = QStringLiteral("(None Specifyed)");

// Every property of one menu item, in the declared field order. The item's
// statement in custom.js is not kept: it is built whenever it is written.
struct ItemRecord {
    std::int16_t RootMark = 0; // -1 only in the root's placeholder
    QString ItemType;          // kBranch or kLeaf
    QString FriendlyName;      // the label in the editor, equal to the node text
    bool UseGlobalBNonExpanded = false;
    QString BNonExpanded;
    bool UseGlobalBExpanded = false;
    QString BExpanded;
    QString MouseOutPic;
    QString MouseOverPic;
    QString ItemText; // may hold HTML
    bool UseGlobalFont = false;
    QString FontSize;
    QString FontColor;
    QString LinkHref;
    bool UseGlobalTarget = false;
    QString LinkTarget;
    QString LinkDescription;

    friend bool operator==(const ItemRecord&, const ItemRecord&) = default;
};

} // namespace vi
