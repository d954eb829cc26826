#pragma once
// DownloadSender: sends the download file to the TA by XMODEM with 1024-byte blocks and
// then paces the wait while the TA writes its flash ROM.
//
// How it works. The machine moves by steps. The progress display steps it with every
// received byte (Step); the CXMdmThread worker steps it with no byte so that time-outs,
// final notifications and flash-wait ticks follow their causes. Every step runs entirely
// under the sender's lock and only queues the events it produces; the stepping thread
// delivers them to the owner after releasing the lock, in order and synchronously. The
// four timers are deadlines on the injected clock. The worker never polls: it sleeps on a
// condition variable until the earliest deadline, until a step by another thread leaves
// work for it, or until the display changes a field; a step that changed nothing ends its
// run. Once Stop has begun, steps do nothing and events are dropped, so Stop can wait for
// the worker while the worker is delivering.
//
// Errors: StartUpdate returns 0 or a code of UpdateMessageTable; all later failures reach
// the owner as event 7 with their code (events 5 and 6 for the two cancellations).
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "update/download_file.h"
#include "update/sender_clock.h"
#include "update/sender_link.h"
#include "update/xmodem_frame.h"

namespace m2 {

enum SenderEvent : int {
  kEventFirstBlock = 2,
  kEventNextBlock = 3,
  kEventEotAcknowledged = 4,
  kEventCancelled = 5,
  kEventReceiverCancelled = 6,
  kEventFailed = 7,
  kEventFlashTick = 8,
};

// The progress display: receives the link's chunks and the sender's events.
class SenderOwner : public RxChunkObserver {
 public:
  // Called synchronously on the stepping thread, never under the sender's lock.
  virtual void onSenderEvent(int event, int code) = 0;
};

struct UpdateRequest {
  std::string path;
  int portIndex = 0;
  int speedIndex = 6;  // 115200
  int formatIndex = 0;  // 8N1
};

class CXMdmThread;

class DownloadSender : private ClockListener {
 public:
  enum class State : int {
    Idle = 0,
    AwaitStart = 1,
    FirstBlockSent = 2,
    BlockSent = 3,
    EotSent = 4,
    CancelRequested = 5,
    CancelledByReceiver = 6,
    TransferFailed = 7,
    TransferDone = 8,
    Stopped = 9,
  };
  enum TimerId : int { kNoTimer = 0, kStartTimer = 1, kReplyTimer = 2, kFlashWaitTimer = 3, kTickTimer = 4 };
  using Milliseconds = std::chrono::milliseconds;
  static constexpr Milliseconds kStartTime{20000};
  static constexpr Milliseconds kReplyTime{10000};
  static constexpr int kOwnerId = 2;  // the link's owner id while an update runs

  DownloadSender(SenderLink& link, SenderClock& clock);
  virtual ~DownloadSender();
  DownloadSender(const DownloadSender&) = delete;
  DownloadSender& operator=(const DownloadSender&) = delete;

  // Opens the file, starts the worker, opens the port and initialises the transfer. 0, or
  // kCodeFileNotFound, kCodeFileOpen, kCodeWorker, kCodePortOpen; after a code the caller
  // calls Stop, which releases whatever was taken.
  int StartUpdate(int stepMode, const UpdateRequest& request, SenderOwner* owner);
  // The path and cause behind StartUpdate's code, in one line; empty when there is none.
  std::string StartFailureDetail(int code) const;
  // One received byte (0: no byte). Returns the step's result (0, 53 or 100).
  int Step(std::uint8_t byte);
  // Ends the worker, closes the port and the file, forgets the owner; state Idle.
  void Stop();

  // Written by the progress display.
  enum class CancelOutcome {
    Requested,      // state 5: the sender completes it and reports event 5, 6 or 7
    TransferOver,   // EOT is acknowledged: nothing is left to cancel
    AlreadyEnding,  // a final event is on its way (or the sender is idle)
  };
  // Asks for a cancellation while blocks are being sent. Changes nothing unless Requested.
  CancelOutcome RequestCancel();
  void StopWaiting();  // state 9: a verdict has decided, or the user gave up
  void SetFlashWaitTimes(Milliseconds flashWait, Milliseconds tick);

  State state() const;
  bool eotAcknowledged() const;
  std::uint64_t blockCount() const;
  std::uint64_t blockCounter() const;
  CheckMode checkMode() const;
  bool fileOpen() const;
  bool workerRunning() const { return m_worker != nullptr; }

  // Receives "old -> new" on every state change; called under the lock.
  void setTrace(std::function<void(std::string_view)> trace);
  static std::string_view StateName(State state);

 protected:
  // Creates and starts the worker; false when no thread can be made.
  virtual bool LaunchWorker();

 private:
  friend class CXMdmThread;
  using time_point = SenderClock::time_point;

  struct Notification {
    SenderOwner* owner;
    int event;
    int code;
  };
  struct Notifications {
    std::array<Notification, 4> items{};
    int count = 0;
  };

  // Everything a step reads or changes; the worker compares it before and after a step.
  struct Machine {
    State state = State::Idle;
    std::uint64_t blockCount = 0;
    std::uint64_t blockCounter = 0;
    int acceptedStart = 3;  // bit 0 NAK, bit 1 C
    CheckMode checkMode = CheckMode::Checksum;
    BlockType blockType = BlockType::Stx1024;
    bool eotAcknowledged = false;
    int cancelStep = 0;
    bool receiverCancelled = false;
    bool errorReady = false;
    int errorCode = 0;
    bool timeoutFlag = false;
    int startReplyTimerId = 0;
    int flashWaitTimerId = 0;
    int tickTimerId = 0;
    bool tickRunning = false;
    Milliseconds flashWaitTime{0};
    Milliseconds tickTime{0};
    std::array<std::optional<time_point>, 5> deadlines{};  // by timer id
    bool operator==(const Machine&) const = default;
  };

  void WorkerLoop(CXMdmThread& self);
  void onClockAdvanced() override;

  void initTransferLocked();
  int stepLocked(std::uint8_t byte, Notifications& out);
  int sendNext(State next, Notifications& out);
  int send(std::uint8_t kind, bool flag, bool withTimer, Notifications& out);
  int dataFrame(bool repeat, Notifications& out);
  int controlFrame(std::uint8_t byte, bool triple);
  void receiverCancel();
  void notify(int event, int code, Notifications& out);
  void deliver(const Notifications& out);
  void setStateLocked(State next);

  int startTimer(int id, Milliseconds time);
  void killTimer(int id);
  void expireTimersLocked();
  time_point earliestDeadlineLocked() const;
  bool needsNoByteStepLocked() const;
  void wakeWorkerLocked(bool always);

  SenderLink& m_link;
  SenderClock& m_clock;
  DownloadFile m_file;
  FrameBuffer m_frame;
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  Machine m_machine;
  SenderOwner* m_owner = nullptr;
  int m_stepMode = 0;
  bool m_waitsWithoutTimer = false;  // a frame that wanted a reply timer failed to go out
  std::atomic<bool> m_stopping{false};
  std::unique_ptr<CXMdmThread> m_worker;
  bool m_workerSleeping = false;
  bool m_workerWake = false;
  time_point m_workerDeadline{};
  std::function<void(std::string_view)> m_trace;
};

}  // namespace m2
