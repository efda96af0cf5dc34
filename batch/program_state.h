#pragma once

// The values the batch edition keeps for as long as it runs.

#include <functional>

#include "core/byte_text.h"
#include "core/site_profile.h"
#include "harvest/harvest_context.h"

namespace lumora {

struct ProgramState {
    ByteText runDirectory;
    SiteProfile profile;
    int responseDelay = 1;     // milliseconds of every pause; set by the main window's "确认"
    HarvestCounters counters;  // never reset while the program runs
    RandomNumbers random;      // the title suggestions draw from it
    // Ends the program with an exit code; the program's start sets it, tests record it.
    std::function<void(int)> endProgram = [](int) {};
};

}  // namespace lumora
