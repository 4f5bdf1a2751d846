#pragma once

#include "platform/astring.h"
#include "platform/win.h"
#include "session/shell_words.h"

// Where Windows reads which program to start as the shell, on each family,
// and how the shell command reads and writes those places.
namespace orv {

struct ShellSystem {
  bool nt = false;
  // NT 4.0 to XP and Server 2003: Winlogon reads Shell from system.ini's
  // [boot], which the mapping sends to the user's or the machine's value
  // (Microsoft, KB Q102889; "Different Shells for Different Users").
  bool readsMapping = false;
  // 64-bit Windows: the machine's values have a copy for 32-bit programs
  // (Microsoft, "Registry Keys Affected by WOW64"); Winlogon reads the 64-bit one.
  bool twoViews = false;
};
ShellSystem shellSystemOf();

// The places a shell is named in; on 64-bit Windows kMachineShell and
// kMapping are the 64-bit copies, and the ...32 ones the 32-bit copies.
enum ShellPlace : unsigned {
  kUserShell,
  kMachineShell,
  kMachineShell32,
  kMapping,
  kMapping32,
  kPolicy,  // read, never written
  kSystemIni,
  kShellPlaces,
};

bool placeOnSystem(const ShellSystem& system, unsigned place);
// The places a set of `scope` writes there.
bool placeInScope(const ShellSystem& system, unsigned place, ShellScope scope);
// Its name for people and in the record: the key and the value, or the file,
// and the registry view where the system has two.
void appendPlaceName(AString& out, const ShellSystem& system, unsigned place);

// A place's value as it stands: 0 where it is there, ERROR_FILE_NOT_FOUND
// where not, ERROR_INVALID_DATA where it is no text, another where it could
// not be read.
LONG readPlace(const ShellSystem& system, unsigned place, RecordedValue& value);
// Whether the place may be written: 0, or why not.
LONG mayWritePlace(const ShellSystem& system, unsigned place);
// Writes the value, or deletes it where it is not there, and reads it back:
// 0, or why not (ERROR_INVALID_DATA: something else stands there after).
LONG writePlace(const ShellSystem& system, unsigned place, const RecordedValue& value);

// What the set of `scope` writes to a place, for the program at `exe`.
void appendValueToSet(AString& out, const ShellSystem& system, unsigned place, ShellScope scope,
                      ByteView exe);

// Where the record of what each scope's set changed is kept.
struct RecordKey {
  HKEY root;
  const char* path;
  REGSAM view;
};
RecordKey recordKeyOf(const ShellSystem& system, ShellScope scope);
void appendRecordKeyName(AString& out, const RecordKey& key);

}  // namespace orv
