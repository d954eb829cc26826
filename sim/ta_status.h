#pragma once
// The TA's status side: call charges, causes of the last disconnections, line and signal
// state. Port items: 0 the DTE port, 1 TEL1, 2 TEL2.
#include <array>
#include <string>

#include "ta_model.h"

namespace m2::sim {

struct TaStatus {
  std::array<long, 3> lastCharge{0, 30, 0};
  std::array<long, 3> totalCharge{120, 450, 80};
  std::array<std::string, 3> cause{"FF", "10", "22"};  // two hex digits as the TA reports
  long s112 = 3;   // layer 1 in sync, layer 2 link up
  long s115 = 13;  // ER, DR, CS
  int omitItem = -1;  // a fault: this item's line is left out of every port listing
};

// Adds AT$A, AT$B, AT$C, AT$D (bare and numbered), ATS112? and ATS115?.
void RegisterStatusCommands(TaModel& ta, TaStatus& status);

}  // namespace m2::sim
