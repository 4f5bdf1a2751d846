#include <gtest/gtest.h>

#include "driver.h"

using namespace e2e;
using namespace testutil;

namespace {

// Start-up alone logs nothing; the Close command ends the program with 0.
TEST(Start, CommandLinesAndExitCode) {
  const char* tails[] = {"", "nostartup", "  /NoStartup  ", "\"quoted arg\""};
  for (const char* tail : tails) {
    Install install;
    TempDir cwd;
    Process p(install.exe(), tail, cwd.path());
    HWND dialog = waitWindow(p.id(), "#32770", "Orvalix");
    ASSERT_TRUE(dialog) << tail;
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(p.waitExit(10000), 0u) << tail;
    EXPECT_FALSE(exists(cwd / "Orvalix.log")) << tail;
    EXPECT_FALSE(exists(install.dir / "Orvalix.log")) << tail;
  }
}

}  // namespace
