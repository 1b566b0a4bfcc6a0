#pragma once
#include <QString>

namespace vi {

// Removes a folder with everything in it, depth first. Never follows links
// and never touches anything outside the folder. Reports nothing.
// A path that is not a folder (or is a link) removes nothing.
void RemoveFolder(const QString& path);
// Deletes every sub-folder and listed file of a folder, but not the folder.
// Listed files are those neither hidden nor system files; a read-only file
// stays, and so do the folders above it. A link inside is removed as a link.
void ClearFolder(const QString& path);

} // namespace vi
