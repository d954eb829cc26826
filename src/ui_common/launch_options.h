#pragma once
// The programs' own command line, read after Qt has taken its arguments (-platform and so
// on): --user-folder, which the desktop entries pass so that a start from the menu works in
// the user's own folder (settings/user_folder.h), and for M2Update one optional download
// file. A terminal start without the option keeps the current folder.
#include <QString>
#include <optional>

namespace m2::ui {

// The file path given (absolute, since the folder may change; empty when none), or nothing
// after a usage message on stderr when the arguments make no sense.
std::optional<QString> ApplyLaunchOptions(bool takesPath);

}  // namespace m2::ui
