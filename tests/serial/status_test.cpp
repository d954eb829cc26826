// Status queries against the simulator.
#include <gtest/gtest.h>

#include "serial/status_queries.h"
#include "support/ta_bench.h"

namespace m2 {
namespace {

using test::TaBench;

void Connect(TaBench& b) { ASSERT_EQ(b.owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1), 1); }

TEST(StatusQueries, CauseTextsPerPort) {
  TaBench b({"--cause", "0=FF", "--cause", "1=10", "--cause", "2=22"});
  Connect(b);
  AtSession s;
  CauseTexts causes;
  ASSERT_EQ(QueryCallStatus(b.owner, s, 1, 0, causes), 1);
  EXPECT_EQ(causes.text[kSlotDte], "");
  EXPECT_EQ(causes.text[kSlotTel1], "正常切断 (016)");
  EXPECT_EQ(causes.text[kSlotTel2], "使用できるﾁｬﾈﾙなし(Bch) (034)");
}

TEST(StatusQueries, UnknownAndLowerCaseCauses) {
  TaBench b({"--cause", "0=7F", "--cause", "1=04", "--cause", "2=1f"});
  Connect(b);
  AtSession s;
  CauseTexts causes;
  ASSERT_EQ(QueryCallStatus(b.owner, s, 1, 0, causes), 1);
  EXPECT_EQ(causes.text[kSlotDte], "その他のｲﾝﾀﾜｰｷﾝｸﾞｸﾗｽ (127)");
  EXPECT_EQ(causes.text[kSlotTel1], "その他のｴﾗｰ (004)");
  EXPECT_EQ(causes.text[kSlotTel2], "その他の正常ｸﾗｽ (031)");  // lower case read as hex
}

TEST(StatusQueries, MalformedCauseFailsWithError9) {
  TaBench b({"--cause", "1=1G"});
  Connect(b);
  AtSession s;
  CauseTexts causes;
  EXPECT_EQ(QueryCallStatus(b.owner, s, 1, 0, causes), 0);
  EXPECT_EQ(b.owner.lastErrorCode, 9);
  EXPECT_EQ(causes.text[kSlotDte], "");  // item 0 (FF) was parsed before the failure
}

TEST(StatusQueries, LineAndSignalFlags) {
  TaBench b({"--s112", "2", "--s115", "63"});
  Connect(b);
  LineState line;
  ASSERT_EQ(QueryLineStatus(b.owner, line), 1);
  EXPECT_FALSE(line.layer1Sync);
  EXPECT_TRUE(line.layer2Link);
  TaBench bit2({"--s112", "5"});  // either of bits 1 and 2 is the layer-2 link
  Connect(bit2);
  ASSERT_EQ(QueryLineStatus(bit2.owner, line), 1);
  EXPECT_TRUE(line.layer1Sync);
  EXPECT_TRUE(line.layer2Link);
  SignalState sig;
  ASSERT_EQ(QuerySignalStatus(b.owner, sig), 1);
  EXPECT_TRUE(sig.er && sig.rs && sig.dr && sig.cs && sig.cd && sig.ci);

  TaBench other({"--s112", "1", "--s115", "20"});
  Connect(other);
  ASSERT_EQ(QueryLineStatus(other.owner, line), 1);
  EXPECT_TRUE(line.layer1Sync);
  EXPECT_FALSE(line.layer2Link);
  ASSERT_EQ(QuerySignalStatus(other.owner, sig), 1);
  EXPECT_FALSE(sig.er || sig.rs || sig.cs || sig.ci);
  EXPECT_TRUE(sig.dr && sig.cd);
}

TEST(StatusQueries, ChargesAndClearingOnePort) {
  TaBench b({"--last-charge", "1=30", "--total-charge", "0=120", "--total-charge", "1=450",
             "--total-charge", "2=80"});
  Connect(b);
  ChargeCounts last, total;
  ASSERT_EQ(QueryLastCharges(b.owner, 1, 0, last), 1);
  EXPECT_EQ(last.yen[kSlotTel1], 30);
  ASSERT_EQ(QueryTotalCharges(b.owner, 1, 0, total), 1);
  EXPECT_EQ(total.yen, (std::array<std::int64_t, 3>{450, 80, 120}));

  const std::size_t mark = b.sim.commandLog().size();
  ASSERT_EQ(ClearTotalCharges(b.owner, 0, 2), 1);
  ASSERT_EQ(QueryTotalCharges(b.owner, 0, 2, total), 1);
  EXPECT_EQ(b.commandsSince(mark), (std::vector<std::string>{"AT$D2", "AT$B2"}));
  EXPECT_EQ(total.yen, (std::array<std::int64_t, 3>{-1, 0, -1}));  // only TEL2 asked for
  ASSERT_EQ(QueryTotalCharges(b.owner, 1, 0, total), 1);
  EXPECT_EQ(total.yen, (std::array<std::int64_t, 3>{450, 0, 120}));
}

TEST(StatusQueries, ChargesBeyond32BitsAreKeptWhole) {
  TaBench b({"--total-charge", "0=2147483648", "--total-charge", "1=4294967296",
             "--total-charge", "2=9223372036854775807"});
  Connect(b);
  ChargeCounts total;
  ASSERT_EQ(QueryTotalCharges(b.owner, 1, 0, total), 1);
  EXPECT_EQ(total.yen,
            (std::array<std::int64_t, 3>{4294967296, 9223372036854775807, 2147483648}));
}

TEST(StatusQueries, MissingItemLineFailsWithError9KeepingEarlierItems) {
  TaBench b({"--omit-item", "2", "--total-charge", "0=120", "--total-charge", "1=450"});
  Connect(b);
  ChargeCounts total;
  EXPECT_EQ(QueryTotalCharges(b.owner, 1, 0, total), 0);
  EXPECT_EQ(b.owner.lastErrorCode, 9);
  EXPECT_EQ(total.yen, (std::array<std::int64_t, 3>{450, -1, 120}));
}

TEST(StatusQueries, NumberedQueryWithBadItemFailsAfterSending) {
  TaBench b({});
  Connect(b);
  ChargeCounts counts;
  const std::size_t mark = b.sim.commandLog().size();
  EXPECT_EQ(QueryLastCharges(b.owner, 0, 7, counts), 0);
  EXPECT_EQ(b.commandsSince(mark), (std::vector<std::string>{"AT$A7"}));
}

}  // namespace
}  // namespace m2
