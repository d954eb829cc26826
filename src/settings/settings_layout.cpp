#include "settings/settings_layout.h"

namespace m2 {

std::string FieldPath::dotted() const {
  std::string out(group);
  if (entry >= 0) out += ".m_aEntry[" + std::to_string(entry) + "]";
  if (!out.empty()) out += '.';
  out += member;
  return out;
}

}  // namespace m2
