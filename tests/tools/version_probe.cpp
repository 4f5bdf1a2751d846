// Exits with 1 when isWindowsNT says NT and 0 otherwise, so a test can see
// what a program of a given name is told by the system.
#include "session/session.h"

int main() { return orv::isWindowsNT() == -1 ? 1 : 0; }
