#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../bytes.h"

#include "app/command_tail.h"
#include "launch/log_line.h"
#include "platform/error_numbers.h"
#include "platform/text.h"
#include "session/shell_words.h"
#include "startup/run_list.h"

using namespace orv;

TEST(CommandTail, Table) {
  struct {
    const char* line;
    const char* tail;
  } cases[] = {
      {"", ""},
      {"\"C:\\Program Files\\Orvalix.exe\" nostartup", "nostartup"},
      {"\"C:\\Program Files\\Orvalix.exe\"", ""},
      {"\"C:\\a b.exe\"x y", "x y"},  // bytes after the quote belong to the tail
      {"\"C:\\unclosed.exe nostartup", ""},
      {"C:\\Program Files\\Orvalix.exe", "Files\\Orvalix.exe"},
      {"prog   NoStartUp", "NoStartUp"},
      {"prog\tx", "\tx"},
      {"prog", ""},
      {"   lead tail ", "lead tail "},
      {"prog \"quoted\"  ", "\"quoted\"  "},
      {"\xff\x80x y", "y"},  // high bytes are part of the name
      {"\x01x", ""},         // the first byte is the name whatever its value
  };
  for (auto& c : cases) EXPECT_EQ(str(commandTailOf(c.line)), c.tail) << c.line;
}

// The words of the shell command (S: set, U: undo, W: show, B: bad, -: not
// one; u/m the scope, q quiet), the values that name an Orvalix.exe, and the
// record's entries both ways.
TEST(ShellWords, CommandsNamesAndRecordEntries) {
  struct {
    const char* tail;
    const char* request;
  } commands[] = {
      {"", "-"},
      {"nostartup /shell", "-"},
      {"/shellx", "-"},
      {"/shell", "W"},
      {"/SHELL  Show", "W"},
      {"/shell set user", "Su"},
      {"/shell /quiet undo   Machine", "Umq"},
      {"/shell set machine /QUIET /quiet", "Smq"},
      {"/shell set", "B"},
      {"/shell set everyone", "B"},
      {"/shell show user", "B"},
      {"/shell set\tuser", "B"},
      {"/shell set user now", "B"},
      {"/shell machine set", "B"},
      {"/shell /quiet", "Wq"},
  };
  for (auto& c : commands) {
    ShellRequest r = shellRequestOf(ByteView::ofCString(c.tail));
    std::string got(1, "-BWSU"[static_cast<int>(r.action)]);
    if (r.action == ShellAction::set || r.action == ShellAction::undo)
      got += r.scope == ShellScope::user ? "u" : "m";
    EXPECT_EQ(got + (r.quiet ? "q" : ""), c.request) << c.tail;
  }
  for (const char* yes : {"\"C:\\Program Files\\Orvalix\\Orvalix.exe\"", "C:\\ORVALIX\\ORVALIX.EXE",
                          "C:\\Program Files\\Orvalix\\orvalix.exe", "C:\\O\\Orvalix.exe nostartup",
                          "Orvalix.exe", "\"C:\\O\\Orvalix.exe", "\"C:\\O\\Orvalix.exe\" x"})
    EXPECT_TRUE(namesOrvalix(ByteView::ofCString(yes))) << yes;
  for (const char* no : {"Explorer.exe", "C:\\Orvalix.exe\\kiosk.exe", "C:\\O\\NotOrvalix.exe",
                         "\"C:\\O\\x.exe\" Orvalix.exe", ""})
    EXPECT_FALSE(namesOrvalix(ByteView::ofCString(no))) << no;
  struct {
    bool there, expand;
    const char* text;
    std::string entry;
  } entries[] = {
      {true, false, "Explorer.exe", str("W\0=Explorer.exe\0\0")},
      {true, true, "%x%", str("W\0%%x%\0\0")},
      {true, false, "", str("W\0=\0\0")},
      {false, false, "", str("W\0\0")},
  };
  for (auto& e : entries) {
    RecordedValue before, read;
    before.there = e.there, before.expand = e.expand,
    before.text.assign(ByteView::ofCString(e.text));
    AString out, wrote;
    appendRecordEntry(out, before, "W");
    EXPECT_EQ(str(out), e.entry);
    ASSERT_TRUE(readRecordEntry(out, read, wrote)) << e.text;
    EXPECT_EQ(std::to_string(read.there * 2 + read.expand) + str(read.text) + str(wrote),
              std::to_string(e.there * 2 + e.expand) + e.text + "W");
  }
  for (std::string bad : {str("W"), str("W\0=x"), str("W\0x\0\0")}) {
    RecordedValue read;
    AString wrote;
    EXPECT_FALSE(readRecordEntry(ByteView(bad.data(), bad.size()), read, wrote)) << bad;
  }
}

TEST(NumberText, BlankOrMinusThenDigits) {
  struct {
    long value;
    const char* text;
  } cases[] = {{0, " 0"},
               {1, " 1"},
               {-1, "-1"},
               {76, " 76"},
               {2147483647L, " 2147483647"},
               {-2147483647L - 1, "-2147483648"}};
  for (auto& c : cases) {
    AString s;
    appendNumber(s, c.value);
    EXPECT_EQ(str(s), c.text);
  }
  AString digits;
  appendDigits(digits, 64);
  EXPECT_EQ(str(digits), "64");
  appendDigits(digits, ~0ul);  // every digit of the host's 64-bit unsigned long
  EXPECT_EQ(str(digits), "64" + std::to_string(~0ul));
}

// Views of the string itself across growth: ASan sees any read of a freed buffer.
TEST(AString, ViewsOfItselfAndStickyFailure) {
  struct {
    const char* start;
    void (*change)(AString&);
    const char* result;
    bool failed;
  } cases[] = {
      // own view; own middle; assign from own middle; past capacity twice; sticky failure
      // clang-format off
      {"abcdefghij", [](AString& s) { s.append(s); }, "abcdefghijabcdefghij", false},
      {"abcdefghij", [](AString& s) { s.append(s.view().mid(2, 6)); }, "abcdefghijcdefgh", false},
      {"abcdefghij", [](AString& s) { s.assign(s.view().mid(3, 2)); }, "de", false},
      {"abcdefghij", [](AString& s) { s.append(s).append(s); },
       "abcdefghijabcdefghijabcdefghijabcdefghij", false},
      {"kept", [](AString& s) { s.append(ByteView("x", 0x7FFFFFFFu)).append("y"); }, "kept", true},
      // clang-format on
  };
  for (auto& c : cases) {
    AString s{ByteView::ofCString(c.start)};
    c.change(s);
    EXPECT_EQ(str(s), c.result) << c.result;
    EXPECT_EQ(s.failed(), c.failed) << c.result;
  }
}

// Each error number: its text, and the platform codes that map to it.
TEST(ErrorTables, CodesNumbersAndTexts) {
  struct {
    int number;
    const char* text;
    std::vector<unsigned long> codes;
  } cases[] = {
      {75, "Path/file access error", {1, 16, 37, 267, 40, 0xFFFFFFFF}},
      {53, "File not found", {2, 18}},
      {76, "Path not found", {3}},
      {67, "Too many files", {4}},
      {70, "Permission denied", {5, 19, 32, 33, 36}},
      {51, "Internal error", {6, 11, 12, 13, 22, 24}},
      {241, "Global memory corrupt", {7, 9, 10}},
      {7, "Out of memory", {8, 14}},
      {68, "Device unavailable", {15, 20}},
      {74, "Rename across disks", {17}},
      {71, "Disk not ready", {21}},
      {72, "Disk media error", {23, 25, 31, 34, 35}},
      {62, "Input past end", {38}},
      {61, "Disk full", {39, 112}},
      {5, "Illegal function call", {87}},
      {0, "No Error", {}},
      {64, "Bad file name", {}},
      {242, "String space corrupt", {}},
      {1, "", {}},
      {255, "", {}},
  };
  for (auto& c : cases) {
    EXPECT_EQ(str(errorText(c.number)), c.text) << c.number;
    for (unsigned long code : c.codes) EXPECT_EQ(errorNumberFromCode(code), c.number) << code;
  }
}

TEST(LogLine, ByteExact) {
  struct {
    LocalTime t;
    const char* source;
    std::string message;
    std::string line;
  } cases[] = {
      {{2026, 12, 8, 5, 22, 11}, "", "Standing by", "12-08-2026 05:22:11: Standing by"},
      {{2026, 1, 5, 9, 3, 7},
       "runStartup",
       "Executing startup",
       "01-05-2026 09:03:07: runStartup: Executing startup"},
      {{1999, 10, 31, 23, 59, 59}, "exitWindows", "", "10-31-1999 23:59:59: exitWindows: "},
      {{2026, 2, 3, 0, 0, 0}, "", "", "02-03-2026 00:00:00: "},
      {{2026, 2, 3, 0, 0, 0}, "x", "a\r\nb%c%", "02-03-2026 00:00:00: x: a\r\nb%c%"},
      {{2026, 2, 3, 0, 0, 0}, "x", str("a\0b"), str("02-03-2026 00:00:00: x: a\0b")},
  };
  for (auto& c : cases) {
    AString s;
    buildLogLine(s, c.t, ByteView::ofCString(c.source), viewOf(c.message));
    EXPECT_EQ(str(s), c.line);
  }
}

// FORMAT_MESSAGE_MAX_WIDTH_MASK keeps line breaks written into a system text.
TEST(SystemText, OnOneLine) {
  std::string cases[][2] = {
      {"Denied.\r\n", "Denied."}, {"One.\r\nTwo. \r\n", "One.  Two."}, {"", ""}};
  for (auto& c : cases) EXPECT_EQ(str(asOneLine(c[0].data(), c[0].size())), c[1]) << c[0];
}

// Code page 932 (the host stands in for the system): the second byte of
// 0x95 0x5C and 0x83 0x5C is no separator, and 0x83 0x41 is not 0x83 0x61.
TEST(PathText, TwoByteCharacters) {
  EXPECT_EQ(findLastSeparator("C:\\d\\x"), 4);
  EXPECT_EQ(findLastSeparator("C:\\\x83\x5c\\x"), 5);
  EXPECT_EQ(findLastSeparator("C:\\\x95\x5c"), 2);
  EXPECT_EQ(findLastSeparator("\x95\x5c\x83\x5c"), -1);
  EXPECT_TRUE(equalsIgnoringAsciiCase("Mail.LNK\x83\x41", "mail.lnk\x83\x41"));
  EXPECT_FALSE(equalsIgnoringAsciiCase("\x83\x41", "\x83\x61"));
}

TEST(StartupRules, NoStartupSwitch) {
  struct {
    const char* tail;
    bool off;
  } cases[] = {{"nostartup", true},    {"/NoStartup", true},   {"  NOSTARTUP  ", true},
               {"x-nostartupy", true}, {"no startup", false},  {"", false},
               {"nostartu", false},    {"\tnostartup\t", true}};
  for (auto& c : cases) EXPECT_EQ(startupSwitchedOff(ByteView::ofCString(c.tail)), c.off) << c.tail;
}

TEST(StartupRules, DisabledPrefix) {
  struct {
    const char* name;
    bool skipped;
  } cases[] = {{"Disabled Mail.lnk", true}, {"DISABLEDx.lnk", true},
               {"disabled", true},          {"disable.lnk", false},
               {"My disabled.lnk", false},  {"disabl", false},
               {"dIsAbLeD.lnk", true},      {"", false}};
  for (auto& c : cases) EXPECT_EQ(isDisabledName(ByteView::ofCString(c.name)), c.skipped) << c.name;
}

// The name it is then opened by, its own or its 8.3 one, is the listing's to say.
TEST(StartupRules, WhichNamesRun) {
  struct {
    const char* name;
    bool runs;
  } cases[] = {{"Mail.lnk", true}, {"Mail.LNK", true}, {"Mail.lnk_old", false},
               {"??.lnk", true},   {"a?.lnk", true},   {"disabled?.lnk", false},
               {".lnk", true},     {"lnk", false}};
  for (auto& c : cases) EXPECT_EQ(runsAtStartup(ByteView::ofCString(c.name)), c.runs) << c.name;
}

TEST(StartupRules, MutexNamePerFolderAnyAsciiCase) {
  auto name = [](const char* folder, FolderKey kind = FolderKey::spelling) {
    AString out;
    appendStartupMutexName(out, ByteView::ofCString(folder), kind);
    return std::string(out.c_str());
  };
  std::string a = name("C:\\Orvalix\\Startup");
  EXPECT_LE(a.size(), 26u);
  EXPECT_EQ(a.find('\\'), std::string::npos);
  EXPECT_EQ(name("c:\\ORVALIX\\startup"), a);
  EXPECT_NE(name("C:\\Orvalix2\\Startup"), a);
  // Code page 932 (the host stands in for the system): 0x83 0x41 and 0x83 0x61
  // are two characters, not "A" and "a"; a single byte outside ASCII stays.
  EXPECT_NE(name("C:\\\x83\x41\\Startup"), name("C:\\\x83\x61\\Startup"));
  EXPECT_EQ(name("C:\\\x83\x41\\Startup"), name("c:\\\x83\x41\\STARTUP"));
  EXPECT_NE(name("C:\\\xc1\\Startup"), name("C:\\\xe1\\Startup"));
  EXPECT_LE(name(std::string(4000, 'x').c_str()).size(), 26u);
  // A file system's identity is taken byte for byte: file indexes 0x41 and 0x61.
  EXPECT_NE(name("\x41\x01", FolderKey::identity), name("\x61\x01", FolderKey::identity));
}

TEST(StartupRules, RunListKeepsByteOrder) {
  struct {
    std::vector<const char*> in;
    std::vector<const char*> out;
  } cases[] = {
      {{"b.lnk", "C.lnk", "a.lnk", "9.lnk", "10.lnk"},
       {"10.lnk", "9.lnk", "C.lnk", "a.lnk", "b.lnk"}},
      {{"ab.lnk", "a.lnk", "a"}, {"a", "a.lnk", "ab.lnk"}},              // a prefix sorts first
      {{"\xe9.lnk", "z.lnk", "Z.lnk"}, {"Z.lnk", "z.lnk", "\xe9.lnk"}},  // unsigned bytes
      {{"x", "x", "w"}, {"w", "x", "x"}},
      {{}, {}},
  };
  for (auto& c : cases) {
    RunList list;
    for (const char* n : c.in) ASSERT_TRUE(list.insert(ByteView::ofCString(n)));
    std::vector<std::string> got;
    for (unsigned i = 0; i < list.count(); ++i) got.push_back(list[i].c_str());
    EXPECT_EQ(got, std::vector<std::string>(c.out.begin(), c.out.end()));
  }
}
