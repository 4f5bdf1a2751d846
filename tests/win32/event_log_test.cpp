#include <gtest/gtest.h>

#include <thread>

#include "../bytes.h"
#include "fake_system.h"
#include "launch/event_log.h"
#include "test_util.h"

using namespace testutil;

namespace {

class EventLog : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset();
    fake::script.fixedTime = true;
    fake::script.time = {2026, 1, 1, 5, 9, 3, 7, 0};  // 5 January 2026, 09:03:07
  }
  InTempDir dir;
  std::string log() { return readFile(dir / "Orvalix.log"); }
};

TEST_F(EventLog, CreatesThenAppendsByteExactLines) {
  orv::logEvent("Executing startup", "runStartup");
  orv::logEvent("Standing by", "");
  orv::logEvent("", "exitWindows");
  orv::logEvent(orv::ByteView("a\r\nb%PATH%\0z", 12), "x");
  static const char kExpected[] =
      "01-05-2026 09:03:07: runStartup: Executing startup\r\n"
      "01-05-2026 09:03:07: Standing by\r\n"
      "01-05-2026 09:03:07: exitWindows: \r\n"
      "01-05-2026 09:03:07: x: a\r\nb%PATH%\0z\r\n";
  EXPECT_EQ(log(), std::string(kExpected, sizeof kExpected - 1));
}

TEST_F(EventLog, FollowsTheCurrentDirectory) {
  TempDir other;
  orv::logEvent("one", "s");
  SetCurrentDirectoryA(other.path().c_str());
  orv::logEvent("two", "s");
  EXPECT_EQ(logMessages(dir / "Orvalix.log"), std::vector<std::string>{"s: one"});
  EXPECT_EQ(logMessages(other / "Orvalix.log"), std::vector<std::string>{"s: two"});
}

// Another program holding the log: how it opened the file decides.
TEST_F(EventLog, OtherHoldersOfTheFile) {
  struct {
    const char* holder;
    DWORD access, share;
    DWORD releaseAfterMs;  // 0: held until after the call
    bool written;
  } cases[] = {
      {"reader allowing writers", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, true},
      {"exclusive holder", GENERIC_READ | GENERIC_WRITE, 0, 0, false},
      {"plain reader", GENERIC_READ, FILE_SHARE_READ, 0, false},
      {"exclusive, released within the retry", GENERIC_READ, 0, 10, true},
  };
  for (auto& c : cases) {
    DeleteFileA((dir / "Orvalix.log").c_str());
    orv::logEvent("before", "s");
    HANDLE h = CreateFileA((dir / "Orvalix.log").c_str(), c.access, c.share, nullptr, OPEN_EXISTING,
                           0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << c.holder;
    std::thread release;
    if (c.releaseAfterMs)
      release = std::thread([&] {
        Sleep(c.releaseAfterMs);
        CloseHandle(h);
      });
    DWORD start = GetTickCount();
    orv::logEvent("held", "s");
    DWORD took = GetTickCount() - start;
    if (!c.written) {  // a Startup run of 40 shortcuts: one wait, not forty
      start = GetTickCount();
      for (int i = 0; i < 40; ++i) orv::logEvent("held", "s");
      EXPECT_LT(GetTickCount() - start, 400u) << c.holder << ": after a drop, lines try once";
    }
    if (release.joinable())
      release.join();
    else
      CloseHandle(h);
    orv::logEvent("after", "s");
    std::vector<std::string> expected = {"s: before"};
    if (c.written) expected.push_back("s: held");
    expected.push_back("s: after");
    EXPECT_EQ(logMessages(dir / "Orvalix.log"), expected) << c.holder;
    EXPECT_LT(took, 500u) << c.holder << ": the retry must stay bounded";
    if (!c.written) {
      EXPECT_GE(took, 60u) << c.holder << ": dropped without retrying";
    }
  }
}

// A record cut short (a full disk) is not glued to the next one.
TEST_F(EventLog, ARecordAfterACutOneStartsOnItsOwnLine) {
  const char* cases[][2] = {
      {"01-05-2026 09:0", "\r\n"}, {"x", "\r\n"}, {"CR\r", "\r\n"}, {"ok\r\n", ""}};
  for (auto& c : cases) {
    writeFile(dir / "Orvalix.log", c[0]);
    orv::logEvent("whole", "s");
    EXPECT_EQ(log(), c[0] + std::string(c[1]) + "01-05-2026 09:03:07: s: whole\r\n") << c[0];
  }
}

TEST_F(EventLog, MissingDirectoryDropsTheLineQuietly) {
  TempDir gone;
  SetCurrentDirectoryA(gone.path().c_str());
  removeTree(gone.path());
  orv::logEvent("lost", "s");  // must neither crash nor show anything
  EXPECT_TRUE(fake::calls.empty());
  SetCurrentDirectoryA(dir.path().c_str());
  orv::logEvent("kept", "s");
  EXPECT_EQ(logMessages(dir / "Orvalix.log"), std::vector<std::string>{"s: kept"});
}

TEST_F(EventLog, TenThousandAppendsStayInOrder) {
  fake::script.fixedTime = false;
  for (int i = 0; i < 10000; ++i) {
    std::string m = "line " + std::to_string(i);
    orv::logEvent(viewOf(m), "s");
  }
  auto lines = logMessages(dir / "Orvalix.log");
  ASSERT_EQ(lines.size(), 10000u);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(lines[i], "s: line " + std::to_string(i));
}

}  // namespace
