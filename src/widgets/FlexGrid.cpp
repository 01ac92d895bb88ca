#include "FlexGrid.h"

#include "GridModel.h"
#include "Twips.h"

#include "platform/RuntimeError.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace vm::widgets {

namespace {
constexpr int kRowHeightTwips = 240;
constexpr int kDefaultColWidthTwips = 960;

[[noreturn]] void invalidRow() { throw platform::RuntimeError(30009, QStringLiteral("Invalid Row value")); }
[[noreturn]] void invalidCol() { throw platform::RuntimeError(30010, QStringLiteral("Invalid Col value")); }

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 1;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}
}  // namespace

FlexGrid::FlexGrid(int columns, int widthTwips, QWidget* parent)
    : QTableView(parent),
      model_(new GridModel(columns, this)),
      widthTwips_(widthTwips),
      widthsTwips_(static_cast<std::size_t>(model_->gridCols()), kDefaultColWidthTwips)
{
    setModel(model_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowHeightTwips));
    QHeaderView* heading = horizontalHeader();
    heading->setSectionsClickable(false);
    heading->setHighlightSections(false);
    heading->setStretchLastSection(false);
    heading->setMinimumSectionSize(0);
    heading->setSectionResizeMode(QHeaderView::Interactive);
    heading->setFixedHeight(twipsToPixels(kRowHeightTwips) + 2);
    for (int c = 0; c < model_->gridCols(); ++c)
        setColumnWidth(c, twipsToPixels(kDefaultColWidthTwips));
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::setSelectByRow(bool on) { selectByRow_ = on; }

void FlexGrid::setSearchColumn(int c) { searchColumn_ = c; }

void FlexGrid::keyboardSearch(const QString& search)
{
    if (searchColumn_ < 0 || search.isEmpty())
        return;
    // Keys in quick succession add up; after a pause the search starts
    // afresh, with the pause every list view of the desktop waits for. The
    // view's own search would move its current index, which is not the
    // grid's current cell, so the grid keeps the typed text itself.
    if (!lastTyped_.isValid() || lastTyped_.elapsed() > QApplication::keyboardInputInterval())
        typed_.clear();
    lastTyped_.start();
    typed_ += search;
    const QModelIndexList found = model_->match(model_->index(0, searchColumn_), Qt::DisplayRole, typed_, 1,
                                                Qt::MatchStartsWith);
    if (!found.isEmpty())
        operatorSelect(found.first().row() + 1, searchColumn_, false);
}

int FlexGrid::rows() const { return model_->gridRows(); }

void FlexGrid::setRows(int count)
{
    if (count < 1)
        invalidRow();
    model_->setGridRows(count);
    row_ = std::min(row_, count - 1);
    rowSel_ = std::min(rowSel_, count - 1);
    showSelection();
}

int FlexGrid::cols() const { return model_->gridCols(); }

int FlexGrid::row() const { return row_; }

void FlexGrid::setRow(int r)
{
    checkRow(r);
    row_ = rowSel_ = r;
    colSel_ = col_;
    showSelection();
}

int FlexGrid::col() const { return col_; }

void FlexGrid::setCol(int c)
{
    checkCol(c);
    col_ = colSel_ = c;
    rowSel_ = row_;
    showSelection();
}

int FlexGrid::rowSel() const { return rowSel_; }

void FlexGrid::setRowSel(int r)
{
    checkRow(r);
    rowSel_ = r;
    showSelection();
}

int FlexGrid::colSel() const { return colSel_; }

void FlexGrid::setColSel(int c)
{
    checkCol(c);
    colSel_ = c;
    showSelection();
}

QString FlexGrid::text() const { return model_->cell(row_, col_); }

void FlexGrid::setText(const QString& text) { model_->setCell(row_, col_, text); }

QString FlexGrid::textMatrix(int r, int c) const
{
    checkRow(r);
    checkCol(c);
    return model_->cell(r, c);
}

int FlexGrid::colWidth(int c) const
{
    checkCol(c);
    return widthsTwips_[static_cast<std::size_t>(c)];
}

void FlexGrid::setColWidth(int c, int twips)
{
    checkCol(c);
    // The twips are kept exactly; the pixel width may round.
    widthsTwips_[static_cast<std::size_t>(c)] = std::max(0, twips);
    setColumnHidden(c, twips <= 0);
    if (twips > 0)
        setColumnWidth(c, pixelWidth(c));
}

void FlexGrid::setFillColumn(int c)
{
    checkCol(c);
    fillColumn_ = c;
}

int FlexGrid::pixelWidth(int c) const
{
    const int designed = twipsToPixels(widthsTwips_[static_cast<std::size_t>(c)]);
    return c == fillColumn_ ? designed + std::max(0, width() - twipsToPixels(widthTwips_)) : designed;
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (fillColumn_ >= 0 && widthsTwips_[static_cast<std::size_t>(fillColumn_)] > 0)
        setColumnWidth(fillColumn_, pixelWidth(fillColumn_));
}

void FlexGrid::setColAlignment(int c, int code)
{
    checkCol(c);
    model_->setColumnAlignment(c, code);
}

void FlexGrid::setCellAlignment(int code) { model_->setCellAlignment(row_, col_, code); }

void FlexGrid::setCellPicture(const QPixmap& picture) { model_->setCellPicture(row_, col_, picture); }

void FlexGrid::addItem(const QString& text, int position)
{
    if (position < 1 || position > rows())
        invalidRow();
    model_->insertGridRow(position, text);
}

void FlexGrid::appendRows(std::vector<QString>&& cells) { model_->appendGridRows(std::move(cells)); }

void FlexGrid::setCellAlignmentAt(int r, int c, int code)
{
    checkRow(r);
    checkCol(c);
    model_->setCellAlignment(r, c, code);
}

void FlexGrid::setCellPictureAt(int r, int c, const QPixmap& picture)
{
    checkRow(r);
    checkCol(c);
    model_->setCellPicture(r, c, picture);
}

void FlexGrid::removeItem(int position)
{
    if (position < 1 || position >= rows())
        invalidRow();
    if (rows() <= 2)
        throw platform::RuntimeError(30015, QStringLiteral("Cannot remove last non-fixed row"));
    model_->removeGridRow(position);
    row_ = std::min(row_, rows() - 1);
    rowSel_ = std::min(rowSel_, rows() - 1);
    showSelection();
}

int FlexGrid::widthTwips() const { return widthTwips_; }

void FlexGrid::lockRepaint()
{
    if (lockDepth_++ == 0) {
        setUpdatesEnabled(false);
        model_->beginBatch();
    }
}

void FlexGrid::unlockRepaint()
{
    if (lockDepth_ == 0)
        return;
    if (--lockDepth_ == 0) {
        model_->endBatch();
        setUpdatesEnabled(true);
        showSelection();
    }
}

bool FlexGrid::repaintLocked() const { return lockDepth_ > 0; }

void FlexGrid::checkRow(int r) const
{
    if (r < 0 || r >= rows())
        invalidRow();
}

void FlexGrid::checkCol(int c) const
{
    if (c < 0 || c >= cols())
        invalidCol();
}

void FlexGrid::showSelection()
{
    if (lockDepth_ > 0)
        return;
    QItemSelectionModel* selection = selectionModel();
    const int top = std::max(1, std::min(row_, rowSel_));
    const int bottom = std::max(row_, rowSel_);
    const int left = std::min(col_, colSel_);
    const int right = std::max(col_, colSel_);
    QItemSelection range;
    const bool singleCell = row_ == rowSel_ && col_ == colSel_;
    if (!singleCell && bottom >= 1)
        range.select(model_->index(top - 1, left), model_->index(bottom - 1, right));
    selection->select(range, QItemSelectionModel::ClearAndSelect);
    if (row_ >= 1)
        selection->setCurrentIndex(model_->index(row_ - 1, col_), QItemSelectionModel::NoUpdate);
    else
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void FlexGrid::operatorSelect(int r, int c, bool extend)
{
    // A selection grows from the current row; with the heading row current
    // nothing is selected yet, so the operator's row becomes the current one
    // (the heading row is never a data row to act on).
    extend = extend && row_ >= 1;
    const int before[] = {row_, col_, rowSel_, colSel_};
    if (extend) {
        rowSel_ = r;
        colSel_ = selectByRow_ ? cols() - 1 : c;
    } else {
        row_ = rowSel_ = r;
        col_ = selectByRow_ ? 0 : c;
        colSel_ = selectByRow_ ? cols() - 1 : c;
    }
    showSelection();
    if (r >= 1)
        scrollTo(model_->index(r - 1, std::clamp(c, 0, cols() - 1)));
    const int after[] = {row_, col_, rowSel_, colSel_};
    if (!std::equal(std::begin(before), std::end(before), std::begin(after)))
        emit selChange();
}

int FlexGrid::cellRowAt(const QPoint& pos) const
{
    const QModelIndex at = indexAt(pos);
    return at.isValid() ? at.row() + 1 : -1;
}

int FlexGrid::cellColAt(const QPoint& pos) const
{
    const QModelIndex at = indexAt(pos);
    return at.isValid() ? at.column() : -1;
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int r = cellRowAt(pos);
    const int c = cellColAt(pos);
    if (r >= 1) {
        const bool extend = event->modifiers().testFlag(Qt::ShiftModifier) && event->button() == Qt::LeftButton;
        operatorSelect(r, c, extend);
        dragging_ = event->button() == Qt::LeftButton;
    }
    const QPointF inGrid = event->position() + viewport()->pos();
    emit mouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
                   static_cast<float>(pixelsToTwips(inGrid.x())), static_cast<float>(pixelsToTwips(inGrid.y())));
    event->accept();
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QPoint pos = event->position().toPoint();
    const int r = cellRowAt(pos);
    const int c = cellColAt(pos);
    if (r >= 1 && (r != rowSel_ || (!selectByRow_ && c != colSel_)))
        operatorSelect(r, c, true);
    event->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    event->accept();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (cellRowAt(event->position().toPoint()) >= 1)
        emit dblClick();
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    if (rows() < 2) {
        event->ignore();
        return;
    }
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)));
    int r = rowSel_ >= 1 ? rowSel_ : 1;
    int c = colSel_;
    switch (event->key()) {
        case Qt::Key_Up: r = std::max(1, r - 1); break;
        case Qt::Key_Down: r = std::min(rows() - 1, r + 1); break;
        case Qt::Key_PageUp: r = std::max(1, r - page); break;
        case Qt::Key_PageDown: r = std::min(rows() - 1, r + page); break;
        case Qt::Key_Home: r = 1; break;
        case Qt::Key_End: r = rows() - 1; break;
        case Qt::Key_Left: c = std::max(0, c - 1); break;
        case Qt::Key_Right: c = std::min(cols() - 1, c + 1); break;
        default:
            if (searchColumn_ >= 0 && !event->text().isEmpty() && event->text().front().isPrint() &&
                !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
                keyboardSearch(event->text());
                event->accept();
            } else {
                event->ignore();
            }
            return;
    }
    operatorSelect(r, c, event->modifiers().testFlag(Qt::ShiftModifier));
    event->accept();
}

}  // namespace vm::widgets
