#pragma once
// PPKTreeView / GroupTreeView: a tree view that draws its nodes itself —
// fonts and colours by node kind, white when selected, underlined (and navy
// unless selected) under the mouse, its own lines and expand squares.

#include <QStyledItemDelegate>
#include <QTreeView>

namespace velkor::editor {

class NodeTreeModel;

// The four fonts of the tree drawing, made once from the tree's font.
struct TreeFonts {
  QFont plain;
  QFont bold;
  QFont maroon;  // the colours go with the fonts: maroon and teal copies
  QFont teal;
  QColor maroonColor{128, 0, 0};
  QColor tealColor{0, 128, 128};
};

class NodeDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  NodeDelegate(const TreeFonts& fonts, QObject* parent) : QStyledItemDelegate(parent), fonts_(fonts) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Left margin of the caption inside the item rectangle.
  static constexpr int kTextMargin = 2;
  static constexpr int kRowHeight = 16;

 private:
  const TreeFonts& fonts_;
};

class DBTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit DBTreeView(QWidget* parent = nullptr);

  const TreeFonts& Fonts() const { return fonts_; }
  QColor LineColor() const;

 protected:
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

 private:
  TreeFonts fonts_;
};

}  // namespace velkor::editor
