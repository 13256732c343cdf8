#pragma once
// Control ids of the two windows. Automation (tests, drivers, screen readers' scripts) finds the
// controls by them, so they stay as they are.

namespace updater::app::win32 {

// TfrmMainPatcher.
inline constexpr int kUpdateButtonId = 101;   // btnUpdate
inline constexpr int kFinishButtonId = 102;   // btnZamknij
inline constexpr int kFirstFlagId = 111;      // btnPolski; btnAngielski, btnNiemiecki, btnFrancuski, btnWloski follow
inline constexpr int kTitleLabelId = 121;     // lblTytul
inline constexpr int kVersionLabelId = 122;   // lblKrok
inline constexpr int kMainLabelId = 123;      // lblMain
inline constexpr int kLanguageLabelId = 124;  // lblJezyk
inline constexpr int kSpecialVersionLabelId = 125;  // lblWersjaSpecjalna
inline constexpr int kBevelId = 126;                // Bevel1

// TfrmPytanie.
inline constexpr int kYesButtonId = 201;      // btnTak
inline constexpr int kNoButtonId = 202;       // btnNie
inline constexpr int kCancelButtonId = 203;   // btnAnuluj
inline constexpr int kQuestionLabelId = 210;  // lblPytanie

}  // namespace updater::app::win32
