#include "settings/listing_parser.h"

#include <array>
#include <climits>
#include <string>
#include <type_traits>

#include "serial/extract_field.h"

namespace m2 {
namespace {

constexpr int kSpaceCr = static_cast<int>(Delimiters::SpaceCr);
constexpr int kCr = static_cast<int>(Delimiters::Cr);
constexpr int kHexSuffix = static_cast<int>(Delimiters::HexSuffix);
constexpr int kFlag = static_cast<int>(FieldCheck::Flag);
constexpr int kDecimal = static_cast<int>(FieldCheck::Decimal);
constexpr int kHex2 = static_cast<int>(FieldCheck::Hex2);
constexpr int kTelephone = static_cast<int>(FieldCheck::Telephone);

constexpr std::size_t kAddressMax = 32;
constexpr std::size_t kSubAddressMax = 19;

// How a listing value becomes record values.
enum class Conv {
  Decimal,          // as is
  InvertedFlag,     // 1 when the value is 0, else 0
  NonZero,          // 1 when the value is not 0, else 0
  HlcType,          // hex register: 0 -> 2, 1 -> 0, 4 -> 1, anything else leaves it
  RingRegister,     // hex register v: target = v != 0, second = v, or 1 when v is 0
  TalkBits,         // target = bit 1, second = bit 0
  CallWaitingBits,  // the @B bit set into the port-common group
};

// What fills the key's %d: nothing, the port number, or the port's register.
enum class KeyArg { None, Port, Register };

template <class G>
struct ListingItem {
  std::string_view key;
  KeyArg arg;
  std::array<int, 3> registers;  // by port 0, 1, 2 (KeyArg::Register)
  int delimiters;
  int check;
  Conv conv;
  int G::*target;
  int G::*second;
  int onlyPort;  // -1: every port
};

template <class G>
constexpr ListingItem<G> Item(std::string_view key, KeyArg arg, int delimiters, int check,
                              Conv conv, int G::*target, int G::*second = nullptr,
                              std::array<int, 3> registers = {}, int onlyPort = -1) {
  return {key, arg, registers, delimiters, check, conv, target, second, onlyPort};
}

using A = AnalogPortSettings;
constexpr std::array<ListingItem<A>, 10> kTelItems{{
    Item<A>("S%d:", KeyArg::Register, kHexSuffix, kHex2, Conv::HlcType, &A::m_nHlcType, nullptr,
            {0, 65, 66}),
    Item<A>("$P%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &A::m_bNotifyCallerNumber),
    Item<A>("@P%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &A::m_bPolarityReversal, nullptr,
            {}, 1),
    Item<A>("$G%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &A::m_bGlobalIncoming),
    Item<A>("$I%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &A::m_bIncomingNoSubAddress),
    Item<A>("$S%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &A::m_bDiscriminateIncoming),
    Item<A>("$H%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::InvertedFlag, &A::m_bHlcDiscriminate),
    Item<A>("@C%d=", KeyArg::Port, kSpaceCr, kDecimal, Conv::Decimal, &A::m_nDialDigitTimer),
    Item<A>("@T%d=", KeyArg::Port, kSpaceCr, kDecimal, Conv::Decimal, &A::m_nTransmitPad),
    Item<A>("@R%d=", KeyArg::Port, kSpaceCr, kDecimal, Conv::Decimal, &A::m_nReceivePad),
}};

using F = FlexphoneSettings;
constexpr std::array<ListingItem<F>, 5> kFlexItems{{
    Item<F>("@I%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &F::m_bCwBusyIncoming),
    Item<F>("@F%d=", KeyArg::Port, kSpaceCr, kDecimal, Conv::Decimal, &F::m_nHookAcceptTime),
    Item<F>("@H%d=", KeyArg::Port, kSpaceCr, kDecimal, Conv::Decimal, &F::m_nHookDetectTime),
    Item<F>("@D%d=", KeyArg::Port, kSpaceCr, kDecimal, Conv::TalkBits, &F::m_bTransferTalk,
            &F::m_bTransferSourceTalk),
    Item<F>("S%d:", KeyArg::Register, kHexSuffix, kHex2, Conv::RingRegister, &F::m_nTransferStart,
            &F::m_nTransferRings, {0, 80, 81}),
}};

using C = PortCommonSettings;
constexpr std::array<ListingItem<C>, 2> kCommonItems{{
    Item<C>("@B", KeyArg::None, kSpaceCr, kDecimal, Conv::CallWaitingBits, nullptr),
    Item<C>("@G", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &C::m_nPriorityIncoming),
}};

using D = DataPortSettings;
constexpr std::array<ListingItem<D>, 8> kDataGenItems{{
    Item<D>("&Q", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &D::m_nProtocol),
    Item<D>("$P%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &D::m_bNotifyCallerNumber),
    Item<D>("$G%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &D::m_bGlobalIncoming),
    Item<D>("$I%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &D::m_bIncomingNoSubAddress),
    Item<D>("$H%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::InvertedFlag, &D::m_bHlcDiscriminate),
    Item<D>("$S%d=", KeyArg::Port, kSpaceCr, kFlag, Conv::Decimal, &D::m_bDiscriminateIncoming),
    Item<D>("$R", KeyArg::None, kSpaceCr, kFlag, Conv::Decimal, &D::m_bCallbackIncoming),
    Item<D>("S%d:", KeyArg::Register, kHexSuffix, kHex2, Conv::RingRegister, &D::m_nAutoAnswer,
            &D::m_nAnswerRings, {0, 0, 0}),
}};

using W = DataFlowSettings;
constexpr std::array<ListingItem<W>, 4> kDataFlowItems{{
    Item<W>("&K", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &W::m_nFlowControl),
    Item<W>("&D", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &W::m_nErSignal),
    Item<W>("&C", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &W::m_nCdSignal),
    Item<W>("&S", KeyArg::None, kSpaceCr, kDecimal, Conv::NonZero, &W::m_nDrSignal),
}};

using T = DataAtSettings;
enum class AtItem { Echo, ResultCodes, ResultFormat, CodeSet, Count };
constexpr std::array<ListingItem<T>, static_cast<std::size_t>(AtItem::Count)> kDataAtItems{{
    Item<T>("E", KeyArg::None, kSpaceCr, kFlag, Conv::Decimal, &T::m_bEcho),
    Item<T>("Q", KeyArg::None, kSpaceCr, kFlag, Conv::InvertedFlag, &T::m_bResultCodes),
    // With its leading space, so that the echoed AT&V0 does not match.
    Item<T>(" V", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &T::m_nResultFormat),
    Item<T>("X", KeyArg::None, kSpaceCr, kDecimal, Conv::Decimal, &T::m_nCodeSet),
}};

// Registers are the hexadecimal items, and only they use the register conversions; the
// two-target conversions have their second target.
template <class G, std::size_t N>
constexpr bool RowsConsistent(const std::array<ListingItem<G>, N>& items) {
  for (const auto& i : items) {
    const bool hex = i.check == kHex2;
    if (hex != (i.arg == KeyArg::Register)) return false;
    if (hex != (i.conv == Conv::HlcType || i.conv == Conv::RingRegister)) return false;
    const bool twoTargets = i.conv == Conv::RingRegister || i.conv == Conv::TalkBits;
    if (twoTargets != (i.second != nullptr)) return false;
    if ((i.target == nullptr) != (i.conv == Conv::CallWaitingBits)) return false;
  }
  return true;
}
static_assert(RowsConsistent(kTelItems) && RowsConsistent(kFlexItems) &&
              RowsConsistent(kCommonItems) && RowsConsistent(kDataGenItems) &&
              RowsConsistent(kDataFlowItems) && RowsConsistent(kDataAtItems));

std::string KeyFor(std::string_view format, int number) {
  std::string key;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
      key += std::to_string(number);
      ++i;
    } else {
      key += format[i];
    }
  }
  return key;
}

void ApplyCallWaitingBits(PortCommonSettings& c, int v) {
  c.m_bCallWaiting = (v & 0x10) || (v & 0x08) ? 1 : 0;
  c.m_nCallWaitingType = c.m_bCallWaiting == 1 && (v & 0x08) ? 1 : 0;
  c.m_bTransferDuringCall = (v >> 2) & 1;
  c.m_bThreePartyCall = (v >> 1) & 1;
  c.m_bIncomingTransfer = v & 1;
}

template <class G>
bool ParseItem(std::string_view reply, const ListingItem<G>& item, int port, G& group) {
  if (item.onlyPort >= 0 && item.onlyPort != port) return true;
  int number = 0;
  switch (item.arg) {
    case KeyArg::None:
      break;
    case KeyArg::Port:
      number = port;
      break;
    case KeyArg::Register:
      number = item.registers[static_cast<std::size_t>(port)];
      break;
  }
  const auto value =
      ExtractFieldValue(reply, KeyFor(item.key, number), item.delimiters, item.check);
  if (!value) return false;

  if (item.check == kHex2) {
    const int v = HexValue(*value);
    switch (item.conv) {
      case Conv::HlcType:
        switch (v) {
          case 0:
            group.*item.target = 2;
            break;
          case 1:
            group.*item.target = 0;
            break;
          case 4:
            group.*item.target = 1;
            break;
          default:
            break;  // an unknown HLC register value keeps the setting
        }
        return true;
      case Conv::RingRegister:
        group.*item.target = v != 0 ? 1 : 0;
        group.*item.second = v != 0 ? v : 1;
        return true;
      case Conv::Decimal:
      case Conv::InvertedFlag:
      case Conv::NonZero:
      case Conv::TalkBits:
      case Conv::CallWaitingBits:
        return false;  // not a register conversion
    }
    return false;
  }

  const auto parsed = DecimalValue(*value);
  if (!parsed) return false;
  const int v = *parsed;
  switch (item.conv) {
    case Conv::Decimal:
      group.*item.target = v;
      return true;
    case Conv::InvertedFlag:
      group.*item.target = v == 0 ? 1 : 0;
      return true;
    case Conv::NonZero:
      group.*item.target = v != 0 ? 1 : 0;
      return true;
    case Conv::TalkBits:
      group.*item.target = (v >> 1) & 1;
      group.*item.second = v & 1;
      return true;
    case Conv::CallWaitingBits:
      if constexpr (std::is_same_v<G, PortCommonSettings>) {
        ApplyCallWaitingBits(group, v);
        return true;
      }
      return false;
    case Conv::HlcType:
    case Conv::RingRegister:
      return false;  // registers are hexadecimal
  }
  return false;
}

template <class G, std::size_t N>
bool ParseGroup(std::string_view reply, const std::array<ListingItem<G>, N>& items, int port,
                G& group) {
  for (const auto& item : items)
    if (!ParseItem(reply, item, port, group)) return false;
  return true;
}

template <class G>
bool ParseAt(std::string_view reply, AtItem which, G& group) {
  return ParseItem(reply, kDataAtItems[static_cast<std::size_t>(which)], 0, group);
}

bool ParseDataAt(std::string_view reply, DataAtSettings& at, int mode, ResultModes& modes) {
  if (!ParseAt(reply, AtItem::Echo, at)) return false;
  if (mode == kReadAfterReset) {
    if (!ParseAt(reply, AtItem::ResultCodes, at)) return false;
    if (!ParseAt(reply, AtItem::ResultFormat, at)) return false;
    modes.resultCodesWereOn = at.m_bResultCodes;
    modes.verboseWasOn = at.m_nResultFormat;
  } else {
    // While connected the TA is forced to verbal result codes; its own choice is what
    // the link owner found at connection time.
    at.m_bResultCodes = modes.resultCodesWereOn;
    at.m_nResultFormat = modes.verboseWasOn == 1 ? 1 : 0;
  }
  return ParseAt(reply, AtItem::CodeSet, at);
}

// A telephone value split at its first "/".
bool SplitAddress(const std::string& value, std::string& number, std::string& sub) {
  const auto slash = value.find('/');
  std::string n = value.substr(0, slash);
  std::string s = slash == std::string::npos ? std::string() : value.substr(slash + 1);
  if (n.size() > kAddressMax || s.size() > kSubAddressMax) return false;
  number = std::move(n);
  sub = std::move(s);
  return true;
}

std::optional<std::string> LineValue(std::string_view reply, int index) {
  return ExtractFieldValue(reply, "\r\n" + std::to_string(index) + ":", kCr, kTelephone);
}

}  // namespace

std::optional<int> DecimalValue(std::string_view digits) {
  long long v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    v = v * 10 + (c - '0');
    if (v > INT_MAX) return std::nullopt;
  }
  return static_cast<int>(v);
}

int HexValue(std::string_view digits) {
  int v = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')  // the TA's register listing may use either case
      d = c - 'a' + 10;
    else
      return 0;
    if (v > (INT_MAX >> 4)) return 0;
    v = v * 16 + d;
  }
  return v;
}

bool ParseOwnAddresses(std::string_view reply, SettingsData& data) {
  for (int port = 0; port <= 2; ++port) {
    const auto value = LineValue(reply, port);
    if (!value) return false;
    std::string* address = nullptr;
    std::string* sub = nullptr;
    switch (port) {
      case 0:
        address = &data.m_dataGen.m_strOwnAddress;
        sub = &data.m_dataGen.m_strOwnSubAddress;
        break;
      case 1:
        address = &data.m_tel1.m_strOwnAddress;
        sub = &data.m_tel1.m_strOwnSubAddress;
        break;
      default:
        address = &data.m_tel2.m_strOwnAddress;
        sub = &data.m_tel2.m_strOwnSubAddress;
        break;
    }
    if (!SplitAddress(*value, *address, *sub)) return false;
  }
  return true;
}

bool ParseTransferAddresses(std::string_view reply, SettingsData& data) {
  for (int n = 1; n <= 2; ++n) {
    const auto value = LineValue(reply, n);
    if (!value || value->size() > kAddressMax) return false;
    (n == 1 ? data.m_tel1Flex : data.m_tel2Flex).m_strTransferAddress = *value;
  }
  return true;
}

bool ParseSettingsListing(std::string_view reply, SettingsData& data, int mode,
                          ResultModes& modes) {
  return ParseGroup(reply, kTelItems, 1, data.m_tel1) &&
         ParseGroup(reply, kFlexItems, 1, data.m_tel1Flex) &&
         ParseGroup(reply, kTelItems, 2, data.m_tel2) &&
         ParseGroup(reply, kFlexItems, 2, data.m_tel2Flex) &&
         ParseGroup(reply, kCommonItems, 0, data.m_common) &&
         ParseGroup(reply, kDataGenItems, 0, data.m_dataGen) &&
         ParseGroup(reply, kDataFlowItems, 0, data.m_dataFlow) &&
         ParseDataAt(reply, data.m_dataAt, mode, modes);
}

bool ParseNumberList(std::string_view reply, NumberList& list, int mode) {
  int used = 0;
  for (int i = 0; i < kNumberListSize; ++i) {
    NumberEntry& entry = list.m_aEntry[static_cast<std::size_t>(i)];
    const auto value = LineValue(reply, i);
    if (!value) return false;
    if (!SplitAddress(*value, entry.m_strAddress, entry.m_strSubAddress)) return false;
    if (mode == kReadAfterReset) entry.m_strName.clear();
    entry.m_bUsed =
        !entry.m_strAddress.empty() || !entry.m_strSubAddress.empty() || !entry.m_strName.empty()
            ? 1
            : 0;
    used += entry.m_bUsed;
  }
  list.m_nCount = used;
  return true;
}

}  // namespace m2
