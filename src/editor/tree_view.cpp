#include "tree_view.h"

#include <QPainter>

#include "tree_model.h"

namespace velkor::editor {

namespace {

const QColor kNavy(0, 0, 128);
const QColor kGrey(128, 128, 128);

// Lines leave their end point unpainted, as the platform's line drawing did.
void DrawHLine(QPainter& p, int x1, int x2, int y) {
  if (x2 == x1) return;
  p.drawLine(x1, y, x2 > x1 ? x2 - 1 : x2 + 1, y);
}
void DrawVLine(QPainter& p, int x, int y1, int y2) {
  if (y2 == y1) return;
  p.drawLine(x, y1, x, y2 > y1 ? y2 - 1 : y2 + 1);
}

int Depth(QModelIndex index) {
  int depth = 0;
  while (index.parent().isValid()) {
    index = index.parent();
    ++depth;
  }
  return depth;
}

bool HasNextSibling(const QModelIndex& index) {
  return index.isValid() && index.row() + 1 < index.model()->rowCount(index.parent());
}

}  // namespace

// The button-face colour of the style; the flat light styles of today make
// it nearly white, so it is darkened until the lines show on white.
QColor DBTreeView::LineColor() const {
  QColor face = palette().color(QPalette::Button);
  while (face.lightness() > 215) face = face.darker(106);
  return face;
}

void NodeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem o(option);
  initStyleOption(&o, index);
  const bool selected = (o.state & QStyle::State_Selected) != 0;
  const bool hot = (o.state & QStyle::State_MouseOver) != 0;

  QFont font = o.font;
  QColor color = o.palette.color(QPalette::Text);
  switch (static_cast<NodeKind>(index.data(NodeTreeModel::KindRole).toInt())) {
    case NodeKind::PanelRoot:
    case NodeKind::RoomsRoot: font = fonts_.plain; color = Qt::black; break;
    case NodeKind::Rs485: font = fonts_.bold; color = Qt::black; break;
    case NodeKind::Adapter:
    case NodeKind::Group: font = fonts_.maroon; color = fonts_.maroonColor; break;
    case NodeKind::Other: font = fonts_.teal; color = fonts_.tealColor; break;
    case NodeKind::Plain: break;
  }
  if (selected) color = Qt::white;
  if (hot) {
    font.setUnderline(true);
    if (!selected) color = kNavy;
  }

  painter->save();
  const QPalette::ColorGroup group = (o.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
  if (selected) painter->fillRect(o.rect, o.palette.brush(group, QPalette::Highlight));
  painter->setFont(font);
  painter->setPen(color);
  const QRect textRect = o.rect.adjusted(kTextMargin, 0, 0, 0);
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, o.text);
  if (o.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.rect = QRect(textRect.topLeft(), QSize(QFontMetrics(font).horizontalAdvance(o.text) + 2, o.rect.height()));
    focus.state = o.state;
    focus.backgroundColor = o.palette.color(QPalette::Highlight);
    if (const QWidget* w = o.widget) w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
  }
  painter->restore();
}

QSize NodeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(kRowHeight);
  return size;
}

DBTreeView::DBTreeView(QWidget* parent) : QTreeView(parent) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(12);
  setFont(font);
  fonts_.plain = font;
  fonts_.bold = font;
  fonts_.bold.setBold(true);
  fonts_.maroon = font;
  fonts_.teal = font;

  setHeaderHidden(true);
  setIndentation(17);
  setUniformRowHeights(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);
  setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_Hover);
  setItemDelegate(new NodeDelegate(fonts_, this));
}

void DBTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const {
  const int I = indentation();
  const int L = rect.right() + 1 + NodeDelegate::kTextMargin;
  const int x0 = L - 10;
  const int T = rect.top();
  const int B = rect.top() + NodeDelegate::kRowHeight;
  const int yc = T + 8;
  const bool children = model()->hasChildren(index);
  const int depth = Depth(index);

  painter->save();
  // The selection is shown on the caption only; the lines and the square
  // stand on the window colour.
  painter->fillRect(rect, palette().brush(QPalette::Base));
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(LineColor());
  DrawHLine(*painter, children ? x0 + 5 : x0, x0 + I - 8, yc);
  if (depth > 0) DrawVLine(*painter, x0, yc, yc - 10);
  const QModelIndex below = indexBelow(index);
  if ((below.isValid() && Depth(below) == depth) || HasNextSibling(index)) DrawVLine(*painter, x0, yc, B + 2);

  if (children) {
    painter->setPen(kGrey);
    painter->drawRect(x0 - 4, yc - 4, 8, 8);
    painter->setPen(palette().color(QPalette::Base));
    DrawVLine(*painter, x0, yc - 3, yc + 4);
    painter->setPen(Qt::black);
    DrawHLine(*painter, x0 - 2, x0 + 3, yc);
    if (!isExpanded(index)) DrawVLine(*painter, x0, yc - 2, yc + 3);
  }

  painter->setPen(LineColor());
  int x = x0;
  for (QModelIndex a = index.parent(); a.isValid(); a = a.parent()) {
    x -= I;
    if (HasNextSibling(a)) DrawVLine(*painter, x, yc - 8, B);
  }
  painter->restore();
}

}  // namespace velkor::editor
