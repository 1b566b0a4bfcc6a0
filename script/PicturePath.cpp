#include "script/PicturePath.h"

#include "document/AppInfo.h"
#include "script/FileSystem.h"
#include "script/ScriptText.h"

#include <QDir>
#include <algorithm>

namespace vi {

QStringView PictureName(QStringView path)
{
    return path.sliced(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
}

QString TreePicsPicture(const QString& scriptFolder, QStringView path)
{
    const QStringView name = PictureName(path);
    if (name.isEmpty())
        return {};
    return JoinPath(JoinPath(scriptFolder, QStringLiteral("treePics")), name.toString());
}

bool IsTreePicsPicture(const QString& path)
{
    if (QDir::isRelativePath(path))
        return false;
    const QString folder = FolderOf(FolderOf(path));
    const QString plain = QDir::fromNativeSeparators(path);
    return !folder.isEmpty() && QDir::cleanPath(plain) == plain
           && path.compare(TreePicsPicture(folder, path),
                           FileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive)
                  == 0;
}

} // namespace vi
