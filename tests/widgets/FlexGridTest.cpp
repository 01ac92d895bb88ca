// The grid adapter: cells, selection, errors, and the order of the events
// an operator's press raises.
#include "widgets/FlexGrid.h"

#include "support/ErrorNumberOf.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using vm::widgets::FlexGrid;

namespace {

struct Grid : ::testing::Test {
    // The model is checked against Qt's model contract on every change the
    // tests make; a broken contract ends the test program.
    Grid() : grid(5, 4815), contract(grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
        grid.resize(400, 300);
        grid.show();
        for (int i = 1; i <= 3; ++i)
            grid.addItem(QStringLiteral("c0-%1\tc1-%1\tc2-%1").arg(i), i);
    }
    QPoint cellCentre(int row, int col) const { return grid.visualRect(grid.model()->index(row - 1, col)).center(); }
    FlexGrid grid;
    QAbstractItemModelTester contract;
};

}  // namespace

TEST_F(Grid, CellsFromTabSeparatedTextHeadingTextAlignmentAndHiddenColumns)
{
    const auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells << grid.textMatrix(r, c);
        return cells.join(u'|');
    };
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(row(2), QStringLiteral("c0-2|c1-2|c2-2||"));
    grid.addItem(QStringLiteral("\t\tmiddle"), 2);
    EXPECT_EQ(row(2) + u' ' + row(3), QStringLiteral("||middle|| c0-2|c1-2|c2-2||"));

    grid.setRow(0);
    grid.setCol(1);
    grid.setText(QStringLiteral("Date"));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Date"));
    grid.setRow(4);
    EXPECT_EQ(grid.text(), QStringLiteral("c1-3"));

    // Columns of general alignment put numbers right and text left.
    grid.addItem(QStringLiteral("12\tx"), 5);
    const auto align = [&](int c) { return grid.model()->data(grid.model()->index(4, c), Qt::TextAlignmentRole); };
    EXPECT_EQ(QList<int>({align(0).toInt(), align(1).toInt()}),
              QList<int>({Qt::AlignRight | Qt::AlignVCenter, Qt::AlignLeft | Qt::AlignVCenter}));

    grid.setColWidth(4, 0);
    EXPECT_EQ(grid.colWidth(4), 0);
    EXPECT_TRUE(grid.isColumnHidden(4));
}

TEST_F(Grid, SettingRowOrColumnCollapsesTheSelection)
{
    grid.setRow(1);
    grid.setCol(0);
    grid.setColSel(4);
    grid.setRowSel(3);
    EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 15);
    grid.setRow(2);
    EXPECT_EQ(QList<int>({grid.rowSel(), grid.colSel()}), QList<int>({2, 0}));
    EXPECT_TRUE(grid.selectionModel()->selectedIndexes().isEmpty());
}

TEST_F(Grid, RemovingRowsOutOfRangeCellsAndTheLastDataRow)
{
    EXPECT_EQ(vm::test::errorNumberOf([&] { grid.setRow(4); }), 30009);
    EXPECT_EQ(vm::test::errorNumberOf([&] { grid.setCol(5); }), 30010);
    EXPECT_EQ(vm::test::errorNumberOf([&] { (void)grid.textMatrix(-1, 0); }), 30009);
    EXPECT_EQ(vm::test::errorNumberOf([&] { grid.addItem(QString(), 6); }), 30009);
    grid.setRow(3);
    grid.removeItem(3);
    EXPECT_EQ(QList<int>({grid.rows(), grid.row()}), QList<int>({3, 2})) << "the current row stays inside the grid";
    grid.removeItem(1);
    EXPECT_EQ(vm::test::errorNumberOf([&] { grid.removeItem(1); }), 30015);
    grid.setRows(1);
    EXPECT_EQ(QList<int>({grid.rows(), grid.row()}), QList<int>({1, 0}));
    grid.setRows(6);  // grown rows are announced to views as they come
    EXPECT_EQ(grid.model()->rowCount(), 5);
}

TEST_F(Grid, RowsAddedWhileLockedAppearOnUnlock)
{
    grid.lockRepaint();
    for (int i = 4; i <= 1000; ++i)
        grid.addItem(QStringLiteral("x\ty"), i);
    grid.setRow(500);
    grid.unlockRepaint();
    EXPECT_EQ(grid.model()->rowCount(), 1000);
    EXPECT_EQ(grid.textMatrix(1000, 1), QStringLiteral("y"));
    EXPECT_EQ(grid.selectionModel()->currentIndex().row(), 499);
}

TEST_F(Grid, PressSelectsTheCellThenRaisesSelChangeAndMouseDown)
{
    QStringList order;
    int rowAtMouseDown = -1;
    QObject::connect(&grid, &vm::widgets::FlexGrid::selChange, [&] { order << QStringLiteral("SelChange"); });
    QObject::connect(&grid, &vm::widgets::FlexGrid::mouseDown, [&](int button, int shift, float, float) {
        order << QStringLiteral("MouseDown %1 %2").arg(button).arg(shift);
        rowAtMouseDown = grid.row();
    });
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, cellCentre(2, 1));
    EXPECT_EQ(order, (QStringList{QStringLiteral("SelChange"), QStringLiteral("MouseDown 2 0")}));
    EXPECT_EQ(rowAtMouseDown, 2);
    EXPECT_EQ(grid.col(), 1);

    order.clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(2, 1));
    EXPECT_EQ(order, (QStringList{QStringLiteral("MouseDown 1 0")})) << "no change, no SelChange";

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(3, 2));
    EXPECT_EQ(QList<int>({grid.row(), grid.rowSel(), grid.colSel()}), QList<int>({2, 3, 2}));

    // A drag extends the selection, up to the first row too.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cellCentre(3, 1));
    QTest::mouseMove(grid.viewport(), cellCentre(1, 1));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
    EXPECT_EQ(QList<int>({grid.row(), grid.rowSel()}), QList<int>({3, 1}));
}

// In row selection mode a press takes the whole row with column 0 current;
// extending with the heading row current selects the operator's row instead.
TEST_F(Grid, RowSelectionModeTakesTheWholeRowAndNeverExtendsFromTheHeading)
{
    grid.setSelectByRow(true);
    QSignalSpy changes(&grid, &vm::widgets::FlexGrid::selChange);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(3, 2));
    EXPECT_EQ(QList<int>({grid.row(), grid.col(), grid.colSel()}), QList<int>({3, 0, 4}));
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.row(), 2);
    EXPECT_EQ(changes.count(), 2);

    const std::function<void()> extendTo2[] = {
        [&] { QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(2, 1)); },
        [&] { QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier); },  // from no row, Down goes to row 2
    };
    for (const auto& extend : extendTo2) {
        grid.setRow(0);
        extend();
        EXPECT_EQ(grid.row(), 2) << "the heading row never stays current";
        EXPECT_EQ(QList<int>({grid.rowSel(), grid.colSel()}), QList<int>({2, 4}));
    }
    EXPECT_EQ(changes.count(), 4);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(3, 1));
    EXPECT_EQ(QList<int>({grid.row(), grid.rowSel(), grid.colSel()}), QList<int>({2, 3, 4})) << "whole rows still";
}
