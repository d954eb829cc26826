#include "update/xmdm_thread.h"

#include <system_error>

#include "update/download_sender.h"

namespace m2 {

bool CXMdmThread::Start() {
  try {
    m_thread = std::jthread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void CXMdmThread::Run() {
  if (!m_sender) {
    m_exitCode = -1;
    return;
  }
  m_sender->WorkerLoop(*this);
  m_exitCode = 0;
}

}  // namespace m2
