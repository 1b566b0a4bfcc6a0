#include "script/TreeLoader.h"

// Placeholder until the loader lands.
namespace vi {
LoadResult LoadTreeScript(TreeDocument&, const QString&, UserInterface&) { return {}; }
} // namespace vi
