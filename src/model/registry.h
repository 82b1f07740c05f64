#pragma once
// Numbering tables of the image converters: for each image section, the
// elements in the order they were numbered, with their record numbers.

#include <array>
#include <cstdint>
#include <vector>

#include "host/host.h"
#include "image/image_map.h"
#include "model/tree.h"

namespace velkor {

struct RegistryEntry {
  Node* node = nullptr;
  Element* element = nullptr;
  int number = 0;
};

class ElementRegistry {
 public:
  // Capacity of a section's table; 0 for a section without a table.
  static int Capacity(int section);

  // Appends an entry; false when the table is full or the section (bit 7
  // ignored) has no table. The callers end their run without a message.
  bool DBRegister(int section, Node* node, Element* element, int number);

  void Clear();
  const std::vector<RegistryEntry>& Entries(int section) const;
  // The entry of an element object (what a typed reference points to).
  const RegistryEntry* FindByObject(int section, const void* object) const;
  const RegistryEntry* FindByNumber(int section, int number) const;

 private:
  std::array<std::vector<RegistryEntry>, 10> tables_;
};

// Attach operations of the image builder: each keeps a (first, count) pair
// in a module or device record of the image being built and accepts only
// consecutive numbers. A refusal shows its message and returns false.
bool BEAttachAdapter(Host& host, ImageArray& store, int Module, int Adapter);
bool AdapterAttachZone(Host& host, ImageArray& store, int Adapter, int Zone);
bool AdapterAttachOutput(Host& host, ImageArray& store, int Adapter, int Output);
bool AdapterAttachSetInput(Host& host, ImageArray& store, int Adapter, int SetInput);
bool AdapterAttachKeyboard(Host& host, ImageArray& store, int Adapter, int Keyboard);
bool AdapterAttachIDReader(Host& host, ImageArray& store, int Adapter, int Reader);

}  // namespace velkor
