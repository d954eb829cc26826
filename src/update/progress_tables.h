#pragma once
// The states of one update as the progress display shows them, their status texts and
// button labels, and the verdict words the TA sends once its flash ROM is written.
#include <array>
#include <cstddef>
#include <string_view>

#include "update/update_messages.h"

namespace m2 {

enum class ProgressState : int {
  Starting = 0,
  WaitingForTa = 1,
  Sending = 2,
  WritingFlash = 3,
  Done = 4,
  Aborted = 5,
  RefusedByTa = 6,
  Error = 7,
  Closing = 8,
};

inline constexpr std::array<std::string_view, 9> ProgressStateNames{
    "Starting", "WaitingForTa", "Sending", "WritingFlash", "Done",
    "Aborted",  "RefusedByTa",  "Error",   "Closing"};
static_assert(ProgressStateNames.size() == static_cast<std::size_t>(ProgressState::Closing) + 1);

constexpr std::string_view ProgressStateName(ProgressState state) {
  return ProgressStateNames[static_cast<std::size_t>(state)];
}

struct ProgressText {
  ProgressState key;
  std::string_view text;
};

// The lookup ends at the Error row, whose text is empty.
inline constexpr std::array<ProgressText, 5> ProgressTextTable{{
    {ProgressState::WaitingForTa, "ｵﾙﾊﾞﾝﾃM-2KLXからの応答を待っています"},
    {ProgressState::Sending, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを転送しています"},
    {ProgressState::WritingFlash, "FROMに書き込みしています"},
    {ProgressState::Done, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは完了しました"},
    {ProgressState::Error, ""},
}};
static_assert(ProgressTextTable.back().key == ProgressState::Error &&
              ProgressTextTable.back().text.empty());

constexpr std::string_view ProgressTextOf(ProgressState state) {
  for (const auto& row : ProgressTextTable) {
    if (row.key == ProgressState::Error) break;
    if (row.key == state) return row.text;
  }
  return {};
}

inline constexpr std::string_view kButtonAbort = "中止";
inline constexpr std::string_view kButtonClose = "終了";

struct FromStatus {
  std::string_view word;
  int code;
};

// Searched in this order: the first word found anywhere in the text decides.
inline constexpr std::array<FromStatus, 11> FromStatusTable{{
    {"FROM update", kCodeSuccess},
    {"Received file", kCodeFileContents},
    {"CRC verify error", kCodeFileCrc},
    {"Device ID error", kCodeDeviceId},
    {"ID string check", kCodeFileId},
    {"Vpp low detect", kCodeFromNotWritable},
    {"Write error", kCodeFromWrite},
    {"Block erase", kCodeFromErase},
    {"Erase sequence", kCodeFromEraseCommand},
    {"Write to invalid", kCodeFromInvalidArea},
    {"Other error", kCodeOtherError},
}};

}  // namespace m2
