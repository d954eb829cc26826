#include "settings/cp932_length.h"

#include <algorithm>

#include "settings/cp932.h"

namespace m2 {
namespace {

constexpr std::size_t kUnstorableCharBytes = 2;

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte length of the UTF-8 sequence a lead byte starts (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::size_t CharBytes(std::string_view oneChar) {
  if (oneChar.size() == 1 && static_cast<unsigned char>(oneChar[0]) < 0x80) return 1;
  const auto cp932 = Utf8ToCp932(oneChar);
  return cp932 ? cp932->size() : kUnstorableCharBytes;
}

// Walks the text character by character while the count stays within maxBytes; returns
// the UTF-8 length walked and adds the bytes counted to used.
std::size_t Walk(std::string_view utf8, std::size_t maxBytes, std::size_t& used) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t len =
        std::min(SequenceLength(static_cast<unsigned char>(utf8[pos])), utf8.size() - pos);
    const std::size_t bytes = CharBytes(utf8.substr(pos, len));
    if (used + bytes > maxBytes) break;
    used += bytes;
    pos += len;
  }
  return pos;
}

std::size_t CountBytes(std::string_view utf8) {
  std::size_t used = 0;
  Walk(utf8, static_cast<std::size_t>(-1), used);
  return used;
}

}  // namespace

std::optional<std::size_t> Cp932ByteLength(std::string_view utf8) {
  const auto cp932 = Utf8ToCp932(utf8);
  if (!cp932) return std::nullopt;
  return cp932->size();
}

std::string TrimToCp932Bytes(std::string_view utf8, std::size_t maxBytes) {
  std::size_t used = 0;
  return std::string(utf8.substr(0, Walk(utf8, maxBytes, used)));
}

LimitedEdit LimitEdit(std::string_view before, std::string_view after, std::size_t maxBytes) {
  // The unchanged head and tail, cut between characters.
  const std::size_t shorter = std::min(before.size(), after.size());
  std::size_t head = 0;
  while (head < shorter && before[head] == after[head]) ++head;
  auto inside = [](std::string_view text, std::size_t at) {
    return at < text.size() && IsContinuation(text[at]);
  };
  while (head > 0 && (inside(after, head) || inside(before, head))) --head;
  std::size_t tail = 0;
  while (tail < shorter - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  while (tail > 0 && IsContinuation(after[after.size() - tail])) --tail;

  const std::string_view kept = after.substr(0, head);
  const std::string_view end = after.substr(after.size() - tail);
  const std::string_view inserted = after.substr(head, after.size() - head - tail);
  const std::size_t fixed = CountBytes(kept) + CountBytes(end);
  const std::size_t room = fixed < maxBytes ? maxBytes - fixed : 0;
  std::string text(kept);
  text += TrimToCp932Bytes(inserted, room);
  const std::size_t cursor = text.size();
  text += end;
  return {std::move(text), cursor};
}

}  // namespace m2
