// The operator list "操作员管理": add, delete, and change the logged-in operator's password.
#include "core/Tfropcrl.h"

#include "core/TFropadd.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "core/Tfropedit.h"
#include "platform/db/Table.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolBar>
#include <QVBoxLayout>

QPointer<lb::core::Tfropcrl> fropcrl;

namespace lb::core {

Tfropcrl::Tfropcrl(QWidget* opener)
    : lb::ui::WorkWindow(opener)
{
    setWindowTitle(QStringLiteral("操作员管理"));
    centreWhenShown(frmain);
    fropcrl = this;
    lb::db::Table& operators = *frdm->ATopcrl;
    operators.open();

    auto* tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(QStringLiteral("新增"), this, &Tfropcrl::ToolButton1Click);
    tools->addAction(QStringLiteral("删除"), this, &Tfropcrl::ToolButton2Click);
    tools->addAction(QStringLiteral("修改密码"), this, &Tfropcrl::ToolButton3Click);
    tools->addAction(QStringLiteral("退回"), this, &Tfropcrl::ToolButton7Click);

    DBGrid1 = new lb::ui::DataGrid(this);
    DBGrid1->setDataSet(&operators);
    DBGrid1->setColumns({{QStringLiteral("bh"), QString(), 80, true, true, QColor()},
                         {QStringLiteral("xm"), QString(), 120, true, true, QColor()}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    connect(DBGrid1, &QTableView::doubleClicked, this, lb::ui::guardSlot(this, &Tfropcrl::ToolButton3Click));

    // The grid's pop-up menu runs the tool buttons' commands.
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(this);
    popup->addAction(QStringLiteral("新增"), this, lb::ui::guardSlot(this, &Tfropcrl::ToolButton1Click));
    popup->addAction(QStringLiteral("删除"), this, lb::ui::guardSlot(this, &Tfropcrl::ToolButton2Click));
    popup->addAction(QStringLiteral("修改"), this, lb::ui::guardSlot(this, &Tfropcrl::ToolButton3Click));
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, lb::ui::guardSlot(this, [this, popup](const QPoint& at) {
                popup->popup(DBGrid1->viewport()->mapToGlobal(at));
            }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tools);
    layout->addWidget(DBGrid1);
    resize(360, 300);

    add_ = std::make_unique<TFropadd>(this);
    edit_ = std::make_unique<Tfropedit>(this);
}

Tfropcrl::~Tfropcrl() = default;

void Tfropcrl::selectRow(int row) { frdm->ATopcrl->setRecNo(row + 1); }

void Tfropcrl::ToolButton1Click()
{
    if (frmain->OperatorNo != QLatin1String("999")) {
        lb::ui::Dialogs::message(QStringLiteral("该用户无权增加操作员！"));
        return;
    }
    setEnabled(false);
    add_->showAdd();
}

void Tfropcrl::ToolButton2Click()
{
    if (frmain->OperatorNo != QLatin1String("999")) {
        lb::ui::Dialogs::message(QStringLiteral("该用户无权删除操作员！"));
        return;
    }
    lb::db::Table& operators = *frdm->ATopcrl;
    if (operators.fieldByName(QStringLiteral("bh")).asString() == QLatin1String("999")) {
        lb::ui::Dialogs::message(QStringLiteral("不能删除管理员用户！"));
        return;
    }
    if (lb::ui::Dialogs::confirm(QStringLiteral("确实要删除该操作员吗?")))
        operators.deleteRecord();
}

void Tfropcrl::ToolButton3Click()
{
    if (frdm->ATopcrl->fieldByName(QStringLiteral("bh")).asString() != frmain->OperatorNo) {
        lb::ui::Dialogs::message(QStringLiteral("不能修改他人密码！"));
        return;
    }
    setEnabled(false);
    edit_->showEdit();
}

void Tfropcrl::ToolButton7Click() { close(); }

void Tfropcrl::onClosing()
{
    add_->hide();
    edit_->hide();
    frdm->ATopcrl->close();
}

} // namespace lb::core
