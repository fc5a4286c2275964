// The administrator's data tool "成批数据转换、删除、合并": free SQL, lists emptied, batch move.
#include "core/Tfrdbcopy.h"

#include "core/DataTool.h"
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/LbApplication.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lb::core {

using lb::ui::guardSlot;

Tfrdbcopy::Tfrdbcopy(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setObjectName(QStringLiteral("Tfrdbcopy"));
    setWindowTitle(QStringLiteral("成批数据转换、删除、合并"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // Cuts the four product prices to two decimals.
    Memo1->setPlainText(QStringLiteral("update product set dj_n=round(dj_n*100)/100,dj_w=round\n"
                                       "(dj_w*100)/100,spmz=round\n"
                                       "(spmz*100)/100,spzz=round(spzz*100)/100"));
    // The grid shows the destination table of the batch move until a query is shown; the
    // table is held in memory, not in a dataset, so it has a view of its own in the same place.
    destinationGrid = new QTableWidget(this);
    destinationGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1 = new lb::ui::DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    grids = new QStackedWidget(this);
    grids->addWidget(destinationGrid);
    grids->addWidget(DBGrid1);
    Label1 = new QLabel(QStringLiteral("Table1为源表,Table2为目标表,若表是服务器SQL-SERVER的表,则要用ODBC与database建立连接。"), this);
    Label1->setWordWrap(true);

    auto button = [this](const QString& caption, void (Tfrdbcopy::*click)()) {
        auto* b = new QPushButton(caption, this);
        connect(b, &QPushButton::clicked, this, guardSlot(this, click));
        return b;
    };
    sqlButton = button(QStringLiteral("SQlexe"), &Tfrdbcopy::SqlExeClick);
    queryButton = button(QStringLiteral("查表"), &Tfrdbcopy::QueryClick);
    packageButton = button(QStringLiteral("package"), &Tfrdbcopy::PackageClick);
    mergeButton = button(QStringLiteral("合并"), &Tfrdbcopy::MergeClick);
    processButton = button(QStringLiteral("处理"), &Tfrdbcopy::ProcessClick);

    auto* buttons = new QGridLayout;
    QList<QPushButton*> all{sqlButton, queryButton, packageButton, mergeButton, processButton};
    // Buttons of the tool's design that do nothing.
    for (const char* caption : {"删除", "转换", "product", "customer", "branch", "bank", "store", "outlist", "outdetail", "cproduct"})
        all << new QPushButton(QString::fromUtf8(caption), this);
    constexpr int perRow = 5;
    for (int i = 0; i < all.size(); ++i)
        buttons->addWidget(all[i], i / perRow, i % perRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    layout->addWidget(Label1);
    layout->addWidget(grids, 1);
    resize(640, 520);
}

bool Tfrdbcopy::accepted(DataTool::Refusal refusal)
{
    switch (refusal) {
    case DataTool::Refusal::None: return true;
    case DataTool::Refusal::SeveralStatements:
        lb::ui::Dialogs::warning(QStringLiteral("一次只能执行一条SQL语句,请分开执行！"));
        return false;
    case DataTool::Refusal::Parameters:
        lb::ui::Dialogs::warning(QStringLiteral("SQL语句中不能带参数,请直接写入数值！"));
        return false;
    case DataTool::Refusal::TransactionsOrFiles:
        lb::ui::Dialogs::warning(QStringLiteral("SQL语句不能开始、结束事务,也不能附加或分离数据库文件！"));
        return false;
    case DataTool::Refusal::SessionSettings:
        lb::ui::Dialogs::warning(QStringLiteral("SQL语句不能修改数据库设置,也不能建立临时的表、视图或触发器！"));
        return false;
    }
    return false;
}

void Tfrdbcopy::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // A table that cannot be read is reported; the window opens all the same.
    lb::ui::LbApplication::guarded(this, [this] {
        showDestination();
        return true;
    });
}

void Tfrdbcopy::showDestination()
{
    grids->setCurrentWidget(destinationGrid);
    destinationGrid->clear();
    destinationGrid->setRowCount(0);
    destinationGrid->setColumnCount(0);
    const lb::office::ExternalTable table = DataTool::destinationRows();
    QStringList titles;
    for (const lb::office::ExternalField& field : table.fields)
        titles << field.name;
    destinationGrid->setColumnCount(int(titles.size()));
    destinationGrid->setHorizontalHeaderLabels(titles);
    destinationGrid->setRowCount(int(table.rows.size()));
    for (size_t row = 0; row < table.rows.size(); ++row)
        for (size_t column = 0; column < table.rows[row].size(); ++column)
            destinationGrid->setItem(int(row), int(column), new QTableWidgetItem(table.rows[row][column].toString()));
}

void Tfrdbcopy::SqlExeClick()
{
    // The grid may be showing the scratch query that the statement is about to reuse.
    DBGrid1->setDataSet(nullptr);
    if (!accepted(DataTool::execute(*frdm->AQcom, DataTool::statementLines(Memo1->toPlainText()))))
        return;
    lb::ui::Dialogs::message(QStringLiteral("处理完毕！"));
}

void Tfrdbcopy::QueryClick()
{
    grids->setCurrentWidget(DBGrid1);
    DBGrid1->setDataSet(frdm->AQcom);
    if (!accepted(DataTool::open(*frdm->AQcom, DataTool::statementLines(Memo1->toPlainText()))))
        return;
    lb::ui::Dialogs::message(QStringLiteral("可查看数据表了."));
}

void Tfrdbcopy::PackageClick()
{
    DataTool::emptyLists(*frdm->AQcom);
}

void Tfrdbcopy::MergeClick()
{
    DataTool::merge(DataTool::sourceTable(), DataTool::destinationTable());
    showDestination();
}

void Tfrdbcopy::ProcessClick()
{
    DataTool::padKeys(DataTool::destinationTable());
    showDestination();
}

void Tfrdbcopy::onClosing()
{
    DBGrid1->setDataSet(nullptr);
    frdm->AQcom->close();
}

} // namespace lb::core
