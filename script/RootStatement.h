#pragma once
#include <QString>

namespace vi {

class TreeDocument;
struct TreeSettings;

// The menuObject statement (line 34 of custom.js) built from the settings.
QString BuildRootStatement(const TreeSettings& settings);

// The statement the export writes: the one the document holds, or, for a
// tree that has none yet, the one built from its settings.
QString RootStatementOf(const TreeDocument& document);

} // namespace vi
