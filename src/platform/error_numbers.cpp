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

constexpr NumberText kTextRows[] = {
    {0, "No Error"},
    {5, "Illegal function call"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {9, "Subscript/Pointer out of range"},
    {11, "Division by zero"},
    {24, "Device timeout"},
    {51, "Internal error"},
    {52, "Bad file name or number"},
    {53, "File not found"},
    {54, "Bad file mode"},
    {55, "File is open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {61, "Disk full"},
    {62, "Input past end"},
    {63, "Bad record number"},
    {64, "Bad file name"},
    {67, "Too many files"},
    {68, "Device unavailable"},
    {69, "Comm error"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {72, "Disk media error"},
    {74, "Rename across disks"},
    {75, "Path/file access error"},
    {76, "Path not found"},
    {99, "Object error"},
    {241, "Global memory corrupt"},
    {242, "String space corrupt"},
};

}  // namespace

int errorNumberFromCode(unsigned long platformCode) {
  for (const CodeRow& row : kCodeRows)
    if (row.code == platformCode) return row.number;
  return kErrorPathFileAccess;
}

ByteView errorText(int errorNumber) { return textOf(kTextRows, errorNumber); }

}  // namespace orv
