#pragma once
// Result codes of one update and their fixed texts. A code that is not in the table shows
// the text of "another error". Code 0 is success and has no text of its own.
#include <array>
#include <string_view>

namespace m2 {

enum UpdateCode : int {
  kCodeSuccess = 0,
  kCodePortOpen = 17,
  kCodeWorker = 49,
  kCodeUserAbort = 50,
  kCodeFlashWaitAbort = 51,
  kCodeNoAnswer = 52,
  kCodeWriteFailed = 53,
  kCodeReplyTimeout = 54,
  kCodeCancelledByTa = 55,
  kCodeFileContents = 65,
  kCodeFileCrc = 66,
  kCodeDeviceId = 67,
  kCodeFileId = 68,
  kCodeFromNotWritable = 69,
  kCodeFromWrite = 70,
  kCodeFromErase = 71,
  kCodeFromEraseCommand = 72,
  kCodeFromInvalidArea = 73,
  kCodeOtherError = 74,
  kCodeUpdateFailed = 81,
  kCodeFileNotFound = 98,
  kCodeFileOpen = 99,
  kCodeFileRead = 100,
};

struct UpdateMessage {
  int code;
  std::string_view text;
};

inline constexpr std::array<UpdateMessage, 22> UpdateMessageTable{{
    {kCodePortOpen, "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません"},
    {kCodeWorker, "XMODEMの通信をｵｰﾌﾟﾝできません"},
    {kCodeUserAbort, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を中止しました"},
    {kCodeFlashWaitAbort, "FROM書き込み待ちを中止しました"},
    {kCodeNoAnswer, "ｵﾙﾊﾞﾝﾃM-2KLXからの応答がありません"},
    {kCodeWriteFailed, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送中にｴﾗｰが発生しました"},
    {kCodeReplyTimeout, "XMODEMの通信で受信待ちﾀｲﾏがﾀｲﾑｱｳﾄしました"},
    {kCodeCancelledByTa, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの転送を取り消されました"},
    {kCodeFileContents, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙの内容誤りです"},
    {kCodeFileCrc, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙのCRCｴﾗｰです"},
    {kCodeDeviceId, "FROMのﾃﾞﾊﾞｲｽIDｴﾗｰです"},
    {kCodeFileId, "ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙのIDｴﾗｰです"},
    {kCodeFromNotWritable, "FROMへの書き込み不可です"},
    {kCodeFromWrite, "FROMへの書き込み失敗です"},
    {kCodeFromErase, "FROMの消去失敗です"},
    {kCodeFromEraseCommand, "FROMの消去ｺﾏﾝﾄﾞｴﾗｰです"},
    {kCodeFromInvalidArea, "FROMの無効領域ｱｸｾｽｴﾗｰです"},
    {kCodeOtherError, "その他のｴﾗｰが発生しました"},
    {kCodeUpdateFailed, "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟに失敗しました"},
    {kCodeFileNotFound, "指定されたﾌｧｲﾙが見つかりません"},
    {kCodeFileOpen, "指定されたﾌｧｲﾙがｵｰﾌﾟﾝできません"},
    {kCodeFileRead, "ﾌｧｲﾙの読み込みに失敗しました"},
}};

inline constexpr std::string_view kUnknownCodeText = "その他のｴﾗｰが発生しました";

constexpr std::string_view UpdateMessageText(int code) {
  for (const auto& m : UpdateMessageTable)
    if (m.code == code) return m.text;
  return kUnknownCodeText;
}

static_assert(UpdateMessageText(kCodeFileRead) == "ﾌｧｲﾙの読み込みに失敗しました");
static_assert(UpdateMessageText(12345) == kUnknownCodeText);

}  // namespace m2
