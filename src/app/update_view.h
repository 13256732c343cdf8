#pragma once
// What the update run sees of the main window (UpdateView) and the state the two share
// (MainWindowState). The run decides; the window only carries out.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "localisation/language.h"

namespace updater::app {

// The window's state that the update run reads and writes: how the last run ended, the interface
// language, and what the progress timer shows while the dictionary is converted.
struct MainWindowState {
    bool finished = false;
    bool succeeded = false;
    localisation::Language uiLanguage = localisation::kPolish;
    std::int32_t progressPercent = 0;
    std::u16string progressBaseText;
};

class UpdateView {
  public:
    virtual ~UpdateView() = default;

    // The main label (lblMain).
    virtual std::u16string MainText() const = 0;
    virtual void SetMainText(std::u16string_view text) = 0;
    // Reads the label, adds the text at its end and sets the result.
    void AppendMainText(std::u16string_view text) { SetMainText(MainText().append(text)); }

    // The update and finish buttons.
    virtual void SetUpdateEnabled(bool enabled) = 0;
    virtual void SetFinishEnabled(bool enabled) = 0;
    virtual void FocusFinish() = 0;

    // Processes every pending window message and returns, so labels repaint and the timer fires.
    virtual void Pump() = 0;

    // The question dialog over the main window; returns its modal result (6, 7 or 2).
    virtual std::int32_t Ask(std::u16string_view message, std::uint8_t kind) = 0;

    // While on, the window shows progressBaseText and progressPercent once a second.
    virtual void SetProgressTimer(bool enabled) = 0;

    // The open-file dialog: the chosen program file's full name, or nothing when the user cancels.
    virtual std::optional<std::u16string> BrowseForProgram() = 0;
};

}  // namespace updater::app
