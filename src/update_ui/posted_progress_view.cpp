#include "update_ui/posted_progress_view.h"

#include <QMetaObject>

#include "ui_common/string_resource.h"

namespace m2::update_ui {

PostedProgressView::PostedProgressView(QObject* receiver, ShowFn show, CloseFn close)
    : m_receiver(receiver), m_show(std::move(show)), m_close(std::move(close)) {}

void PostedProgressView::render(const ProgressDisplay& d) {
  ShownProgress shown{ui::Qs(d.message), ui::Qs(d.percentText), ui::Qs(d.buttonText),
                      d.percent};
  QMetaObject::invokeMethod(
      m_receiver, [this, shown = std::move(shown)] { m_show(shown); }, Qt::QueuedConnection);
}

void PostedProgressView::showStartFailure(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_startFailure = ui::Qs(text);
}

void PostedProgressView::closeDialog() {
  QString failure;
  {
    std::lock_guard lock(m_mutex);
    failure = m_startFailure;
  }
  QMetaObject::invokeMethod(
      m_receiver, [this, failure] { m_close(failure); }, Qt::QueuedConnection);
}

}  // namespace m2::update_ui
