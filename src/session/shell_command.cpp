#include "session/shell_command.h"

#include "launch/event_log.h"
#include "platform/directory_listing.h"
#include "platform/environment.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "platform/module_path.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "session/shell_places.h"
#include "session/shell_record.h"

namespace orv {

namespace {

constexpr char kNewLine[] = "\r\n";

bool holds(const RecordedValue& value, ByteView text) {
  return value.there && !value.expand && value.text.view() == text;
}

bool startsWith(const RecordedValue& value, ByteView head) {
  return value.there && equalsIgnoringAsciiCase(value.text.view().mid(0, head.size), head);
}

void appendValue(AString& out, const RecordedValue& value) {
  out.append(value.there ? value.text.view() : ByteView("none"));
  if (value.expand) out.append(" (REG_EXPAND_SZ)");
}

AString shortPath(const AString& path) {
  char spelled[MAX_PATH];
  return AString(shortPathOf(path, spelled));
}

// Whether the exe lies in a temporary folder (%TEMP%, %TMP%); both paths
// short, so that two spellings of one folder compare alike.
bool inTemporaryFolder(const AString& exe) {
  AString inner = shortPath(exe);
  constexpr const char* kVariables[] = {"TEMP", "TMP"};
  for (const char* variable : kVariables) {
    AString outer = shortPath(environmentValue(AString(ByteView::ofCString(variable))));
    if (findLastSeparator(outer) + 1 == static_cast<int>(outer.length()))
      outer.truncate(outer.length() - 1);
    if (!outer.empty() && inner.length() > outer.length() &&
        inner.view().at(outer.length()) == '\\' &&
        equalsIgnoringAsciiCase(inner.view().mid(0, outer.length()), outer))
      return true;
  }
  return false;
}

// One run of the command: what it read, what it writes, and its report.
class ShellCommand {
 public:
  explicit ShellCommand(ShellScope scope) : system_(shellSystemOf()), scope_(scope) {}
  void show();
  void set();
  void undo();
  void bad();
  int report(ByteView words, bool quiet);

 private:
  ByteView whose() const {
    if (!system_.nt) return "this computer";
    return scope_ == ShellScope::user ? ByteView("this account")
                                      : ByteView("every user of this computer");
  }
  // Record 0 is this scope's, 1 the other's.
  ShellScope scopeOf(int record) const {
    return (record == 0) == (scope_ == ShellScope::user) ? ShellScope::user : ShellScope::machine;
  }
  // A line of the report, the name of a place first where there is one.
  AString& line(unsigned place = kShellPlaces);
  // A failure or refusal: its line, its part of the log line, its exit code
  // (the lowest but 0 of all that apply).
  void note(int code, ByteView words);
  // A place an undo does not touch, with its value and why.
  void leftAlone(int code, unsigned place, ByteView why);
  // Something the system refused to read or write, at a place or (past the
  // last place) a record; access denied means: run as administrator.
  void refused(ByteView what, unsigned place, LONG error, ShellScope scope = ShellScope::user);
  bool readAll();
  AString exeToSet();
  bool apply(bool recordFirst);
  bool writeRecords(bool back);
  bool defaultFor(unsigned place);
  void appendNextLogon(AString& out);

  ShellSystem system_;
  ShellScope scope_;
  int records_ = 0, code_ = kShellDone;
  bool changed_ = false, refused_ = false;  // something was changed; the system refused something
  RecordedValue live_[kShellPlaces], target_[kShellPlaces];
  bool change_[kShellPlaces] = {};
  // This scope's record and the other's, as they will be and as they were.
  ShellRecord record_[2], was_[2];
  bool recordChanged_[2] = {};
  AString title_, text_, summary_;
};

AString& ShellCommand::line(unsigned place) {
  text_.append("  ");
  if (place < kShellPlaces) appendPlaceName(text_, system_, place);
  return text_;
}

void ShellCommand::note(int code, ByteView words) {
  if (code && (!code_ || code < code_)) code_ = code;
  if (!summary_.empty()) summary_.append("; ");
  summary_.append(words);
  if (code) text_.append("  ").append(words).append(kNewLine);
}

void ShellCommand::leftAlone(int code, unsigned place, ByteView why) {
  AString words("left alone: ");
  appendPlaceName(words, system_, place);
  appendValue(words.append(", "), live_[place]);
  note(code, words.append(why));
}

void ShellCommand::refused(ByteView what, unsigned place, LONG error, ShellScope scope) {
  AString words(what);
  if (place < kShellPlaces)
    appendPlaceName(words, system_, place);
  else
    appendRecordKeyName(words.append("Orvalix's record "), recordKeyOf(system_, scope));
  // An earlier Orvalix may have made HKEY_CURRENT_USER\Software\Orvalix
  // volatile, which Windows keeps so until the user logs off: the system's
  // text says so (error 1021), and README.txt what to do.
  if (error == ERROR_ACCESS_DENIED)
    words.append(": access denied; run as administrator");
  else
    appendSystemError(words.append(": "), static_cast<unsigned long>(error));
  note(error == ERROR_ACCESS_DENIED ? kShellAccessDenied : kShellFailed, words);
  refused_ = true;
}

// Every place on the system, and both records (one on 95/98/Me), each kept
// twice: as it was, and to be changed.
bool ShellCommand::readAll() {
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    LONG error = placeOnSystem(system_, place) ? readPlace(system_, place, live_[place]) : 0;
    if (error && error != ERROR_FILE_NOT_FOUND) refused("Cannot read ", place, error);
  }
  records_ = system_.nt ? 2 : 1;
  for (int i = 0; i < records_; ++i) {
    LONG error = readShellRecord(system_, scopeOf(i), record_[i]);
    was_[i].assign(record_[i]);
    if (!error && was_[i].failed()) error = ERROR_NOT_ENOUGH_MEMORY;
    if (error) refused("Cannot read ", kShellPlaces, error, scopeOf(i));
  }
  return !refused_;
}

// The path of this Orvalix.exe, checked as a Startup folder's path is: each
// name reaches its own entry (8.3 where only that one does), and it fits
// MAX_PATH; and in no temporary folder (an exe run from inside a zip is
// there, and soon gone). 95/98/Me get the 8.3 path. Empty where refused.
AString ShellCommand::exeToSet() {
  AString exe = modulePath();
  const char* refusal = nullptr;
  if (exe.empty() || makeReachOwnFile(exe))
    refusal =
        "Orvalix.exe's path may reach another file than itself: a name the ANSI code page lacks";
  else if (exe.length() >= MAX_PATH)
    refusal = "Orvalix.exe's path is longer than MAX_PATH";
  else if (inTemporaryFolder(exe))
    refusal = "Orvalix.exe is in a temporary folder (a zip's?): copy it to its own folder";
  if (refusal) {
    note(kShellFailed, ByteView::ofCString(refusal));
    return AString();
  }
  return system_.nt ? static_cast<AString&&>(exe) : shortPath(exe);
}

// Writes the records that change as they are to be, or `back` as they were.
bool ShellCommand::writeRecords(bool back) {
  for (int i = 0; i < records_; ++i) {
    LONG error =
        recordChanged_[i] ? writeShellRecord(system_, scopeOf(i), back ? was_[i] : record_[i]) : 0;
    if (!error) continue;
    refused(ByteView::ofCString(back ? "Cannot put back " : "Cannot write "), kShellPlaces, error,
            scopeOf(i));
    if (back) continue;
    writeRecords(true);
    return false;
  }
  return true;
}

// Writes the places to change and the records, having made sure that each
// may be written; where one write fails, puts back what this run wrote.
bool ShellCommand::apply(bool recordFirst) {
  for (int i = 0; i < records_; ++i) {
    RecordKey key = recordKeyOf(system_, scopeOf(i));
    if (LONG error = recordChanged_[i] ? mayWriteRegistryKey(key.root, key.path, key.view) : 0)
      refused("Cannot write ", kShellPlaces, error, scopeOf(i));
  }
  for (unsigned place = 0; place < kShellPlaces; ++place)
    if (LONG error = change_[place] ? mayWritePlace(system_, place) : 0)
      refused("Cannot write ", place, error);
  if (refused_ || (recordFirst && !writeRecords(false))) return false;
  unsigned written = 0;
  for (; written < kShellPlaces; ++written)
    if (LONG error = change_[written] ? writePlace(system_, written, target_[written]) : 0) {
      refused("Cannot write ", written, error);
      break;
    }
  if (written < kShellPlaces || (!recordFirst && !writeRecords(false))) {
    // Back as they were, the one that failed too: it may hold part of a write.
    for (unsigned place = 0; place < kShellPlaces; ++place)
      if (LONG error = change_[place] ? writePlace(system_, place, live_[place]) : 0)
        refused("Cannot put back ", place, error);
    if (recordFirst) writeRecords(true);
    return false;
  }
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!change_[place]) continue;
    appendValue(line(place).append(": "), live_[place]);
    appendValue(text_.append(" -> "), target_[place]);
    text_.append(kNewLine);
    changed_ = true;
  }
  return true;
}

// ---- show -----------------------------------------------------------------

// Which program this account gets at its next log-on by what was read, and
// on what ground.
void ShellCommand::appendNextLogon(AString& out) {
  const RecordedValue *user = &live_[kUserShell], *decides = &live_[kMachineShell];
  ByteView why = " (the machine's value";
  if (!system_.nt) {
    decides = &live_[kSystemIni], why = " (SYSTEM.INI";
  } else if (live_[kPolicy].there) {
    decides = &live_[kPolicy], why = " (the policy \"Custom User Interface\"";
  } else if (system_.readsMapping ? startsWith(live_[kMapping], "USR:") : user->there) {
    decides = user, why = " (your own value";
  }
  appendValue(out.append("At your next log-on: "), *decides);
  out.append(why).append(system_.readsMapping
                             ? ByteView(", as the mapping says, Microsoft KB Q102889; not "
                                        "documented where it is neither SYS: nor USR:, or with "
                                        "USR: and no value of your own)")
                         : system_.nt && decides != &live_[kPolicy]
                             ? ByteView("; not documented for Vista and later: community "
                                        "knowledge, see README.txt)")
                             : ByteView(")"));
  out.append(kNewLine);
}

void ShellCommand::show() {
  title_.append("Where Windows looks for the shell of this account:");
  if (!readAll()) return;
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!placeOnSystem(system_, place)) continue;
    appendValue(line(place).append(": "), live_[place]);
    text_.append(kNewLine);
  }
  for (int i = 0; i < records_; ++i) {
    appendRecordKeyName(text_.append("Orvalix's record "), recordKeyOf(system_, scopeOf(i)));
    text_.append(record_[i].empty() ? ByteView(": none") : ByteView(":")).append(kNewLine);
    for (unsigned place = 0; place < kShellPlaces; ++place) {
      if (!record_[i].kept[place]) continue;
      appendValue(line(place).append(": was "), record_[i].before[place]);
      text_.append(", Orvalix wrote ").append(record_[i].wrote[place]).append(kNewLine);
    }
  }
  appendNextLogon(text_);
  note(kShellDone, "shown");
}

// ---- set and undo -----------------------------------------------------------

void ShellCommand::set() {
  AString exe = exeToSet();
  if (exe.empty() || !readAll()) return;
  ShellRecord& mine = record_[0];
  // A record none of whose places still holds what Orvalix wrote is of
  // another time (the values were changed since, the exe was moved): it is
  // replaced by what stands there now.
  bool current = false;
  for (unsigned place = 0; place < kShellPlaces; ++place)
    current |= mine.kept[place] && holds(live_[place], mine.wrote[place]);
  for (bool& kept : mine.kept) kept &= current;
  bool changes = false;
  recordChanged_[0] = !current && !was_[0].empty();
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    if (!placeInScope(system_, place, scope_)) continue;
    target_[place].there = true;
    appendValueToSet(target_[place].text, system_, place, scope_, exe);
    changes |= change_[place] = !holds(live_[place], target_[place].text);
    // The other scope's set wrote over what this one's set puts back (the
    // mapping, NT 4.0 to XP): its undo has nothing left to put back there,
    // and what was there before it is what this one's undo puts back.
    ShellRecord& theirs = record_[1];
    if (records_ == 2 && change_[place] && theirs.kept[place] &&
        holds(live_[place], theirs.wrote[place]) &&
        holds(theirs.before[place], target_[place].text)) {
      if (!mine.kept[place]) mine.before[place].assign(theirs.before[place]);
      mine.kept[place] = true;
      theirs.kept[place] = false;
      recordChanged_[1] = true;
    }
    // What was there before the first set is kept, never rewritten; a value
    // that was already as a set writes it, with no record, is no undo's.
    if (!change_[place] && !mine.kept[place]) continue;
    if (!mine.kept[place]) mine.before[place].assign(live_[place]);
    recordChanged_[0] |= change_[place] || !mine.kept[place];
    mine.kept[place] = true;
    mine.wrote[place].assign(target_[place].text);
  }
  if (mine.failed()) return note(kShellFailed, "out of memory");
  if (!apply(true)) return;
  title_
      .append(changes ? ByteView("Orvalix is now the shell of ")
                      : ByteView("Orvalix was already the shell of "))
      .append(whose())
      .append(changes ? ByteView(", from the next log-on.") : ByteView("."));
  note(kShellDone, changes ? ByteView("done") : ByteView("already so"));
  // Another setting that Windows reads first for this account.
  if (live_[kPolicy].there)
    note(kShellOtherDecides, "the policy \"Custom User Interface\" decides for this account");
  else if (scope_ == ShellScope::machine && system_.nt && !system_.readsMapping &&
           live_[kUserShell].there)
    note(kShellOtherDecides, "this account's own value decides for it (community knowledge)");
}

// Windows' own value for a place of a desktop install, where the record has
// none: no user value of one's own, unless Windows reads the user's through
// the mapping (NT 4.0 to XP), where none would send it to SYSTEM.INI; for
// the machine Explorer.exe, where there is one (not on Server Core).
bool ShellCommand::defaultFor(unsigned place) {
  RecordedValue& value = target_[place];
  value.there =
      place != kUserShell || (system_.readsMapping && startsWith(live_[kMapping], "USR:"));
  value.text.assign(value.there ? ByteView("Explorer.exe") : ByteView());
  AString windows = environmentValue(AString("windir"));
  return !value.there || pathExists(windows.append("\\explorer.exe"));
}

void ShellCommand::undo() {
  if (!readAll()) return;
  ShellRecord &mine = record_[0], &theirs = record_[1];
  bool changes = false;
  for (unsigned place = 0; place < kShellPlaces; ++place) {
    const RecordedValue& now = live_[place];
    if (mine.kept[place]) {
      if (holds(now, mine.wrote[place])) {
        target_[place].assign(mine.before[place]);
        change_[place] = true;
      } else if (records_ == 2 && theirs.kept[place] && holds(now, theirs.wrote[place]) &&
                 holds(theirs.before[place], mine.wrote[place])) {
        // The other scope's set wrote over what this one's wrote: its undo
        // is to put back what was there before this one.
        theirs.before[place].assign(mine.before[place]);
        recordChanged_[1] = true;
      } else {
        leftAlone(kShellNotOurs, place, ", was changed since Orvalix set it");
        continue;
      }
      mine.kept[place] = false;
      recordChanged_[0] = true;
    } else if (placeInScope(system_, place, scope_) && now.there && namesOrvalix(now.text)) {
      if (!defaultFor(place)) {
        leftAlone(kShellNoDefault, place, ", no record and no default (no %windir%\\explorer.exe)");
        continue;
      }
      change_[place] = true;
    }
    changes |= change_[place];
  }
  if (!apply(false)) return;
  if (changes) {
    title_.append("Orvalix is no longer the shell of ").append(whose()).append('.');
    note(kShellDone, "done");
  } else if (!code_) {
    title_.append("Orvalix is not the shell of ").append(whose()).append(": nothing to undo.");
    note(kShellDone, "already so");
  }
}

void ShellCommand::bad() {
  title_.append("Not a command Orvalix knows. It takes:");
  line()
      .append(
          "Orvalix.exe /shell [show | set user | set machine | undo user | undo machine] [/quiet]")
      .append(kNewLine);
  note(kShellBadCommand, "bad command");
}

int ShellCommand::report(ByteView words, bool quiet) {
  if (title_.empty())
    title_.append(code_ == kShellAccessDenied
                      ? ByteView("Not done: run Orvalix.exe as administrator.")
                      : ByteView("Not done."));
  AString out(title_.view());
  out.append(kNewLine).append(text_);
  if (changed_) out.append("Log off and on (95, 98, Me: restart) for it to take effect.\r\n");
  AString line(words);
  line.append(": ").append(summary_).append(" (exit code");
  appendNumber(line, code_);
  // A command line, and a value it names, may hold line ends; the log line
  // holds none.
  asOneLine(line.append(')').data(), line.length());
  logEvent(line, "shellCommand");
  const char* shown = out.failed() ? "Orvalix: out of memory" : out.c_str();
  sys::writeStandardOutput(ByteView::ofCString(shown));
  if (!quiet) showMessage(shown, code_ ? MB_ICONWARNING : MB_ICONINFORMATION, "Orvalix");
  return code_;
}

}  // namespace

int runShellCommand(const ShellRequest& request, ByteView words) {
  ShellCommand command(request.scope);
  if (request.action == ShellAction::show)
    command.show();
  else if (request.action == ShellAction::set)
    command.set();
  else if (request.action == ShellAction::undo)
    command.undo();
  else
    command.bad();
  return command.report(words, request.quiet);
}

}  // namespace orv
