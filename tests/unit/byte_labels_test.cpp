#include <gtest/gtest.h>

#include "image/byte_labels.h"
#include "image/image_map.h"

namespace velkor {
namespace {

TEST(ImageByteLabel, NamesBytesAsTheMemoryViewDoes) {
  struct Case {
    Variant variant;
    int offset;
    const char* label;
  };
  const Case cases[] = {
      {Variant::Current, 0, "PPK - Tamper reaction"},
      {Variant::Current, 2, "PPK - Protocol Type"},
      {Variant::Current, 16, "PPK - SRP number"},
      {Variant::Current, 17, "PPK - mob. number PCN"},
      {Variant::Current, 52, "PPK - Card PIN-code"},
      {Variant::Current, 55, "PPK - PPK address"},
      {Variant::Current, 56, "PPK - Control canal time"},
      {Variant::Current, 65, "PPK - Retranslation"},
      {Variant::Current, 66, "PPK - Capture reaction"},
      {Variant::Current, 68, "PPK - Number in PCO Data Base"},
      {Variant::Current, 74, "PPK - Radio Net Number"},
      {Variant::Current, 75, "PPK - ???"},
      {Variant::Current, 127, "PPK - ???"},
      {Variant::Current, 128, "Zones[0] - SA number"},
      {Variant::Current, 1151, "Zones[127] - Reaction 4"},
      {Variant::Current, 1152 + 3 * 13 + 8, "Groups[3] - Accessed keyboards"},
      {Variant::Current, 1152 + 13 - 1, "Groups[0] - Room number"},
      {Variant::Current, 2816 + 4 * 63 + 3, "Outputs[63] - Wait to reaction"},
      {Variant::Current, 3072 + 22 * 5 + 18, "Adapters[5] - SA serial number"},
      {Variant::Current, 3819, "Adapters[33] - Power reaction"},
      {Variant::Current, 3820 + 2, "SetInputs[0] - Group number"},
      {Variant::Current, 3916 + 3 * 31 + 2, "Keyboards[31] - Keyboard type"},
      {Variant::Current, 4012 + 1, "IDReaders[0] - SA number"},
      {Variant::Current, 4108 + 8 + 2, "BEs[1] - SA\"s count"},
      {Variant::Current, 4131, "BEs[2] - BE serial number"},
      {Variant::Current, 4132, "Users[0] - Flags"},
      {Variant::Current, 4132 + 29 + 12, "Users[1] - Identificator"},
      {Variant::Current, 7843, "Users[127] - Rights"},
      {Variant::Current, 7844, "???"},
      {Variant::Current, 8191, "???"},
      {Variant::Current, -1, "???"},
      {Variant::Legacy, 56, "PPK - Control canal time"},
      {Variant::Legacy, 66, "PPK - ???"},
      {Variant::Legacy, 74, "PPK - ???"},
      {Variant::Legacy, 4132 + 13 + 4, "Users[1] - PIN-code"},
      {Variant::Legacy, 5795, "Users[127] - Identificator"},
      {Variant::Legacy, 5796, "User Rigths[0]"},
      {Variant::Legacy, 7843, "User Rigths[127]"},
      {Variant::Legacy, 7844, "???"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    EXPECT_EQ(ImageByteLabel(c.variant, c.offset), c.label);
  }
}

TEST(ImageByteLabel, EveryRecordByteHasAFieldLabel) {
  for (int offset = 128; offset < 7844; ++offset) {
    const std::string label = ImageByteLabel(Variant::Current, offset);
    EXPECT_NE(label.find("] - "), std::string::npos) << offset << ": " << label;
  }
}

}  // namespace
}  // namespace velkor
