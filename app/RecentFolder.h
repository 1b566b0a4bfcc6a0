#pragma once
#include <QString>

namespace vi {

// The folder the user last loaded a tree from or exported one to, kept between
// runs, so that the file dialog opens where the user works. Before the first
// use, and when that folder is gone, it is the user's documents folder (the
// home folder where there is none), never the program's folder.
QString LastUsedFolder();
void RememberFolder(const QString& folder);

} // namespace vi
