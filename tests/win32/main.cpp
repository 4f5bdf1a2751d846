#include <gtest/gtest.h>

#include "app/process.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!orv::createProcessState()) return 255;
  int result = RUN_ALL_TESTS();
  orv::releaseProcessState();
  return result;
}
