#include "image/byte_labels.h"

#include <array>
#include <string_view>

#include "image/image_map.h"

namespace velkor {

namespace {

// A field of a record: its first byte, its size and its label.
struct Field {
  int First;
  int Size;
  std::string_view Label;
};

constexpr std::array<Field, 20> kPanelFields = {{
    {0, 1, "PPK - Tamper reaction"},
    {1, 1, "PPK - Off 220V reaction"},
    {2, 1, "PPK - Protocol Type"},
    {3, 14, "PPK - SRP number"},
    {17, 14, "PPK - mob. number PCN"},
    {31, 14, "PPK - SMS center number"},
    {45, 8, "PPK - Card PIN-code"},
    {53, 1, "PPK - PCO address"},
    {54, 2, "PPK - PPK address"},
    {56, 1, "PPK - Control canal time"},
    {57, 1, "PPK - Control canal mask"},
    {58, 8, "PPK - Retranslation"},
    {66, 1, "PPK - Capture reaction"},
    {67, 2, "PPK - Number in PCO Data Base"},
    {69, 1, "PPK - 485 Net Number"},
    {70, 1, "PPK - Connect Reasons"},
    {71, 1, "PPK - Connect Time Out"},
    {72, 2, "PPK - Radio Wait Time"},
    {74, 1, "PPK - Radio Net Number"},
    {75, 53, "PPK - ???"},
}};

// The older panels have nothing in bytes 66..74.
constexpr int kLegacyPanelUnusedFrom = 66;

constexpr Field kZoneFields[] = {
    {0, 1, "] - SA number"},  {1, 1, "] - Group number"}, {2, 1, "] - In group zone number"},
    {3, 1, "] - Zone type"},  {4, 1, "] - Reaction 1"},   {5, 1, "] - Reaction 2"},
    {6, 1, "] - Reaction 3"}, {7, 1, "] - Reaction 4"},
};

constexpr Field kGroupFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - Wait to SET"},
    {2, 1, "] - Wait to OPEN"},
    {3, 1, "] - SetInput number"},
    {4, 1, "] - IDReader number"},
    {5, 1, "] - Reaction for SET"},
    {6, 1, "] - Reaction for OPEN"},
    {7, 4, "] - Accessed keyboards"},
    {11, 2, "] - Room number"},
};

constexpr Field kOutputFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - SA number"},
    {2, 1, "] - Reaction type"},
    {3, 1, "] - Wait to reaction"},
};

constexpr Field kAdapterFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - BE number"},
    {2, 1, "] - Net number"},
    {3, 1, "] - First zone"},
    {4, 1, "] - Zones count"},
    {5, 1, "] - First output"},
    {6, 1, "] - Outputs count"},
    {7, 1, "] - First SetInput"},
    {8, 1, "] - SetInputs count"},
    {9, 1, "] - First keyboard"},
    {10, 1, "] - Keyboards count"},
    {11, 1, "] - First ID reader"},
    {12, 1, "] - ID readers count"},
    {13, 1, "] - Tamper reaction"},
    {14, 1, "] - Connect reaction"},
    {15, 1, "] - Zones control time"},
    {16, 1, "] - SA type"},
    {17, 4, "] - SA serial number"},
    {21, 1, "] - Power reaction"},
};

constexpr Field kSetInputFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - SA number"},
    {2, 1, "] - Group number"},
};

constexpr Field kKeyboardFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - SA number"},
    {2, 1, "] - Keyboard type"},
};

constexpr Field kIDReaderFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - SA number"},
    {2, 1, "] - Group number"},
};

constexpr Field kModuleFields[] = {
    {0, 1, "] - Flags"},
    {1, 1, "] - First SA"},
    {2, 1, "] - SA\"s count"},
    {3, 1, "] - BE type"},
    {4, 4, "] - BE serial number"},
};

// The legacy user record stops after the identifier; its rights live in the
// access configurations.
constexpr Field kUserFields[] = {
    {0, 1, "] - Flags"},
    {1, 4, "] - PIN-code"},
    {5, 8, "] - Identificator"},
    {13, 16, "] - Rights"},
};

template <std::size_t N>
std::string_view FieldLabel(const Field (&fields)[N], int byte) {
  for (const Field& f : fields)
    if (byte >= f.First && byte < f.First + f.Size) return f.Label;
  return {};
}

std::string_view RecordFieldLabel(int section, int byte) {
  switch (section) {
    case SectionZones: return FieldLabel(kZoneFields, byte);
    case SectionGroups: return FieldLabel(kGroupFields, byte);
    case SectionOutputs: return FieldLabel(kOutputFields, byte);
    case SectionAdapters: return FieldLabel(kAdapterFields, byte);
    case SectionSetInputs: return FieldLabel(kSetInputFields, byte);
    case SectionKeyboards: return FieldLabel(kKeyboardFields, byte);
    case SectionIDReaders: return FieldLabel(kIDReaderFields, byte);
    case SectionModules: return FieldLabel(kModuleFields, byte);
    case SectionUsers: return FieldLabel(kUserFields, byte);
    case SectionAccess: return "]";
    default: return {};
  }
}

std::string PanelLabel(Variant variant, int byte) {
  if (variant == Variant::Legacy && byte >= kLegacyPanelUnusedFrom) return "PPK - ???";
  for (const Field& f : kPanelFields)
    if (byte >= f.First && byte < f.First + f.Size) return std::string(f.Label);
  return "PPK - ???";
}

}  // namespace

std::string ImageByteLabel(Variant variant, int offset) {
  for (int section = 0; section < SectionCount(variant); ++section) {
    const SectionLayout* s = SectionOf(variant, section);
    if (!s) continue;
    const int end = s->Base + s->Records * s->RecordSize;
    if (offset < s->Base || offset >= end) continue;
    const int inSection = offset - s->Base;
    if (section == SectionPanel) return PanelLabel(variant, inSection);
    const int record = inSection / s->RecordSize;
    const int byte = inSection % s->RecordSize;
    return std::string(s->Label) + std::to_string(record) + std::string(RecordFieldLabel(section, byte));
  }
  return "???";
}

}  // namespace velkor
