#pragma once
// The memory view's grid: both images side by side as hexadecimal bytes,
// 18 columns by 1025 rows, as they were when "Show" was pressed.

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

#include "image/image_map.h"

namespace velkor::editor {

class MemoryGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kRows = 1025;
  static constexpr int kColumns = 18;

  explicit MemoryGridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Fills the grid from the two images.
  void Fill(const ImageArray& read, const ImageArray& store);
  QString Cell(int row, int column) const;
  // Whether the cell is drawn red: its byte differs from the other image's.
  bool Differs(int row, int column) const;

  // Offset of the byte of a cell: -1 for the separator column.
  static int OffsetOf(int row, int column);
  // The colour of equal bytes (the system menu colour: faint on white).
  static QColor FaintColor() { return {160, 160, 160}; }

 private:
  std::vector<QString> cells_;
};

// "DBReadArray: -  1024 h  [4132]".
QString GridPositionText(int offset);

}  // namespace velkor::editor
