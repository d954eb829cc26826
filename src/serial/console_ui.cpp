#include "serial/console_ui.h"

namespace m2 {

void ConsoleDialogs::print(std::string_view text, std::string_view detail) {
  m_details.emplace_back(detail);
  if (!m_out) return;
  std::fprintf(m_out, "%.*s\n", static_cast<int>(text.size()), text.data());
  if (!detail.empty()) std::fprintf(m_out, "%.*s\n", static_cast<int>(detail.size()), detail.data());
}

int ConsoleDialogs::showMessage(std::string_view text, std::string_view detail) {
  m_messages.emplace_back(text);
  print(text, detail);
  return 1;
}

int ConsoleDialogs::askStartupQuit(std::string_view text, std::string_view detail) {
  m_questions.emplace_back(text);
  print(text, detail);
  return m_startupAnswer;
}

}  // namespace m2
