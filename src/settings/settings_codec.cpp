#include "settings/settings_codec.h"

#include <string>

#include "settings/settings_layout.h"

namespace m2 {
namespace {

void AppendLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

class Writer {
 public:
  explicit Writer(std::vector<std::uint8_t>& out) : m_out(out) {}
  void Int(const FieldPath&, const int& value) {
    AppendLe(m_out, static_cast<std::uint32_t>(value), 4);
  }
  void Str(const FieldPath&, const std::string& value) {
    AppendStringPrefix(m_out, value.size());
    m_out.insert(m_out.end(), value.begin(), value.end());
  }

 private:
  std::vector<std::uint8_t>& m_out;
};

// Reads values in order; after the first failure it reads nothing more.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  void Int(const FieldPath&, int& value) {
    std::uint32_t v = 0;
    if (Take(4, v)) value = static_cast<int>(v);
  }
  void Str(const FieldPath&, std::string& value) {
    std::uint32_t length = 0;
    if (!Take(1, length)) return;
    if (length == 0xFF) {
      if (!Take(2, length)) return;
      if (length == 0xFFFE) {  // not a length this format writes
        m_failed = true;
        return;
      }
      if (length == 0xFFFF && !Take(4, length)) return;
    }
    // Checked before allocating: a length is never trusted beyond the bytes that remain.
    if (length > Remaining()) {
      m_failed = true;
      return;
    }
    value.assign(reinterpret_cast<const char*>(m_bytes.data() + m_pos), length);
    m_pos += length;
  }

  bool complete() const { return !m_failed && m_pos == m_bytes.size(); }

 private:
  std::size_t Remaining() const { return m_bytes.size() - m_pos; }
  bool Take(int count, std::uint32_t& value) {
    if (m_failed || Remaining() < static_cast<std::size_t>(count)) {
      m_failed = true;
      return false;
    }
    value = 0;
    for (int i = 0; i < count; ++i) value |= std::uint32_t{m_bytes[m_pos + i]} << (8 * i);
    m_pos += static_cast<std::size_t>(count);
    return true;
  }

  std::span<const std::uint8_t> m_bytes;
  std::size_t m_pos = 0;
  bool m_failed = false;
};

}  // namespace

void AppendStringPrefix(std::vector<std::uint8_t>& out, std::size_t length) {
  if (length < 0xFF) {
    out.push_back(static_cast<std::uint8_t>(length));
  } else if (length < 0xFFFE) {
    out.push_back(0xFF);
    AppendLe(out, static_cast<std::uint32_t>(length), 2);
  } else {
    out.push_back(0xFF);
    AppendLe(out, 0xFFFF, 2);
    AppendLe(out, static_cast<std::uint32_t>(length), 4);
  }
}

std::vector<std::uint8_t> EncodeSettingsFile(const SettingsData& data) {
  std::vector<std::uint8_t> out;
  out.reserve(kEmptyStringsFileSize);
  Writer writer(out);
  VisitSettings(data, writer);
  return out;
}

std::optional<SettingsData> DecodeSettingsFile(std::span<const std::uint8_t> bytes) {
  SettingsData data;
  Reader reader(bytes);
  VisitSettings(data, reader);
  if (!reader.complete()) return std::nullopt;
  return data;
}

}  // namespace m2
