#pragma once

#include "platform/astring.h"

// The pure rules of the shell command: what its words ask for, which values
// name an Orvalix.exe, and how the record writes down a value.
namespace orv {

enum class ShellAction : unsigned char { none, bad, show, set, undo };
enum class ShellScope : unsigned char { user, machine };

struct ShellRequest {
  ShellAction action = ShellAction::none;  // none: the first word is not /shell
  ShellScope scope = ShellScope::user;
  bool quiet = false;
};

// "/shell [show | set user | set machine | undo user | undo machine]", words
// apart by blanks, in any letter case, with "/quiet" anywhere after /shell;
// anything else after /shell is a bad command.
ShellRequest shellRequestOf(ByteView commandTail);

// Whether a Shell value starts an Orvalix.exe: the program it names, quoted
// or as its first word, or the whole value, has that file name.
bool namesOrvalix(ByteView value);

// A value of one place as the record keeps it: there (as REG_SZ text, or as
// REG_EXPAND_SZ) or not there, which differs from empty text.
struct RecordedValue {
  bool there = false;
  bool expand = false;
  AString text;

  void assign(const RecordedValue& other);
};

// One record entry, the strings of a REG_MULTI_SZ: what the last set wrote;
// then, where a value was there before the first set, "=" and that value
// ("%" where it was a REG_EXPAND_SZ); none where there was none, which an
// empty string cannot say (it would end the list).
void appendRecordEntry(AString& out, const RecordedValue& before, ByteView wrote);
// False where `data` is no such entry.
bool readRecordEntry(ByteView data, RecordedValue& before, AString& wrote);

}  // namespace orv
