#pragma once
#include <QSettings>
#include <QString>
#include <QStringList>

namespace vi {

// The folder the user last loaded a tree from or exported one to, kept between
// runs, so that the file dialog opens where the user works. Before the first
// use, and when that folder is gone, it is the user's documents folder (the
// home folder where there is none), never the program's folder.
QString LastUsedFolder();
void RememberFolder(const QString& folder);

// The editor's settings of the user.
QSettings EditorSettings();

// The documents last loaded or exported, the latest first.
inline constexpr int kRecentFiles = 8;
QStringList RecentFiles();
void AddRecentFile(const QString& file);
void RemoveRecentFile(const QString& file);
// The list with the file put first, once, cut to its length.
QStringList WithRecentFile(const QStringList& files, const QString& file);

} // namespace vi
