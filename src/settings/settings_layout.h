#pragma once
// The order in which the settings file holds the record's values, as tables of member
// pointers, and one walk over it that the file codec, `show` and the JSON output share.
//
// The file follows the declaration order of SettingsData with two exceptions: TEL2 has no
// polarity slot, and the DTE group stores m_bDiscriminateIncoming after
// m_bIncomingNoSubAddress. The tables below are that order, not the declaration order.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/settings_data.h"

namespace m2 {

template <class G>
struct Field {
  std::string_view name;
  int G::*integer = nullptr;
  std::string G::*text = nullptr;
};

template <class G>
constexpr Field<G> IntField(std::string_view name, int G::*member) {
  return {name, member, nullptr};
}
template <class G>
constexpr Field<G> StrField(std::string_view name, std::string G::*member) {
  return {name, nullptr, member};
}

namespace layout_tables {
using A = AnalogPortSettings;

inline constexpr std::array<Field<A>, 12> kTel1Fields{{
    IntField("m_nHlcType", &A::m_nHlcType),
    StrField("m_strOwnAddress", &A::m_strOwnAddress),
    StrField("m_strOwnSubAddress", &A::m_strOwnSubAddress),
    IntField("m_bNotifyCallerNumber", &A::m_bNotifyCallerNumber),
    IntField("m_bPolarityReversal", &A::m_bPolarityReversal),
    IntField("m_bGlobalIncoming", &A::m_bGlobalIncoming),
    IntField("m_bIncomingNoSubAddress", &A::m_bIncomingNoSubAddress),
    IntField("m_bDiscriminateIncoming", &A::m_bDiscriminateIncoming),
    IntField("m_bHlcDiscriminate", &A::m_bHlcDiscriminate),
    IntField("m_nDialDigitTimer", &A::m_nDialDigitTimer),
    IntField("m_nTransmitPad", &A::m_nTransmitPad),
    IntField("m_nReceivePad", &A::m_nReceivePad),
}};

inline constexpr std::array<Field<A>, 11> kTel2Fields{{
    IntField("m_nHlcType", &A::m_nHlcType),
    StrField("m_strOwnAddress", &A::m_strOwnAddress),
    StrField("m_strOwnSubAddress", &A::m_strOwnSubAddress),
    IntField("m_bNotifyCallerNumber", &A::m_bNotifyCallerNumber),
    IntField("m_bGlobalIncoming", &A::m_bGlobalIncoming),
    IntField("m_bIncomingNoSubAddress", &A::m_bIncomingNoSubAddress),
    IntField("m_bDiscriminateIncoming", &A::m_bDiscriminateIncoming),
    IntField("m_bHlcDiscriminate", &A::m_bHlcDiscriminate),
    IntField("m_nDialDigitTimer", &A::m_nDialDigitTimer),
    IntField("m_nTransmitPad", &A::m_nTransmitPad),
    IntField("m_nReceivePad", &A::m_nReceivePad),
}};

using F = FlexphoneSettings;
inline constexpr std::array<Field<F>, 8> kFlexFields{{
    IntField("m_bCwBusyIncoming", &F::m_bCwBusyIncoming),
    IntField("m_nHookAcceptTime", &F::m_nHookAcceptTime),
    IntField("m_nHookDetectTime", &F::m_nHookDetectTime),
    StrField("m_strTransferAddress", &F::m_strTransferAddress),
    IntField("m_bTransferTalk", &F::m_bTransferTalk),
    IntField("m_bTransferSourceTalk", &F::m_bTransferSourceTalk),
    IntField("m_nTransferStart", &F::m_nTransferStart),
    IntField("m_nTransferRings", &F::m_nTransferRings),
}};

using C = PortCommonSettings;
inline constexpr std::array<Field<C>, 6> kCommonFields{{
    IntField("m_bCallWaiting", &C::m_bCallWaiting),
    IntField("m_nCallWaitingType", &C::m_nCallWaitingType),
    IntField("m_bTransferDuringCall", &C::m_bTransferDuringCall),
    IntField("m_bThreePartyCall", &C::m_bThreePartyCall),
    IntField("m_bIncomingTransfer", &C::m_bIncomingTransfer),
    IntField("m_nPriorityIncoming", &C::m_nPriorityIncoming),
}};

using D = DataPortSettings;
inline constexpr std::array<Field<D>, 11> kDataGenFields{{
    IntField("m_nProtocol", &D::m_nProtocol),
    StrField("m_strOwnAddress", &D::m_strOwnAddress),
    StrField("m_strOwnSubAddress", &D::m_strOwnSubAddress),
    IntField("m_bNotifyCallerNumber", &D::m_bNotifyCallerNumber),
    IntField("m_bGlobalIncoming", &D::m_bGlobalIncoming),
    IntField("m_bIncomingNoSubAddress", &D::m_bIncomingNoSubAddress),
    IntField("m_bDiscriminateIncoming", &D::m_bDiscriminateIncoming),
    IntField("m_bHlcDiscriminate", &D::m_bHlcDiscriminate),
    IntField("m_bCallbackIncoming", &D::m_bCallbackIncoming),
    IntField("m_nAutoAnswer", &D::m_nAutoAnswer),
    IntField("m_nAnswerRings", &D::m_nAnswerRings),
}};

inline constexpr std::array<Field<DataFlowSettings>, 4> kDataFlowFields{{
    IntField("m_nFlowControl", &DataFlowSettings::m_nFlowControl),
    IntField("m_nErSignal", &DataFlowSettings::m_nErSignal),
    IntField("m_nCdSignal", &DataFlowSettings::m_nCdSignal),
    IntField("m_nDrSignal", &DataFlowSettings::m_nDrSignal),
}};

inline constexpr std::array<Field<DataAtSettings>, 4> kDataAtFields{{
    IntField("m_bEcho", &DataAtSettings::m_bEcho),
    IntField("m_bResultCodes", &DataAtSettings::m_bResultCodes),
    IntField("m_nResultFormat", &DataAtSettings::m_nResultFormat),
    IntField("m_nCodeSet", &DataAtSettings::m_nCodeSet),
}};

inline constexpr std::array<Field<PcPortSettings>, 3> kPcPortFields{{
    IntField("m_nSpeed", &PcPortSettings::m_nSpeed),
    IntField("m_nComPort", &PcPortSettings::m_nComPort),
    IntField("m_nDataFormat", &PcPortSettings::m_nDataFormat),
}};

inline constexpr std::array<Field<NumberEntry>, 4> kEntryFields{{
    IntField("m_bUsed", &NumberEntry::m_bUsed),
    StrField("m_strName", &NumberEntry::m_strName),
    StrField("m_strAddress", &NumberEntry::m_strAddress),
    StrField("m_strSubAddress", &NumberEntry::m_strSubAddress),
}};

}  // namespace layout_tables

using layout_tables::kCommonFields;
using layout_tables::kDataAtFields;
using layout_tables::kDataFlowFields;
using layout_tables::kDataGenFields;
using layout_tables::kEntryFields;
using layout_tables::kFlexFields;
using layout_tables::kPcPortFields;
using layout_tables::kTel1Fields;
using layout_tables::kTel2Fields;

// Where a value sits in the record: group, list entry (or -1) and member.
struct FieldPath {
  std::string_view group;  // empty for m_nFileMark
  int entry = -1;
  std::string_view member;
  std::string dotted() const;  // "m_discTel1.m_aEntry[3].m_strName"
};

namespace layout_detail {

template <class Group, class G, std::size_t N, class Visitor>
void VisitGroup(Visitor& v, std::string_view name, int entry, Group& group,
                const std::array<Field<G>, N>& fields) {
  for (const Field<G>& f : fields) {
    const FieldPath path{name, entry, f.name};
    if (f.integer)
      v.Int(path, group.*f.integer);
    else
      v.Str(path, group.*f.text);
  }
}

template <class List, class Visitor>
void VisitList(Visitor& v, std::string_view name, List& list) {
  v.Int(FieldPath{name, -1, "m_nCount"}, list.m_nCount);
  for (int i = 0; i < kNumberListSize; ++i)
    VisitGroup(v, name, i, list.m_aEntry[static_cast<std::size_t>(i)], kEntryFields);
}

}  // namespace layout_detail

// Walks every stored value in file order. Data is SettingsData or const SettingsData; the
// visitor has Int(const FieldPath&, int&) and Str(const FieldPath&, std::string&), or the
// const forms.
template <class Data, class Visitor>
void VisitSettings(Data& d, Visitor& v) {
  using namespace layout_detail;
  v.Int(FieldPath{{}, -1, "m_nFileMark"}, d.m_nFileMark);
  VisitGroup(v, "m_tel1", -1, d.m_tel1, kTel1Fields);
  VisitGroup(v, "m_tel1Flex", -1, d.m_tel1Flex, kFlexFields);
  VisitGroup(v, "m_tel2", -1, d.m_tel2, kTel2Fields);
  VisitGroup(v, "m_tel2Flex", -1, d.m_tel2Flex, kFlexFields);
  VisitGroup(v, "m_common", -1, d.m_common, kCommonFields);
  VisitGroup(v, "m_dataGen", -1, d.m_dataGen, kDataGenFields);
  VisitGroup(v, "m_dataFlow", -1, d.m_dataFlow, kDataFlowFields);
  VisitGroup(v, "m_dataAt", -1, d.m_dataAt, kDataAtFields);
  VisitGroup(v, "m_pcPort", -1, d.m_pcPort, kPcPortFields);
  VisitList(v, "m_discTel1", d.m_discTel1);
  VisitList(v, "m_discTel2", d.m_discTel2);
  VisitList(v, "m_shortDialData", d.m_shortDialData);
  VisitList(v, "m_discData", d.m_discData);
}

template <class G, std::size_t N>
constexpr int CountIntegers(const std::array<Field<G>, N>& fields) {
  int n = 0;
  for (const auto& f : fields) n += f.integer ? 1 : 0;
  return n;
}
template <class G, std::size_t N>
constexpr int CountStrings(const std::array<Field<G>, N>& fields) {
  return static_cast<int>(N) - CountIntegers(fields);
}

inline constexpr int kFileIntegers =
    1 + CountIntegers(kTel1Fields) + CountIntegers(kTel2Fields) + 2 * CountIntegers(kFlexFields) +
    CountIntegers(kCommonFields) + CountIntegers(kDataGenFields) + CountIntegers(kDataFlowFields) +
    CountIntegers(kDataAtFields) + CountIntegers(kPcPortFields) +
    4 * (1 + kNumberListSize * CountIntegers(kEntryFields));
inline constexpr int kFileStrings = CountStrings(kTel1Fields) + CountStrings(kTel2Fields) +
                                    2 * CountStrings(kFlexFields) + CountStrings(kDataGenFields) +
                                    4 * kNumberListSize * CountStrings(kEntryFields);
static_assert(kFileIntegers == 104 && kFileStrings == 128, "the settings file layout");
// Every integer is 4 bytes; an empty string is its one-byte prefix.
inline constexpr std::size_t kEmptyStringsFileSize = 4 * kFileIntegers + kFileStrings;
static_assert(kEmptyStringsFileSize == 544);

}  // namespace m2
