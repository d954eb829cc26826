#include "serial/at_commands.h"

#include <string>

namespace m2 {
namespace {

// Fills %d and %s in order from the given arguments.
std::string Fill(std::string_view format, const int* ints, int intCount, std::string_view text) {
  std::string out;
  int next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      char k = format[++i];
      if (k == 'd') {
        out += std::to_string(next < intCount ? ints[next] : 0);
        ++next;
        continue;
      }
      if (k == 's') {
        out += text;
        continue;
      }
      out += '%';
    }
    out += format[i];
  }
  return out;
}

}  // namespace

void BuildNumeric(AtSession& s, AtCmd cmd, int a, int b) {
  const int ints[2] = {a, b};
  s.setCommand(Fill(FormatOf(cmd).format, ints, 2, {}));
}

void BuildList(AtSession& s, AtCmd cmd, int whole, int number) {
  const AtFormat& f = FormatOf(cmd);
  if (whole && !f.bare.empty()) {
    s.setCommand(f.bare);
    return;
  }
  s.setCommand(Fill(f.format, &number, 1, {}));
}

void BuildNumberEntry(AtSession& s, AtCmd cmd, int index, std::string_view number,
                      std::string_view subaddress) {
  std::string joined(number);
  if (!subaddress.empty()) {
    joined += '/';
    joined += subaddress;
  }
  s.setCommand(Fill(FormatOf(cmd).format, &index, 1, joined));
}

void BuildText(AtSession& s, AtCmd cmd, int index, std::string_view text) {
  s.setCommand(Fill(FormatOf(cmd).format, &index, 1, text));
}

int AtBBits(int first, int selector, int f4, int f2, int f1) {
  int value = first ? (selector != 0 ? 8 : 16) : 0;
  if (!first || selector == 1) value += (f4 ? 4 : 0) + (f2 ? 2 : 0) + (f1 ? 1 : 0);
  return value;
}

}  // namespace m2
