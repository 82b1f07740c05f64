#include "model/captions.h"

#include "model/catalogues.h"
#include "text/format.h"

namespace velkor {

namespace {

bool IsBaseModule(const TAdapter* a) { return a && a->Placement == 0 && a->DeviceType == 0; }

std::string Numbered(bool numbered, int number, std::string_view text) {
  std::string out = numbered ? Fmt2(number) + " > " : std::string();
  out += text;
  return out;
}

}  // namespace

std::string_view AdapterLabel(Variant variant, const TAdapter& adapter) {
  const Catalogues& c = CataloguesFor(variant);
  if (adapter.Placement == 0) return CatalogueLabel(c.Modules, adapter.DeviceType);
  if (adapter.Placement == 1) return CatalogueLabel(c.Devices, adapter.DeviceType);
  return {};
}

std::string HardwareCaption(Variant variant, const Element& element) {
  if (std::holds_alternative<TPPK>(element)) return std::string(kPanelCaption);
  if (const auto* a = std::get_if<TAdapter>(&element)) {
    if (a->Placement == 1) return Fmt2(a->NetNumber) + " > " + std::string(AdapterLabel(variant, *a));
    return std::string(AdapterLabel(variant, *a));
  }
  if (const auto* z = std::get_if<TZone>(&element))
    return Numbered(z->Adapter && z->Adapter->ZonesTotal > 1, z->NumberInAdapter, "Шлейф"_w);
  if (const auto* o = std::get_if<TOutput>(&element))
    return Numbered(o->Adapter && o->Adapter->OutputsTotal > 1, o->Number,
                    IsBaseModule(o->Adapter) ? "Выход UK"_w : "Реле"_w);
  if (const auto* s = std::get_if<TSetInput>(&element))
    return Numbered(s->Adapter && s->Adapter->SetInputsTotal > 1, s->Number, "Вход SET"_w);
  if (const auto* r = std::get_if<TIDReader>(&element))
    return Numbered(r->Adapter && r->Adapter->ReadersTotal > 1, r->Number, "ТМ вход"_w);
  return {};
}

std::string RoomsCaption(const Element& element) {
  if (const auto* g = std::get_if<TGroup>(&element)) return std::string("Группа "_w) + Fmt3(g->Number);
  if (const auto* u = std::get_if<TUser>(&element))
    return Fmt3(u->Number) + std::string(u->Number == 1 ? " > Администратор"_w : " > Пользователь"_w);
  if (const auto* z = std::get_if<TZone>(&element)) return Fmt3(z->NumberInGroup) + std::string(" > Шлейф"_w);
  if (std::holds_alternative<TSetInput>(element)) return std::string("Устройство SET"_w);
  if (std::holds_alternative<TIDReader>(element)) return std::string("ТМ считыватель"_w);
  return {};
}

void RefreshModuleCaptions(Database& db) {
  const std::string_view mark = db.Module16Zones ? "16" : "8";
  auto refresh = [&](Node* node) {
    if (!node) return;
    const TAdapter* a = node->As<TAdapter>();
    if (!a) return;
    std::string wanted = std::string(AdapterLabel(db.variant, *a)) + std::string(mark);
    if (node->Caption != wanted) node->Caption = std::move(wanted);
  };
  refresh(db.BaseModuleNode);
  if (db.variant == Variant::Legacy) refresh(db.KeyboardModuleNode);
}

}  // namespace velkor
