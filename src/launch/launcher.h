#pragma once

#include "platform/astring.h"
#include "platform/error_numbers.h"

namespace orv {

// Where what the shell starts begins, which also decides what is current
// while the shell works: it loads verb handlers, shell extensions and their
// DLLs into this process, and looks for a DLL name that the system folders
// lack in the current directory.
enum class StartIn {
  // The current directory, which stays current: the Startup run's folder.
  // Whoever may put a DLL there may as well put a shortcut there that runs
  // it, and a shortcut without a working folder of its own starts in our
  // current directory (what a link handler does with lpDirectory is not
  // documented; Wine's ignores it).
  currentFolder,
  // The file's own folder, given as the working folder, with the system
  // folder current meanwhile: a file picked in Run, a folder anyone may have
  // written to. The picker hands over a shortcut's target, not the
  // shortcut, and both a program (CreateProcess) and a document's program
  // start in the working folder given.
  filesFolder,
};

// Opens one file through the shell with its default verb and logs the
// outcome. A name that exists as written is opened as named; otherwise its
// %NAME% references are expanded first. A name the shell could read as
// another file is refused with "Error #64 running NAME". Does not wait for
// what it started.
void launchProgram(ByteView path, StartIn where);

// Logs that a name is not opened: "Error #N running NAME", 64 when it may
// reach another file than the one it was listed as.
void refuseLaunch(ByteView path, int errorNumber = kErrorBadFileName);

}  // namespace orv
