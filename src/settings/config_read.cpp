#include "settings/config_read.h"

#include "serial/at_commands.h"
#include "serial/error_table.h"
#include "serial/link_owner.h"

namespace m2 {
namespace {

enum class Listing {
  OwnAddresses,
  TransferAddresses,
  Settings,
  DiscTel1,
  DiscTel2,
  ShortDial,
  DiscData,
  Count
};

struct ListingStep {
  Listing listing;
  AtCmd command;  // every listing is sent in its bare or "0" form
  NumberList SettingsData::*list;
};

constexpr std::array<ListingStep, static_cast<std::size_t>(Listing::Count)> kSteps{{
    {Listing::OwnAddresses, AtCmd::DollarZList, nullptr},
    {Listing::TransferAddresses, AtCmd::AtAList, nullptr},
    {Listing::Settings, AtCmd::AndV, nullptr},
    {Listing::DiscTel1, AtCmd::DollarXList, &SettingsData::m_discTel1},
    {Listing::DiscTel2, AtCmd::DollarYList, &SettingsData::m_discTel2},
    {Listing::ShortDial, AtCmd::AndZList, &SettingsData::m_shortDialData},
    {Listing::DiscData, AtCmd::DollarWList, &SettingsData::m_discData},
}};

void BuildListing(AtSession& session, const ListingStep& step) {
  if (step.listing == Listing::Settings)
    BuildNumeric(session, step.command, 0);
  else
    BuildList(session, step.command, 1, 0);
}

bool Parse(const ListingStep& step, std::string_view reply, SettingsData& data, int mode,
           LinkOwner& link) {
  switch (step.listing) {
    case Listing::OwnAddresses:
      return ParseOwnAddresses(reply, data);
    case Listing::TransferAddresses:
      return ParseTransferAddresses(reply, data);
    case Listing::Settings: {
      ResultModes modes{link.resultCodesWereOn, link.verboseWasOn};
      const bool ok = ParseSettingsListing(reply, data, mode, modes);
      link.resultCodesWereOn = modes.resultCodesWereOn;
      link.verboseWasOn = modes.verboseWasOn;
      return ok;
    }
    case Listing::DiscTel1:
    case Listing::DiscTel2:
    case Listing::ShortDial:
    case Listing::DiscData:
      return ParseNumberList(reply, data.*step.list, mode);
    case Listing::Count:
      break;
  }
  return false;
}

}  // namespace

int ReadConfiguration(CKB45mRXObj& record, LinkOwner& link, AtSession& session, int mode) {
  for (const ListingStep& step : kSteps) {
    BuildListing(session, step);
    if (link.AtTransact(session, 0, nullptr) == kAtFailed) return 0;
    if (!Parse(step, session.responseText(), record.m_data, mode, link)) {
      link.ReportError(err::kUnrecognised, kDisplayMessageBox);
      return 0;
    }
  }
  return 1;
}

int ResetAndRead(CKB45mRXObj& record, LinkOwner& link, AtSession& session, int settingsFileLoaded) {
  BuildNumeric(session, AtCmd::AndF);
  if (link.AtTransact(session, 1, nullptr) == kAtFailed) return 0;
  if (ReadConfiguration(record, link, session, kReadAfterReset) != 1) return 0;
  record.m_bTaChanged = 1;
  record.m_bModified = settingsFileLoaded;
  return 1;
}

}  // namespace m2
