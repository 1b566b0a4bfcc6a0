#pragma once
#include <QString>
#include <QStringList>

namespace vi {

// True when the path names a folder the program can enter.
bool FolderExists(const QString& path);
// True when the file can be opened for reading.
bool FileExists(const QString& path);
// Copies a picture into a folder under its own file name, unless it already
// lies there (folders compared without letter case). False when the copy failed.
bool CopyPictureTo(const QString& picturePath, const QString& destinationFolder);

// True when both paths name one existing file (links and spellings resolved).
bool SameFile(const QString& first, const QString& second);
// Copies a file over destination, replacing a file or link of that name. A
// source that already is the destination is left alone and counts as copied,
// so that nothing is ever deleted before it is copied onto itself.
bool CopyFileOver(const QString& source, const QString& destination);

// The folder under TreeData/TreeLines that holds the pictures of a colour: the
// sub-folder of that name, else one whose name differs only in letter case.
// Empty when there is none.
QString LineColourFolder(const QString& colour);

// The names of a folder's sub-folders in name order, letter case ignored;
// empty when the folder is missing or unreadable.
QStringList SubFolderNames(const QString& folder);

} // namespace vi
