#include <gtest/gtest.h>

#include <string>

#include "../bytes.h"
#include "host_platform.h"
#include "launch/expand.h"
#include "launch/launch_text.h"

using namespace orv;

static std::string expand(const std::string& path) { return str(expandPath(viewOf(path))); }

TEST(Expansion, Table) {
  hostEnvironment = {
      {"SystemRoot", "C:\\WINDOWS"},  {"A", "[a]"}, {"B", "[b]"}, {"REF", "%A%"}, {"PCT", "50%"},
      {std::string(256, 'n'), "long"}};
  struct {
    std::string path, result;
  } cases[] = {
      {"%SystemRoot%\\notepad.exe", "C:\\WINDOWS\\notepad.exe"},
      {"x%A%y%B%z", "x[a]y[b]z"},
      {"%UNSET_NAME%\\x.exe", "\\x.exe"},
      {"C:\\x.exe", "C:\\x.exe"},
      {"100%", "100"},
      {"a%b", "ab"},
      {"a%%b", "ab"},
      {"%", ""},
      {"%A%%B%", "[a][b]"},
      {"%A%x%B", "[a]xB"},
      {"%REF%", "%A%"},  // values are not scanned again
      {"%PCT%%B%", "50%[b]"},
      {"%%%%", ""},
      {"%" + std::string(300, 'n') + "%", "long"},  // names are cut to 256
      {"", ""},
  };
  for (auto& c : cases) EXPECT_EQ(expand(c.path), c.result) << c.path;
}

TEST(Expansion, LongValuesAreTakenWhole) {
  hostEnvironment = {{"BIG", std::string(32768, 'v')}};
  EXPECT_EQ(expand("C:\\%BIG%\\x"), "C:\\" + std::string(32768, 'v') + "\\x");
}

TEST(LaunchText, OutcomesAndRefusal) {
  struct {
    int result;
    const char* text;
  } cases[] = {
      {2, "C:\\x.exe: File not found."},
      {33, "C:\\x.exe: Opened."},
      {42, "C:\\x.exe: Opened."},
      {31, "C:\\x.exe: Error 31 (no application is associated with this file type)."},
      {0, "C:\\x.exe: Error 0 (the system is out of memory or resources)."},
      {3, "C:\\x.exe: Error 3 (path not found)."},
      {32, "C:\\x.exe: Error 32 (a required library was not found)."},
      {17, "C:\\x.exe: Error 17."},
      {-5, "C:\\x.exe: Error-5."},
  };
  for (auto& c : cases) {
    AString s("C:\\x.exe");
    appendLaunchOutcome(s, c.result);
    EXPECT_STREQ(s.c_str(), c.text);
  }
  AString refusal;
  appendLaunchRefusal(refusal, 64, "C:\\Data\\long");
  EXPECT_STREQ(refusal.c_str(), "Error #64 running C:\\Data\\long");
}
