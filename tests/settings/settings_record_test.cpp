// The record: defaults, page copies and the flags they move, the CP932 helper and the
// views `show` prints.
#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include "settings/cp932.h"
#include "settings/settings_view.h"

namespace m2 {
namespace {

TEST(SettingsRecord, FreshRecordHasNoFlagsAndEmptyStrings) {
  CKB45mRXObj r;
  EXPECT_EQ(r.m_hDefData, nullptr);
  EXPECT_EQ(r.m_strVersion, "V100");
  EXPECT_EQ(r.m_bModified, 0);
  EXPECT_EQ(r.m_bTaChanged, 0);
  for (int f : r.m_bEdited) EXPECT_EQ(f, 0);
  EXPECT_TRUE(r.m_data.m_tel1.m_strOwnAddress.empty());
}

TEST(SettingsRecord, DefaultsAreTheFactoryTable) {
  const SettingsData d = DefaultSettingsData();
  EXPECT_EQ(d.m_nFileMark, 1);
  for (const AnalogPortSettings* t : {&d.m_tel1, &d.m_tel2}) {
    EXPECT_EQ(*t, (AnalogPortSettings{2, "", "", 1, 0, 1, 1, 0, 0, 5, 0, 0}));
  }
  for (const FlexphoneSettings* f : {&d.m_tel1Flex, &d.m_tel2Flex})
    EXPECT_EQ(*f, (FlexphoneSettings{0, 5, 10, "", 0, 0, 1, 2}));
  EXPECT_EQ(d.m_common, PortCommonSettings{});
  EXPECT_EQ(d.m_dataGen, (DataPortSettings{1, "", "", 1, 0, 1, 1, 0, 0, 1, 1}));
  EXPECT_EQ(d.m_dataFlow, (DataFlowSettings{1, 2, 1, 0}));
  EXPECT_EQ(d.m_dataAt, (DataAtSettings{1, 1, 1, 1}));
  EXPECT_EQ(d.m_pcPort, (PcPortSettings{2, 0, 0}));
  for (const NumberList* l : {&d.m_discTel1, &d.m_discTel2, &d.m_shortDialData, &d.m_discData})
    EXPECT_EQ(*l, NumberList{});
}

TEST(SettingsRecord, CopyToPageClearsOnlyThatGroupsEditedFlag) {
  CKB45mRXObj r;
  r.LoadDefaults();
  r.m_bEdited.fill(1);
  FlexphoneSettings page;
  r.CopyToPage<SettingsGroup::Tel2Flex>(page);
  EXPECT_EQ(page, r.m_data.m_tel2Flex);
  for (std::size_t i = 0; i < kGroupCount; ++i)
    EXPECT_EQ(r.m_bEdited[i], i == 3 ? 0 : 1) << "flag " << i;
  EXPECT_EQ(r.m_bModified, 0);
}

TEST(SettingsRecord, CopyFromPageReplacesOnlyThatGroupAndMarksTheRecord) {
  CKB45mRXObj r;
  r.LoadDefaults();
  const SettingsData before = r.m_data;
  NumberList list;
  r.CopyToPage<SettingsGroup::ShortDialData>(list);
  list.m_nCount = 1;
  list.m_aEntry[0] = {1, "\xB6\xB2\xBC\xAC", "0312345678", "12"};
  r.CopyFromPage<SettingsGroup::ShortDialData>(list);
  EXPECT_EQ(r.m_bModified, 1);
  EXPECT_EQ(r.m_data.m_shortDialData, list);
  SettingsData expected = before;
  expected.m_shortDialData = list;
  EXPECT_EQ(r.m_data, expected);
}

TEST(Cp932, ConvertsBothWaysKeepingHalfWidthKatakana) {
  struct Row {
    std::string cp932;
    std::string utf8;
  };
  const Row rows[] = {
      {"", ""},
      {"0312345678/12", "0312345678/12"},
      {"\xB5\xD9\xCA\xDE\xDD\xC3", "ｵﾙﾊﾞﾝﾃ"},
      {"\x8E\x52\x93\x63", "山田"},
      {"\x81\x60", "～"},  // CP932's wave dash, not JIS's
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Cp932ToUtf8(r.cp932), r.utf8) << r.utf8;
    EXPECT_EQ(Utf8ToCp932(r.utf8), r.cp932) << r.utf8;
  }
}

TEST(Cp932, BadInputIsRefusedOrReplaced) {
  EXPECT_EQ(Cp932ToUtf8("\x81"), std::nullopt);              // a lead byte alone
  EXPECT_EQ(Utf8ToCp932("\xC3"), std::nullopt);              // cut UTF-8
  EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80"), std::nullopt);  // no CP932 equivalent
  EXPECT_EQ(Cp932ToUtf8Lossy("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8Lossy("\xA0\xB1"), "\xEF\xBF\xBD\xEF\xBD\xB1");  // A0 is unassigned
}

TEST(SettingsView, JsonKeysAreTheMemberPaths) {
  SettingsData d = DefaultSettingsData();
  d.m_discTel1.m_aEntry[3].m_strName = "\x8E\x52\x93\x63";
  d.m_tel1.m_bPolarityReversal = 1;
  d.m_tel2.m_bPolarityReversal = 1;
  const auto j = SettingsToJson(d);
  EXPECT_EQ(j.at("m_tel1").at("m_nHlcType"), 2);
  EXPECT_EQ(j.at("m_discTel1").at("m_aEntry").at(3).at("m_strName"), "山田");
  EXPECT_EQ(j.at("m_discTel1").at("m_aEntry").size(), 10u);
  EXPECT_EQ(j.at("m_tel1").at("m_bPolarityReversal"), 1);
  EXPECT_FALSE(j.at("m_tel2").contains("m_bPolarityReversal"));
  EXPECT_EQ(j.at("m_nFileMark"), 1);
  EXPECT_EQ(j.at("m_pcPort").at("m_nSpeed"), 2);

  const std::string text = SettingsToText(d);
  EXPECT_NE(text.find("m_discTel1.m_aEntry[3].m_strName = \"山田\"\n"), std::string::npos);
  EXPECT_NE(text.find("m_dataFlow.m_nErSignal = 2\n"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 104 + 128);
}

}  // namespace
}  // namespace m2
