// The program's own icon, in every size drawn for it, for the window icon and
// the About box. The desktop entry names the installed copy by kIconName.
#pragma once

#include <QIcon>

namespace kvl {

inline constexpr const char* kIconName = "kvlconfig3";
// The desktop entry's name without ".desktop": lets the desktop match the
// program's windows to its entry and icon.
inline constexpr const char* kDesktopFileName = "example.orvanto.kvlconfig3";

QIcon ProgramIcon();

} // namespace kvl
