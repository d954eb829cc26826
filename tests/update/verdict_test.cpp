#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "update/update_messages.h"
#include "update/progress_tables.h"
#include "update/verdict.h"

namespace m2 {
namespace {

TEST(Verdict, FirstWordInTableOrderDecides) {
  struct Row {
    std::string text;
    int code;
  };
  const std::vector<Row> rows = {
      {"FROM update\r", kCodeSuccess},
      {"Received file\r", kCodeFileContents},
      {"CRC verify error\r", kCodeFileCrc},
      {"Device ID error\r", kCodeDeviceId},
      {"ID string check\r", kCodeFileId},
      {"Vpp low detect\r", kCodeFromNotWritable},
      {"Write error\r", kCodeFromWrite},
      {"Block erase\r", kCodeFromErase},
      {"Erase sequence\r", kCodeFromEraseCommand},
      {"Write to invalid\r", kCodeFromInvalidArea},
      {"Other error\r", kCodeOtherError},
      {"Write error\rFROM update\r", kCodeSuccess},  // table order, not text order
      {"xx Device ID error yy ID string check", kCodeDeviceId},
      {"from update\r", kCodeUpdateFailed},  // case matters
      {"FROM  update\r", kCodeUpdateFailed},
      {std::string("\0FROM update", 12), kCodeSuccess},  // a zero byte hides nothing
      {"", kCodeUpdateFailed},
  };
  for (const auto& row : rows) EXPECT_EQ(FindVerdictCode(row.text), row.code) << row.text;
}

std::optional<int> Feed(VerdictCollector& v, std::string_view chunk) {
  return v.append(reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size());
}

TEST(Verdict, CollectorWaitsDecidesAndLimits) {
  VerdictCollector v;
  EXPECT_EQ(Feed(v, "FROM up"), std::nullopt) << "split word: wait";
  EXPECT_EQ(Feed(v, "date\r"), kCodeSuccess);

  v.clear();
  EXPECT_EQ(Feed(v, "Erasing..."), std::nullopt) << "no word, no CR: wait";
  EXPECT_EQ(Feed(v, " done"), std::nullopt);
  EXPECT_EQ(Feed(v, "\r\n"), kCodeUpdateFailed) << "CR and still no word";

  v.clear();
  EXPECT_EQ(Feed(v, "Write error"), kCodeFromWrite) << "an error word needs no CR";

  v.clear();
  EXPECT_EQ(Feed(v, std::string(1024, 'x')), std::nullopt) << "1024 bytes fit";
  EXPECT_EQ(Feed(v, "F"), kCodeUpdateFailed) << "the 1025th byte fails";

  v.clear();
  EXPECT_EQ(Feed(v, std::string(1025, 'x')), kCodeUpdateFailed);
}

TEST(UpdateTables, TextsAndLookups) {
  EXPECT_EQ(UpdateMessageText(kCodePortOpen), "ﾊﾟｿｺﾝ通信ﾎﾟｰﾄがｵｰﾌﾟﾝできません");
  EXPECT_EQ(UpdateMessageText(kCodeReplyTimeout), "XMODEMの通信で受信待ちﾀｲﾏがﾀｲﾑｱｳﾄしました");
  EXPECT_EQ(UpdateMessageText(0), "その他のｴﾗｰが発生しました");
  EXPECT_EQ(UpdateMessageText(56), "その他のｴﾗｰが発生しました");
  EXPECT_EQ(ProgressTextOf(ProgressState::WaitingForTa), "ｵﾙﾊﾞﾝﾃM-2KLXからの応答を待っています");
  EXPECT_EQ(ProgressTextOf(ProgressState::Done), "ﾊﾞｰｼﾞｮﾝｱｯﾌﾟは完了しました");
  EXPECT_EQ(ProgressTextOf(ProgressState::Error), "");
  EXPECT_EQ(ProgressTextOf(ProgressState::Aborted), "");
  EXPECT_EQ(ProgressStateName(ProgressState::RefusedByTa), "RefusedByTa");
  // Codes in the table are unique.
  for (std::size_t i = 0; i < UpdateMessageTable.size(); ++i)
    for (std::size_t k = i + 1; k < UpdateMessageTable.size(); ++k)
      EXPECT_NE(UpdateMessageTable[i].code, UpdateMessageTable[k].code);
}

}  // namespace
}  // namespace m2
