#include "memory_view.h"

#include <QBrush>

namespace velkor::editor {

MemoryGridModel::MemoryGridModel(QObject* parent)
    : QAbstractTableModel(parent), cells_(static_cast<std::size_t>(kRows * kColumns)) {}

int MemoryGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kRows; }
int MemoryGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QString MemoryGridModel::Cell(int row, int column) const {
  if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return {};
  return cells_[static_cast<std::size_t>(row * kColumns + column)];
}

bool MemoryGridModel::Differs(int row, int column) const {
  if (row == 0) return false;
  if (column >= 1 && column <= 8) return Cell(row, column) != Cell(row, column + 9);
  if (column >= 10 && column <= 17) return Cell(row, column) != Cell(row, column - 9);
  return false;
}

QVariant MemoryGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int r = index.row();
  const int c = index.column();
  switch (role) {
    case Qt::DisplayRole: return Cell(r, c);
    case Qt::ForegroundRole:
      if (r == 0 || c == 0) return QBrush(Qt::black);
      return QBrush(Differs(r, c) ? QColor(Qt::red) : FaintColor());
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    default: return {};
  }
}

// Row 0 and column 0 are the grid's fixed cells: they cannot be selected.
Qt::ItemFlags MemoryGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid() || index.row() == 0 || index.column() == 0) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void MemoryGridModel::Fill(const ImageArray& read, const ImageArray& store) {
  auto hex2 = [](unsigned value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); };
  auto set = [this](int r, int c, QString text) { cells_[static_cast<std::size_t>(r * kColumns + c)] = std::move(text); };
  for (int j = 0; j < 8; ++j) {
    set(0, j + 1, QStringLiteral("  ") + hex2(static_cast<unsigned>(j)));
    set(0, j + 10, QStringLiteral("  ") + hex2(static_cast<unsigned>(j)));
  }
  for (int r = 1; r < kRows; ++r) {
    const int base = 8 * (r - 1);
    set(r, 0, QStringLiteral("%1").arg(base, 4, 16, QLatin1Char('0')).toUpper());
    for (int j = 0; j < 8; ++j) {
      const auto at = static_cast<std::size_t>(base + j);
      set(r, j + 1, QStringLiteral("  ") + hex2(read[at]));
      set(r, j + 10, QStringLiteral("  ") + hex2(store[at]));
    }
  }
  emit dataChanged(index(0, 0), index(kRows - 1, kColumns - 1));
}

int MemoryGridModel::OffsetOf(int row, int column) {
  if (column == 9) return -1;
  if (column >= 10 && column <= 17) return (column - 10) + 8 * (row - 1);
  if (column >= 1 && column <= 8) return (column - 1) + 8 * (row - 1);
  return 0;
}

QString GridPositionText(int offset) {
  return QStringLiteral("DBReadArray: -  %1 h  [%2]").arg(QString::number(offset, 16).toUpper()).arg(offset);
}

}  // namespace velkor::editor
