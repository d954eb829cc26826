#pragma once
// How a COM number becomes a device. COM<n> is the file or symlink of that name in the
// working folder when there is one (a USB adapter is mapped by linking it there), else
// /dev/ttyS<n-1>. Port numbers outside 1..4 name nothing.
//
// The link is the one mapping: MakeComLink writes it, replacing an older link but never a
// file of the user's.
#include <string>

namespace m2 {

struct ComNaming {
  std::string folder = ".";
  std::string ttySPrefix = "/dev/ttyS";
};

enum class ComSource { OutOfRange, Link, LocalFile, TtyS };

struct ComTarget {
  ComSource source = ComSource::OutOfRange;
  std::string openPath;  // what is opened: "./COM1"-style local name or /dev/ttyS<n-1>
  std::string device;    // where it leads: the link's target, else openPath
  bool exists = false;   // the device is there (a dangling link is not)
};

ComTarget ResolveCom(int portNumber, const ComNaming& naming = {});

// The device as a person reads it: "COM1 → /dev/serial/by-id/usb-…" for a link,
// "/dev/ttyS0", "COM1 → /dev/ttyUSB0 (ありません)" or "なし (/dev/ttyS1 がありません)".
std::string ComTargetText(int portNumber, const ComTarget& target);

// The name a failure names: "COM1 → target" for a link, else the path opened.
std::string ComDisplayName(int portNumber, const ComTarget& target);

enum class LinkResult { Made, Replaced, NotALink, Failed };

struct LinkOutcome {
  LinkResult result = LinkResult::Failed;
  int error = 0;  // errno when Failed
};

// Makes COM<n> in the folder point at device (made absolute). An existing symlink is
// replaced in one step; anything else of that name is left alone (NotALink).
LinkOutcome MakeComLink(int portNumber, const std::string& device, const std::string& folder = ".");

}  // namespace m2
