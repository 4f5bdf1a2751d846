#pragma once
// The include checker must reject this: the platform layer reaching up.
#include "app/process.h"
