#pragma once
// PostedProgressView: the progress dialog's ProgressView. UpdateProgress calls it on the
// link's watcher, on the sender's worker and on the dialog's thread; it copies what it is
// given and posts the copy to the dialog's thread, where the dialog applies it. It never
// blocks on the dialog's thread: Stop, running there, joins the other two.
//
// The close is posted too, so a start failure reported before the dialog's event loop runs
// still closes the dialog once the loop runs; the failure's message box is shown first.
#include <QObject>
#include <QString>
#include <functional>
#include <mutex>

#include "update/update_progress.h"

namespace m2::update_ui {

struct ShownProgress {
  QString message;
  QString percentText;
  QString buttonText;
  int percent;
};

class PostedProgressView final : public ProgressView {
 public:
  using ShowFn = std::function<void(const ShownProgress&)>;
  // startFailure is empty unless the update could not start; detail says more about it.
  using CloseFn = std::function<void(const QString& startFailure, const QString& detail)>;

  // show and close run on the receiver's thread; posts to a destroyed receiver are dropped.
  PostedProgressView(QObject* receiver, ShowFn show, CloseFn close);

  void render(const ProgressDisplay& display) override;
  void showStartFailure(std::string_view text, std::string_view detail) override;
  void closeDialog() override;

 private:
  QObject* m_receiver;
  ShowFn m_show;
  CloseFn m_close;
  std::mutex m_mutex;
  QString m_startFailure;
  QString m_startDetail;
};

}  // namespace m2::update_ui
