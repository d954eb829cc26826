#pragma once
// The AT command builders. A builder only writes the command text (ending in one CR) into
// the session's command field; sending is a separate AtTransact on the same session, so the
// echo skip sees exactly what was sent. Formats live in one table, AtFormats.
#include <array>
#include <string_view>

#include "serial/at_session.h"

namespace m2 {

enum class AtCmd : int {
  E, I, Q, SQuery, SSet, V, X, AndC, AndD, AndF, AndK, AndQ, AndS, AndV, AndW,
  AndZSet, AndZList, DollarA, DollarB, DollarC, DollarD, DollarG, DollarH, DollarI, DollarP,
  DollarS, DollarR, DollarWSet, DollarWList, DollarXSet, DollarXList, DollarYSet, DollarYList,
  DollarZSet, DollarZList, AtASet, AtAList, AtB, AtC, AtD, AtF, AtG, AtH, AtI, AtP, AtR, AtT,
  Count
};

struct AtFormat {
  AtCmd cmd;
  std::string_view format;  // the numbered or set form
  std::string_view bare;    // the whole-list form, where there is one
};

inline constexpr std::array<AtFormat, static_cast<std::size_t>(AtCmd::Count)> AtFormats{{
    {AtCmd::E, "ATE%d\r", ""},
    {AtCmd::I, "ATI%d\r", ""},
    {AtCmd::Q, "ATQ%d\r", ""},
    {AtCmd::SQuery, "ATS%d?\r", ""},
    {AtCmd::SSet, "ATS%d=%d\r", ""},
    {AtCmd::V, "ATV%d\r", ""},
    {AtCmd::X, "ATX%d\r", ""},
    {AtCmd::AndC, "AT&C%d\r", ""},
    {AtCmd::AndD, "AT&D%d\r", ""},
    {AtCmd::AndF, "AT&F\r", ""},
    {AtCmd::AndK, "AT&K%d\r", ""},
    {AtCmd::AndQ, "AT&Q%d\r", ""},
    {AtCmd::AndS, "AT&S%d\r", ""},
    {AtCmd::AndV, "AT&V%d\r", ""},
    {AtCmd::AndW, "AT&W%d\r", ""},
    {AtCmd::AndZSet, "AT&Z%d=%s\r", ""},
    {AtCmd::AndZList, "AT&Z%d\r", "AT&Z\r"},
    {AtCmd::DollarA, "AT$A%d\r", "AT$A\r"},
    {AtCmd::DollarB, "AT$B%d\r", "AT$B\r"},
    {AtCmd::DollarC, "AT$C%d\r", "AT$C\r"},
    {AtCmd::DollarD, "AT$D%d\r", "AT$D\r"},
    {AtCmd::DollarG, "AT$G%d=%d\r", ""},
    {AtCmd::DollarH, "AT$H%d=%d\r", ""},
    {AtCmd::DollarI, "AT$I%d=%d\r", ""},
    {AtCmd::DollarP, "AT$P%d=%d\r", ""},
    {AtCmd::DollarS, "AT$S%d=%d\r", ""},
    {AtCmd::DollarR, "AT$R%d\r", ""},
    {AtCmd::DollarWSet, "AT$W%d=%s\r", ""},
    {AtCmd::DollarWList, "AT$W%d\r", "AT$W\r"},
    {AtCmd::DollarXSet, "AT$X%d=%s\r", ""},
    {AtCmd::DollarXList, "AT$X%d\r", "AT$X\r"},
    {AtCmd::DollarYSet, "AT$Y%d=%s\r", ""},
    {AtCmd::DollarYList, "AT$Y%d\r", "AT$Y\r"},
    {AtCmd::DollarZSet, "AT$Z%d=%s\r", ""},
    {AtCmd::DollarZList, "AT$Z%d\r", "AT$Z\r"},
    {AtCmd::AtASet, "AT@A%d=%s\r", ""},
    {AtCmd::AtAList, "AT@A%d\r", "AT@A\r"},
    {AtCmd::AtB, "AT@B%d\r", ""},
    {AtCmd::AtC, "AT@C%d=%d\r", ""},
    {AtCmd::AtD, "AT@D%d=%d\r", ""},
    {AtCmd::AtF, "AT@F%d=%d\r", ""},
    {AtCmd::AtG, "AT@G%d\r", ""},
    {AtCmd::AtH, "AT@H%d=%d\r", ""},
    {AtCmd::AtI, "AT@I%d=%d\r", ""},
    {AtCmd::AtP, "AT@P%d=%d\r", ""},
    {AtCmd::AtR, "AT@R%d=%d\r", ""},
    {AtCmd::AtT, "AT@T%d=%d\r", ""},
}};

constexpr bool FormatsInEnumOrder() {
  for (std::size_t i = 0; i < AtFormats.size(); ++i)
    if (static_cast<std::size_t>(AtFormats[i].cmd) != i) return false;
  return true;
}
static_assert(FormatsInEnumOrder(), "AtFormats rows follow the AtCmd order");

constexpr const AtFormat& FormatOf(AtCmd cmd) { return AtFormats[static_cast<std::size_t>(cmd)]; }

// Shape 1: one or two integers (formats without arguments ignore them).
void BuildNumeric(AtSession& s, AtCmd cmd, int a = 0, int b = 0);
// Shape 2: whole list (bare form) when `whole` is set, else the numbered form.
void BuildList(AtSession& s, AtCmd cmd, int whole, int number);
// Shape 3: index and text; the subaddress joins with "/" only when it is not empty.
void BuildNumberEntry(AtSession& s, AtCmd cmd, int index, std::string_view number,
                      std::string_view subaddress);
// "AT@A%d=%s\r": the text goes in as it is.
void BuildText(AtSession& s, AtCmd cmd, int index, std::string_view text);

// Builders with argument transformations.
inline void BuildIdentification(AtSession& s, int page) { BuildNumeric(s, AtCmd::I, page); }
inline void BuildResultCodes(AtSession& s, int resultCodesOn) {
  BuildNumeric(s, AtCmd::Q, resultCodesOn ? 0 : 1);
}
inline void BuildVerbose(AtSession& s, int verbal) { BuildNumeric(s, AtCmd::V, verbal); }
inline void BuildDsrControl(AtSession& s, int flag) { BuildNumeric(s, AtCmd::AndS, flag ? 2 : 0); }
inline void BuildDollarH(AtSession& s, int port, int flag) {
  BuildNumeric(s, AtCmd::DollarH, port, flag ? 0 : 1);
}
int AtBBits(int first, int selector, int f4, int f2, int f1);
inline void BuildAtB(AtSession& s, int first, int selector, int f4, int f2, int f1) {
  BuildNumeric(s, AtCmd::AtB, AtBBits(first, selector, f4, f2, f1));
}
inline void BuildAtD(AtSession& s, int port, int flag2, int flag1) {
  BuildNumeric(s, AtCmd::AtD, port, (flag2 ? 2 : 0) + (flag1 ? 1 : 0));
}
// ATS0 for the data port: 0 when auto answer is off, else the ring count.
inline void BuildS0(AtSession& s, int enabled, int value) {
  BuildNumeric(s, AtCmd::SSet, 0, enabled ? value : 0);
}
// ATS65 (TEL1) / ATS66 (TEL2): the three-way choice 0, 1, other gives 1, 4, 0.
inline void BuildS65(AtSession& s, int telPort, int choice) {
  BuildNumeric(s, AtCmd::SSet, telPort == 1 ? 65 : 66, choice == 0 ? 1 : choice == 1 ? 4 : 0);
}
// ATS80 (TEL1) / ATS81 (TEL2): 0 when disabled, else the value.
inline void BuildS80(AtSession& s, int telPort, int enabled, int value) {
  BuildNumeric(s, AtCmd::SSet, telPort == 1 ? 80 : 81, enabled ? value : 0);
}

}  // namespace m2
