#pragma once
// Where pictures named by data from outside (a loaded file, the clipboard)
// may lie: the loader's rule, shared with every other way in.
#include <QString>
#include <QStringView>

namespace vi {

// The file name of a picture path: the text after its last "/" or "\".
QStringView PictureName(QStringView path);

// Where the loader puts a picture named in a custom.js: the name alone, in
// the treePics folder of the file's folder; empty for a path without a name.
QString TreePicsPicture(const QString& scriptFolder, QStringView path);

// True when path is where the loader would put a picture: a plain name in the
// treePics folder of an absolute folder, with no "." or ".." on the way.
bool IsTreePicsPicture(const QString& path);

} // namespace vi
