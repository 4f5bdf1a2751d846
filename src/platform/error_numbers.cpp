#include "platform/error_numbers.h"

#include "platform/text.h"

namespace orv {

namespace {

struct CodeRow {
  unsigned char code;
  unsigned char number;
};

// Platform error codes that do not map to 75, the number for all the rest.
// clang-format off
constexpr CodeRow kCodeRows[] = {
    {2, 53},  {18, 53}, {3, 76},  {4, 67},  {5, 70},  {19, 70}, {32, 70},  {33, 70},
    {36, 70}, {6, 51},  {11, 51}, {12, 51}, {13, 51}, {22, 51}, {24, 51},  {7, 241},
    {9, 241}, {10, 241}, {8, 7},  {14, 7},  {15, 68}, {20, 68}, {17, 74},  {21, 71},
    {23, 72}, {25, 72}, {26, 72}, {27, 72}, {28, 72}, {29, 72}, {30, 72},  {31, 72},
    {34, 72}, {35, 72}, {38, 62}, {39, 61}, {112, 61}, {87, 5},
};
// clang-format on

// The texts, packed as textOf() reads them.
// clang-format off
constexpr char kTexts[] =
    "\x00" "No Error\0"
    "\x05" "Illegal function call\0"
    "\x06" "Overflow\0"
    "\x07" "Out of memory\0"
    "\x09" "Subscript/Pointer out of range\0"
    "\x0b" "Division by zero\0"
    "\x18" "Device timeout\0"
    "\x33" "Internal error\0"
    "\x34" "Bad file name or number\0"
    "\x35" "File not found\0"
    "\x36" "Bad file mode\0"
    "\x37" "File is open\0"
    "\x39" "Device I/O error\0"
    "\x3a" "File already exists\0"
    "\x3d" "Disk full\0"
    "\x3e" "Input past end\0"
    "\x3f" "Bad record number\0"
    "\x40" "Bad file name\0"
    "\x43" "Too many files\0"
    "\x44" "Device unavailable\0"
    "\x45" "Comm error\0"
    "\x46" "Permission denied\0"
    "\x47" "Disk not ready\0"
    "\x48" "Disk media error\0"
    "\x4a" "Rename across disks\0"
    "\x4b" "Path/file access error\0"
    "\x4c" "Path not found\0"
    "\x63" "Object error\0"
    "\xf1" "Global memory corrupt\0"
    "\xf2" "String space corrupt\0";
// clang-format on

}  // namespace

int errorNumberFromCode(unsigned long platformCode) {
  for (const CodeRow& row : kCodeRows)
    if (row.code == platformCode) return row.number;
  return kErrorPathFileAccess;
}

ByteView errorText(int errorNumber) { return textOf(kTexts, errorNumber); }

}  // namespace orv
