#include "files/dcf.h"

#include <cmath>
#include <optional>
#include <unordered_map>

#include "files/file_io.h"
#include "model/captions.h"
#include "model/catalogues.h"
#include "text/format.h"

namespace velkor {

namespace {

// ---------------------------------------------------------------------------
// Record layouts. One walker per class lists the fields in file order; the
// writer and the reader both run it, so the two can never disagree.

template <class IO, class P>
void PanelFields(IO& io, P& p, int tag) {
  io.Text(p.Name);
  io.U8(p.Protocol);
  io.Text(p.SrpNumber);
  io.Text(p.PcnMobileNumber);
  io.Text(p.SmsCenterNumber);
  io.Text(p.CardPinCode);
  io.Text(p.RadioAddressPco);
  io.Text(p.RadioAddressPpk);
  io.U8(p.ControlCanalTime);
  for (auto& address : p.RetranslationAddress) io.Text(address);
  if (tag == kTagPanel) {
    io.U8(p.ConnectReasons);
    io.U8(p.ConnectTimeOut);
    io.U16(p.PcoDbNumber);
    io.U8(p.NetNumber);
    io.U16(p.RadioWaitTime);
    io.U8(p.RadioNetNumber);
    io.Ref(p.ReactionPower);
    io.Ref(p.ReactionTamper);
    io.Ref(p.Reaction220V);
    io.Ref(p.ReactionCapture);
    return;
  }
  // The older panels end with their reactions only, each version one more.
  if (tag != kTagPanelV0) io.Ref(p.ReactionPower);
  io.Ref(p.ReactionTamper);
  io.Ref(p.Reaction220V);
  if (tag == kTagPanelV20) io.Ref(p.ReactionCapture);
}

template <class IO, class A>
void AdapterFields(IO& io, A& a, int /*tag*/) {
  io.U8(a.IsKeyboard);
  io.U8(a.Placement);
  io.U8(a.DeviceType);
  io.U8(a.NetNumber);
  io.Text(a.Location);
  io.U8(a.ZonesTotal);
  io.U8(a.OutputsTotal);
  io.U8(a.SetInputsTotal);
  io.U8(a.ReadersTotal);
  io.U32(a.SerialNumber);
  io.U8(a.ZonesControlTime);
  io.Ref(a.ReactionPower);
  io.Ref(a.ReactionTamper);
  io.Ref(a.ReactionConnect);
}

template <class IO, class Z>
void ZoneFields(IO& io, Z& z, int /*tag*/) {
  io.Text(z.Name);
  io.U8(z.ZoneType);
  io.Ref(z.Group);
  io.Ref(z.Adapter);
  io.U8(z.NumberInGroup);
  io.U8(z.NumberInAdapter);
  io.Ref(z.Reaction1);
  io.Ref(z.Reaction2);
  io.Ref(z.Reaction3);
  io.Ref(z.Reaction4);
}

template <class IO, class O>
void OutputFields(IO& io, O& o, int tag) {
  io.Text(o.Name);
  io.Text(o.Location);
  io.Ref(o.Adapter);
  io.U8(o.Number);
  io.U8(o.ReactionKind);
  io.U8(o.ReactionTime);
  io.U8(o.ReactionWait);
  if (tag != kTagOutputV3) io.U8(o.Inverse);
  io.U8(o.AlarmToOpen);
  io.U8(o.AlarmToNorma);
  io.U8(o.ForGroups);
  io.U8(o.ForFire);
}

template <class IO, class I>
void InputFields(IO& io, I& i, int /*tag*/) {
  io.Ref(i.Group);
  io.Ref(i.Adapter);
  io.U8(i.Number);
}

template <class IO, class U>
void UserFields(IO& io, U& u, int /*tag*/) {
  io.U8(u.Number);
  io.Text(u.Fio);
  io.Text(u.Post);
  io.Text(u.PinCode);
  io.Text(u.Identifier);
  for (auto& group : u.Groups) io.Ref(group);
}

template <class IO, class G>
void GroupFields(IO& io, G& g, int tag) {
  io.Text(g.Name);
  io.U8(g.Number);
  io.U8(g.WaitToSet);
  io.U8(g.WaitToOpen);
  io.Text(g.RoomNumber);
  io.U8(g.KeyboardAccess);
  io.U8(g.AndMode);
  io.Ref(g.ReactionSet);
  io.Ref(g.ReactionOpen);
  for (auto& keyboard : g.Keyboards) io.Ref(keyboard);
  if (tag == kTagGroupV7) return;
  for (auto& from : g.GuardFrom) io.Text(from);
  for (auto& to : g.GuardTo) io.Text(to);
  for (auto& dayOff : g.DayOff) io.U8(dayOff);
  io.U8(g.LongGuard);
  io.U8(g.GuardLock);
  io.U8(g.PartialSet);
  io.U8(g.AutoAlarm);
  io.Text(g.LongGuardNote);
  io.U8(g.AlarmDelayMin);
  io.U8(g.AlarmDelaySec);
}

// Dispatches an element (const for writing, mutable for reading) to its
// walker.
template <class IO, class E>
void ElementFields(IO& io, E& element, int tag) {
  std::visit(
      [&](auto& e) {
        using T = std::remove_cvref_t<decltype(e)>;
        if constexpr (std::is_same_v<T, TPPK>) PanelFields(io, e, tag);
        else if constexpr (std::is_same_v<T, TAdapter>) AdapterFields(io, e, tag);
        else if constexpr (std::is_same_v<T, TZone>) ZoneFields(io, e, tag);
        else if constexpr (std::is_same_v<T, TOutput>) OutputFields(io, e, tag);
        else if constexpr (std::is_same_v<T, TGroup>) GroupFields(io, e, tag);
        else if constexpr (std::is_same_v<T, TUser>) UserFields(io, e, tag);
        else InputFields(io, e, tag);  // TSetInput, TIDReader
      },
      element);
}

// ---------------------------------------------------------------------------
// Tags.

enum class Kind { Panel, Adapter, Zone, Output, SetInput, IDReader, User, Group };
enum class Warn { None, Panel, Output, Group };

struct TagInfo {
  Kind kind;
  std::size_t body;
  Warn warn;
};

// What a tag means to a variant; nullopt for a tag it does not read. The
// legacy program writes tags 10, 3 and 7 itself: only tag 0 is old to it,
// and it knows none of the newer tags.
std::optional<TagInfo> TagOf(Variant variant, int tag) {
  const bool legacy = variant == Variant::Legacy;
  switch (tag) {
    case kTagPanelV0: return TagInfo{Kind::Panel, 301, Warn::Panel};
    case kTagAdapter: return TagInfo{Kind::Adapter, 220, Warn::None};
    case kTagZone: return TagInfo{Kind::Zone, 216, Warn::None};
    case kTagOutputV3: return TagInfo{Kind::Output, 412, legacy ? Warn::None : Warn::Output};
    case kTagSetInput: return TagInfo{Kind::SetInput, 5, Warn::None};
    case kTagIDReader: return TagInfo{Kind::IDReader, 5, Warn::None};
    case kTagUser: return TagInfo{Kind::User, 685, Warn::None};
    case kTagGroupV7: return TagInfo{Kind::Group, 280, legacy ? Warn::None : Warn::Group};
    case kTagPanelV10: return TagInfo{Kind::Panel, 303, legacy ? Warn::None : Warn::Panel};
    default: break;
  }
  if (legacy) return std::nullopt;
  switch (tag) {
    case kTagOutput: return TagInfo{Kind::Output, 413, Warn::None};
    case kTagGroup: return TagInfo{Kind::Group, 578, Warn::None};
    case kTagPanelV20: return TagInfo{Kind::Panel, 305, Warn::Panel};
    case kTagPanel: return TagInfo{Kind::Panel, 313, Warn::None};
    default: return std::nullopt;
  }
}

// A scratch element of a record's class, at its constructor defaults.
Element ScratchOf(Kind kind, Variant variant) {
  switch (kind) {
    case Kind::Panel: return Element(std::in_place_type<TPPK>, variant);
    case Kind::Adapter: return Element(std::in_place_type<TAdapter>, byte{0}, byte{0}, variant);
    case Kind::Zone: return Element(std::in_place_type<TZone>);
    case Kind::Output: return Element(std::in_place_type<TOutput>);
    case Kind::SetInput: return Element(std::in_place_type<TSetInput>);
    case Kind::IDReader: return Element(std::in_place_type<TIDReader>);
    case Kind::User: return Element(std::in_place_type<TUser>);
    case Kind::Group: return Element(std::in_place_type<TGroup>);
  }
  return Element(std::in_place_type<TZone>);
}

constexpr std::string_view kReadError = "Ошибка чтения файла"_w;
constexpr std::string_view kWriteError = "Ошибка записи файла"_w;
constexpr std::string_view kWarningTitle = "Предупреждение"_w;

std::string VersionWarning(Warn warn) {
  // Built piece by piece: clang 14 crashes on a declaration initialised from
  // std::string(a _w literal).
  std::string text;
  text += "Внимание!\rФайл был создан одной из предварительных версий программы.\r\r"_w;
  text += "В процессе преобразования данных\r"_w;
  switch (warn) {
    case Warn::Panel:
      text += "программа определила изменения в карточке ППК.\r"_w;
      text += "Проверьте правильность всех записей в данной карточке."_w;
      break;
    case Warn::Output:
      text += "программа определила изменения в карточке управляемого выхода.\r"_w;
      text += "Проверьте правильность всех записей в данных карточках."_w;
      break;
    case Warn::Group:
      text += "программа определила изменения в карточке группы.\r"_w;
      text += "Проверьте правильность всех записей в данных карточках."_w;
      break;
    case Warn::None: break;
  }
  return text;
}

int Percent(double value) { return static_cast<int>(std::lround(value)); }

// ---------------------------------------------------------------------------
// Writing.

class RecordWriter {
 public:
  RecordWriter(std::vector<std::uint8_t>& out, const std::unordered_map<const void*, word>& numbers)
      : out_(out), numbers_(numbers) {}

  void U8(byte v) { out_.push_back(v); }
  void U16(word v) {
    out_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(dword v) {
    for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
  }
  template <std::size_t N>
  void Text(const TextField<N>& text) {
    const std::string& s = text.str();
    out_.push_back(static_cast<std::uint8_t>(s.size()));
    out_.insert(out_.end(), s.begin(), s.end());
    out_.insert(out_.end(), N - s.size(), 0);
  }
  // An element outside the table is written as none.
  template <class T>
  void Ref(const T* element) {
    auto it = element ? numbers_.find(element) : numbers_.end();
    U16(it == numbers_.end() ? word{0} : it->second);
  }

 private:
  std::vector<std::uint8_t>& out_;
  const std::unordered_map<const void*, word>& numbers_;
};

std::uint8_t TagToWrite(const Element& element, const DcfWriteTags& tags) {
  switch (element.index()) {
    case 0: return tags.panel;
    case 1: return kTagAdapter;
    case 2: return kTagZone;
    case 3: return tags.output;
    case 4: return tags.group;
    case 5: return kTagIDReader;
    case 6: return kTagSetInput;
    default: return kTagUser;
  }
}
static_assert(std::is_same_v<std::variant_alternative_t<4, Element>, TGroup>);
static_assert(std::is_same_v<std::variant_alternative_t<5, Element>, TIDReader>);
static_assert(std::is_same_v<std::variant_alternative_t<6, Element>, TSetInput>);

// ---------------------------------------------------------------------------
// Reading.

struct Entry {
  Node* node = nullptr;
  Element* element = nullptr;
};

struct Record {
  int tag;
  Kind kind;
  std::size_t offset;  // of the tag byte
  std::span<const std::uint8_t> body;
};

// How references are turned into elements while a body is parsed.
enum class Refs {
  Loose,   // what already exists and fits, else none
  Strict,  // every reference must name an element of the right class
};

class RecordReader {
 public:
  RecordReader(std::span<const std::uint8_t> body, const std::vector<Entry>& table, Refs refs)
      : body_(body), table_(table), refs_(refs) {}

  bool ok() const { return ok_ && pos_ == body_.size(); }

  void U8(byte& v) {
    if (!Need(1)) return;
    v = body_[pos_++];
  }
  void U16(word& v) {
    if (!Need(2)) return;
    v = static_cast<word>(body_[pos_] | (body_[pos_ + 1] << 8));
    pos_ += 2;
  }
  void U32(dword& v) {
    if (!Need(4)) return;
    v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | body_[pos_ + static_cast<std::size_t>(i)];
    pos_ += 4;
  }
  template <std::size_t N>
  void Text(TextField<N>& text) {
    if (!Need(N + 1)) return;
    const std::size_t length = body_[pos_];
    // A length beyond the field is no text this program ever wrote.
    if (length > N) {
      ok_ = false;
      return;
    }
    text.assign(std::string_view(reinterpret_cast<const char*>(body_.data() + pos_ + 1), length));
    pos_ += N + 1;
  }
  template <class T>
  void Ref(T*& element) {
    word number = 0;
    U16(number);
    element = nullptr;
    if (!ok_ || number == 0) return;
    T* found = nullptr;
    if (number <= table_.size()) {
      const Entry& entry = table_[number - 1];
      if (entry.element) found = std::get_if<T>(entry.element);
    }
    if (!found && refs_ == Refs::Strict) ok_ = false;
    element = found;
  }

 private:
  bool Need(std::size_t n) {
    if (!ok_ || body_.size() - pos_ < n) ok_ = false;
    return ok_;
  }

  std::span<const std::uint8_t> body_;
  std::size_t pos_ = 0;
  bool ok_ = true;
  const std::vector<Entry>& table_;
  Refs refs_;
};

// Parses a record's body into a fresh scratch element.
std::optional<Element> Parse(const Record& record, Variant variant, const std::vector<Entry>& table, Refs refs) {
  Element scratch = ScratchOf(record.kind, variant);
  RecordReader reader(record.body, table, refs);
  ElementFields(reader, scratch, record.tag);
  if (!reader.ok()) return std::nullopt;
  return scratch;
}

// Copies a scratch element into a live one of the same class with the copy
// operation of the record's version.
bool CopyInto(Element& to, const Element& from, int tag) {
  if (to.index() != from.index()) return false;
  std::visit(
      [&](auto& target) {
        using T = std::remove_cvref_t<decltype(target)>;
        CopyElement(target, std::get<T>(from), tag);
      },
      to);
  return true;
}

class DcfLoader {
 public:
  DcfLoader(Workspace& ws, Host& host, std::span<const std::uint8_t> bytes)
      : ws_(ws), db_(ws.db), host_(host), bytes_(bytes), variant_(ws.variant) {}

  enum class Outcome { Ok, Failed, Cancelled };

  Outcome Run() {
    if (Outcome split = SplitAndWarn(); split != Outcome::Ok) return split;
    table_.resize(records_.size());
    for (int pass = 1; pass <= 3; ++pass) {
      for (std::size_t j = 0; j < records_.size(); ++j) {
        if (Poll(pass, records_[j].offset)) return Outcome::Cancelled;
        const bool done = pass == 1 ? Containers(j) : pass == 2 ? Children(j) : Resolve(j);
        if (!done) return Outcome::Failed;
      }
    }
    SortTree(db_.Hardware);
    SortTree(db_.Rooms);
    return Outcome::Ok;
  }

 private:
  // Lets the window run and reports a cancel; moves the bar.
  bool Poll(int pass, std::size_t offset) {
    if (host_.ConvertCancelled()) return true;
    if (!bytes_.empty())
      host_.ConvertPosition(Percent(static_cast<double>(offset) / static_cast<double>(bytes_.size()) * 25.0 +
                                    pass * 25.0));
    return false;
  }

  // Pass 0: cuts the file into records, checks every body, and warns about
  // older record versions once per kind, in the order they first appear.
  Outcome SplitAndWarn() {
    bool warned[4] = {};
    std::size_t pos = 0;
    while (pos < bytes_.size()) {
      if (Poll(0, pos)) return Outcome::Cancelled;
      if (records_.size() >= kDcfMaxRecords) return Outcome::Failed;
      const int tag = bytes_[pos];
      std::optional<TagInfo> info = TagOf(variant_, tag);
      if (!info) return Outcome::Failed;
      if (info->warn != Warn::None && !warned[static_cast<int>(info->warn)]) {
        warned[static_cast<int>(info->warn)] = true;
        host_.Message(MessageIcon::Warning, kWarningTitle, VersionWarning(info->warn));
      }
      if (bytes_.size() - pos - 1 < info->body) return Outcome::Failed;
      Record record{tag, info->kind, pos, bytes_.subspan(pos + 1, info->body)};
      if (!Parse(record, variant_, {}, Refs::Loose)) return Outcome::Failed;
      records_.push_back(record);
      pos += 1 + info->body;
    }
    return Outcome::Ok;
  }

  Node& NewNode(Node* parent, std::string caption, Element scratch, int tag, Element fresh) {
    auto owned = std::make_unique<Element>(std::move(fresh));
    CopyInto(*owned, scratch, tag);
    return AddNode(db_.Hardware, parent, std::move(caption), std::move(owned));
  }

  // Pass 1: the panel, the modules and bus devices, the users and groups.
  bool Containers(std::size_t j) {
    const Record& r = records_[j];
    std::optional<Element> scratch = Parse(r, variant_, table_, Refs::Loose);
    if (!scratch) return false;
    Entry& entry = table_[j];
    const Catalogues& cat = CataloguesFor(variant_);
    switch (r.kind) {
      case Kind::Panel: {
        // A second panel would leave the first one's entry pointing nowhere.
        if (panelRead_) return false;
        panelRead_ = true;
        Node& panel = *db_.PanelNode;
        panel.Owned = std::make_unique<Element>(std::in_place_type<TPPK>, variant_);
        panel.Data = panel.Owned.get();
        CopyInto(*panel.Data, *scratch, r.tag);
        entry = {&panel, panel.Data};
        return true;
      }
      case Kind::Adapter: {
        const TAdapter& a = std::get<TAdapter>(*scratch);
        const byte code = a.DeviceType;
        if (a.Placement == 0) {
          if (code == 0) {
            CopyInto(*db_.BaseModuleNode->Data, *scratch, r.tag);
            entry = {db_.BaseModuleNode, db_.BaseModuleNode->Data};
          } else if ((code >= 1 && code <= 4) || code == 6) {
            Node& node = NewNode(db_.PanelNode, std::string(CatalogueLabel(cat.Modules, code)), *scratch, r.tag,
                                 Element(std::in_place_type<TAdapter>, byte{0}, code, variant_));
            if (code == 1 || code == 6) db_.KeyboardModuleNode = &node;
            if (code == 4) ws_.editor.BitCheckBoxController = a.ZonesControlTime == 240;
            entry = {&node, node.Data};
          }
        } else if (a.Placement == 1) {
          Node& node = NewNode(db_.Rs485Node, HardwareCaption(variant_, *scratch), *scratch, r.tag,
                               Element(std::in_place_type<TAdapter>, byte{1}, code, variant_));
          entry = {&node, node.Data};
        }
        return true;
      }
      case Kind::User:
      case Kind::Group: {
        auto owned = std::make_unique<Element>(ScratchOf(r.kind, variant_));
        CopyInto(*owned, *scratch, r.tag);
        std::string caption = RoomsCaption(*owned);
        Node& node = AddNode(db_.Rooms, db_.RoomsNode, std::move(caption), std::move(owned));
        entry = {&node, node.Data};
        return true;
      }
      default: return true;
    }
  }

  // The node of the entry whose element is `element`: the device or group a
  // child hangs under.
  Node* NodeOf(const void* element) const {
    if (!element) return nullptr;
    for (const Entry& e : table_)
      if (e.element && ElementObject(*e.element) == element) return e.node;
    return nullptr;
  }

  // Pass 2: zones, outputs, SET and TM inputs under their device, and under
  // their group in the rooms tree.
  bool Children(std::size_t j) {
    const Record& r = records_[j];
    if (r.kind == Kind::Panel || r.kind == Kind::Adapter || r.kind == Kind::User || r.kind == Kind::Group)
      return true;
    std::optional<Element> scratch = Parse(r, variant_, table_, Refs::Loose);
    if (!scratch) return false;
    const TAdapter* adapter = nullptr;
    const TGroup* group = nullptr;
    std::visit(
        [&](const auto& e) {
          using T = std::remove_cvref_t<decltype(e)>;
          if constexpr (std::is_same_v<T, TZone> || std::is_same_v<T, TOutput> ||
                        std::is_base_of_v<TInputBase, T>)
            adapter = e.Adapter;
          if constexpr (std::is_same_v<T, TZone> || std::is_base_of_v<TInputBase, T>) group = e.Group;
        },
        *scratch);
    Node* device = NodeOf(adapter);
    Node* groupNode = NodeOf(group);
    if (!device) return false;
    const bool needsGroup = r.kind == Kind::Zone || r.kind == Kind::SetInput;
    if (needsGroup && !groupNode) return false;

    auto owned = std::make_unique<Element>(ScratchOf(r.kind, variant_));
    CopyInto(*owned, *scratch, r.tag);
    std::string caption = HardwareCaption(variant_, *owned);
    Node& node = AddNode(db_.Hardware, device, std::move(caption), std::move(owned));
    if (r.kind != Kind::Output && groupNode)
      AddMirrorNode(db_.Rooms, groupNode, RoomsCaption(*node.Data), node.Data);
    table_[j] = {&node, node.Data};
    return true;
  }

  // Pass 3: every record once more, now that every element exists; this is
  // where the references are resolved.
  bool Resolve(std::size_t j) {
    const Record& r = records_[j];
    if (!table_[j].element) return false;
    std::optional<Element> scratch = Parse(r, variant_, table_, Refs::Strict);
    if (!scratch) return false;
    return CopyInto(*table_[j].element, *scratch, r.tag);
  }

  Workspace& ws_;
  Database& db_;
  Host& host_;
  std::span<const std::uint8_t> bytes_;
  Variant variant_;
  std::vector<Record> records_;
  std::vector<Entry> table_;
  bool panelRead_ = false;
};

// The database is dropped and the user told.
void FailRead(Workspace& ws, Host& host) {
  ws.editor.ViewCardEnabled = false;
  if (EraceDB(ws, host)) {
    ws.editor.ViewCardEnabled = true;
    ws.editor.DBChanged = false;
    ProcessDataBase(ws.db);
  }
  ShowError(host, kReadError);
}

// From the empty database on; `bytes` null when the file could not be read.
bool Load(Workspace& ws, Host& host, const std::span<const std::uint8_t>* bytes) {
  if (!EraceDB(ws, host) || !CreateNewDB(ws, host)) return false;
  // Only a file's own keyboard module record brings the keyboard module.
  if (ws.db.KeyboardModuleNode) {
    DetachNode(ws.db.Hardware, *ws.db.KeyboardModuleNode);
    ws.db.KeyboardModuleNode = nullptr;
  }
  if (!bytes) {
    FailRead(ws, host);
    return false;
  }
  DcfLoader loader(ws, host, *bytes);
  switch (loader.Run()) {
    case DcfLoader::Outcome::Ok: return true;
    case DcfLoader::Outcome::Cancelled: EraceDB(ws, host); return false;
    case DcfLoader::Outcome::Failed: FailRead(ws, host); return false;
  }
  return false;
}

}  // namespace

std::size_t DcfBodySize(Variant variant, int tag) {
  std::optional<TagInfo> info = TagOf(variant, tag);
  return info ? info->body : 0;
}

DcfWriteTags DcfTagsWritten(Variant variant) {
  if (variant == Variant::Legacy) return {kTagPanelV10, kTagOutputV3, kTagGroupV7};
  return {kTagPanel, kTagOutput, kTagGroup};
}

bool EncodeDcf(const Database& db, Host& host, std::vector<std::uint8_t>& out) {
  out.clear();
  // The element table: every element of the hardware tree, then the users
  // and groups; a reference is written as its entry's number.
  std::unordered_map<const void*, word> numbers;
  std::size_t entries = 0;
  bool full = false;
  auto enter = [&](const Node& node, bool take) {
    if (full || !node.Data) return;
    if (entries >= kDcfTableCapacity) {
      full = true;
      return;
    }
    if (!take) return;
    ++entries;
    numbers.emplace(ElementObject(*node.Data), static_cast<word>(entries));
  };
  auto isUserOrGroup = [](const Node& node) { return node.As<TUser>() || node.As<TGroup>(); };
  ForEachNode(db.Hardware, [&](Node& node) { enter(node, true); });
  ForEachNode(db.Rooms, [&](Node& node) { enter(node, isUserOrGroup(node)); });
  if (full) return false;

  const DcfWriteTags tags = DcfTagsWritten(db.variant);
  RecordWriter writer(out, numbers);
  auto writeTree = [&](const Tree& tree, int base, bool roomsOnly) {
    const std::vector<Node*> nodes = NodesInIndexOrder(tree);
    const double span = nodes.size() > 1 ? static_cast<double>(nodes.size() - 1) : 1.0;
    for (std::size_t index = 0; index < nodes.size(); ++index) {
      const Node& node = *nodes[index];
      if (!node.Data || (roomsOnly && !isUserOrGroup(node))) continue;
      host.ConvertPosition(base + Percent(static_cast<double>(index) / span * 50.0));
      const std::uint8_t tag = TagToWrite(*node.Data, tags);
      out.push_back(tag);
      ElementFields(writer, *node.Data, tag);
    }
  };
  writeTree(db.Hardware, 0, false);
  writeTree(db.Rooms, 50, true);
  return true;
}

bool DecodeDcf(Workspace& ws, Host& host, std::span<const std::uint8_t> bytes) { return Load(ws, host, &bytes); }

std::string DcfFileName(std::string_view chosen) {
  const std::size_t slash = chosen.find_last_of('/');
  const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
  std::string path(chosen);
  for (std::size_t i = start; i < path.size(); ++i)
    if (path[i] >= 'A' && path[i] <= 'Z') path[i] = static_cast<char>(path[i] - 'A' + 'a');
  const std::string_view name = std::string_view(path).substr(start);
  const std::size_t dcf = name.find(".dcf");
  if (dcf == std::string_view::npos || dcf + 4 != name.size()) path += ".dcf";
  return path;
}

bool DBConvertToFile(Workspace& ws, Host& host, const std::string& path) {
  host.ConvertCancelEnabled(false);
  std::vector<std::uint8_t> bytes;
  const bool ok = EncodeDcf(ws.db, host, bytes) && WriteFileAtomically(DcfFileName(path), bytes);
  if (!ok) ShowError(host, kWriteError);
  return ok;
}

bool DBConvertFromFile(Workspace& ws, Host& host, const std::string& path) {
  std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path, kDcfMaxFileSize);
  if (!bytes) return Load(ws, host, nullptr);
  const std::span<const std::uint8_t> view(*bytes);
  return Load(ws, host, &view);
}

}  // namespace velkor
