#pragma once
// Fixed lists of codes and labels (Windows-1251), built once and never
// changed. Rows are shown in combo boxes; elements store a row or a code.

#include <cstdint>
#include <string_view>
#include <vector>

#include "model/variant.h"
#include "text/cp1251.h"

namespace velkor {

struct ProtocolRow {
  std::uint8_t Code;
  std::string_view Label;
};

struct Catalogues {
  // Protocols: the reduced list is shown normally, the full list in service mode.
  std::vector<ProtocolRow> ProtocolsReduced;
  std::vector<ProtocolRow> ProtocolsFull;
  std::vector<std::string_view> ControlCanal;       // TPPK.ControlCanalTime = row
  std::vector<std::string_view> Devices;            // TAdapter.DeviceType, placement 1
  std::vector<std::string_view> Modules;            // TAdapter.DeviceType, placement 0
  std::vector<std::string_view> ZoneTypes;          // TZone.ZoneType = row + 1
  std::vector<std::string_view> ZoneReactionTimes;  // TAdapter.ZonesControlTime = row
  std::vector<std::string_view> ReactionKinds;      // TOutput.ReactionKind = row
  std::vector<std::string_view> ReactionTimes;      // TOutput.ReactionTime = row + 1, 0 = none
  // Rows of the add-module dialog: its items 0.. give these module codes.
  std::vector<std::uint8_t> AddModuleCodes;
};

const Catalogues& CataloguesFor(Variant variant);

// Row of a protocol code in a list, or -1 when no row has it.
int ProtocolRowOf(const std::vector<ProtocolRow>& list, std::uint8_t code);

// Label of a catalogue row, or an empty text for a row the list lacks.
std::string_view CatalogueLabel(const std::vector<std::string_view>& list, int row);

// Texts that stand for values.
inline constexpr std::string_view kNoReaction = "Нет реакции"_w;
inline constexpr std::string_view kCommonGroup = "Общий"_w;

// Arming mode texts of the group card by AndMode, with and without SET inputs.
std::string_view ArmingModeText(bool hasSetInputs, bool andMode);

}  // namespace velkor
