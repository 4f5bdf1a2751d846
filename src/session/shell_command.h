#pragma once

#include "platform/astring.h"
#include "session/shell_words.h"

namespace orv {

// The exit codes of the shell command, for scripts. Where several apply, the
// lowest but 0 is the one given.
enum ShellExitCode : int {
  kShellDone = 0,  // done, or already so
  kShellBadCommand = 1,
  kShellAccessDenied = 2,  // run as administrator
  kShellOtherDecides = 3,  // done, but another setting decides for this account
  kShellNotOurs = 4,       // a value changed since Orvalix set it: left alone
  kShellNoDefault = 5,     // no record, and Windows' default is missing
  kShellFailed = 6,        // anything else; the system's error in the line
};

// Shows, sets or undoes Orvalix as the shell, as `request` asks (the command
// tail `words` asked for it): reports in one box unless asked to be quiet,
// on standard output where a script redirected it, and in one log line.
// Runs nothing else: no Startup, no window, no word to the logon side.
// Returns the exit code.
int runShellCommand(const ShellRequest& request, ByteView words);

}  // namespace orv
