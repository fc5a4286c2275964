// The frame of the summaries, statements and the product history for real, offscreen: the
// keyboard reaches every control in the order of the window's layout, into the grid and out.
#include "SummaryFixture.h"

#include "core/Tfrdm.h"
#include "summaries/SummaryWindow.h"

#include <QLineEdit>
#include <ostream>

using lb::documents::BillKind;
using lb::summaries::SummaryWindow;

namespace {

struct FocusOrder {
    const char* key;
    QStringList toGrid;  // the controls Tab visits from MaskEdit1 to the grid
    QString afterGrid;   // where the focus goes when it leaves the grid forwards
};

void PrintTo(const FocusOrder& order, std::ostream* out) { *out << order.key; }

class SummaryFocusOrder : public SummaryFixture, public ::testing::WithParamInterface<FocusOrder> {
protected:
    void SetUp() override
    {
        SummaryFixture::SetUp();
        makeCustomer(QStringLiteral("0000000001"), QStringLiteral("张三"));
        makeSupplier(QStringLiteral("0000000001"), QStringLiteral("粮油公司"));
        const QString flour = makeProduct(QStringLiteral("A01"), QStringLiteral("面粉"), {{"sl", 100.0}});
        postSale(QStringLiteral("0000000001"), QStringLiteral("2026-03-05"), {{flour, "面粉", 3, 12.5, 0, 0, 10}, {flour, "面粉", 1, 9}});
        writePosted(BillKind::Purchase, QStringLiteral("0000000001"), QStringLiteral("2026-03-06"), {{flour, "面粉", 2, 8}});
        writePosted(BillKind::Receipt, QStringLiteral("0000000001"), QStringLiteral("2026-03-07"),
                    {{QStringLiteral("0000000001"), "现金", 0, 8}});
        rememberPeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
        dm().Aqproduct->reopen(QStringLiteral("SELECT * from product")); // the product history's product
    }

    // The key pressed where the focus is; returns the name of where it is then.
    static QString key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
        flush();
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QStringLiteral("none");
    }
};

} // namespace

// Tab goes through the top row from left to right into the grid; the grid, read-only, gives
// the focus on at once, from any cell, also with Ctrl+Tab. Up and Down follow the same order.
TEST_P(SummaryFocusOrder, TabWalksTheLayoutIntoTheGridAndOutOfIt)
{
    SummaryWindow* window = open<SummaryWindow>(GetParam().key);
    ASSERT_NE(nullptr, window);
    if (auto* code = window->findChild<QLineEdit*>(QStringLiteral("Edit9")))
        code->setText(QStringLiteral("0000000001")); // leaving it looks the code up
    QApplication::setActiveWindow(window);
    window->MaskEdit1->setFocus();
    QStringList walked{QStringLiteral("MaskEdit1")};
    while (walked.size() < 20 && walked.back() != QLatin1String("DBGrid2"))
        walked << key(Qt::Key_Tab);
    EXPECT_EQ(GetParam().toGrid, walked);

    lb::ui::DataGrid* grid = window->DBGrid2;
    window->refresh->click(); // the statements do not run on opening
    grid->setFocus();
    ASSERT_GT(grid->model()->rowCount(), 0);
    grid->setCurrentIndex(grid->model()->index(0, 1));
    EXPECT_EQ(GetParam().afterGrid, key(Qt::Key_Tab)); // nothing to type into: no cell to walk to
    grid->setFocus();
    EXPECT_EQ(1, grid->currentIndex().column()); // the row and cell chosen stay
    EXPECT_EQ(GetParam().afterGrid, key(Qt::Key_Tab, Qt::ControlModifier));
    grid->setFocus();
    int last = grid->model()->columnCount() - 1;
    while (grid->isColumnHidden(last))
        --last;
    grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, last));
    EXPECT_EQ(GetParam().afterGrid, key(Qt::Key_Tab));

    window->MaskEdit1->setFocus();
    EXPECT_EQ(QStringLiteral("MaskEdit2"), key(Qt::Key_Down));
    EXPECT_EQ(GetParam().toGrid[2], key(Qt::Key_Down));
    window->MaskEdit2->setFocus();
    EXPECT_EQ(QStringLiteral("MaskEdit1"), key(Qt::Key_Up));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SummaryFocusOrder,
    ::testing::Values(
        FocusOrder{"Tfrouttotal",
                   {"MaskEdit1", "MaskEdit2", "Button2", "Edit2", "Edit3", "Button1", "refresh", "report", "cancel", "DBGrid2"},
                   "Edit10"},
        FocusOrder{"Tfrintotal",
                   {"MaskEdit1", "MaskEdit2", "Button1", "Edit2", "Edit3", "Button2", "refresh", "report", "cancel", "DBGrid2"},
                   "Edit10"},
        FocusOrder{"Tfrgettotal", {"MaskEdit1", "MaskEdit2", "refresh", "report", "cancel", "DBGrid2"}, "Edit10"},
        FocusOrder{"Tfrcusttotal", {"MaskEdit1", "MaskEdit2", "Edit9", "Edit10", "refresh", "report", "cancel", "DBGrid2"},
                   "DBMemo1"},
        FocusOrder{"Tfrbanktotal", {"MaskEdit1", "MaskEdit2", "Edit3", "Edit4", "refresh", "report", "cancel", "DBGrid2"},
                   "MaskEdit1"},
        FocusOrder{"Tfrdetail", {"MaskEdit1", "MaskEdit2", "refresh", "report", "cancel", "DBGrid2"}, "MaskEdit1"}),
    [](const ::testing::TestParamInfo<FocusOrder>& info) { return std::string(info.param.key); });
