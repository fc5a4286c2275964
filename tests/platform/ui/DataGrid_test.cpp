// The data grid over a real SQLite dataset: cells, titles, cursor sync, editing, keys.
#include "platform/ui/DataGrid.h"

#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/ScriptedDialogs.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

using lb::db::Connection;
using lb::db::DataSetState;
using lb::db::Query;
using lb::ui::DataGrid;
using lb::ui::GridColumn;

namespace {

enum Column { Mark, Code, Name, Price, Deduction, Stock };

class DataGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString file = dir.filePath("grid.db");
        Connection::createFile(file);
        connection.setDatabaseFile(file);
        connection.open();
        connection.execute("CREATE TABLE product (sphh VARCHAR(20) DEFAULT '', spmc VARCHAR(40) DEFAULT '', "
                           "dj_n DOUBLE DEFAULT 0, deduck DOUBLE DEFAULT 0, sl DOUBLE DEFAULT 0, "
                           "szbj BOOLEAN NOT NULL DEFAULT 0)");
        connection.execute("INSERT INTO product (sphh, spmc, dj_n, deduck, sl, szbj) VALUES "
                           "('001', '铅笔', 2.675, 0, 10, 0), ('002', '橡皮', 1234.5, 1.5, 3, 1), "
                           "('003', '尺子', 0.125, 0, 0, 0)");
        products.reopen("SELECT * FROM product ORDER BY sphh");
        products.setDisplayFormat("dj_n", "0,.00");
        products.setDisplayFormat("deduck", "#.##");

        grid.setDataSet(&products);
        grid.setColumns({{"szbj", "选择"}, {"sphh", "货品代码", 80}, {"spmc"}, {"dj_n", "批发价"},
                         {"deduck", "扣除"}, {"sl", "库存数量", 0, true, true, QColor(Qt::red)}});
        grid.resize(600, 300);
        grid.show();
        QApplication::processEvents();
    }

    QString cell(int row, int column) const
    {
        return grid.model()->index(row, column).data(Qt::DisplayRole).toString();
    }

    // The value stored in the file, read past the dataset.
    QVariant stored(const QString& code, const QString& column)
    {
        Query check(connection);
        check.reopen("SELECT " + column + " FROM product WHERE sphh = '" + code + "'");
        return check.field(0).value();
    }

    void press(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&grid, &event);
    }

    void wheel(int delta)
    {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    }

    QTemporaryDir dir;
    Connection connection;
    Query products{connection};
    DataGrid grid;
};

TEST_F(DataGridTest, showsFormattedCellsTitlesAndCheckBoxes)
{
    EXPECT_EQ(3, grid.model()->rowCount());
    EXPECT_EQ(QString("2.68"), cell(0, Price));
    EXPECT_EQ(QString("1,234.50"), cell(1, Price));
    EXPECT_EQ(QString("0.13"), cell(2, Price));
    EXPECT_EQ(QString(""), cell(0, Deduction));   // "#.##" shows zero as nothing
    EXPECT_EQ(QString("1.5"), cell(1, Deduction));
    EXPECT_EQ(QString("橡皮"), cell(1, Name));
    EXPECT_EQ(QString(""), cell(1, Mark));          // a Boolean shows a check box, no text
    EXPECT_EQ(Qt::Checked, grid.model()->index(1, Mark).data(Qt::CheckStateRole).toInt());
    EXPECT_EQ(Qt::Unchecked, grid.model()->index(0, Mark).data(Qt::CheckStateRole).toInt());
    // An edit starts from the value, not from the display text.
    EXPECT_EQ(QString("1234.5"), grid.model()->index(1, Price).data(Qt::EditRole).toString());

    QStringList titles;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        titles << grid.model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(QStringList({"选择", "货品代码", "spmc", "批发价", "扣除", "库存数量"}), titles);
    EXPECT_EQ(80, grid.columnWidth(Code));
    EXPECT_EQ(QColor(Qt::red), grid.model()->index(0, Stock).data(Qt::ForegroundRole).value<QColor>());
}

TEST_F(DataGridTest, aHiddenColumnKeepsItsIndex)
{
    grid.setColumnVisible(Price, false);
    EXPECT_TRUE(grid.isColumnHidden(Price));
    EXPECT_EQ(6, grid.model()->columnCount());
    grid.setSelectedIndex(Stock);
    EXPECT_EQ(int(Stock), grid.selectedIndex());
    EXPECT_EQ(QString("sl"), grid.selectedField()->fieldName());
    grid.setColumnVisible(Price, true);
    EXPECT_FALSE(grid.isColumnHidden(Price));
    grid.setColumnTitle(Name, "货品名称");
    EXPECT_EQ(QString("货品名称"), grid.model()->headerData(Name, Qt::Horizontal, Qt::DisplayRole).toString());
}

TEST_F(DataGridTest, gridAndDataSetFollowEachOther)
{
    grid.setCurrentIndex(grid.model()->index(2, Name));
    EXPECT_EQ(3, products.recNo());
    products.first();
    EXPECT_EQ(0, grid.currentIndex().row());
    EXPECT_EQ(int(Name), grid.selectedIndex()); // the column stays
    products.locate("sphh", "002");
    EXPECT_EQ(1, grid.currentIndex().row());
    // Reopening (a new search) puts the grid on the dataset's row again.
    products.reopen("SELECT * FROM product WHERE sphh <> '001' ORDER BY sphh");
    EXPECT_EQ(2, grid.model()->rowCount());
    EXPECT_EQ(products.recNo() - 1, grid.currentIndex().row());
    EXPECT_EQ(QString("橡皮"), cell(0, Name));
}

TEST_F(DataGridTest, editsGoThroughSetTextAndArePosted)
{
    grid.model()->setData(grid.model()->index(1, Price), "3.5", Qt::EditRole);
    EXPECT_EQ(DataSetState::Browse, products.state());
    EXPECT_EQ(2, products.recNo());
    EXPECT_EQ(3.5, stored("002", "dj_n").toDouble());
    EXPECT_EQ(QString("3.50"), cell(1, Price));

    // An emptied price cell stores 0 through the field's text handler.
    products.fieldByName("dj_n").setOnSetText([](lb::db::Field& field, const QString& text) {
        field.setAsFloat(text.trimmed().isEmpty() ? 0 : lb::fmt::strToFloat(text));
    });
    grid.model()->setData(grid.model()->index(0, Price), "", Qt::EditRole);
    EXPECT_EQ(0.0, stored("001", "dj_n").toDouble());
}

TEST_F(DataGridTest, aRefusedValueIsReportedAndChangesNothing)
{
    lb::ui::ScriptedDialogs dialogs;
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(2, Price), "abc", Qt::EditRole));
    EXPECT_EQ(QStringList({"'abc' is not a valid floating point value"}), dialogs.texts());
    EXPECT_EQ(DataSetState::Browse, products.state());
    EXPECT_EQ(0.125, stored("003", "dj_n").toDouble());
    EXPECT_EQ(QString("0.13"), cell(2, Price));

    // The error hook gets the grid as sender.
    QObject* sender = nullptr;
    lb::ui::LbApplication::setErrorHandler([&](QObject* s, const std::exception&) { sender = s; });
    grid.model()->setData(grid.model()->index(2, Price), "1..2", Qt::EditRole);
    lb::ui::LbApplication::setErrorHandler(nullptr);
    EXPECT_EQ(&grid, sender);
}

TEST_F(DataGridTest, checkBoxesToggleBooleanFieldsUnlessReadOnly)
{
    EXPECT_TRUE(grid.model()->flags(grid.model()->index(0, Mark)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, Stock)) & Qt::ItemIsEditable); // read-only column
    EXPECT_TRUE(grid.model()->setData(grid.model()->index(0, Mark), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(stored("001", "szbj").toBool());

    grid.setReadOnly(true);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, Mark)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(0, Mark), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_TRUE(stored("001", "szbj").toBool());
}

TEST_F(DataGridTest, spaceOnACheckBoxCellTogglesTheStoredValue)
{
    // The item delegate toggles the box as a click does: through the model with a CheckState.
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(1, Mark));
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&grid, &space);
    EXPECT_FALSE(stored("002", "szbj").toBool());
    EXPECT_EQ(Qt::Unchecked, grid.model()->index(1, Mark).data(Qt::CheckStateRole).toInt());
    EXPECT_EQ(DataSetState::Browse, products.state());
    QApplication::sendEvent(&grid, &space);
    EXPECT_TRUE(stored("002", "szbj").toBool());
}

TEST_F(DataGridTest, rowColourWinsOverColumnColour)
{
    grid.setRowColor([this](int row) {
        return products.rowValue(row, products.fieldByName("szbj").column()).toBool() ? QColor(Qt::blue) : QColor();
    });
    EXPECT_EQ(QColor(Qt::blue), grid.model()->index(1, Name).data(Qt::ForegroundRole).value<QColor>());
    EXPECT_EQ(QColor(Qt::blue), grid.model()->index(1, Stock).data(Qt::ForegroundRole).value<QColor>());
    EXPECT_FALSE(grid.model()->index(0, Name).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(QColor(Qt::red), grid.model()->index(0, Stock).data(Qt::ForegroundRole).value<QColor>());
}

TEST_F(DataGridTest, foreignValuesAndFailingRowColoursNeverStopThePainting)
{
    // Written by another program: words where numbers and Yes/No values belong.
    connection.execute("INSERT INTO product (sphh, spmc, dj_n, deduck, sl, szbj) VALUES "
                       "('004', '胶水', 'cheap', ' ', 'lots', 'F'), ('005', '订书机', 3, 0, 1e300, 'yes')");
    products.reopen("SELECT * FROM product ORDER BY sphh");
    ASSERT_EQ(5, grid.model()->rowCount());
    EXPECT_EQ(QString("0.00"), cell(3, Price));
    EXPECT_EQ(QString(""), cell(3, Deduction));
    EXPECT_EQ(QString("0"), cell(3, Stock));
    EXPECT_EQ(QString("0"), grid.model()->index(3, Price).data(Qt::EditRole).toString());
    EXPECT_EQ(Qt::Unchecked, grid.model()->index(3, Mark).data(Qt::CheckStateRole).toInt());
    EXPECT_EQ(Qt::Checked, grid.model()->index(4, Mark).data(Qt::CheckStateRole).toInt());

    grid.setRowColor([](int row) -> QColor {
        if (row == 3)
            throw lb::DatabaseError("Field 'gone' not found");
        return QColor();
    });
    EXPECT_FALSE(grid.model()->index(3, Name).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(QString("胶水"), cell(3, Name));
    EXPECT_FALSE(grid.grab().isNull());
}

TEST_F(DataGridTest, theGridNeverAddsRowsByItself)
{
    grid.setFocus();
    products.last();
    press(Qt::Key_Down);
    press(Qt::Key_Insert);
    EXPECT_EQ(3, products.recordCount());
    EXPECT_EQ(3, products.recNo());
    EXPECT_EQ(DataSetState::Browse, products.state());
    EXPECT_EQ(3, grid.model()->rowCount());

    products.first();
    press(Qt::Key_Down);
    EXPECT_EQ(2, products.recNo());
}

TEST_F(DataGridTest, enterAndKeyHooks)
{
    int enters = 0;
    QObject::connect(&grid, &DataGrid::enterPressed, [&] { ++enters; });
    press(Qt::Key_Return);
    EXPECT_EQ(1, enters);
    QList<int> hooked;
    grid.setKeyHook([&](QKeyEvent* event) {
        hooked << event->key();
        return event->key() == Qt::Key_Space;
    });
    press(Qt::Key_Space);
    press(Qt::Key_Return);
    EXPECT_EQ(QList<int>({Qt::Key_Space, Qt::Key_Return}), hooked);
    EXPECT_EQ(2, enters);
}

TEST_F(DataGridTest, enterEndingACellEditCommitsItAndIsReported)
{
    int enters = 0;
    QObject::connect(&grid, &DataGrid::enterPressed, [&] { ++enters; });
    const QModelIndex price = grid.model()->index(0, Price);
    grid.setCurrentIndex(price);
    grid.edit(price);
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(QString("2.675"), editor->text());
    editor->setText("8");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(editor, &enter);
    QApplication::processEvents(); // the delegate commits on a queued call
    EXPECT_EQ(1, enters);
    EXPECT_EQ(8.0, stored("001", "dj_n").toDouble());
}

// A text cell takes no more than its column holds, so what is typed is what is stored.
TEST_F(DataGridTest, aTextCellEditorStopsAtItsColumnsLength)
{
    const QModelIndex name = grid.model()->index(1, Name);
    grid.setCurrentIndex(name);
    grid.edit(name);
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(40, editor->maxLength());
}

TEST_F(DataGridTest, theWheelMovesOneRecord)
{
    products.first();
    wheel(-120);
    EXPECT_EQ(2, products.recNo());
    wheel(-360); // one record per turn, however far
    EXPECT_EQ(3, products.recNo());
    wheel(120);
    EXPECT_EQ(2, products.recNo());
    EXPECT_EQ(1, grid.currentIndex().row());
    wheel(0); // a touchpad's start or end of scrolling turns nothing
    EXPECT_EQ(2, products.recNo());
}

TEST_F(DataGridTest, deletedAndAppendedRowsShowAtOnce)
{
    products.setRecNo(2);
    products.deleteRecord();
    EXPECT_EQ(2, grid.model()->rowCount());
    EXPECT_EQ(QString("尺子"), cell(1, Name));
    products.append();
    products.fieldByName("sphh").setAsString("004");
    products.fieldByName("spmc").setAsString("本子");
    products.post();
    EXPECT_EQ(3, grid.model()->rowCount());
    EXPECT_EQ(products.recNo() - 1, grid.currentIndex().row());
    EXPECT_EQ(QString("本子"), cell(products.recNo() - 1, Name));
}

TEST_F(DataGridTest, aClosedOrDestroyedDataSetLeavesAnEmptyGrid)
{
    products.close();
    EXPECT_EQ(0, grid.model()->rowCount());
    products.open();
    EXPECT_EQ(3, grid.model()->rowCount());
    grid.setDataSet(nullptr);
    EXPECT_EQ(nullptr, grid.dataSet());
}

TEST_F(DataGridTest, titlesFromPersistentFieldLabelsStayWhileTheDataSetIsClosed)
{
    Query labelled(connection);
    labelled.sql().add("SELECT sphh, spmc FROM product");
    labelled.setPersistentFields({{"sphh", lb::db::FieldType::Text, 20, "货品代码", {}},
                                  {"spmc", lb::db::FieldType::Text, 40, "货品名称", {}}});
    labelled.open();
    grid.setDataSet(&labelled);
    grid.setColumns({{"sphh"}, {"spmc"}});
    labelled.close();
    EXPECT_EQ(0, grid.model()->rowCount());
    EXPECT_EQ(QString("货品代码"), grid.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString());
    EXPECT_EQ(QString("货品名称"), grid.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString());
}

TEST_F(DataGridTest, settingsStayWhenTheGridIsBoundAgain)
{
    grid.setReadOnly(true);
    Query others(connection);
    others.reopen("SELECT * FROM product WHERE szbj = 1");
    grid.setDataSet(&others);
    EXPECT_EQ(1, grid.model()->rowCount());
    EXPECT_EQ(QString("选择"), grid.model()->headerData(Mark, Qt::Horizontal, Qt::DisplayRole).toString());
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, Name)) & Qt::ItemIsEditable);
    EXPECT_EQ(QString("1234.5"), cell(0, Price)); // display formats belong to a dataset: this one has none
}

} // namespace

namespace {

// What the grid needs to show a text whole: the text plus the cell's margins and the grid line.
int widthOf(const DataGrid& grid, const QString& text)
{
    return grid.fontMetrics().horizontalAdvance(text) + 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1)
           + (grid.showGrid() ? 1 : 0);
}

} // namespace

// A number is never cut: its column widens to its widest value on screen, also past a given
// width, also when an edit or a scroll brings a wider one; a column given no width fits its
// title and its values.
TEST_F(DataGridTest, ColumnsAreNeverNarrowerThanTheirNumbersOrUntitledFits)
{
    connection.execute("UPDATE product SET dj_n = 123456789012.5, spmc = '一个很长很长的货品名称标题' WHERE sphh = '001'");
    grid.setColumns({{"szbj", "选择"}, {"sphh", "货品代码", 80}, {"spmc", "一个很长很长的货品名称标题"},
                     {"dj_n", "批发价", 40}, {"deduck", "扣除"}, {"sl", "库存数量"}});
    products.refresh();
    EXPECT_EQ(QStringLiteral("123,456,789,012.50"), cell(0, Price));
    EXPECT_GE(grid.columnWidth(Price), widthOf(grid, cell(0, Price)));
    EXPECT_EQ(80, grid.columnWidth(Code)); // a text column keeps the width it was given
    EXPECT_GE(grid.columnWidth(Name), grid.horizontalHeader()->sectionSizeHint(Name));
    EXPECT_GE(grid.columnWidth(Name), widthOf(grid, cell(0, Name))); // a value as wide as its title
    EXPECT_LT(grid.columnWidth(Stock), 100); // short values and title: narrower than the default

    const int before = grid.columnWidth(Stock);
    products.last();
    products.edit();
    products.fieldByName("sl").setAsFloat(87654321098765.0);
    products.post();
    EXPECT_GT(grid.columnWidth(Stock), before);
    EXPECT_GE(grid.columnWidth(Stock), widthOf(grid, cell(2, Stock)));

    // A long text does not stretch its column without end.
    connection.execute("UPDATE product SET spmc = '" + QString(200, QLatin1Char('W')) + "' WHERE sphh = '002'");
    products.refresh();
    EXPECT_LE(grid.columnWidth(Name), std::max(DataGrid::maxFittedTextWidth, grid.horizontalHeader()->sectionSizeHint(Name)));
}

// A walk over the rows scrolls the grid at each row; the rows on screen are measured once the
// event loop runs, and a wide number scrolled into view still widens its column.
TEST_F(DataGridTest, aScrollWidensANumberColumnOnceTheEventLoopRuns)
{
    for (int i = 4; i <= 200; ++i)
        connection.execute(QStringLiteral("INSERT INTO product (sphh, sl) VALUES ('%1', %2)")
                               .arg(i, 3, 10, QLatin1Char('0'))
                               .arg(i == 200 ? QStringLiteral("98765432109876") : QStringLiteral("1")));
    products.close();
    products.open();
    QApplication::processEvents();
    const int before = grid.columnWidth(Stock);
    products.last();
    EXPECT_EQ(before, grid.columnWidth(Stock)); // not yet: the walk may go on
    QApplication::processEvents(); // the view lays out its rows and scrolls, then measures
    QApplication::processEvents();
    EXPECT_GT(grid.columnWidth(Stock), before);
    EXPECT_GE(grid.columnWidth(Stock), widthOf(grid, cell(199, Stock)));
}

TEST_F(DataGridTest, leavingAColumnIsReportedOnceTheMoveIsDoneAndTheColumnOutlivesARowChange)
{
    QList<int> left;
    QObject::connect(&grid, &DataGrid::columnExited, [&](int column) {
        left << column;
        // A handler may rework the rows: the grid keeps the column it moved to.
        products.disableControls();
        products.last();
        products.first();
        products.enableControls();
    });
    grid.setCurrentIndex(grid.model()->index(1, Price));
    grid.setCurrentIndex(grid.model()->index(1, Deduction));
    EXPECT_TRUE(left.isEmpty()); // not yet: the move is still under way
    QApplication::processEvents();
    EXPECT_EQ(QList<int>({Mark, Price}), left);
    EXPECT_EQ(Deduction, grid.currentIndex().column());
    EXPECT_EQ(0, grid.currentIndex().row());

    // Another row in the same column is no column left; rows appended keep the column too.
    grid.setCurrentIndex(grid.model()->index(2, Deduction));
    products.append();
    products.fieldByName("sphh").setAsString("004");
    products.post();
    QApplication::processEvents();
    EXPECT_EQ(QList<int>({Mark, Price}), left);
    EXPECT_EQ(Deduction, grid.currentIndex().column());
    EXPECT_EQ(3, grid.currentIndex().row());
}

// Tab out of an edited cell opens an editor in the next one; a handler that reworks the rows
// then closes that editor. The grid stays on the row and the column the user moved to, and so
// does the dataset: the view's own pick of a first cell while the rows are replaced counts for
// nothing.
TEST_F(DataGridTest, tabbingOutOfAnEditedCellKeepsTheRowAndColumnWhenTheRowsAreReworked)
{
    QList<int> left;
    QObject::connect(&grid, &DataGrid::columnExited, [&](int column) {
        left << column;
        // As a recalculation does: walk the rows, come back to the current one.
        const int at = products.recNo();
        products.disableControls();
        products.first();
        products.setRecNo(at);
        products.enableControls();
    });
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    const QModelIndex price = grid.model()->index(1, Price);
    grid.setCurrentIndex(price);
    QApplication::processEvents();
    left.clear();
    grid.edit(price);
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(nullptr, editor);
    editor->setFocus();
    editor->setText("8");
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(editor, &tab);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(8.0, stored("002", "dj_n").toDouble());
    EXPECT_EQ(QList<int>({Price}), left);
    EXPECT_EQ(1, grid.currentIndex().row());
    EXPECT_EQ(Deduction, grid.currentIndex().column());
    EXPECT_EQ(2, products.recNo());
}

// The first click of a double-click may leave a column whose handler reworks the rows before
// the second click comes: the double-click still counts, on the cell that was clicked.
TEST_F(DataGridTest, aDoubleClickCountsWhenLeavingAColumnReworkedTheRowsBetweenItsClicks)
{
    QObject::connect(&grid, &DataGrid::columnExited, [&] {
        const int at = products.recNo();
        products.disableControls();
        products.first();
        products.setRecNo(at);
        products.enableControls();
    });
    QList<QModelIndex> doubleClicked;
    QObject::connect(&grid, &QAbstractItemView::doubleClicked, [&](const QModelIndex& index) { doubleClicked << index; });
    grid.setCurrentIndex(grid.model()->index(1, Price));
    QApplication::processEvents();

    const QPointF at = grid.visualRect(grid.model()->index(1, Name)).center();
    auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &event);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    QApplication::processEvents(); // the price column is left: the rows are reworked
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    ASSERT_EQ(1, doubleClicked.size());
    EXPECT_EQ(1, doubleClicked.front().row());
    EXPECT_EQ(Name, doubleClicked.front().column());
    EXPECT_EQ(2, products.recNo());

    // A double-click whose clicks land on different cells is none.
    doubleClicked.clear();
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    const QPointF other = grid.visualRect(grid.model()->index(2, Name)).center();
    QMouseEvent elsewhere(QEvent::MouseButtonDblClick, other, grid.viewport()->mapToGlobal(other), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &elsewhere);
    EXPECT_TRUE(doubleClicked.isEmpty());
}

// In a window between two buttons, its last column hidden: Tab walks the cells and leaves past
// the last visible one, Shift+Tab before the first; Ctrl+Tab leaves from any cell, also from an
// open one, which keeps what was typed.
TEST_F(DataGridTest, tabLeavesPastTheEdgesAndCtrlTabFromAnyCell)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QPushButton(&window);
    auto* between = new DataGrid(&window);
    auto* after = new QPushButton(&window);
    layout->addWidget(before);
    layout->addWidget(between);
    layout->addWidget(after);
    between->setColumns({{"sphh"}, {"spmc"}, {"dj_n"}, {"sl", QString(), 0, false}});
    between->setDataSet(&products);
    window.show();
    QApplication::setActiveWindow(&window);
    // `key` on the cell, in its open editor with `typed`; where the focus is then.
    const auto keyAt = [&](int row, int column, int key, Qt::KeyboardModifiers modifiers, const QString& typed = QString()) {
        const QModelIndex cell = between->model()->index(row, column);
        between->setFocus();
        between->setCurrentIndex(cell);
        QWidget* target = between;
        if (!typed.isEmpty()) {
            between->edit(cell);
            if (auto* editor = qobject_cast<QLineEdit*>(between->indexWidget(cell))) {
                editor->setText(typed);
                target = editor;
            }
        }
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &event);
        QApplication::processEvents();
        return QApplication::focusWidget();
    };
    EXPECT_EQ(between, keyAt(1, 2, Qt::Key_Tab, Qt::NoModifier));
    EXPECT_EQ(between->model()->index(2, 0), between->currentIndex());
    EXPECT_EQ(after, keyAt(2, 2, Qt::Key_Tab, Qt::NoModifier));
    EXPECT_EQ(before, keyAt(0, 0, Qt::Key_Backtab, Qt::ShiftModifier));
    EXPECT_EQ(after, keyAt(1, 1, Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(before, keyAt(1, 1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_EQ(between->model()->index(1, 1), between->currentIndex());

    EXPECT_EQ(after, keyAt(2, 2, Qt::Key_Tab, Qt::NoModifier, "7"));
    EXPECT_EQ(7.0, stored("003", "dj_n").toDouble());
    EXPECT_EQ(after, keyAt(0, 1, Qt::Key_Tab, Qt::ControlModifier, "笔盒"));
    EXPECT_EQ(QVariant("笔盒"), stored("001", "spmc"));
    EXPECT_EQ(between->model()->index(0, 1), between->currentIndex());
    EXPECT_EQ(nullptr, between->indexWidget(between->currentIndex())); // the cell is closed
}

// What a command takes before it runs: an open cell's text, or a row still holding what could
// not be stored. A refused text is said and leaves the row as it was; a row that cannot be
// stored throws, unreported, what was typed kept in its edit and on screen for the next try.
TEST_F(DataGridTest, takingTheTypingStoresItOrKeepsWhatCouldNotBeStored)
{
    QWidget window; // the grid's window names its failures
    auto* inWindow = new DataGrid(&window);
    inWindow->setColumns({{"sphh", "货品代码"}, {"dj_n", "批发价"}});
    inWindow->setDataSet(&products);
    (new QVBoxLayout(&window))->addWidget(inWindow);
    window.show();
    QApplication::setActiveWindow(&window);
    QObject* sender = nullptr;
    QStringList reported;
    lb::ui::LbApplication::setErrorHandler([&](QObject* s, const std::exception& error) {
        sender = s;
        reported << QString::fromUtf8(error.what());
    });
    const auto typeIntoPrice = [&](const QString& text) {
        inWindow->setFocus();
        inWindow->setCurrentIndex(inWindow->model()->index(0, 1));
        inWindow->edit(inWindow->currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(nullptr, editor);
        editor->setText(text);
    };

    typeIntoPrice("9");
    EXPECT_TRUE(inWindow->takeTyping());
    EXPECT_EQ(9.0, stored("001", "dj_n").toDouble());
    EXPECT_EQ(inWindow, QApplication::focusWidget());

    typeIntoPrice("abc");
    EXPECT_FALSE(inWindow->takeTyping());
    EXPECT_EQ(QStringList({"'abc' is not a valid floating point value"}), reported);
    EXPECT_EQ(&window, sender);
    EXPECT_EQ(DataSetState::Browse, products.state());

    reported.clear();
    connection.execute("CREATE TEMP TRIGGER broken BEFORE UPDATE ON main.product BEGIN SELECT RAISE(ABORT, 'injected fault'); END");
    typeIntoPrice("7");
    EXPECT_THROW(inWindow->takeTyping(), lb::DatabaseError);
    EXPECT_TRUE(reported.isEmpty()) << "the command says it, with its own words";
    EXPECT_EQ(QString("7.00"), inWindow->model()->index(0, 1).data().toString());
    EXPECT_EQ(9.0, stored("001", "dj_n").toDouble());
    EXPECT_THROW(inWindow->takeTyping(), lb::DatabaseError) << "the row left in edit is tried again";
    connection.execute("DROP TRIGGER temp.broken");
    EXPECT_TRUE(inWindow->takeTyping());
    EXPECT_EQ(7.0, stored("001", "dj_n").toDouble());
    lb::ui::LbApplication::setErrorHandler(nullptr);
}

// A click on a check box the books cannot take shows the box as stored: the clerk clicks again.
TEST_F(DataGridTest, aClickThatCannotBeStoredShowsTheBoxAsStored)
{
    lb::ui::ScriptedDialogs dialogs;
    connection.execute("CREATE TEMP TRIGGER broken BEFORE UPDATE ON main.product BEGIN SELECT RAISE(ABORT, 'injected fault'); END");
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(1, Mark), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(1, int(dialogs.texts().size()));
    EXPECT_EQ(DataSetState::Browse, products.state());
    EXPECT_EQ(Qt::Checked, grid.model()->index(1, Mark).data(Qt::CheckStateRole).toInt());
    EXPECT_TRUE(stored("002", "szbj").toBool());
    connection.execute("DROP TRIGGER temp.broken");
    EXPECT_TRUE(grid.model()->setData(grid.model()->index(1, Mark), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(stored("002", "szbj").toBool());
}

// The Menu key in a cell being typed asks for the grid's pop-up, where the window's commands are.
TEST_F(DataGridTest, theMenuKeyInACellBeingTypedAsksForTheGridsPopUp)
{
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
    int asked = 0;
    QObject::connect(&grid, &QWidget::customContextMenuRequested, [&asked] { ++asked; });
    grid.setFocus();
    grid.setCurrentIndex(grid.model()->index(0, Price));
    grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(nullptr, editor);
    editor->setText("9");
    // A menu of the box's own would wait for a choice: it goes at once.
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(2, 2), editor->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(editor, &menu);
    EXPECT_EQ(1, asked);
    EXPECT_EQ(editor, QApplication::focusWidget()) << "the typing stays open for the command to take";
}
