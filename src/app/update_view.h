#pragma once
// What the update run sees of the main window: the main label, the two buttons, the pump, the
// question dialog, the progress timer and the open-file dialog. The run decides; the window only
// carries out. The window's state fields (Finished, Succeeded, UiLanguage, ProgressPercent,
// ProgressBaseText) live in MainWindowState, handed to the run beside this view.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace updater::app {

class UpdateView {
  public:
    virtual ~UpdateView() = default;

    // lblMain.
    virtual std::u16string MainText() const = 0;
    virtual void SetMainText(std::u16string_view text) = 0;
    // Reads the caption, adds the text at its end and sets the result.
    void AppendMainText(std::u16string_view text) { SetMainText(MainText().append(text)); }

    // btnUpdate and btnZamknij.
    virtual void SetUpdateEnabled(bool enabled) = 0;
    virtual void SetFinishEnabled(bool enabled) = 0;
    virtual void FocusFinish() = 0;

    // Processes every pending window message and returns, so labels repaint and the timer fires.
    virtual void Pump() = 0;

    // The question dialog over the main window; returns its modal result (6, 7 or 2).
    virtual std::int32_t Ask(std::u16string_view message, std::uint8_t kind) = 0;

    // TimerPostepProc: while on, the window shows ProgressBaseText and ProgressPercent once a second.
    virtual void SetProgressTimer(bool enabled) = 0;

    // dlgOtworz: the chosen program file's full name, or nothing when the user cancels.
    virtual std::optional<std::u16string> BrowseForProgram() = 0;
};

}  // namespace updater::app
