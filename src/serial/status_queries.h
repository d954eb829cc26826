#pragma once
// Status queries: call charges, causes of the last disconnections, ISDN line state and the
// data port's signal lines. Each is one command operation; a failed transaction or reply
// parse gives 0 after its message, and items parsed before a failure keep their values.
// Port items: 0 the DTE port, 1 TEL1, 2 TEL2.
#include <array>
#include <cstdint>
#include <string_view>

#include "serial/at_session.h"
#include "serial/link_owner.h"

namespace m2 {

enum ChargeSlot : int { kSlotTel1 = 0, kSlotTel2 = 1, kSlotDte = 2 };
constexpr int SlotOfItem(int item) { return item == 0 ? kSlotDte : item - 1; }

// Yen as the TA sends them, whatever their size; -1 when not asked for, or when the field
// is no number (empty, or beyond 64 bits).
struct ChargeCounts {
  std::array<std::int64_t, 3> yen{-1, -1, -1};  // TEL1, TEL2, DTE
};

struct CauseTexts {
  std::array<std::string_view, 3> text;  // TEL1, TEL2, DTE; views into the session's cause texts
};

struct LineState {
  bool layer1Sync = false;
  bool layer2Link = false;
};

struct SignalState {
  bool er = false, rs = false, dr = false, cs = false, cd = false, ci = false;
};

int QueryLastCharges(LinkOwner& owner, int allPorts, int item, ChargeCounts& counts);
int QueryTotalCharges(LinkOwner& owner, int allPorts, int item, ChargeCounts& counts);
int ClearTotalCharges(LinkOwner& owner, int allPorts, int item);
// The texts stay valid as long as the session.
int QueryCallStatus(LinkOwner& owner, AtSession& session, int allPorts, int item,
                    CauseTexts& causes);
int QueryLineStatus(LinkOwner& owner, LineState& state);
int QuerySignalStatus(LinkOwner& owner, SignalState& state);

}  // namespace m2
