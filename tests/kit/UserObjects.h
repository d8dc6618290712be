// The USER objects (windows, icons and cursors, menus) this process holds,
// for checks that a run ends holding no more of them than it began with.
#pragma once

#include <string>

namespace testutil {

struct UserObjects {
    long count = 0;
    std::string counted;   // what count counts, for the report
};

// On Windows the platform's own count (GetGuiResources). Wine's reads 0 and
// its one handle table serves every process, so there the table is walked
// for the windows, icons and cursors, and menus of this process.
UserObjects CountUserObjects();

}  // namespace testutil
