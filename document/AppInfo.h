#pragma once
#include <QString>

namespace vi {

// The program's identity and folders, fixed at start-up.
QString ProductName();     // "Vuvov-Ivoza"
QString AppVersion();      // major.minor.revision from the build's project version
QString MakerWebAddress(); // shown in the About box and written on line 11 of custom.js
QString MakerCopyright();  // shown in the About box and written on line 12 of custom.js

// The folder of the executable, without a trailing separator. Tests may point
// it elsewhere with SetProgramFolder.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

QChar NativeSeparator();
QString JoinPath(const QString& folder, const QString& name); // folder + separator + name

// The data folder: the first that exists of TreeData beside the executable
// (build tree, portable copy, Windows), the installed one in
// ../share/vuvov-ivoza/TreeData and the one in a macOS bundle's Resources.
// When none exists, the one beside the executable, whose absence the export
// and the colour lists then meet.
QString DataFolder();
// Only a data folder beside the executable is the program's own to write in;
// an installed one is never written to.
bool DataFolderBesideProgram();
// The preview folder: TmpTree in the data folder beside the executable, else
// the per-user one.
QString TmpTreePath();
// TmpTree in the user's cache folder.
QString UserPreviewPath();

} // namespace vi
