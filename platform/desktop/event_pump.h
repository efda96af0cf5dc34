#pragma once

namespace lumora {

// Processes all pending window events for ms milliseconds; returns at once for 0 or less.
void pumpEvents(int ms);

}  // namespace lumora
