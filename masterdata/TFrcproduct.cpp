// The customer-product price table: customers on the left, the chosen customer's prices on the right.
#include "masterdata/TFrcproduct.h"

#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterListWindow.h"
#include "masterdata/PickerLink.h"
#include "platform/db/Query.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lb::masterdata {

namespace {

QComboBox* optionBox(QWidget* parent, const char* name, const QStringList& items, const QString& initial)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setToolTip(QStringLiteral("选项"));
    box->addItems(items);
    box->setEditText(initial);
    return box;
}

} // namespace

SearchConfig TFrcproduct::productSearch()
{
    SearchConfig config;
    config.select = QStringLiteral("SELECT * from cproduct");
    config.fixedWhere = QStringLiteral("(intno=:intno)");
    config.options = {
        SearchOption{QStringLiteral("货品代码"), QStringLiteral("sphh"), SearchMatch::QuickOrFuzzy, QString(), true, QString()},
        SearchOption{QStringLiteral("货品名称"), QStringLiteral("spmc"), SearchMatch::QuickOrFuzzy, QString(), true, QString()},
    };
    return config;
}

SearchConfig TFrcproduct::customerSearch()
{
    SearchConfig config = MasterCatalog::customerList().search;
    config.select = QStringLiteral("SELECT * from customer");
    config.options.front().match = SearchMatch::PaddedContains;
    config.selectedColumnFields = {QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("tel"),
                                   QStringLiteral("fax"), QStringLiteral("movetel"), QStringLiteral("persondeal")};
    return config;
}

TFrcproduct::TFrcproduct(QWidget* owner) : lb::ui::WorkWindow(owner)
{
    setObjectName(QStringLiteral("TFrcproduct"));
    setWindowTitle(QStringLiteral("客户-商品表"));
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* customerRow = new QHBoxLayout;
    ComboBox2 = optionBox(this, "ComboBox2",
                          {QStringLiteral("编号"), QStringLiteral("客户名"), QStringLiteral("电话"), QStringLiteral("传真"),
                           QStringLiteral("手机"), QStringLiteral("联系人")},
                          QStringLiteral("编号"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setToolTip(QStringLiteral("选项为空,输入内容模糊查找"));
    auto* button7 = new QPushButton(QStringLiteral("查找"), this);
    button7->setObjectName(QStringLiteral("Button7"));
    customerRow->addWidget(ComboBox2);
    customerRow->addWidget(Edit2);
    customerRow->addWidget(button7);
    left->addLayout(customerRow);
    DBGrid1 = new lb::ui::DataGrid(this);
    DBGrid1->setToolTip(QStringLiteral("单击某行客户,即显示相应商品表"));
    DBGrid1->setColumns({{"id", "编号"}, {"name", "客户名"}, {"tel", "电话"}, {"fax", "传真"}, {"movetel", "手机"},
                         {"persondeal", "联系人"}, {"addr", "地址"}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSet(frdm->Aqcustomer);
    left->addWidget(DBGrid1, 1);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* productRow = new QHBoxLayout;
    ComboBox1 = optionBox(this, "ComboBox1", {QStringLiteral("货品代码"), QStringLiteral("货品名称")}, QStringLiteral("货品代码"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("选项为空,输入内容模糊查找"));
    productRow->addWidget(ComboBox1);
    productRow->addWidget(Edit1);
    productRow->addWidget(lb::ui::ListFrame::searchModes(this, {QStringLiteral("快速"), QStringLiteral("模糊")}, 0, modeButtons));
    auto* button6 = new QPushButton(QStringLiteral("查找"), this);
    button6->setObjectName(QStringLiteral("Button6"));
    productRow->addWidget(button6);
    right->addLayout(productRow);
    DBGrid2 = new lb::ui::DataGrid(this);
    DBGrid2->setToolTip(QStringLiteral("双击所在价格列,选取到销售单的单价。"));
    DBGrid2->setColumns({lb::ui::GridColumn("name", "货品类型"), lb::ui::GridColumn("sphh", "货品代码", 0, true, true),
                         lb::ui::GridColumn("spmc", "货品名称", 0, true, true), lb::ui::GridColumn("spgg", QString(), 0, true, true),
                         lb::ui::GridColumn("spbzxh", "单位", 0, true, true), lb::ui::GridColumn("dj_n", "批发价"),
                         lb::ui::GridColumn("spmz", "超市价"), lb::ui::GridColumn("spzz", "零售价"),
                         lb::ui::GridColumn("bz", "备注")});
    DBGrid2->setDataSet(frdm->Aqcproduct);
    right->addWidget(DBGrid2, 1);
    auto* buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const char* name, const QString& text) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        return button;
    };
    // Every command first takes the price being typed into its row (command()); 返回 closes,
    // and the close takes it.
    connect(addButton("Button4", QStringLiteral("选取商品")), &QPushButton::clicked, this, command([this] { Button4Click(); }));
    connect(addButton("Button3", QStringLiteral("删除")), &QPushButton::clicked, this, command([this] { Button3Click(); }));
    connect(addButton("Button5", QStringLiteral("类型排序")), &QPushButton::clicked, this, command([this] { Button5Click(); }));
    connect(addButton("Button2", QStringLiteral("取消排序")), &QPushButton::clicked, this, command([this] { Button2Click(); }));
    connect(addButton("Button1", QStringLiteral("返回")), &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { close(); }));
    right->addLayout(buttons);
    layout->addLayout(right, 2);

    popupMenu = new QMenu(this);
    QAction* deleteAll = popupMenu->addAction(QStringLiteral("删除该客户的全部商品表"));
    deleteAll->setObjectName(QStringLiteral("N1"));
    connect(deleteAll, &QAction::triggered, this, command([this] { N1Click(); }));
    DBGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid2, &QWidget::customContextMenuRequested, this, lb::ui::guardSlot(this, [this](const QPoint& at) {
                popupMenu->popup(DBGrid2->viewport()->mapToGlobal(at));
            }));

    lb::ui::ListFrame::centre(*this, QSize(1000, 560));

    connect(DBGrid2, &QAbstractItemView::doubleClicked, this, command([this] { DBGrid2DblClick(); }));
    connect(DBGrid1, &QAbstractItemView::clicked, this, command([this] { DBGrid1CellClick(); }));
    connect(button6, &QPushButton::clicked, this, command([this] { Button6Click(); }));
    connect(button7, &QPushButton::clicked, this, command([this] { Button7Click(); }));
    connect(Edit1, &QLineEdit::returnPressed, this, command([this] { Button6Click(); }));
    connect(Edit2, &QLineEdit::returnPressed, this, command([this] { Button7Click(); }));
    connect(ComboBox1, &QComboBox::activated, this, lb::ui::guardSlot(this, [this] { Edit1->setFocus(); }));
    connect(ComboBox2, &QComboBox::activated, this, lb::ui::guardSlot(this, [this] { Edit2->setFocus(); }));
}

TFrcproduct* TFrcproduct::openAsPicker(PickTarget& salesForm)
{
    frmain->PickMode = lb::core::PickCode::SalesEntryPriceTable;
    auto* table = new TFrcproduct(salesForm.pickWindow());
    table->link_ = new PickerLink(*table, salesForm);
    frdm->Aqcustomer->open();
    if (QLineEdit* code = salesForm.pickBox(PickBox::Edit2))
        frdm->Aqcustomer->locate(QStringLiteral("ID"), code->text(), lb::db::LocateOption::CaseInsensitive);
    frdm->Aqcproduct->open();
    table->showWork(true);
    return table;
}

void TFrcproduct::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    DBGrid2->setColumnTitle(3, MasterCatalog::specTitle());
}

void TFrcproduct::reloadPrices(const QString& sql)
{
    lb::db::Query& prices = *frdm->Aqcproduct;
    prices.disableControls();
    prices.close();
    prices.sql().setText(sql);
    prices.open();
    prices.enableControls();
}

void TFrcproduct::DBGrid2DblClick()
{
    lb::db::Query& prices = *frdm->Aqcproduct;
    // Only the sales form's price pick takes a row and closes the table. While the product list
    // adds rows to it (CustomerProductTable) the table is at work as from the menu, where a
    // double-click on a price is the start of editing it: closing would end the clerk's work.
    if (!prices.active() || prices.isEmpty() || frmain->PickMode != lb::core::PickCode::SalesEntryPriceTable)
        return;
    lb::db::Field* selected = DBGrid2->selectedField();
    if (link_)
        link_->apply(PickList::CustomerProduct, lb::core::PickCode::SalesEntryPriceTable, prices,
                     selected ? selected->fieldName() : QString());
    close();
}

void TFrcproduct::Button4Click()
{
    if (frmain->SortMode == 3) {
        lb::ui::Dialogs::message(QStringLiteral("排序状态不能选取商品资料，请先取消类型排序!"));
        return;
    }
    if (frmain->PickMode == lb::core::PickCode::None)
        frmain->PickMode = lb::core::PickCode::CustomerProductTable;
    frmain->CustProductPick = 7;
    productList_ = new MasterListWindow(MasterCatalog::productList(), this);
    frdm->Aqproduct->open();
    productList_->showWork(false);
}

void TFrcproduct::Button3Click()
{
    if (frmain->SortMode == 3) {
        lb::ui::Dialogs::message(QStringLiteral("排序状态不能删除资料，请先取消类型排序!"));
        return;
    }
    lb::db::Query& prices = *frdm->Aqcproduct;
    if (!prices.active() || prices.isEmpty()) {
        lb::ui::Dialogs::message(QStringLiteral("商品表为空表,不能删除记录。"));
        return;
    }
    prices.deleteRecord(); // the data module asks "确实要删除当前记录吗?"
}

void TFrcproduct::N1Click()
{
    if (!lb::ui::Dialogs::confirm(QStringLiteral("确实要删除该客户的全部商品表吗?")))
        return;
    lb::db::Query& customers = *frdm->Aqcustomer;
    if (!customers.active() || customers.isEmpty())
        return;
    lb::db::Query statement(frdm->ADOCon);
    statement.sql().add(QStringLiteral("delete from cproduct where intno=:p1"));
    statement.paramByName(QStringLiteral("p1")).setAsString(customers.fieldByName(QStringLiteral("intno")).asString());
    statement.execSQL();
    frdm->Aqcproduct->close();
    frdm->Aqcproduct->open();
}

void TFrcproduct::Button5Click()
{
    reloadPrices(QStringLiteral("select * from cproduct WHERE (intno=:intno)\nORDER BY name collate GBK"));
    frmain->SortMode = 3;
}

void TFrcproduct::Button2Click()
{
    reloadPrices(QStringLiteral("select * from cproduct WHERE (intno=:intno)"));
    frmain->SortMode = 2;
}

void TFrcproduct::DBGrid1CellClick()
{
    reloadPrices(QStringLiteral("SELECT * from cproduct\nWHERE (intno=:intno) "));
}

void TFrcproduct::Button6Click()
{
    const bool fuzzy = modeButtons[1]->isChecked();
    if (const auto plan = ListSearch::plan(productSearch(), ComboBox1->currentText(), Edit1->text(), fuzzy, QString()))
        ListSearch::run(*frdm->Aqcproduct, *plan);
    DBGrid2->setFocus();
}

void TFrcproduct::Button7Click()
{
    lb::db::Field* selected = DBGrid1->selectedField();
    const auto plan = ListSearch::plan(customerSearch(), ComboBox2->currentText(), Edit2->text(), false,
                                       selected ? selected->fieldName() : QString());
    if (plan) {
        if (plan->boxText)
            Edit2->setText(*plan->boxText);
        ListSearch::run(*frdm->Aqcustomer, *plan);
    }
    DBGrid1->setFocus();
}

void TFrcproduct::onClosing()
{
    // The product list opened for this table goes first, through its own close steps.
    if (productList_)
        productList_->close();
    frmain->PickMode = lb::core::PickCode::None;
    frmain->SortMode = 0;
    // Every close took the price being typed before it came here (the close box, 返回 and the
    // program's end alike). A row still in edit is one the books could not take at the
    // program's end, said already then: it goes with the prices, which close before the
    // customers, since closing the customers would have them store it again (their detail
    // rows follow them), say the same failure twice and leave both open.
    frdm->Aqcproduct->close();
    frdm->Aqcustomer->close();
}

} // namespace lb::masterdata
