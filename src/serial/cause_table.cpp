#include "serial/cause_table.h"

#include <cstdio>

namespace m2 {

std::string CauseText(int value) {
  if (value == 255) return {};
  std::string_view text = CauseTable.front().text;
  for (const CauseRow& row : CauseTable)
    if (row.code == value) {
      text = row.text;
      break;
    }
  char code[16];
  std::snprintf(code, sizeof code, " (%03d)", value);
  return std::string(text) + code;
}

// Lower-case digits count like upper-case ones: the field check accepts them, so reading
// them as 0 would show a wrong cause.
int HexByteValue(std::string_view field) {
  int value = 0;
  for (char c : field) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return -1;
    value = value * 16 + d;
  }
  return value;
}

}  // namespace m2
