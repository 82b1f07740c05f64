#include "model/captions.h"
#include "model/workspace.h"

namespace velkor {

namespace {

bool IsKeyboardType(const TAdapter& a) { return a.DeviceType == 2 || a.DeviceType == 3 || a.DeviceType == 9; }

// The card for an element of the hardware tree, or nothing.
std::optional<CardPage> HardwareCard(const Element& e) {
  if (std::holds_alternative<TPPK>(e)) return CardPage::PPK;
  if (const auto* a = std::get_if<TAdapter>(&e)) {
    if (a->Placement == 0) return CardPage::Module;
    if (a->Placement == 1) return IsKeyboardType(*a) ? CardPage::Keyboard : CardPage::Adapter;
    return std::nullopt;
  }
  if (const auto* z = std::get_if<TZone>(&e)) return z->Adapter ? std::optional(CardPage::Zone) : std::nullopt;
  if (const auto* o = std::get_if<TOutput>(&e)) return o->Adapter ? std::optional(CardPage::Output) : std::nullopt;
  if (const auto* s = std::get_if<TSetInput>(&e))
    return s->Adapter ? std::optional(CardPage::SetInput) : std::nullopt;
  if (const auto* r = std::get_if<TIDReader>(&e))
    return r->Adapter ? std::optional(CardPage::IDReader) : std::nullopt;
  return std::nullopt;
}

std::optional<CardPage> RoomsCard(const Element& e) {
  if (const auto* z = std::get_if<TZone>(&e)) return z->Adapter ? std::optional(CardPage::Zone) : std::nullopt;
  if (std::holds_alternative<TUser>(e)) return CardPage::User;
  if (std::holds_alternative<TGroup>(e)) return CardPage::Group;
  if (const auto* s = std::get_if<TSetInput>(&e))
    return s->Adapter ? std::optional(CardPage::SetInput) : std::nullopt;
  if (const auto* r = std::get_if<TIDReader>(&e))
    return r->Adapter ? std::optional(CardPage::IDReader) : std::nullopt;
  return CardPage::None;
}

bool DeleteEnabledOn(CardPage page, const Element* element) {
  switch (page) {
    case CardPage::Module: {
      const auto* a = element ? std::get_if<TAdapter>(element) : nullptr;
      return a && a->DeviceType >= 1 && a->DeviceType <= 6;
    }
    case CardPage::Adapter:
    case CardPage::Keyboard:
    case CardPage::Zone:
    case CardPage::Output:
    case CardPage::SetInput:
    case CardPage::IDReader:
    case CardPage::User: return true;
    default: return false;
  }
}

void Show(EditorState& e, CardPage page) {
  e.ActivePage = page;
  e.BitBtnDBDelEnabled = DeleteEnabledOn(page, e.CurrentElement);
}

}  // namespace

void ProcessViewCard(Workspace& ws) {
  EditorState& e = ws.editor;
  Database& db = ws.db;
  if (!e.ViewCardEnabled) return;
  RefreshModuleCaptions(db);

  if (e.TreeTabIndex == 0 && !db.Hardware.Empty()) {
    Node* node = db.Hardware.Selected;
    if (node && node == db.Rs485Node) return Show(e, CardPage::Rs485);
    e.CurrentElement = node ? node->Data : nullptr;
    if (e.CurrentElement) {
      if (auto page = HardwareCard(*e.CurrentElement)) return Show(e, *page);
      // A zone or input without its device keeps whatever card was shown.
      if (!std::holds_alternative<TAdapter>(*e.CurrentElement)) return;
    }
  } else if (e.TreeTabIndex == 1 && !db.Rooms.Empty()) {
    Node* node = db.Rooms.Selected;
    if (node && node == db.RoomsNode) return Show(e, CardPage::Rooms);
    e.CurrentElement = node ? node->Data : nullptr;
    if (e.CurrentElement) {
      if (auto page = RoomsCard(*e.CurrentElement)) return Show(e, *page);
      return;
    }
  }
  Show(e, CardPage::None);
}

void DatabaseChanged(Workspace& ws) {
  ws.editor.DBChanged = true;
  ProcessDataBase(ws.db);
  ProcessViewCard(ws);
}

}  // namespace velkor
