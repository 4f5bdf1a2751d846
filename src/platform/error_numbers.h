#pragma once

#include "platform/astring.h"

namespace orv {

// Error numbers name a failure for the user: 1..255, each with a fixed text.
// The ones the program reports by name:
enum ErrorNumber : int {
  kErrorOutOfMemory = 7,
  kErrorFileNotFound = 53,
  kErrorBadFileName = 64,
  kErrorPathFileAccess = 75,  // every platform code without a row of its own
  kErrorPathNotFound = 76,
};

int errorNumberFromCode(unsigned long platformCode);
ByteView errorText(int errorNumber);  // empty for a number without a text

}  // namespace orv
