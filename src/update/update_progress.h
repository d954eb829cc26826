#pragma once
// UpdateProgress: one update from the TA's start request to its flash-write verdict, as
// the progress dialog runs it, without any user-interface toolkit. The GUI dialog and
// `m2ctl update` render what it shows through ProgressView and forward the user's button
// and Esc to it.
//
// It is the sender's owner: the link's watcher thread gives it received chunks and the
// stepping threads give it sender events. Both arrive on other threads than the user's,
// so its handlers are serialised by a recursive lock (a step made while handling a chunk
// delivers its events on the same thread, as a window receives messages it sends itself).
// The sender is never stopped while that lock is held, so Stop can wait for a worker that
// is delivering an event.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "update/download_sender.h"
#include "update/progress_tables.h"
#include "update/verdict.h"

namespace m2 {

struct ProgressDisplay {
  ProgressState state;
  std::string_view message;
  std::string_view percentText;
  std::string_view buttonText;
  int percent;  // the bar, 0 to 100
};

// What the dialog shows. Its calls come one at a time and in order, on the thread that
// caused the change: render on the link's watcher (a received chunk), on the sender's
// worker (its events) or on the user's thread (Start, the button); showStartFailure and
// closeDialog on the user's thread, closeDialog last, once the sender has stopped. So a
// view:
// - copies what it needs before it returns: the display's texts are views into members
//   that the next chunk or event changes;
// - hands the copy to its own thread asynchronously (a queued signal, a posted event) and
//   never blocks on another thread: a blocking cross-thread call deadlocks against Stop,
//   which joins the worker and the watcher while the user's thread waits in it;
// - never calls back into UpdateProgress.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // The controls changed.
  virtual void render(const ProgressDisplay& display) = 0;
  // The update could not start: a message box with an OK button; detail (the path and the
  // cause) goes under the text when it is not empty.
  virtual void showStartFailure(std::string_view text, std::string_view detail) = 0;
  // The sender is stopped and the dialog closes.
  virtual void closeDialog() = 0;
};

class UpdateProgress final : public SenderOwner {
 public:
  static constexpr DownloadSender::Milliseconds kFlashWaitTime{90000};
  static constexpr DownloadSender::Milliseconds kTickTime{1200};

  UpdateProgress(DownloadSender& sender, ProgressView& view);
  ~UpdateProgress() override;
  UpdateProgress(const UpdateProgress&) = delete;
  UpdateProgress& operator=(const UpdateProgress&) = delete;

  // false: the update did not start; its message was shown and the dialog closed.
  bool Start(const UpdateRequest& request);
  // The dialog's one button: "中止" while the update runs, "終了" afterwards. Returns the
  // state it was pressed in.
  ProgressState PressButton();
  // Esc or the close box: stop at once, in any state. Returns the state it left.
  ProgressState PressEscape();

  ProgressState state() const;
  int percent() const;
  std::string message() const;
  std::string buttonText() const;
  int blocksPerPercent() const;
  bool closed() const;

  void onRxChunk(const std::uint8_t* data, int length) override;
  void onSenderEvent(int event, int code) override;

 private:
  void stepBytes(const std::uint8_t* data, int length);
  void verdict(const std::uint8_t* data, std::size_t length);
  void finish(ProgressState state, int code);  // the sender stops waiting; final message
  void showStatus(int code);
  void percentStep();
  void raisePercentTo(int target);
  void render();
  void close();
  bool running() const;

  DownloadSender& m_sender;
  ProgressView& m_view;
  mutable std::recursive_mutex m_mutex;
  ProgressState m_state = ProgressState::Starting;
  int m_blocksPerPercent = 0;
  int m_blocksSinceStep = 0;
  int m_percent = 0;
  VerdictCollector m_verdict;
  std::string m_heldBack;  // text after the ACK of EOT, before event 4 has arrived
  std::string_view m_message;
  std::string m_percentText;
  std::string_view m_buttonText = kButtonClose;
  bool m_closed = false;
};

}  // namespace m2
