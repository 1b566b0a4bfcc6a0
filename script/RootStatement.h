#pragma once
#include <QString>
#include <QStringView>

namespace vi {

class TreeDocument;
struct TreeSettings;

// The menuObject statement (line 34 of custom.js) built from the settings.
QString BuildRootStatement(const TreeSettings& settings);

// True when the line has the form BuildRootStatement writes: the loader keeps
// such a line as it stands. Any other text after "var menu" (script a
// hand-made file would have the page run, or a line no browser can run) is
// not kept; the statement is then built from the settings.
bool IsRootStatementForm(QStringView line);

// The statement the export writes: the one the document holds, or, for a
// tree that has none yet, the one built from its settings.
QString RootStatementOf(const TreeDocument& document);

} // namespace vi
