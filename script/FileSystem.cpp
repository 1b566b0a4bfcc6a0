#include "script/FileSystem.h"

#include <QDir>
#include <QFile>

// Placeholder until the export driver lands.
namespace vi {
bool FolderExists(const QString& path) { return !path.isEmpty() && QDir(path).exists(); }
bool FileExists(const QString& path) { return QFile::exists(path); }
bool CopyPictureTo(const QString&, const QString&) { return false; }
} // namespace vi
