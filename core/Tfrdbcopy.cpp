// The administrator's data tool "成批数据转换、删除、合并": free SQL, lists emptied, batch move.
#include "core/Tfrdbcopy.h"

#include "core/DataTool.h"
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using lb::core::DataTool;
using lb::ui::guardSlot;

Tfrdbcopy::Tfrdbcopy(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setObjectName(QStringLiteral("frdbcopy"));
    setWindowTitle(QStringLiteral("成批数据转换、删除、合并"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // Cuts the four product prices to two decimals.
    Memo1->setPlainText(QStringLiteral("update product set dj_n=round(dj_n*100)/100,dj_w=round\n"
                                       "(dj_w*100)/100,spmz=round\n"
                                       "(spmz*100)/100,spzz=round(spzz*100)/100"));
    DBGrid1 = new lb::ui::DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
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
    buttons->addWidget(sqlButton, 0, 0);
    buttons->addWidget(queryButton, 0, 1);
    buttons->addWidget(packageButton, 0, 2);
    buttons->addWidget(mergeButton, 1, 0);
    buttons->addWidget(processButton, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    layout->addWidget(Label1);
    layout->addWidget(DBGrid1, 1);
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
    }
    return false;
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
}

void Tfrdbcopy::ProcessClick()
{
    DataTool::padKeys(DataTool::destinationTable());
}

void Tfrdbcopy::onClosing()
{
    DBGrid1->setDataSet(nullptr);
    frdm->AQcom->close();
}
