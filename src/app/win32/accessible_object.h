#pragma once
// What screen readers learn about our own controls. The system describes a window of a class it
// does not know through a generic object: no role beyond "client", no pressed state, and a name
// taken from a nearby label. A control that needs more answers WM_GETOBJECT with the system's
// standard object wrapped: the traits below replace what they name, and everything else (place,
// focus, navigation) stays the standard object's.

#include <optional>
#include <string>

#include "app/win32/window_support.h"

namespace updater::app::win32 {

struct AccessibleTraits {
    long role = 0;              // an MSAA role (ROLE_SYSTEM_...); 0 keeps the standard one
    bool nameFromText = false;  // the window's own text is its name
    bool pressable = false;     // a toggle: pressed while BM_GETCHECK says checked; the default action clicks
    std::u16string description;
};

// The answer to WM_GETOBJECT for the window's client object, or nothing to leave the message to
// the default handling (other objects, or the accessibility library missing).
std::optional<LRESULT> AnswerGetObject(WindowHandle window, WPARAM wParam, LPARAM lParam,
                                       const AccessibleTraits& traits);

// Makes a standard control answer WM_GETOBJECT with the traits as they are when asked; they must
// outlive the control.
void AnswerGetObjectWith(WindowHandle control, const AccessibleTraits& traits);

}  // namespace updater::app::win32
