#pragma once
// The message box seam: "Unknown AppId !" and the like, in a modal box with an OK button.

#include "app/product_identity.h"

namespace updater::app::win32 {

class MessageBoxSink : public MessageSink {
  public:
    // Texts are 8-bit in the system's code page, as the configuration holds them.
    void ShowMessage(std::string_view text, std::string_view caption) override;
};

}  // namespace updater::app::win32
