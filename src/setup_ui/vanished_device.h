#pragma once
// A device that went away (unplugged, or the other end closed) leaves the link marked as
// connected. Treating it as not connected lets the next exchange connect again and report
// what it finds, instead of waiting out the silence time on a dead port.
#include "serial/link_owner.h"

namespace m2::setup {

inline void ForgetVanishedDevice(LinkOwner& owner) {
  if (owner.connected == 1 && owner.link().deviceGone()) owner.DisconnectTa(0);
}

}  // namespace m2::setup
