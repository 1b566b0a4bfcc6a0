#include "commands/MissingPictures.h"

#include "document/TreeDocument.h"
#include "script/FileSystem.h"

#include <QCoreApplication>
#include <QSet>

namespace vi {

namespace {
constexpr int kListedPictures = 10;
}

QStringList MissingPictures(const TreeDocument& document)
{
    QStringList missing;
    QSet<QString> seen;
    auto check = [&](const QString& picture) {
        if (picture.isEmpty() || seen.contains(picture))
            return;
        seen.insert(picture);
        if (!FileExists(picture))
            missing << picture;
    };
    const TreeSettings& settings = document.Settings();
    check(settings.TreeBExpanded);
    check(settings.TreeLeaf);
    check(settings.TreeBNonExpanded);
    for (int k = 2; k <= document.UpperBound(); ++k) {
        const ItemRecord& record = document.Record(k);
        if (!record.UseGlobalBNonExpanded)
            check(record.BNonExpanded);
        if (!record.UseGlobalBExpanded)
            check(record.BExpanded);
        check(record.MouseOutPic);
        check(record.MouseOverPic);
    }
    return missing;
}

QString MissingPicturesMessage(const QStringList& pictures)
{
    QStringList lines{QCoreApplication::translate("TreeCommands", "These pictures of the tree could not be found:")};
    lines << pictures.mid(0, kListedPictures);
    if (pictures.size() > kListedPictures)
        lines << QCoreApplication::translate("TreeCommands", "... and %1 more.").arg(pictures.size() - kListedPictures);
    return lines.join(QLatin1Char('\r'));
}

} // namespace vi
