#include "settings/settings_data.h"

namespace m2 {

SettingsData DefaultSettingsData() {
  SettingsData d;
  d.m_nFileMark = 1;

  AnalogPortSettings tel;
  tel.m_nHlcType = 2;
  tel.m_bNotifyCallerNumber = 1;
  tel.m_bPolarityReversal = 0;
  tel.m_bGlobalIncoming = 1;
  tel.m_bIncomingNoSubAddress = 1;
  tel.m_bDiscriminateIncoming = 0;
  tel.m_bHlcDiscriminate = 0;
  tel.m_nDialDigitTimer = 5;
  tel.m_nTransmitPad = 0;
  tel.m_nReceivePad = 0;
  d.m_tel1 = tel;
  d.m_tel2 = tel;

  FlexphoneSettings flex;
  flex.m_bCwBusyIncoming = 0;
  flex.m_nHookAcceptTime = 5;
  flex.m_nHookDetectTime = 10;
  flex.m_bTransferTalk = 0;
  flex.m_bTransferSourceTalk = 0;
  flex.m_nTransferStart = 1;
  flex.m_nTransferRings = 2;
  d.m_tel1Flex = flex;
  d.m_tel2Flex = flex;

  d.m_common = PortCommonSettings{};  // all 0

  DataPortSettings& gen = d.m_dataGen;
  gen.m_nProtocol = 1;
  gen.m_bNotifyCallerNumber = 1;
  gen.m_bDiscriminateIncoming = 0;
  gen.m_bGlobalIncoming = 1;
  gen.m_bIncomingNoSubAddress = 1;
  gen.m_bHlcDiscriminate = 0;
  gen.m_bCallbackIncoming = 0;
  gen.m_nAutoAnswer = 1;
  gen.m_nAnswerRings = 1;

  d.m_dataFlow = {.m_nFlowControl = 1, .m_nErSignal = 2, .m_nCdSignal = 1, .m_nDrSignal = 0};
  d.m_dataAt = {.m_bEcho = 1, .m_bResultCodes = 1, .m_nResultFormat = 1, .m_nCodeSet = 1};
  d.m_pcPort = {.m_nSpeed = 2, .m_nComPort = 0, .m_nDataFormat = 0};  // COM1, 9600, 8N1
  // The number lists stay at count 0 with every entry unused and empty.
  return d;
}

}  // namespace m2
