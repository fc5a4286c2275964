// The product editor: adds a product or changes the current row of Aqproduct.
#include "masterdata/Tfrproductedit.h"

#include "core/GetPinyinInitials.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "masterdata/MasterCatalog.h"
#include "masterdata/MasterRecordRules.h"
#include "masterdata/ProductCommands.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/sys/Errors.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/KeyFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace lb::masterdata {

namespace {

struct ProductBox {
    const char* name;
    const char* label;
    const char* column;
    enum { Text, Count, Price } kind;
};

// In Enter order; the category and unit lists sit between them when "修改" is ticked.
const ProductBox productBoxes[] = {
    {"Edit7", "货品代码", "sphh", ProductBox::Text},   {"Edit2", "条形码", "barcode", ProductBox::Text},
    {"Edit8", "货品名称", "spmc", ProductBox::Text},   {"Edit22", "拼音首字", "spbzxh", ProductBox::Text},
    {"Edit25", "规格型号", "spgg", ProductBox::Text},  {"Edit14", "数量/件", "sl_j", ProductBox::Count},
    {"Edit17", "进货价", "dj_w", ProductBox::Price},   {"Edit18", "批发价", "dj_n", ProductBox::Price},
    {"Edit15", "超市价", "spmz", ProductBox::Price},   {"Edit16", "零售价", "spzz", ProductBox::Price},
    {"Edit13", "上限数量", "sl_sw", ProductBox::Count}, {"Edit1", "下限数量", "sl_s", ProductBox::Count},
    {"Edit3", "厂家", "orderid", ProductBox::Text},    {"Edit6", "备  注", "bz", ProductBox::Text},
};

const char* const carriedColumns[] = {"l", "w", "h", "spds", "spccxh", "spnh"};
const char* const carriedText = "spccxh"; // the one carried column that is not a number

// Boxes that stay editable in the read-only view.
bool alwaysEditable(const QString& name)
{
    return name == QLatin1String("Edit2") || name == QLatin1String("Edit13") || name == QLatin1String("Edit1");
}

QStringList namesOf(lb::db::Query& list)
{
    QStringList names;
    list.open();
    for (list.first(); !list.eof(); list.next())
        names << list.fieldByName(QStringLiteral("name")).asString().trimmed();
    list.close();
    return names;
}

} // namespace

Tfrproductedit::Tfrproductedit(QWidget* owner) : RecordEditor(owner)
{
    setWindowTitle(QStringLiteral("商品录入修改"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QGridLayout;
    layout->addLayout(form);
    int row = 0;
    for (const ProductBox& entry : productBoxes) {
        auto* edit = new QLineEdit(this);
        const QString name = QString::fromLatin1(entry.name);
        edit->setObjectName(name);
        lb::ui::KeyFilter::limitLength(edit, *frdm->Aqproduct, QString::fromLatin1(entry.column));
        if (entry.kind == ProductBox::Count)
            lb::ui::KeyFilter::install(edit, lb::ui::KeyFilter::Allowed::Digits);
        if (entry.kind == ProductBox::Price)
            lb::ui::KeyFilter::install(edit, lb::ui::KeyFilter::Allowed::DigitsAndPoint);
        auto* label = new QLabel(QString::fromUtf8(entry.label), this);
        if (name == QLatin1String("Edit25"))
            specLabel = label;
        form->addWidget(label, row, 0);
        form->addWidget(edit, row, 1);
        ++row;
        boxes_[name] = edit;
        edit->installEventFilter(this);
    }
    box(QStringLiteral("Edit22"))->setToolTip(QStringLiteral("英文品名"));
    // Created after the boxes, unit before category: the tab order ends with them in that order.
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setEditable(true);
    form->addWidget(new QLabel(QStringLiteral("单位"), this), row, 0);
    form->addWidget(ComboBox1, row++, 1);
    form->addWidget(new QLabel(QStringLiteral("货品类别"), this), row, 0);
    form->addWidget(ComboBox3, row++, 1);

    addControls(layout);
    auto* status = new QStatusBar(this);
    statusText = new QLabel(QStringLiteral("货品单位和类型的下拉式内容可在系统设置中预先录入."), status);
    status->addWidget(statusText);
    layout->addWidget(status);

    // The pinyin initials follow every change of the name, hand-typed ones included.
    connect(box(QStringLiteral("Edit8")), &QLineEdit::textChanged, this, lb::ui::guardSlot(this, [this](const QString& name) {
        box(QStringLiteral("Edit22"))->setText(lb::core::GetPinyinInitials(name, true));
    }));
    // A number box left empty holds 0.
    for (const char* name : {"Edit14", "Edit15", "Edit16", "Edit17", "Edit18"}) {
        QLineEdit* edit = box(QString::fromLatin1(name));
        connect(edit, &QLineEdit::editingFinished, edit, lb::ui::guardSlot(edit, [edit] {
            if (edit->text().isEmpty())
                edit->setText(QStringLiteral("0"));
        }));
    }
}

Tfrproductedit* Tfrproductedit::openForPurchase(QWidget* purchaseForm)
{
    frdm->Aqproduct->reopen(QStringLiteral("SELECT * from product "));
    frmain->AddMode = true;
    frmain->PickMode = lb::core::PickCode::PurchaseEntryNewProduct;
    auto* editor = new Tfrproductedit(purchaseForm);
    editor->showWork(true);
    return editor;
}

QLineEdit* Tfrproductedit::box(const QString& name) const
{
    const auto found = boxes_.find(name);
    return found == boxes_.end() ? nullptr : found->second;
}

int Tfrproductedit::priceDecimals()
{
    // The price format is "0." or "0,." followed by the decimals.
    lb::db::Table& options = *frdm->ATCONFIG;
    options.open();
    const QString format = options.isEmpty() ? QString() : options.fieldByName(QStringLiteral("priceformat")).asString();
    options.close();
    return std::max(0, int(format.size()) - (format.contains(QLatin1Char(',')) ? 3 : 2));
}

lb::db::Query& Tfrproductedit::records() const
{
    return *frdm->Aqproduct;
}

void Tfrproductedit::FormShow()
{
    specLabel->setText(MasterCatalog::specTitle());
    ComboBox3->clear();
    ComboBox3->addItems(namesOf(*frdm->AQpackage));
    ComboBox1->clear();
    ComboBox1->addItems(namesOf(*frdm->AQunits));
    lb::db::Query& products = *frdm->Aqproduct;
    if (!frmain->AddMode && products.active() && !products.isEmpty()) {
        const int decimals = priceDecimals();
        for (const ProductBox& entry : productBoxes) {
            lb::db::Field& field = products.fieldByName(QString::fromLatin1(entry.column));
            box(QString::fromLatin1(entry.name))->setText(entry.kind == ProductBox::Price
                                                             ? lb::fmt::floatToStrFixed(field.asFloat(), 10, decimals)
                                                             : field.asString());
        }
        ComboBox3->setEditText(products.fieldByName(QStringLiteral("name")).asString());
        ComboBox1->setEditText(products.fieldByName(QStringLiteral("spbs")).asString());
        // A number left empty in the file is carried as 0, so that saving does not refuse it.
        for (const char* column : carriedColumns) {
            const lb::db::Field& field = products.fieldByName(QString::fromLatin1(column));
            carried_[QString::fromLatin1(column)] = qstrcmp(column, carriedText) == 0 ? field.asString()
                                                                                      : lb::fmt::floatToStr(field.asFloat());
        }
        CheckBox1->setChecked(false);
    } else {
        resetFields(false);
        CheckBox1->setChecked(true);
    }
    CheckBox1Click();
}

void Tfrproductedit::resetFields(bool keepUnitAndCategory)
{
    for (const ProductBox& entry : productBoxes)
        box(QString::fromLatin1(entry.name))->setText(entry.kind == ProductBox::Text ? QString() : QStringLiteral("0"));
    if (!keepUnitAndCategory) {
        ComboBox3->setEditText(QString());
        ComboBox1->setEditText(QString());
    }
    for (const char* column : carriedColumns)
        carried_[QString::fromLatin1(column)] = QStringLiteral("0");
}

void Tfrproductedit::CheckBox1Click()
{
    const bool editable = CheckBox1->isChecked();
    for (const auto& [name, edit] : boxes_)
        edit->setReadOnly(!editable && !alwaysEditable(name));
    ComboBox3->setEnabled(editable);
    ComboBox1->setEnabled(editable);
    // Enter passes through the two lists only while they can be used.
    auto* chain = findChild<lb::ui::FocusChain*>();
    delete chain;
    chain = new lb::ui::FocusChain(this);
    QList<QWidget*> order;
    for (const ProductBox& entry : productBoxes) {
        const QString name = QString::fromLatin1(entry.name);
        order << box(name);
        if (editable && name == QLatin1String("Edit22"))
            order << ComboBox3;
        if (editable && name == QLatin1String("Edit25"))
            order << ComboBox1;
    }
    order << Button1;
    chain->setOrder(order);
    QList<QWidget*> arrows;
    for (const auto& [name, edit] : boxes_) {
        if (name != QLatin1String("Edit6"))
            arrows << edit;
    }
    chain->setArrowKeys(arrows);
    chain->setArrowKeys({box(QStringLiteral("Edit6"))}, lb::ui::FocusChain::Up);
}

void Tfrproductedit::Button2Click()
{
    frmain->AddMode = true;
    box(QStringLiteral("Edit7"))->clear();
    if (!CheckBox2->isChecked()) {
        resetFields(true);
    }
    box(QStringLiteral("Edit7"))->setFocus();
    CheckBox1->setChecked(true);
    CheckBox1Click();
}

void Tfrproductedit::Button1Click()
{
    const MasterRecordRules rules(frdm->ADOCon, MasterCatalog::productCodeRules());
    QLineEdit* code = box(QStringLiteral("Edit7"));
    const bool adding = frmain->AddMode;
    const MasterRecordRules::Check check = rules.check(adding, code->text(), QString(), frmain->EditIntno);
    if (check != MasterRecordRules::Check::Ok) {
        lb::ui::Dialogs::message(rules.message(check));
        code->setFocus();
        return;
    }
    // Every number is checked before the row is touched, so a refusal leaves Aqproduct as it was.
    MasterValues values;
    for (const ProductBox& entry : productBoxes) {
        const QString text = box(QString::fromLatin1(entry.name))->text();
        if (entry.kind != ProductBox::Text)
            values.emplace_back(QString::fromLatin1(entry.column), lb::fmt::floatToStr(lb::db::Field::parseNumber(text)));
        else
            values.emplace_back(QString::fromLatin1(entry.column), text);
    }
    values.emplace_back(QStringLiteral("name"), ComboBox3->currentText());
    values.emplace_back(QStringLiteral("spbs"), ComboBox1->currentText());
    double dimensions[3] = {0, 0, 0};
    for (int i = 0; i < 6; ++i) {
        const QString column = QString::fromLatin1(carriedColumns[i]);
        const QString text = carried_[column];
        if (i < 3)
            dimensions[i] = lb::db::Field::parseNumber(text);
        values.emplace_back(column, column == QLatin1String(carriedText) ? text : lb::fmt::floatToStr(lb::db::Field::parseNumber(text)));
    }
    values.emplace_back(QStringLiteral("sptj"), lb::fmt::floatToStr(ProductCommands::volume(dimensions[0], dimensions[1], dimensions[2])));
    lb::db::Query& products = *frdm->Aqproduct;
    if (adding) {
        values.emplace_back(QStringLiteral("szbj"), false);
        values.emplace_back(QStringLiteral("ysl"), QVariant()); // not counted yet
        frmain->EditIntno = rules.insert(products, values);
    } else {
        if (products.fieldByName(QStringLiteral("intno")).asString() != frmain->EditIntno
            && !products.locate(QStringLiteral("intno"), frmain->EditIntno))
            throw lb::Abort(); // the product is gone
        MasterRecordRules::update(products, values);
    }
    frmain->AddMode = false;
    lb::ui::Dialogs::message(QStringLiteral("数据保存完毕！ "));
    Button2->setFocus();
}

bool Tfrproductedit::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusIn) {
            QPalette focused = edit->palette();
            focused.setColor(QPalette::Base, QColor(Qt::cyan));
            edit->setPalette(focused);
        } else if (event->type() == QEvent::FocusOut) {
            edit->setPalette(QPalette());
        }
    }
    return RecordEditor::eventFilter(watched, event);
}

void Tfrproductedit::onClosing()
{
    // The purchase form's code does not outlive the editor it opened; the form itself is
    // enabled again as this window's opener, and the product list the same way.
    if (frmain->PickMode == lb::core::PickCode::PurchaseEntryNewProduct)
        frmain->PickMode = lb::core::PickCode::None;
}

} // namespace lb::masterdata
