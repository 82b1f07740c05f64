#pragma once
// An item model over one of the core's trees. The core owns the nodes; the
// model only shows them. Commands that rebuild a tree freeze the model first
// (it then shows nothing, so no view can reach a freed node while the
// conversions let events through) and thaw it afterwards.

#include <QAbstractItemModel>

#include "model/database.h"

namespace velkor::editor {

// How a node is drawn.
enum class NodeKind { Plain, PanelRoot, Rs485, Adapter, Group, Other, RoomsRoot };

class NodeTreeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  enum Roles { KindRole = Qt::UserRole + 1 };

  NodeTreeModel(Database& db, bool hardware, QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  bool Hardware() const { return hardware_; }
  Tree& CoreTree() const { return hardware_ ? db_.Hardware : db_.Rooms; }
  Node* NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOf(const Node* node) const;
  NodeKind KindOf(const Node* node) const;

  void Freeze();
  void Thaw();
  bool Frozen() const { return frozen_; }
  // A node's caption was changed by the core.
  void CaptionChanged(const Node* node);

 private:
  const std::vector<std::unique_ptr<Node>>& Siblings(const Node* node) const;
  int RowOf(const Node* node) const;

  Database& db_;
  bool hardware_;
  bool frozen_ = false;
};

}  // namespace velkor::editor
