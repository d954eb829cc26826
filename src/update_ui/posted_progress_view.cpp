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

void PostedProgressView::showStartFailure(std::string_view text, std::string_view detail) {
  std::lock_guard lock(m_mutex);
  m_startFailure = ui::Qs(text);
  m_startDetail = ui::Qs(detail);
}

void PostedProgressView::closeDialog() {
  QString failure, detail;
  {
    std::lock_guard lock(m_mutex);
    failure = m_startFailure;
    detail = m_startDetail;
  }
  QMetaObject::invokeMethod(
      m_receiver, [this, failure, detail] { m_close(failure, detail); }, Qt::QueuedConnection);
}

}  // namespace m2::update_ui
