// Every command format once, and the argument transformations.
#include <gtest/gtest.h>

#include <string>

#include "serial/at_commands.h"

namespace m2 {
namespace {

std::string Built(const AtSession& s) { return std::string(s.commandText()); }

TEST(AtCommands, EachFormatWithRepresentativeArguments) {
  struct Row {
    AtCmd cmd;
    int a, b;
    const char* expected;
  };
  const Row numeric[] = {
      {AtCmd::E, 1, 0, "ATE1\r"},          {AtCmd::I, 4, 0, "ATI4\r"},
      {AtCmd::SQuery, 112, 0, "ATS112?\r"}, {AtCmd::SSet, 80, 5, "ATS80=5\r"},
      {AtCmd::V, 0, 0, "ATV0\r"},          {AtCmd::X, 4, 0, "ATX4\r"},
      {AtCmd::AndC, 1, 0, "AT&C1\r"},      {AtCmd::AndD, 2, 0, "AT&D2\r"},
      {AtCmd::AndF, 0, 0, "AT&F\r"},       {AtCmd::AndK, 3, 0, "AT&K3\r"},
      {AtCmd::AndQ, 0, 0, "AT&Q0\r"},      {AtCmd::AndV, 0, 0, "AT&V0\r"},
      {AtCmd::AndW, 0, 0, "AT&W0\r"},      {AtCmd::DollarG, 1, 2, "AT$G1=2\r"},
      {AtCmd::DollarI, 2, 1, "AT$I2=1\r"}, {AtCmd::DollarP, 1, 0, "AT$P1=0\r"},
      {AtCmd::DollarS, 0, 3, "AT$S0=3\r"}, {AtCmd::DollarR, 1, 0, "AT$R1\r"},
      {AtCmd::AtC, 1, 1, "AT@C1=1\r"},     {AtCmd::AtF, 2, 10, "AT@F2=10\r"},
      {AtCmd::AtG, 1, 0, "AT@G1\r"},       {AtCmd::AtH, 1, 3, "AT@H1=3\r"},
      {AtCmd::AtI, 2, 0, "AT@I2=0\r"},     {AtCmd::AtP, 1, 1, "AT@P1=1\r"},
      {AtCmd::AtR, 2, 4, "AT@R2=4\r"},     {AtCmd::AtT, 1, 9, "AT@T1=9\r"},
  };
  AtSession s;
  for (const auto& r : numeric) {
    BuildNumeric(s, r.cmd, r.a, r.b);
    EXPECT_EQ(Built(s), r.expected);
  }
  const std::pair<AtCmd, const char*> lists[] = {
      {AtCmd::AndZList, "AT&Z"}, {AtCmd::DollarA, "AT$A"}, {AtCmd::DollarB, "AT$B"},
      {AtCmd::DollarC, "AT$C"},  {AtCmd::DollarD, "AT$D"}, {AtCmd::DollarWList, "AT$W"},
      {AtCmd::DollarXList, "AT$X"}, {AtCmd::DollarYList, "AT$Y"}, {AtCmd::DollarZList, "AT$Z"},
      {AtCmd::AtAList, "AT@A"},
  };
  for (const auto& [cmd, stem] : lists) {
    BuildList(s, cmd, 1, 2);
    EXPECT_EQ(Built(s), std::string(stem) + "\r");
    BuildList(s, cmd, 0, 2);
    EXPECT_EQ(Built(s), std::string(stem) + "2\r");
  }
  const std::pair<AtCmd, const char*> entries[] = {
      {AtCmd::AndZSet, "AT&Z3=0312/45\r"}, {AtCmd::DollarWSet, "AT$W3=0312/45\r"},
      {AtCmd::DollarXSet, "AT$X3=0312/45\r"}, {AtCmd::DollarYSet, "AT$Y3=0312/45\r"},
      {AtCmd::DollarZSet, "AT$Z3=0312/45\r"},
  };
  for (const auto& [cmd, expected] : entries) {
    BuildNumberEntry(s, cmd, 3, "0312", "45");
    EXPECT_EQ(Built(s), expected);
  }
  BuildText(s, AtCmd::AtASet, 1, "Name/x");
  EXPECT_EQ(Built(s), "AT@A1=Name/x\r");
}

TEST(AtCommands, NumberEntriesJoinSubaddressOnlyWhenPresent) {
  AtSession s;
  BuildNumberEntry(s, AtCmd::DollarXSet, 3, "0312345678", "");
  EXPECT_EQ(Built(s), "AT$X3=0312345678\r");
  BuildNumberEntry(s, AtCmd::DollarWSet, 5, "", "");
  EXPECT_EQ(Built(s), "AT$W5=\r");
}

TEST(AtCommands, Transformations) {
  AtSession s;
  BuildResultCodes(s, 1);
  EXPECT_EQ(Built(s), "ATQ0\r");
  BuildResultCodes(s, 0);
  EXPECT_EQ(Built(s), "ATQ1\r");
  BuildDsrControl(s, 1);
  EXPECT_EQ(Built(s), "AT&S2\r");
  BuildDsrControl(s, 0);
  EXPECT_EQ(Built(s), "AT&S0\r");
  BuildDollarH(s, 1, 1);
  EXPECT_EQ(Built(s), "AT$H1=0\r");
  BuildDollarH(s, 2, 0);
  EXPECT_EQ(Built(s), "AT$H2=1\r");
  BuildAtD(s, 2, 1, 1);
  EXPECT_EQ(Built(s), "AT@D2=3\r");
  BuildAtD(s, 1, 1, 0);
  EXPECT_EQ(Built(s), "AT@D1=2\r");
  BuildS0(s, 0, 3);
  EXPECT_EQ(Built(s), "ATS0=0\r");
  BuildS0(s, 1, 3);
  EXPECT_EQ(Built(s), "ATS0=3\r");
  BuildS65(s, 1, 0);
  EXPECT_EQ(Built(s), "ATS65=1\r");
  BuildS65(s, 2, 1);
  EXPECT_EQ(Built(s), "ATS66=4\r");
  BuildS65(s, 1, 2);
  EXPECT_EQ(Built(s), "ATS65=0\r");
  BuildS80(s, 2, 0, 5);
  EXPECT_EQ(Built(s), "ATS81=0\r");
  BuildS80(s, 1, 1, 5);
  EXPECT_EQ(Built(s), "ATS80=5\r");
}

TEST(AtCommands, AtBBitSet) {
  // First flag with selector 0: 16 whatever the other flags.
  EXPECT_EQ(AtBBits(1, 0, 1, 1, 1), 16);
  EXPECT_EQ(AtBBits(1, 0, 0, 0, 0), 16);
  // First flag with selector 1: 8 plus the flags.
  EXPECT_EQ(AtBBits(1, 1, 1, 1, 1), 15);
  EXPECT_EQ(AtBBits(1, 1, 0, 1, 0), 10);
  // Another selector: 8 alone.
  EXPECT_EQ(AtBBits(1, 2, 1, 1, 1), 8);
  EXPECT_EQ(AtBBits(0, 0, 1, 0, 1), 5);
  AtSession s;
  BuildAtB(s, 0, 0, 1, 1, 1);
  EXPECT_EQ(Built(s), "AT@B7\r");
}

}  // namespace
}  // namespace m2
