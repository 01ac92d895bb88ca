#include "GridModel.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace vm::widgets {

Qt::Alignment qtAlignment(int code, const QString& text)
{
    if (code < 0 || code > 8) {
        bool number = false;
        text.trimmed().toDouble(&number);
        return (number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    static constexpr Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[code / 3] | vertical[code % 3];
}

GridModel::GridModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), cols_(std::max(1, columns)), columnAlign_(cols_, 9)
{
    pictures_.emplace_back();
    setGridRows(1);
}

void GridModel::setGridRows(int count)
{
    count = std::max(1, count);
    const int before = gridRows();
    if (count == before)
        return;
    const auto size = static_cast<std::size_t>(count) * cols_;
    if (!batched_) {
        if (count < before)
            beginRemoveRows({}, count - 1, before - 2);
        else
            beginInsertRows({}, before - 1, count - 2);
    }
    cells_.resize(size);
    align_.resize(size, kColumnAlignment);
    picture_.resize(size, 0);
    if (!batched_) {
        if (count < before)
            endRemoveRows();
        else
            endInsertRows();
    }
}

void GridModel::setCell(int r, int c, const QString& text)
{
    cells_[slot(r, c)] = text;
    cellChanged(r, c);
}

void GridModel::setCellAlignment(int r, int c, int code)
{
    align_[slot(r, c)] = static_cast<std::uint8_t>(code);
    cellChanged(r, c);
}

void GridModel::setCellPicture(int r, int c, const QPixmap& picture)
{
    std::uint8_t pictureSlot = 0;
    if (!picture.isNull()) {
        const auto found = std::find_if(pictures_.begin() + 1, pictures_.end(),
                                        [&](const QPixmap& p) { return p.cacheKey() == picture.cacheKey(); });
        if (found != pictures_.end()) {
            pictureSlot = static_cast<std::uint8_t>(found - pictures_.begin());
        } else if (pictures_.size() < 256) {
            pictures_.push_back(picture);
            pictureSlot = static_cast<std::uint8_t>(pictures_.size() - 1);
        } else {
            // A grid shows a handful of icons; past 255 different ones the
            // last slot is reused.
            pictures_.back() = picture;
            pictureSlot = 255;
        }
    }
    picture_[slot(r, c)] = pictureSlot;
    cellChanged(r, c);
}

void GridModel::setColumnAlignment(int c, int code)
{
    columnAlign_[c] = code;
    if (!batched_ && gridRows() > 1)
        emit dataChanged(createIndex(0, c), createIndex(gridRows() - 2, c), {Qt::TextAlignmentRole});
    if (!batched_)
        emit headerDataChanged(Qt::Horizontal, c, c);
}

void GridModel::insertGridRow(int r, const QString& tabText)
{
    if (!batched_)
        beginInsertRows({}, r - 1, r - 1);
    const auto at = static_cast<std::ptrdiff_t>(slot(r, 0));
    cells_.insert(cells_.begin() + at, cols_, QString());
    align_.insert(align_.begin() + at, cols_, kColumnAlignment);
    picture_.insert(picture_.begin() + at, cols_, std::uint8_t{0});
    splitInto(tabText, &cells_[slot(r, 0)]);
    if (!batched_)
        endInsertRows();
}

void GridModel::splitInto(const QString& tabText, QString* row) const
{
    int c = 0;
    qsizetype start = 0;
    while (c < cols_) {
        const qsizetype tab = tabText.indexOf(QLatin1Char('\t'), start);
        row[c] = tabText.mid(start, tab < 0 ? -1 : tab - start);
        ++c;
        if (tab < 0)
            break;
        start = tab + 1;
    }
}

void GridModel::appendGridRows(std::vector<QString>&& cells)
{
    const int added = static_cast<int>(cells.size() / static_cast<std::size_t>(cols_));
    if (added == 0)
        return;
    for (std::size_t at = 0; at + cols_ <= cells.size(); at += cols_) {
        QString* row = &cells[at];
        if (std::none_of(row, row + cols_, [](const QString& cell) { return cell.contains(QLatin1Char('\t')); }))
            continue;
        QStringList pieces(row, row + cols_);
        std::fill(row, row + cols_, QString());
        splitInto(pieces.join(QLatin1Char('\t')), row);
    }
    const int before = gridRows();
    if (!batched_)
        beginInsertRows({}, before - 1, before + added - 2);
    const std::size_t size = cells_.size() + static_cast<std::size_t>(added) * cols_;
    cells_.reserve(size);
    cells_.insert(cells_.end(), std::make_move_iterator(cells.begin()),
                  std::make_move_iterator(cells.begin() + static_cast<std::ptrdiff_t>(added) * cols_));
    align_.resize(size, kColumnAlignment);
    picture_.resize(size, 0);
    if (!batched_)
        endInsertRows();
}

void GridModel::removeGridRow(int r)
{
    if (!batched_)
        beginRemoveRows({}, r - 1, r - 1);
    const auto at = static_cast<std::ptrdiff_t>(slot(r, 0));
    cells_.erase(cells_.begin() + at, cells_.begin() + at + cols_);
    align_.erase(align_.begin() + at, align_.begin() + at + cols_);
    picture_.erase(picture_.begin() + at, picture_.begin() + at + cols_);
    if (!batched_)
        endRemoveRows();
}

void GridModel::beginBatch()
{
    if (batched_)
        return;
    beginResetModel();
    batched_ = true;
}

void GridModel::endBatch()
{
    if (!batched_)
        return;
    batched_ = false;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : gridRows() - 1; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : cols_; }

Qt::Alignment GridModel::alignmentOf(int r, int c) const
{
    const std::uint8_t own = align_[slot(r, c)];
    return qtAlignment(own == kColumnAlignment ? columnAlign_[c] : own, cells_[slot(r, c)]);
}

QVariant GridModel::data(const QModelIndex& idx, int role) const
{
    if (!idx.isValid())
        return {};
    const int r = idx.row() + 1;
    const int c = idx.column();
    switch (role) {
        case Qt::DisplayRole: return cells_[slot(r, c)];
        case Qt::DecorationRole: {
            const std::uint8_t pictureSlot = picture_[slot(r, c)];
            return pictureSlot ? QVariant(pictures_[pictureSlot]) : QVariant();
        }
        case Qt::TextAlignmentRole: return QVariant::fromValue(alignmentOf(r, c));
        default: return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= cols_)
        return {};
    if (role == Qt::DisplayRole)
        return cells_[slot(0, section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(0, section));
    return {};
}

void GridModel::cellChanged(int r, int c)
{
    if (batched_)
        return;
    if (r == 0) {
        emit headerDataChanged(Qt::Horizontal, c, c);
    } else {
        const QModelIndex i = createIndex(r - 1, c);
        emit dataChanged(i, i);
    }
}

}  // namespace vm::widgets
