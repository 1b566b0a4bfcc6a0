#pragma once
#include <QString>

namespace vi {

// The program's identity and folders, fixed at start-up.
QString ProductName();   // "Vuvov-Ivoza"
QString AppVersion();    // major.minor.revision from the build's project version
QString MakerWebAddress(); // shown in the About box and written on line 11 of custom.js
QString MakerCopyright();  // shown in the About box and written on line 12 of custom.js

// The folder of the executable, without a trailing separator. Tests may point
// it elsewhere with SetProgramFolder.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

QChar NativeSeparator();
QString JoinPath(const QString& folder, const QString& name); // folder + separator + name

QString DataFolder();  // ProgramFolder + "/TreeData"
QString TmpTreePath(); // ProgramFolder + "/TreeData/TmpTree"

} // namespace vi
