#include <windows.h>

#include "app/win32/message_box.h"

#include "base/win32/system_code_page.h"

namespace updater::app::win32 {

void MessageBoxSink::ShowMessage(std::string_view text, std::string_view caption) {
    const std::wstring wideText = base::win32::WidenSystem(text);
    const std::wstring wideCaption = base::win32::WidenSystem(caption);
    MessageBoxW(GetActiveWindow(), wideText.c_str(), wideCaption.c_str(), MB_OK | MB_TASKMODAL);
}

}  // namespace updater::app::win32
