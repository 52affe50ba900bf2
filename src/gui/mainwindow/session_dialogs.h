#pragma once

#include "gui/mainwindow/talvex_dlg.h"

namespace talvex::gui {

// The desktop's dialogs for sessions: the file dialogs for *.tlvx, a yes/no question and a message box.
void AddSessionDialogs(MainWindowHooks& hooks);

} // namespace talvex::gui
