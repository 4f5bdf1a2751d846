#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../bytes.h"

#include "ui/dialog_template.h"
#include "ui/open_dialog_buffers.h"

using namespace orv;

TEST(DialogTemplate, ControlDialogBytes) {
  AString bytes;
  buildDialogTemplate(bytes,
                      {0x84C21AD5, 0x00040000, 70, 70, 117, 92, "Orvalix", 8, "MS Sans Serif"});
  std::vector<unsigned char> expected = {
      0xD5, 0x1A, 0xC2, 0x84,                       // style
      0x00, 0x00, 0x04, 0x00,                       // WS_EX_APPWINDOW
      0x00, 0x00,                                   // no items
      70,   0,    70,   0,    117, 0, 92, 0, 0, 0,  // no menu
      0,    0,                                      // dialog class
  };
  for (char c : std::string("Orvalix")) expected.insert(expected.end(), {(unsigned char)c, 0});
  expected.insert(expected.end(), {0, 0, 8, 0});
  for (char c : std::string("MS Sans Serif"))
    expected.insert(expected.end(), {(unsigned char)c, 0});
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(std::vector<unsigned char>(bytes.c_str(), bytes.c_str() + bytes.length()), expected);
  EXPECT_EQ(bytes.length(), 68u);
}

TEST(DialogTemplate, HighBytesWidenAsUnits) {
  AString bytes;
  buildDialogTemplate(bytes, {0, 0, -1, 0, 0, 0, "\xe9", 8, ""});
  std::string b = str(bytes);
  EXPECT_EQ(b.substr(10, 2), std::string("\xff\xff"));
  EXPECT_EQ(b.substr(22, 4), std::string("\xe9\0\0\0", 4));
}

TEST(PickRules, FilterBecomesNulSeparated) {
  struct {
    std::string in, out;
  } cases[] = {
      {"Programs|*.com;*.eXe", std::string("Programs\0*.com;*.eXe\0", 21)},
      {"", std::string("\0", 1)},
      {"a||b|", std::string("a\0\0b\0\0", 6)},
  };
  for (auto& c : cases) {
    AString s;
    convertFilter(s, viewOf(c.in));
    EXPECT_EQ(str(s), c.out);
    EXPECT_EQ(s.c_str()[s.length()], '\0');  // the closing double NUL
  }
}

TEST(PickRules, NameBufferFillAndReadBack) {
  struct {
    std::string initial;
    std::string head;  // the buffer's start, through its first NUL
  } cases[] = {
      {"", std::string("\0", 1)},
      {"abc", std::string("abc\0", 4)},
      {std::string("ab\0cd", 5), std::string("ab\0", 3)},
      {std::string(9000, 'x'), std::string(8191, 'x') + std::string("\0", 1)},
  };
  for (auto& c : cases) {
    AString buffer;
    fillNameBuffer(buffer, viewOf(c.initial));
    std::string b = str(buffer);
    ASSERT_EQ(b.size(), 8192u);
    EXPECT_EQ(b.substr(0, c.head.size()), c.head);
    EXPECT_EQ(b.find_first_not_of(' ', c.head.size()), std::string::npos);  // blanks after
    // Unchanged by the dialog (cancel): the initial name up to its NUL.
    ByteView back = readBackName(buffer);
    EXPECT_EQ(str(back), c.head.substr(0, c.head.size() - 1));
  }
  // A chosen path written over the start, blanks left after its NUL.
  AString buffer;
  fillNameBuffer(buffer, "");
  std::string chosen = "C:\\Apps\\tool.exe";
  for (unsigned i = 0; i <= chosen.size(); ++i) buffer.data()[i] = chosen.c_str()[i];
  ByteView back = readBackName(buffer);
  EXPECT_EQ(str(back), chosen);
  EXPECT_EQ(readBackName(ByteView("   ", 3)).size, 0u);
}
