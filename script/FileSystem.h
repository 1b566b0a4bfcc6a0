#pragma once
#include <QString>

namespace vi {

// True when the path names a folder the program can enter.
bool FolderExists(const QString& path);
// True when the file can be opened for reading.
bool FileExists(const QString& path);
// Copies a picture into a folder under its own file name, unless it already
// lies there (folders compared without letter case). False when the copy failed.
bool CopyPictureTo(const QString& picturePath, const QString& destinationFolder);

} // namespace vi
