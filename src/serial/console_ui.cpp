#include "serial/console_ui.h"

namespace m2 {

int ConsoleDialogs::showMessage(std::string_view text) {
  m_messages.emplace_back(text);
  if (m_out) std::fprintf(m_out, "%.*s\n", static_cast<int>(text.size()), text.data());
  return 1;
}

int ConsoleDialogs::askStartupQuit(std::string_view text) {
  m_questions.emplace_back(text);
  if (m_out) std::fprintf(m_out, "%.*s\n", static_cast<int>(text.size()), text.data());
  return m_startupAnswer;
}

}  // namespace m2
