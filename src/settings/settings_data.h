#pragma once
// The settings groups and SettingsData: every TA setting, the PC port choice and the four
// number lists. Plain data. Integers are carried as they come, in range or not; strings
// are byte strings in CP932 as the TA and the settings file hold them.
#include <array>
#include <string>

namespace m2 {

// TEL1 and TEL2; TEL2 never uses m_bPolarityReversal.
struct AnalogPortSettings {
  int m_nHlcType = 0;  // 0 telephone, 1 FAX, 2 not used
  std::string m_strOwnAddress;
  std::string m_strOwnSubAddress;
  int m_bNotifyCallerNumber = 0;
  int m_bPolarityReversal = 0;
  int m_bGlobalIncoming = 0;
  int m_bIncomingNoSubAddress = 0;
  int m_bDiscriminateIncoming = 0;
  int m_bHlcDiscriminate = 0;  // inverted in the TA ($H)
  int m_nDialDigitTimer = 0;   // seconds
  int m_nTransmitPad = 0;
  int m_nReceivePad = 0;
  bool operator==(const AnalogPortSettings&) const = default;
};

struct FlexphoneSettings {
  int m_bCwBusyIncoming = 0;
  int m_nHookAcceptTime = 0;         // seconds
  int m_nHookDetectTime = 0;         // 0.1 s
  std::string m_strTransferAddress;  // number, optionally "/" and a sub-address
  int m_bTransferTalk = 0;
  int m_bTransferSourceTalk = 0;
  int m_nTransferStart = 0;  // 0 immediately, 1 after m_nTransferRings rings
  int m_nTransferRings = 0;
  bool operator==(const FlexphoneSettings&) const = default;
};

struct PortCommonSettings {
  int m_bCallWaiting = 0;
  int m_nCallWaitingType = 0;  // 0 pseudo, 1 flex
  int m_bTransferDuringCall = 0;
  int m_bThreePartyCall = 0;
  int m_bIncomingTransfer = 0;
  int m_nPriorityIncoming = 0;
  bool operator==(const PortCommonSettings&) const = default;
};

// The DTE port (port 0 towards the TA).
struct DataPortSettings {
  int m_nProtocol = 0;  // 0 V.110, 1 PPP
  std::string m_strOwnAddress;
  std::string m_strOwnSubAddress;
  int m_bNotifyCallerNumber = 0;
  int m_bDiscriminateIncoming = 0;
  int m_bGlobalIncoming = 0;
  int m_bIncomingNoSubAddress = 0;
  int m_bHlcDiscriminate = 0;
  int m_bCallbackIncoming = 0;
  int m_nAutoAnswer = 0;  // 0 off, 1 after m_nAnswerRings rings
  int m_nAnswerRings = 0;
  bool operator==(const DataPortSettings&) const = default;
};

struct DataFlowSettings {
  int m_nFlowControl = 0;
  int m_nErSignal = 0;
  int m_nCdSignal = 0;
  int m_nDrSignal = 0;
  bool operator==(const DataFlowSettings&) const = default;
};

struct DataAtSettings {
  int m_bEcho = 0;
  int m_bResultCodes = 0;   // inverted in the TA (Q)
  int m_nResultFormat = 0;  // 0 numeric, 1 verbal
  int m_nCodeSet = 0;
  bool operator==(const DataAtSettings&) const = default;
};

// Never sent to the TA: indexes of the speed, port and format tables.
struct PcPortSettings {
  int m_nSpeed = 0;
  int m_nComPort = 0;
  int m_nDataFormat = 0;
  bool operator==(const PcPortSettings&) const = default;
};

struct NumberEntry {
  int m_bUsed = 0;
  std::string m_strName;  // kept on the PC only
  std::string m_strAddress;
  std::string m_strSubAddress;
  bool operator==(const NumberEntry&) const = default;
};

inline constexpr int kNumberListSize = 10;

struct NumberList {
  int m_nCount = 0;
  std::array<NumberEntry, kNumberListSize> m_aEntry;
  bool operator==(const NumberList&) const = default;
};

struct SettingsData {
  int m_nFileMark = 0;
  AnalogPortSettings m_tel1;
  FlexphoneSettings m_tel1Flex;
  AnalogPortSettings m_tel2;
  FlexphoneSettings m_tel2Flex;
  PortCommonSettings m_common;
  DataPortSettings m_dataGen;
  DataFlowSettings m_dataFlow;
  DataAtSettings m_dataAt;
  PcPortSettings m_pcPort;
  NumberList m_discTel1;
  NumberList m_discTel2;
  NumberList m_shortDialData;
  NumberList m_discData;
  bool operator==(const SettingsData&) const = default;
};

// The values LoadDefaults sets.
SettingsData DefaultSettingsData();

}  // namespace m2
