// Any bytes read from a panel or a .ROM file must give a database that holds
// together (every reference points into the trees, every element sits where
// its fields say) and that the builder takes or refuses with a message.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>

#include "image/builder.h"
#include "image/image_reader.h"

namespace {

using namespace velkor;

// Counts what would be shown; says Yes to every question so that the
// builder goes as far as it can.
class QuietHost : public Host {
 public:
  void Message(MessageIcon, std::string_view, std::string_view) override { ++shown; }
  bool Ask(MessageIcon, std::string_view, std::string_view) override {
    ++shown;
    return true;
  }
  int shown = 0;
};

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckConsistent(const Database& db) {
  std::set<const void*> outputs;
  std::set<const void*> adapters;
  std::set<const void*> groups;
  ForEachNode(db.Hardware, [&](Node& n) {
    if (const TOutput* o = n.As<TOutput>()) outputs.insert(o);
    if (const TAdapter* a = n.As<TAdapter>()) adapters.insert(a);
  });
  for (const auto& child : db.RoomsNode->Children)
    if (const TGroup* g = child->As<TGroup>()) groups.insert(g);
  auto reaction = [&](const TOutput* o) { Require(!o || outputs.count(o)); };

  const TPPK& p = *db.Panel();
  for (const TOutput* o : {p.ReactionPower, p.ReactionTamper, p.Reaction220V, p.ReactionCapture}) reaction(o);

  ForEachNode(db.Hardware, [&](Node& n) {
    const TAdapter* parent = n.Parent ? n.Parent->As<TAdapter>() : nullptr;
    if (const TAdapter* a = n.As<TAdapter>()) {
      for (const TOutput* o : {a->ReactionPower, a->ReactionTamper, a->ReactionConnect}) reaction(o);
    } else if (const TZone* z = n.As<TZone>()) {
      Require(z->Adapter == parent && groups.count(z->Group));
      Require(z->NumberInAdapter >= 1 && z->NumberInAdapter <= parent->ZonesTotal);
      Require(z->NumberInGroup >= 1 && z->NumberInGroup <= 128);
      for (const TOutput* o : {z->Reaction1, z->Reaction2, z->Reaction3, z->Reaction4}) reaction(o);
    } else if (const TOutput* o = n.As<TOutput>()) {
      Require(o->Adapter == parent && o->Number >= 1 && o->Number <= parent->OutputsTotal);
    } else if (const TSetInput* s = n.As<TSetInput>()) {
      Require(s->Adapter == parent && groups.count(s->Group));
      Require(s->Number >= 1 && s->Number <= parent->SetInputsTotal);
    } else if (const TIDReader* r = n.As<TIDReader>()) {
      Require(r->Adapter == parent && (!r->Group || groups.count(r->Group)));
      Require(r->Number >= 1 && r->Number <= parent->ReadersTotal);
    }
  });

  for (const auto& child : db.RoomsNode->Children) {
    if (const TGroup* g = child->As<TGroup>()) {
      Require(!child->Children.empty());
      reaction(g->ReactionSet);
      reaction(g->ReactionOpen);
      for (const TAdapter* k : g->Keyboards) Require(!k || (adapters.count(k) && k->IsKeyboard == 1));
      for (const auto& member : child->Children) {
        Require(member->Owned == nullptr && member->Data != nullptr);
        Require(FindNodeOf(db.Hardware, ElementObject(*member->Data)) != nullptr);
      }
    } else if (const TUser* u = child->As<TUser>()) {
      for (const TGroup* right : u->Groups) Require(!right || groups.count(right));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (Variant variant : {Variant::Current, Variant::Legacy}) {
    Workspace ws(variant);
    QuietHost host;
    std::copy_n(data, std::min(size, ws.DBReadArray.size()), ws.DBReadArray.begin());
    if (!LoadDatabaseFromReadArray(ws, host)) std::abort();  // no cancel, no full table: must load
    CheckConsistent(ws.db);

    // The builder takes what the reader made, or refuses it with a message.
    QuietHost buildHost;
    const ListingStamp stamp{"date", "time", "version", "3.20"};
    if (!DBConvertToPPK(ws, buildHost, SettingsFromEditor(ws), stamp, nullptr) && buildHost.shown == 0)
      std::abort();
  }
  return 0;
}
