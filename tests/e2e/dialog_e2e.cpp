#include <gtest/gtest.h>

#include "driver.h"
