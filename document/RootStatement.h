#pragma once
#include <QString>

namespace vi {

struct TreeSettings;

// The menuObject statement (line 34 of custom.js) built from the settings.
QString BuildRootStatement(const TreeSettings& settings);

} // namespace vi
