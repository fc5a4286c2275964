// The quick-start window: the short guide shown at start and from the tool bar.
#include "core/TFrstart.h"

#include "core/Tfrdm.h"
#include "platform/db/Table.h"
#include "platform/ui/GuardSlot.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::core {

TFrstart::TFrstart(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("如何开始?如果您第一次使用本系统，请阅读如下《快速入门》。"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(guide(), this);
    Memo1->setReadOnly(true);
    layout->addWidget(Memo1);
    auto* bottom = new QHBoxLayout;
    CheckBox1 = new QCheckBox(QStringLiteral("以后启动本系统时不要显示“如何开始”"), this);
    Button1 = new QPushButton(QStringLiteral("退出"), this);
    bottom->addWidget(CheckBox1);
    bottom->addStretch();
    bottom->addWidget(Button1);
    layout->addLayout(bottom);
    connect(CheckBox1, &QCheckBox::clicked, this, lb::ui::guardSlot(this, &TFrstart::CheckBox1Click));
    connect(Button1, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { accept(); }));
    resize(620, 460);
}

QString TFrstart::guide()
{
    return QStringLiteral(
        "《快 速 入 门》\n"
        "\n"
        "第一步:录入基本资料\n"
        "    先在“基本资料”菜单中录入商品资料，再录入客户资料、供应商资料、现金银行和员工资料；"
        "商品类型和计量单位在“系统管理→系统设置”中预先设定。有期初数据的，在“期初建帐”中录入期初库存和期初余额。\n"
        "\n"
        "第二步：“单据”制作方法（以制作进货单为例，销售单操作相同）\n"
        "    1. 点击工具栏的“进货单”，打开进货单列表，点击“新开单”开始一张新的进货单。\n"
        "    2. 在供应商编号框中双击，从供应商表中选取供应商。\n"
        "    3. 在明细表中双击，从商品表中选取商品，再录入数量和单价。\n"
        "    4. 需要增加一行时，点击工具栏的“新增行”；需要删除一行时，选中该行后点击“删除行”。\n"
        "    5. 录完后点击“过帐”，单据即记入库存和往来帐。\n"
        "    6. 点击“打印”，预览后即可打印进货单。\n");
}

void TFrstart::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    CheckBox1->setChecked(config.fieldByName(QStringLiteral("startbj")).asBoolean());
    config.close();
}

void TFrstart::CheckBox1Click()
{
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    config.edit();
    config.fieldByName(QStringLiteral("startbj")).setAsBoolean(CheckBox1->isChecked());
    config.post();
    config.close();
}

} // namespace lb::core
