#include "tree_model.h"

#include "qt_text.h"

namespace velkor::editor {

NodeTreeModel::NodeTreeModel(Database& db, bool hardware, QObject* parent)
    : QAbstractItemModel(parent), db_(db), hardware_(hardware) {}

Node* NodeTreeModel::NodeAt(const QModelIndex& index) const {
  if (frozen_ || !index.isValid()) return nullptr;
  return static_cast<Node*>(index.internalPointer());
}

const std::vector<std::unique_ptr<Node>>& NodeTreeModel::Siblings(const Node* node) const {
  return node->Parent ? node->Parent->Children : CoreTree().Roots;
}

int NodeTreeModel::RowOf(const Node* node) const {
  const auto& siblings = Siblings(node);
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == node) return static_cast<int>(i);
  return -1;
}

QModelIndex NodeTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (frozen_ || column != 0 || row < 0) return {};
  const Node* p = NodeAt(parent);
  if (parent.isValid() && !p) return {};
  const auto& children = p ? p->Children : CoreTree().Roots;
  if (static_cast<std::size_t>(row) >= children.size()) return {};
  return createIndex(row, 0, children[static_cast<std::size_t>(row)].get());
}

QModelIndex NodeTreeModel::parent(const QModelIndex& child) const {
  const Node* node = NodeAt(child);
  if (!node || !node->Parent) return {};
  return createIndex(RowOf(node->Parent), 0, node->Parent);
}

int NodeTreeModel::rowCount(const QModelIndex& parent) const {
  if (frozen_ || parent.column() > 0) return 0;
  if (!parent.isValid()) return static_cast<int>(CoreTree().Roots.size());
  const Node* node = NodeAt(parent);
  return node ? static_cast<int>(node->Children.size()) : 0;
}

int NodeTreeModel::columnCount(const QModelIndex&) const { return 1; }

NodeKind NodeTreeModel::KindOf(const Node* node) const {
  if (!node) return NodeKind::Plain;
  if (hardware_) {
    if (node == db_.PanelNode) return NodeKind::PanelRoot;
    if (node == db_.Rs485Node) return NodeKind::Rs485;
    if (node->As<TAdapter>()) return NodeKind::Adapter;
  } else {
    if (node == db_.RoomsNode) return NodeKind::RoomsRoot;
    if (node->As<TGroup>()) return NodeKind::Group;
  }
  return node->Data ? NodeKind::Other : NodeKind::Plain;
}

QVariant NodeTreeModel::data(const QModelIndex& index, int role) const {
  const Node* node = NodeAt(index);
  if (!node) return {};
  if (role == Qt::DisplayRole) return Qs(node->Caption);
  if (role == KindRole) return static_cast<int>(KindOf(node));
  return {};
}

Qt::ItemFlags NodeTreeModel::flags(const QModelIndex& index) const {
  if (!NodeAt(index)) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QModelIndex NodeTreeModel::IndexOf(const Node* node) const {
  if (frozen_ || !node) return {};
  const int row = RowOf(node);
  if (row < 0) return {};
  return createIndex(row, 0, const_cast<Node*>(node));
}

void NodeTreeModel::Freeze() {
  if (frozen_) return;
  beginResetModel();
  frozen_ = true;
  endResetModel();
}

void NodeTreeModel::Thaw() {
  beginResetModel();
  frozen_ = false;
  endResetModel();
}

void NodeTreeModel::CaptionChanged(const Node* node) {
  const QModelIndex i = IndexOf(node);
  if (i.isValid()) emit dataChanged(i, i, {Qt::DisplayRole});
}

}  // namespace velkor::editor
