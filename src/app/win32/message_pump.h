#pragma once
// The program's message handling: every message goes through the dialog manager of its top-level
// window first, so Enter presses the default (or focused) button, Esc cancels and Tab follows the
// tab order in both windows.

struct tagMSG;

namespace updater::app::win32 {

// Translates and dispatches one message, giving dialog keys to its window first.
void DispatchWithDialogKeys(tagMSG& message);
// Processes every pending message and returns. False when the program is ending (the quit
// message is left in the queue for the main loop).
bool PumpPendingMessages();
// Dispatches messages until the quit message; returns its exit code.
int RunMessageLoop();

}  // namespace updater::app::win32
