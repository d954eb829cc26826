#include "setup_ui/terminal_feed.h"

#include <QMetaObject>

#include "setup_ui/terminal_edit.h"

namespace m2::setup {

void TerminalFeed::onChar(std::uint8_t byte) {
  std::lock_guard lock(m_mutex);
  if (!m_edit) return;
  const bool drainPosted = !m_pending.empty();
  m_pending.push_back(static_cast<char>(byte));
  if (drainPosted) return;
  TerminalEdit* edit = m_edit;
  QMetaObject::invokeMethod(edit, [edit] { edit->DrainFeed(); }, Qt::QueuedConnection);
}

void TerminalFeed::attach(TerminalEdit* edit) {
  std::lock_guard lock(m_mutex);
  m_edit = edit;
  m_pending.clear();
}

void TerminalFeed::detach() {
  std::lock_guard lock(m_mutex);
  m_edit = nullptr;
  m_pending.clear();
}

std::string TerminalFeed::take(const TerminalEdit* edit) {
  std::lock_guard lock(m_mutex);
  if (edit != m_edit) return {};
  return std::exchange(m_pending, {});
}

}  // namespace m2::setup
