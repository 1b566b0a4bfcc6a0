#pragma once
#include <QString>

namespace vi {

// Removes a folder with everything in it, depth first. Never follows links
// and never touches anything outside the folder. Reports nothing.
void RemoveFolder(const QString& path);
// Deletes every sub-folder and listed file of a folder, but not the folder.
void ClearFolder(const QString& path);

} // namespace vi
