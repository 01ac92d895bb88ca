#pragma once
// GridModel: the cells of a FlexGrid. Row 0 is the heading row (shown as the
// view's column headings); data rows 1..n are the model's rows 0..n-1. Cells
// are kept in one flat vector with a byte each for alignment and picture, so
// tens of thousands of rows cost little memory and fill quickly.

#include <QAbstractTableModel>
#include <QPixmap>
#include <QString>

#include <cstdint>
#include <vector>

namespace vm::widgets {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(int columns, QObject* parent = nullptr);

    // Grid rows, heading row included.
    int gridRows() const { return static_cast<int>(cells_.size() / cols_); }
    int gridCols() const { return cols_; }

    void setGridRows(int count);  // count >= 1
    QString cell(int r, int c) const { return cells_[slot(r, c)]; }
    void setCell(int r, int c, const QString& text);
    void setCellAlignment(int r, int c, int code);
    void setCellPicture(int r, int c, const QPixmap& picture);
    void setColumnAlignment(int c, int code);
    // Inserts a grid row at r (1..gridRows()) with the tab-separated text.
    void insertGridRow(int r, const QString& tabText);
    // Appends rows in one insertion; `cells` holds gridCols() cells a row.
    // The rows are those insertGridRow makes of each row's cells joined by
    // tab characters: a cell holding a tab is split as that text would be.
    void appendGridRows(std::vector<QString>&& cells);
    void removeGridRow(int r);

    // While batched, row insertions raise no per-row signals; ending the
    // batch tells the views once.
    void beginBatch();
    void endBatch();

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& idx, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::size_t slot(int r, int c) const { return static_cast<std::size_t>(r) * cols_ + c; }
    Qt::Alignment alignmentOf(int r, int c) const;
    void cellChanged(int r, int c);
    // The cells of a row from its tab-separated text: the pieces from
    // column 0 on, as many as there are columns; the rest stay empty.
    void splitInto(const QString& tabText, QString* row) const;

    static constexpr std::uint8_t kColumnAlignment = 0xFF;  // cell follows its column

    int cols_;
    std::vector<QString> cells_;         // grid rows x columns
    std::vector<std::uint8_t> align_;    // per cell: code or kColumnAlignment
    std::vector<std::uint8_t> picture_;  // per cell: index into pictures_, 0 none
    std::vector<int> columnAlign_;
    std::vector<QPixmap> pictures_;  // slot 0 unused
    bool batched_ = false;
    int batchRowsBefore_ = 0;
};

// Qt alignment of a classic alignment code; `text` decides code 9 (general:
// numbers right, everything else left).
Qt::Alignment qtAlignment(int code, const QString& text);

}  // namespace vm::widgets
