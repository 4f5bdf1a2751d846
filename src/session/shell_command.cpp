#include "session/shell_command.h"

#include "launch/event_log.h"
#include "platform/directory_listing.h"
#include "platform/environment.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/module_path.h"
#include "platform/system.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "session/shell_places.h"
#include "session/shell_record.h"

namespace orv {

namespace {

constexpr char kNewLine[] = "\r\n";

// What a command comes to: its exit code, the words of its log line and the
// text a person reads in the box (and a script on standard output).
struct Outcome {
  int code = kShellDone;
  AString summary;  // the log line's
  AString title, text, next;

  // Keeps the lowest code but 0 of all that apply.
  void note(int exitCode, ByteView words) {
    if (exitCode && (!code || exitCode < code)) code = exitCode;
    if (!summary.empty()) summary.append("; ");
    summary.append(words);
  }
  AString& line() { return text.append("  "); }
};

bool sameText(const RecordedValue& value, ByteView text) {
  return value.there && !value.expand && value.text.view() == text;
}

void appendValue(AString& out, const RecordedValue& value) {
  if (!value.there) {
    out.append("none");
    return;
  }
  out.append(value.text);
  if (value.expand) out.append(" (REG_EXPAND_SZ)");
}

// Why `words` could not be done: access denied (run as administrator), or
// the system's error.
void noteFailure(Outcome& out, AString& words, LONG error) {
  if (error == ERROR_CHILD_MUST_BE_VOLATILE)
    // An earlier Orvalix made HKEY_CURRENT_USER\Software\Orvalix volatile,
    // and Windows keeps it so until the user logs off.
    words.append(
        ": HKCU\\Software\\Orvalix lasts only until you log off; log off and on, then "
        "try again");
  else if (error == ERROR_ACCESS_DENIED)
    words.append(": access denied; run as administrator");
  else
    appendSystemError(words.append(": "), static_cast<unsigned long>(error));
  out.line().append(words).append(kNewLine);
  out.note(error == ERROR_ACCESS_DENIED ? kShellAccessDenied : kShellFailed, words);
}

void notePlaceFailure(Outcome& out, ByteView what, const ShellSystem& system, unsigned place,
                      LONG error) {
  AString words(what);
  appendPlaceName(words.append(' '), system, place);
  noteFailure(out, words, error);
}

void noteRecordFailure(Outcome& out, ByteView what, const ShellSystem& system, ShellScope scope,
                       LONG error) {
  RecordKey key = recordKeyOf(system, scope);
  AString words(what);
  words.append(" Orvalix's record ")
      .append(ByteView::ofCString(key.root == HKEY_LOCAL_MACHINE ? "HKLM\\" : "HKCU\\"))
      .append(ByteView::ofCString(key.path));
  noteFailure(out, words, error);
}

// The short form of a path where the system gives one, so that two spellings
// of one folder compare alike; the path itself where not.
AString shortPath(const AString& path) {
  char spelled[MAX_PATH];
  DWORD n;
  {
    QuietErrors quiet;
    n = GetShortPathNameA(path.c_str(), spelled, MAX_PATH);
  }
  return n && n < MAX_PATH ? AString(ByteView(spelled, n)) : AString(path.view());
}

// Whether `path` lies under the folder a variable names (%TEMP%, %TMP%).
bool liesUnder(const AString& path, const char* variable) {
  AString folder = environmentValue(AString(ByteView::ofCString(variable)));
  if (folder.empty()) return false;
  AString inner = shortPath(path), outer = shortPath(folder);
  if (outer.length() && outer.view().at(outer.length() - 1) == '\\')
    outer.truncate(outer.length() - 1);
  return inner.length() > outer.length() && inner.view().at(outer.length()) == '\\' &&
         equalsIgnoringAsciiCase(inner.view().mid(0, outer.length()), outer);
}

// The path of this Orvalix.exe to name as the shell, checked as a Startup
// folder's path is: each name reaches its own entry (8.3 where only that
// one does), it fits MAX_PATH, and it lies in no temporary folder (an exe
// run from inside a zip is there, and gone soon). 95 gets the 8.3 path
// SYSTEM.INI can hold. Empty where refused, with why in `out`.
AString exeToSet(const ShellSystem& system, Outcome& out) {
  AString exe = modulePath();
  const char* refusal = nullptr;
  if (exe.empty() || exe.failed())
    refusal = "Orvalix.exe cannot tell its own path";
  else if (makeReachOwnFile(exe))
    refusal =
        "Orvalix.exe's path may reach another file than itself (a name the ANSI code page cannot "
        "spell)";
  else if (exe.length() >= MAX_PATH)
    refusal = "Orvalix.exe's path is longer than Windows takes for a program (MAX_PATH)";
  else if (liesUnder(exe, "TEMP") || liesUnder(exe, "TMP"))
    refusal =
        "Orvalix.exe runs from a temporary folder (from inside a zip?): copy it to a folder of its "
        "own first";
  if (refusal) {
    out.line().append(ByteView::ofCString(refusal)).append(kNewLine);
    out.note(kShellFailed, ByteView::ofCString(refusal));
    return AString();
  }
  return system.nt ? static_cast<AString&&>(exe) : shortPath(exe);
}

bool readAll(const ShellSystem& system, PlaceValue (&live)[kShellPlaces], Outcome& out) {
  bool read = true;
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!placeOnSystem(system, place)) continue;
    live[place] = readPlace(system, place);
    LONG error = live[place].error;
    if (error && error != ERROR_FILE_NOT_FOUND) {
      notePlaceFailure(out, "Cannot read", system, place, error);
      read = false;
    }
  }
  return read;
}

// "NAME: OLD -> NEW" for a place a command changed.
void noteChange(Outcome& out, const ShellSystem& system, unsigned place, const RecordedValue& from,
                const RecordedValue& to, ByteView why = ByteView()) {
  AString& line = out.line();
  appendPlaceName(line, system, place);
  appendValue(line.append(": "), from);
  appendValue(line.append(" -> "), to);
  line.append(why).append(kNewLine);
}

// Whether every place to change may be written: asked before anything is.
bool mayWritePlaces(const ShellSystem& system, const bool (&change)[kShellPlaces], Outcome& out) {
  for (unsigned place = 0; place < kShellPlaces; ++place)
    if (LONG error = change[place] ? mayWritePlace(system, place) : 0) {
      notePlaceFailure(out, "Cannot write", system, place, error);
      return false;
    }
  return true;
}

// Writes each place to change; where one write fails, puts back what this
// run already wrote. Whether all were written.
bool writePlaces(const ShellSystem& system, const PlaceValue (&live)[kShellPlaces],
                 const RecordedValue (&target)[kShellPlaces], const bool (&change)[kShellPlaces],
                 Outcome& out) {
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!change[place]) continue;
    if (LONG error = writePlace(system, place, target[place])) {
      notePlaceFailure(out, "Cannot write", system, place, error);
      while (place-- > 0)
        if (change[place]) writePlace(system, place, live[place].value);
      return false;
    }
  }
  return true;
}

// ---- show -------------------------------------------------------------------

bool startsWithIgnoringCase(const RecordedValue& value, ByteView head) {
  return value.there && value.text.length() >= head.size &&
         equalsIgnoringAsciiCase(value.text.view().mid(0, head.size), head);
}

// Which program this account gets at its next log-on by what was read, and
// on what ground.
void appendNextLogon(AString& out, const ShellSystem& system,
                     const PlaceValue (&live)[kShellPlaces]) {
  const RecordedValue &user = live[kUserShell].value, &machine = live[kMachineShell].value,
                      &mapping = live[kMapping].value;
  out.append("At your next log-on: ");
  if (!system.nt) {
    appendValue(out, live[kSystemIni].value);
    out.append(" (SYSTEM.INI's shell= line)");
  } else if (live[kPolicy].value.there) {
    appendValue(out, live[kPolicy].value);
    out.append(" (the policy \"Custom User Interface\": Windows starts the program it names)");
  } else if (system.readsMapping && startsWithIgnoringCase(mapping, "USR:")) {
    if (user.there) {
      appendValue(out, user);
      out.append(" (your own value: the mapping sends Windows to it, Microsoft KB Q102889)");
    } else {
      out.append(
          "the shell= line of SYSTEM.INI on disk (you have no value of your own; what that file "
          "holds on NT is not documented)");
    }
  } else if (system.readsMapping && startsWithIgnoringCase(mapping, "SYS:")) {
    appendValue(out, machine);
    out.append(" (the machine's value: the mapping sends Windows to it, Microsoft KB Q102889)");
  } else if (system.readsMapping) {
    out.append("not documented: the mapping sends Windows to neither value");
  } else {
    appendValue(out, user.there ? user : machine);
    out.append(ByteView::ofCString(
        user.there ? " (your own value" : " (the machine's value, as you have none of your own"));
    out.append(
        "; not documented by Microsoft for Vista and later: community knowledge, see README.txt)");
  }
}

void show(const ShellSystem& system, Outcome& out) {
  PlaceValue live[kShellPlaces];
  readAll(system, live, out);
  out.title.append("Where Windows looks for the shell of this account:");
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!placeOnSystem(system, place) || live[place].error > ERROR_FILE_NOT_FOUND) continue;
    AString& line = out.line();
    appendPlaceName(line, system, place);
    appendValue(line.append(": "), live[place].value);
    line.append(kNewLine);
  }
  const ShellScope scopes[] = {ShellScope::user, ShellScope::machine};
  for (ShellScope scope : scopes) {
    if (scope == ShellScope::user && !system.nt) continue;
    RecordKey key = recordKeyOf(system, scope);
    out.text.append("Orvalix's record ")
        .append(ByteView::ofCString(key.root == HKEY_LOCAL_MACHINE ? "HKLM\\" : "HKCU\\"))
        .append(ByteView::ofCString(key.path))
        .append(':')
        .append(kNewLine);
    ShellRecord record;
    if (LONG error = readShellRecord(system, scope, record); error && error != ERROR_FILE_NOT_FOUND)
      noteRecordFailure(out, "Cannot read", system, scope, error);
    if (record.empty()) out.line().append("none").append(kNewLine);
    for (unsigned place = 0; place < kShellPlaces; ++place) {
      if (!record.kept[place]) continue;
      AString& line = out.line();
      appendPlaceName(line, system, place);
      appendValue(line.append(": was "), record.before[place]);
      line.append(", Orvalix wrote ").append(record.wrote[place]).append(kNewLine);
    }
  }
  appendNextLogon(out.next, system, live);
  out.note(kShellDone, "shown");
}

// ---- set --------------------------------------------------------------------

ByteView whose(const ShellSystem& system, ShellScope scope) {
  if (!system.nt) return "this computer";
  return ByteView::ofCString(scope == ShellScope::user ? "this account"
                                                       : "every user of this computer");
}

void set(const ShellSystem& system, ShellScope scope, Outcome& out) {
  AString exe = exeToSet(system, out);
  PlaceValue live[kShellPlaces];
  if (exe.empty() || !readAll(system, live, out)) return;
  ShellRecord was;
  LONG error = readShellRecord(system, scope, was);
  if (error && error != ERROR_FILE_NOT_FOUND)
    return noteRecordFailure(out, "Cannot read", system, scope, error);
  // A record none of whose places still holds what Orvalix wrote is of
  // another time (the values were changed since, the exe was moved): what
  // stands there now is what this set changes.
  bool current = false;
  for (unsigned place = 0; place < kShellPlaces; ++place)
    current |= was.kept[place] && sameText(live[place].value, was.wrote[place]);
  ShellRecord record;
  RecordedValue target[kShellPlaces];
  bool change[kShellPlaces] = {}, changes = false, recordChanges = false;
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (current && was.kept[place]) {
      record.kept[place] = true;
      record.before[place].assign(was.before[place]);
      record.wrote[place].assign(was.wrote[place].view());
    }
    if (!placeInScope(system, place, scope)) continue;
    target[place].there = true;
    appendValueToSet(target[place].text, system, place, scope, exe);
    if (target[place].text.failed()) return out.note(kShellFailed, "out of memory");
    change[place] = !sameText(live[place].value, target[place].text);
    changes |= change[place];
    // What was there before the first set is kept, never rewritten. A value
    // already as the set would write it, with no record, was not Orvalix's
    // to change and is no undo's to put back.
    if (!record.kept[place] && !change[place]) continue;
    if (!record.kept[place]) {
      record.kept[place] = true;
      record.before[place].assign(live[place].value);
    }
    recordChanges |= !(record.wrote[place].view() == target[place].text.view()) || !was.kept[place];
    record.wrote[place].assign(target[place].text.view());
  }
  recordChanges |= !current && !was.empty();
  if (record.failed()) return out.note(kShellFailed, "out of memory");
  if (recordChanges && (error = mayWriteShellRecord(system, scope)))
    return noteRecordFailure(out, "Cannot write", system, scope, error);
  if (!mayWritePlaces(system, change, out)) return;
  if (recordChanges) {
    // The record first: it is what the undo puts back.
    if ((error = writeShellRecord(system, scope, record, was))) {
      writeShellRecord(system, scope, was, record);
      return noteRecordFailure(out, "Cannot write", system, scope, error);
    }
  }
  if (!writePlaces(system, live, target, change, out)) {
    if (recordChanges) writeShellRecord(system, scope, was, record);
    return;
  }
  bool user = scope == ShellScope::user && system.nt;
  out.title
      .append(ByteView::ofCString(changes ? "Orvalix is now the shell of "
                                          : "Orvalix was already the shell of "))
      .append(whose(system, scope))
      .append(ByteView::ofCString(changes ? ", from the next log-on." : "."));
  for (unsigned place = 0; place < kShellPlaces; ++place)
    if (change[place]) noteChange(out, system, place, live[place].value, target[place]);
  out.note(kShellDone, ByteView::ofCString(changes ? "done" : "already so"));
  // Another setting that Windows reads first for this account.
  if (system.nt && live[kPolicy].value.there) {
    out.text.append("But the policy \"Custom User Interface\" decides for this account: ");
    appendValue(out.text, live[kPolicy].value);
    out.text.append(kNewLine);
    out.note(kShellOtherDecides, "the policy \"Custom User Interface\" decides for this account");
  } else if (!user && system.nt && !system.readsMapping && live[kUserShell].value.there) {
    out.text.append(
        "But this account's own value decides for it (community knowledge for Vista and later): ");
    appendValue(out.text, live[kUserShell].value);
    out.text.append(kNewLine);
    out.note(kShellOtherDecides, "this account's own value decides for it");
  }
  if (changes) out.next.append("Log off and on (95, 98, Me: restart) for it to start.");
}

// ---- undo -------------------------------------------------------------------

// Windows' own value for a place of a desktop install where the record has
// none: the user has no value of their own, unless Windows reads the user's
// through the mapping (NT 4.0 to XP), where none would send it to SYSTEM.INI;
// the machine has Explorer.exe, where there is one (not on Server Core).
bool defaultFor(const ShellSystem& system, unsigned place, const PlaceValue (&live)[kShellPlaces],
                RecordedValue& value) {
  value.there = place != kUserShell ||
                (system.readsMapping && startsWithIgnoringCase(live[kMapping].value, "USR:"));
  if (!value.there) return true;
  value.text.assign("Explorer.exe");
  AString windows = environmentValue(AString("windir"));
  return pathExists(windows.append("\\explorer.exe"));
}

void undo(const ShellSystem& system, ShellScope scope, Outcome& out) {
  PlaceValue live[kShellPlaces];
  if (!readAll(system, live, out)) return;
  // Both records where there are two: where the other scope's set wrote over
  // what this one's wrote (its "before" is this one's), this one's "before"
  // passes on to it, and its undo puts that back.
  ShellScope other = scope == ShellScope::user ? ShellScope::machine : ShellScope::user;
  int records = system.nt ? 2 : 1;  // 95/98/Me keep one
  ShellRecord was[2], record[2];
  ShellRecord &mine = record[0], &theirs = record[1];
  for (int i = 0; i < records; ++i) {
    ShellScope which = i ? other : scope;
    LONG error = readShellRecord(system, which, was[i]);
    if (error && error != ERROR_FILE_NOT_FOUND)
      return noteRecordFailure(out, "Cannot read", system, which, error);
    readShellRecord(system, which, record[i]);
  }
  RecordedValue target[kShellPlaces];
  bool change[kShellPlaces] = {}, byDefault[kShellPlaces] = {}, changes = false;
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!placeOnSystem(system, place)) continue;
    const RecordedValue& now = live[place].value;
    if (mine.kept[place]) {
      const AString& wrote = mine.wrote[place];
      if (sameText(now, wrote)) {
        target[place].assign(mine.before[place]);
        change[place] = true;
        mine.kept[place] = false;
      } else if (records == 2 && theirs.kept[place] && sameText(now, theirs.wrote[place]) &&
                 sameText(theirs.before[place], wrote)) {
        theirs.before[place].assign(mine.before[place]);
        mine.kept[place] = false;
      } else {
        AString words("left alone: ");
        appendPlaceName(words, system, place);
        appendValue(words.append(", "), now);
        words.append(", was changed since Orvalix set it");
        out.line().append(words).append(kNewLine);
        out.note(kShellNotOurs, words);
      }
    } else if (placeInScope(system, place, scope) && now.there && namesOrvalix(now.text)) {
      if (defaultFor(system, place, live, target[place])) {
        change[place] = byDefault[place] = true;
      } else {
        AString words("left alone: ");
        appendPlaceName(words, system, place);
        words.append(", no record and no default (%windir%\\explorer.exe is missing)");
        out.line().append(words).append(kNewLine);
        out.note(kShellNoDefault, words);
      }
    }
    changes |= change[place];
  }
  if (!mayWritePlaces(system, change, out) || !writePlaces(system, live, target, change, out))
    return;
  for (int i = 0; i < records; ++i) {
    ShellScope which = i ? other : scope;
    if (LONG error = writeShellRecord(system, which, record[i], was[i]))
      return noteRecordFailure(out, "Cannot write", system, which, error);
  }
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!change[place]) continue;
    noteChange(out, system, place, live[place].value, target[place],
               ByteView::ofCString(byDefault[place] ? " (no record: Windows' default)" : ""));
  }
  if (changes) {
    out.title.append("Orvalix is no longer the shell of ").append(whose(system, scope)).append('.');
    out.next.append("Log off and on (95, 98, Me: restart) for it to take effect.");
    out.note(kShellDone, "done");
  } else if (!out.code) {
    out.title.append("Nothing to undo: no value of ")
        .append(whose(system, scope))
        .append(" names Orvalix.");
    out.note(kShellDone, "already so");
  }
}

constexpr char kUsage[] =
    "Orvalix.exe /shell [show | set user | set machine | undo user | undo machine] [/quiet]";

}  // namespace

int runShellCommand(const ShellRequest& request, ByteView words) {
  Outcome out;
  ShellSystem system = shellSystemOf();
  if (request.action == ShellAction::show) {
    show(system, out);
  } else if (request.action == ShellAction::set) {
    set(system, request.scope, out);
  } else if (request.action == ShellAction::undo) {
    undo(system, request.scope, out);
  } else {
    out.title.append("Not a command Orvalix knows. It takes:");
    out.line().append(kUsage).append(kNewLine);
    out.note(kShellBadCommand, "bad command");
  }
  if (out.title.empty())
    out.title.append(ByteView::ofCString(out.code == kShellAccessDenied
                                             ? "Not done: run Orvalix.exe as administrator."
                                             : "Not done."));
  AString line(words);
  while (line.length() && line.view().at(line.length() - 1) == ' ')
    line.truncate(line.length() - 1);
  line.append(": ").append(out.summary).append(" (exit code");
  appendNumber(line, out.code);
  logEvent(line.append(')'), "shellCommand");
  AString report(out.title.view());
  report.append(kNewLine).append(out.text).append(out.next);
  if (!out.next.empty()) report.append(kNewLine);
  const char* shown = report.failed() ? "Orvalix: out of memory" : report.c_str();
  sys::writeStandardOutput(ByteView::ofCString(shown));
  UINT icon = out.code == kShellDone           ? MB_ICONINFORMATION
              : out.code == kShellOtherDecides ? MB_ICONWARNING
                                               : MB_ICONERROR;
  if (!request.quiet) showMessage(shown, MB_OK | icon, "Orvalix");
  return out.code;
}

}  // namespace orv
