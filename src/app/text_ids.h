#pragma once
// The interface texts this program shows, by their catalogue id (localisation/interface_texts.inc).
// The catalogue is shared with the product's other programs; these are the ids the update program
// uses, named for what they say here.

#include <cstdint>

namespace updater::app {

// Question dialog.
inline constexpr std::int32_t kTextCancel = 6;             // btnAnuluj
inline constexpr std::int32_t kTextQuestionCaption = 181;  // the dialog's caption
inline constexpr std::int32_t kTextYes = 182;              // btnTak
inline constexpr std::int32_t kTextNo = 183;               // btnNie

// Main window.
inline constexpr std::int32_t kTextFinish = 7;             // btnZamknij
inline constexpr std::int32_t kTextTitle = 261;            // caption and lblTytul: "%s - Update"
inline constexpr std::int32_t kTextVersion = 263;          // lblKrok
inline constexpr std::int32_t kTextUpdate = 264;           // btnUpdate
inline constexpr std::int32_t kTextOpenDialogTitle = 269;  // dlgOtworz
inline constexpr std::int32_t kTextIntroduction = 271;     // lblMain before a run

// The update run: each file's line, the messages it asks about and the verdict.
inline constexpr std::int32_t kTextOk = 267;
inline constexpr std::int32_t kTextError = 268;
inline constexpr std::int32_t kTextSucceeded = 272;
inline constexpr std::int32_t kTextFailed = 273;
inline constexpr std::int32_t kTextNothingToUpdate = 274;
inline constexpr std::int32_t kTextUpdatingFile = 276;
inline constexpr std::int32_t kTextFolderNotFound = 277;
inline constexpr std::int32_t kTextFileNotFound = 278;
inline constexpr std::int32_t kTextUnknownVersion = 279;
inline constexpr std::int32_t kTextCannotOpen = 280;
// Why a file could not be replaced, with its path (and the programs holding it) after it.
inline constexpr std::int32_t kTextDiskFull = 204;
inline constexpr std::int32_t kTextIoError = 205;
inline constexpr std::int32_t kTextFileInUse = 206;

// A question with choices, shown only by the preview that lets a driver program show every kind of
// the question dialog (the run itself never asks one).
inline constexpr std::int32_t kTextSampleQuestion = 151;

}  // namespace updater::app
