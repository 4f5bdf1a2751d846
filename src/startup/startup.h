#pragma once

namespace orv {

// Opens the shortcuts of the Startup folder beside the program file, in byte
// order. Reports its own failures (a box and a log line) and always returns.
void runStartup();

}  // namespace orv
