#pragma once
// FlexGrid: the grid the window's lists are built on. It offers the classic
// flexible-grid operations the window's procedures use (row 0 is the fixed
// heading row, no fixed column, widths in twips, a current cell and a
// selection end, rows added from tab-separated text) on a QTableView with a
// compact model of our own.
//
// Moves of the current cell made by the program raise no event; a press,
// drag or key of the operator moves it, then raises selChange (when the
// selection changed) and, for a press, mouseDown.

#include <QElapsedTimer>
#include <QTableView>

#include <cstdint>
#include <vector>

namespace vm::widgets {

class GridModel;

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    // Alignment codes of the classic grid (left-centre is 1, general 9).
    enum Alignment : int {
        LeftTop = 0,
        LeftCenter = 1,
        LeftBottom = 2,
        CenterTop = 3,
        CenterCenter = 4,
        CenterBottom = 5,
        RightTop = 6,
        RightCenter = 7,
        RightBottom = 8,
        General = 9,
    };

    // `columns` columns, `widthTwips` the grid's design width.
    FlexGrid(int columns, int widthTwips, QWidget* parent = nullptr);
    ~FlexGrid() override;

    // When on, an operator's press selects the whole row with column 0 as
    // the current column (the mailbox list); off, it selects the cell.
    void setSelectByRow(bool on);
    // Typed characters select the first data row whose cell in column `c`
    // starts with them, as an operator's press would; -1 (the default) off.
    void setSearchColumn(int c);
    void keyboardSearch(const QString& search) override;
    // Column `c` takes whatever width the grid has beyond its design width;
    // its width in twips stays what it was set to.
    void setFillColumn(int c);

    int rows() const;         // including the heading row
    void setRows(int count);  // 1 leaves the heading row only
    int cols() const;

    int row() const;  // current cell
    void setRow(int r);
    int col() const;
    void setCol(int c);
    int rowSel() const;  // far corner of the selection
    void setRowSel(int r);
    int colSel() const;
    void setColSel(int c);

    QString text() const;  // text of the current cell
    void setText(const QString& text);
    QString textMatrix(int r, int c) const;

    int colWidth(int c) const;           // twips
    void setColWidth(int c, int twips);  // 0 hides the column
    void setColAlignment(int c, int code);
    void setCellAlignment(int code);              // current cell
    void setCellPicture(const QPixmap& picture);  // current cell; a null picture removes it

    // Inserts a row at `position` (1..rows()); `text` holds the cells from
    // column 0 on, separated by tab characters.
    void addItem(const QString& text, int position);
    // Appends rows at the end, in one step: `cells` holds cols() cells a row,
    // from column 0 on. The rows are those addItem makes of each row's cells
    // joined by tab characters.
    void appendRows(std::vector<QString>&& cells);
    // Alignment and picture of any cell, the current cell left where it is.
    void setCellAlignmentAt(int r, int c, int code);
    void setCellPictureAt(int r, int c, const QPixmap& picture);
    // Removes data row `position`; the last data row cannot be removed.
    void removeItem(int position);

    int widthTwips() const;

    // Locks the grid against repainting (LockWindowUpdate on its window);
    // rows added while locked are shown at once when it is unlocked.
    void lockRepaint();
    void unlockRepaint();
    bool repaintLocked() const;

signals:
    void selChange();
    void dblClick();
    // Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 control, 4 alt;
    // x and y in twips from the grid's top left corner.
    void mouseDown(int button, int shift, float x, float y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int pixelWidth(int c) const;
    void checkRow(int r) const;
    void checkCol(int c) const;
    void showSelection();
    // Moves the selection as an operator's action does and raises selChange
    // when it changed.
    void operatorSelect(int r, int c, bool extend);
    int cellRowAt(const QPoint& pos) const;
    int cellColAt(const QPoint& pos) const;

    GridModel* model_;
    int widthTwips_;
    std::vector<int> widthsTwips_;
    int row_ = 0;
    int col_ = 0;
    int rowSel_ = 0;
    int colSel_ = 0;
    bool selectByRow_ = false;
    int searchColumn_ = -1;
    int fillColumn_ = -1;
    QString typed_;  // characters typed in quick succession
    QElapsedTimer lastTyped_;
    bool dragging_ = false;
    int lockDepth_ = 0;
};

}  // namespace vm::widgets
