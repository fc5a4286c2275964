// The options window "系统选项设置": number formats, category and unit lists, company data,
// the front-desk data folder.
#include "core/Tfrconfig.h"

#include "core/BillNumberPadding.h"
#include "core/Tfrdm.h"
#include "core/Tfrmain.h"
#include "platform/db/Connection.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/sys/TextFormat.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/FocusChain.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/GuardSlot.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace lb::core {

namespace {

const QString yes = QStringLiteral("是");
const QString no = QStringLiteral("否");

QLineEdit* numberBox(QWidget* parent, const QString& text)
{
    auto* box = new QLineEdit(text, parent);
    lb::ui::KeyFilter::install(box, lb::ui::KeyFilter::Allowed::DigitsAndPoint);
    // Numbers take no input method: what is typed goes straight into the box.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setMaximumWidth(60);
    return box;
}

QComboBox* choiceBox(QWidget* parent, const QString& first, const QString& second)
{
    auto* box = new QComboBox(parent);
    box->addItems({first, second});
    return box;
}

// An empty box is refilled with its default before the save reads it.
void refill(QLineEdit* box, const QString& value)
{
    if (box->text().isEmpty())
        box->setText(value);
}

QString flag(const QComboBox* choice)
{
    return choice->currentIndex() == 0 ? QStringLiteral("T") : QStringLiteral("F");
}

QPushButton* button(QWidget* parent, const QString& text)
{
    return new QPushButton(text, parent);
}

} // namespace

Tfrconfig::Tfrconfig(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setWindowTitle(QStringLiteral("系统选项设置"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    centreWhenShown(frmain);
    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(buildFormatsPage(), QStringLiteral("数据格式设置"));
    PageControl1->addTab(buildListPage(packagePage, frdm->AQpackage, QStringLiteral("package")),
                         QStringLiteral("商品类型设置"));
    PageControl1->addTab(buildListPage(unitsPage, frdm->AQunits, QStringLiteral("units")),
                         QStringLiteral("计量单位设置"));
    PageControl1->addTab(buildCompanyPage(), QStringLiteral("公司资料设定"));
    PageControl1->addTab(buildFrontDeskPage(), QStringLiteral("前台数据位置"));
    layout->addWidget(PageControl1);
    connect(PageControl1, &QTabWidget::currentChanged, this, lb::ui::guardSlot(this, &Tfrconfig::pageShown));
    resize(640, 460);
}

QString Tfrconfig::numberFormat(qint64 decimals, bool thousandsSeparator)
{
    const QString head = thousandsSeparator ? QStringLiteral("0,.") : QStringLiteral("0.");
    return head + QString(int(std::clamp<qint64>(decimals, 0, 6)), QLatin1Char('0'));
}

int Tfrconfig::decimalsOf(const QString& format)
{
    const int head = format.contains(QLatin1Char(',')) ? 3 : 2;
    return std::max(0, int(format.length()) - head);
}

QString Tfrconfig::folderWithSeparator(const QString& path)
{
    QString folder = path.trimmed();
    // No folder chosen stays none: "/" would send the front-desk copy to the root folder.
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// ---- Formats page ----

QWidget* Tfrconfig::buildFormatsPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    const QStringList heads = {QStringLiteral("整数位数"), QStringLiteral("小数位数"), QStringLiteral("千位分隔符")};
    for (int c = 0; c < heads.size(); ++c)
        grid->addWidget(new QLabel(heads[c], page), 0, c + 1);

    moneyDigits = numberBox(page, QStringLiteral("12"));
    moneyDecimals = numberBox(page, QString());
    moneySeparator = choiceBox(page, yes, no);
    qtyDigits = numberBox(page, QStringLiteral("8"));
    qtyDecimals = numberBox(page, QString());
    priceDigits = numberBox(page, QStringLiteral("10"));
    priceDecimals = numberBox(page, QString());
    priceSeparator = choiceBox(page, yes, no);
    weightDigits = numberBox(page, QStringLiteral("8"));
    weightDecimals = numberBox(page, QString());

    auto addRow = [&](int row, const QString& title, QLineEdit* digits, QLineEdit* decimals, QComboBox* separator) {
        grid->addWidget(new QLabel(title, page), row, 0);
        grid->addWidget(digits, row, 1);
        grid->addWidget(decimals, row, 2);
        if (separator)
            grid->addWidget(separator, row, 3);
    };
    addRow(1, QStringLiteral("金额"), moneyDigits, moneyDecimals, moneySeparator);
    addRow(2, QStringLiteral("数量"), qtyDigits, qtyDecimals, nullptr);
    addRow(3, QStringLiteral("单价"), priceDigits, priceDecimals, priceSeparator);
    addRow(4, QStringLiteral("重量"), weightDigits, weightDecimals, nullptr);

    yearCode = new QLineEdit(page);
    yearCode->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[Yy.]*")), yearCode));
    yearCode->setAttribute(Qt::WA_InputMethodEnabled, false);
    maskYear = new QLineEdit(page);
    maskYear->setAttribute(Qt::WA_InputMethodEnabled, false);
    grid->addWidget(new QLabel(QStringLiteral("日期年份格式"), page), 5, 0);
    grid->addWidget(yearCode, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("日期输入年份"), page), 6, 0);
    grid->addWidget(maskYear, 6, 1);

    imeBox = new QComboBox(page);
    imeBox->setEditable(true);
    imeBox->view()->installEventFilter(this);
    grid->addWidget(new QLabel(QStringLiteral("中文输入法"), page), 7, 0);
    grid->addWidget(imeBox, 7, 1, 1, 3);

    // Kept for the options they store; the window does not offer them.
    specChoice = choiceBox(page, QStringLiteral("条形码"), QStringLiteral("规格型号"));
    entryChoice = choiceBox(page, QStringLiteral("用条形码"), QStringLiteral("用货品代码"));
    tallyChoice = choiceBox(page, QStringLiteral("帐务结算"), QStringLiteral("只结库存"));
    for (QComboBox* hidden : {specChoice, entryChoice, tallyChoice})
        hidden->setVisible(false);

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = button(page, QStringLiteral("确定"));
    QPushButton* cancel = button(page, QStringLiteral("取消"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 8, 0, 1, 4);
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(4, 1);
    yearCode->setMaximumWidth(80);
    maskYear->setMaximumWidth(80);
    connect(ok, &QPushButton::clicked, this, lb::ui::guardSlot(this, &Tfrconfig::Button1Click));
    connect(cancel, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { close(); }));
    lb::ui::ButtonKeys::setCancelButton(*this, *cancel);

    auto* chain = new lb::ui::FocusChain(this);
    chain->setOrder({moneyDigits, moneyDecimals, qtyDigits, qtyDecimals, priceDigits, priceDecimals,
                     weightDigits, weightDecimals, yearCode, maskYear},
                    true);
    return page;
}

void Tfrconfig::TabSheet1Show()
{
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    auto text = [&](const char* name) { return config.fieldByName(QLatin1String(name)).asString(); };

    const QString amount = text("amountformat");
    moneySeparator->setCurrentIndex(amount.contains(QLatin1Char(',')) ? 0 : 1);
    moneyDecimals->setText(QString::number(decimalsOf(amount)));
    const QString price = text("priceformat");
    priceSeparator->setCurrentIndex(price.contains(QLatin1Char(',')) ? 0 : 1);
    priceDecimals->setText(QString::number(decimalsOf(price)));
    qtyDecimals->setText(QString::number(decimalsOf(text("qtyformat"))));
    weightDecimals->setText(QString::number(decimalsOf(text("weightformat"))));

    specChoice->setCurrentIndex(text("bcbj") == QLatin1String("T") ? 0 : 1);
    entryChoice->setCurrentIndex(text("bcszbj") == QLatin1String("T") ? 0 : 1);
    tallyChoice->setCurrentIndex(text("tallybj") == QLatin1String("T") ? 0 : 1);

    if (text("dateseparator") == QLatin1String("-"))
        yearCode->setText(text("dateformat").length() == 10 ? QStringLiteral("yyyy") : QStringLiteral("yy"));
    else
        yearCode->clear();
    maskYear->setText(text("dateeditmask").startsWith(QLatin1String("0000")) ? QStringLiteral("0000")
                                                                              : QStringLiteral("00"));
    imeBox->setEditText(text("imename"));
    config.close();
}

void Tfrconfig::Button1Click()
{
    refill(moneyDigits, QStringLiteral("12"));
    refill(priceDigits, QStringLiteral("10"));
    refill(qtyDigits, QStringLiteral("10"));
    refill(weightDigits, QStringLiteral("10"));
    refill(moneyDecimals, QStringLiteral("2"));
    refill(priceDecimals, QStringLiteral("2"));
    refill(weightDecimals, QStringLiteral("2"));
    refill(qtyDecimals, QStringLiteral("0"));

    // Every decimals box is converted before the row is touched, so that a box holding no
    // whole number stores nothing at all.
    const qint64 money = lb::fmt::strToInt(moneyDecimals->text());
    const qint64 price = lb::fmt::strToInt(priceDecimals->text());
    const qint64 qty = lb::fmt::strToInt(qtyDecimals->text());
    const qint64 weight = lb::fmt::strToInt(weightDecimals->text());

    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    config.edit();
    auto set = [&](const char* name, const QString& value) { config.fieldByName(QLatin1String(name)).setAsString(value); };
    set("amountformat", numberFormat(money, moneySeparator->currentText() == yes));
    set("priceformat", numberFormat(price, priceSeparator->currentText() == yes));
    set("qtyformat", numberFormat(qty, false));
    set("weightformat", numberFormat(weight, false));
    set("bcbj", flag(specChoice));
    set("bcszbj", flag(entryChoice));
    set("tallybj", flag(tallyChoice));

    const QString code = yearCode->text().trimmed();
    const QString upper = code.toUpper();
    set("dateseparator", QStringLiteral("-"));
    if (upper == QLatin1String("YYYY") || upper == QLatin1String("YY"))
        set("dateformat", code + QStringLiteral("-mm-dd"));
    else
        set("dateformat", QStringLiteral("yyyy-mm-dd"));
    const QString mask = maskYear->text().trimmed();
    if (mask == QLatin1String("0000") || mask == QLatin1String("00"))
        set("dateeditmask", mask + QStringLiteral("/00/00;1;"));
    else
        set("dateeditmask", QString());
    set("imename", imeBox->currentText().trimmed());
    config.post();
    config.close();

    frdm->applyDisplayFormats();
    if (frmain) {
        frmain->copyOptionFlags(flag(specChoice), flag(entryChoice));
        frmain->ImeName = imeBox->currentText();
    }
    close();
}

// The system's input methods cannot be listed by name here; the list offers the stored name
// and the ones the desktop session names in its environment.
void Tfrconfig::fillInputMethods()
{
    const QString current = imeBox->currentText();
    QStringList names;
    if (!current.trimmed().isEmpty())
        names << current;
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"QT_IM_MODULE", "GTK_IM_MODULE"}) {
        const QString name = environment.value(QLatin1String(variable)).trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    imeBox->blockSignals(true);
    imeBox->clear();
    imeBox->addItems(names);
    imeBox->setEditText(current);
    imeBox->blockSignals(false);
}

bool Tfrconfig::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imeBox->view() && event->type() == QEvent::Show)
        fillInputMethods();
    return lb::ui::WorkWindow::eventFilter(watched, event);
}

// ---- Category and unit pages ----

QWidget* Tfrconfig::buildListPage(ListPage& page, lb::db::Query* list, const QString& table)
{
    page.list = list;
    page.table = table;
    auto* widget = new QWidget(this);
    auto* layout = new QHBoxLayout(widget);
    page.grid = new lb::ui::DataGrid(widget);
    page.grid->setDataSet(list);
    page.grid->setColumns({lb::ui::GridColumn{QStringLiteral("name"), QStringLiteral("名称")}}); // as wide as the names
    page.grid->setReadOnly(true);
    page.grid->verticalHeader()->hide();
    layout->addWidget(page.grid, 1);

    auto* side = new QVBoxLayout;
    page.name = new QLineEdit(widget);
    page.name->setMaxLength(20);
    side->addWidget(new QLabel(QStringLiteral("名称"), widget));
    side->addWidget(page.name);
    ListPage* p = &page;
    const std::pair<QString, std::function<void()>> actions[] = {
        {QStringLiteral("保存"), [this, p] { listSave(*p); }},
        {QStringLiteral("添加"), [this, p] { listAdd(*p); }},
        {QStringLiteral("删除"), [this, p] { listDelete(*p); }},
        {QStringLiteral("上移"), [this, p] { listMove(*p, -1); }},
        {QStringLiteral("下移"), [this, p] { listMove(*p, 1); }},
        {QStringLiteral("退回"), [this] { close(); }},
    };
    for (const auto& [text, run] : actions) {
        QPushButton* b = button(widget, text);
        connect(b, &QPushButton::clicked, this, lb::ui::guardSlot(this, run));
        side->addWidget(b);
    }
    side->addStretch();
    layout->addLayout(side);

    // The grid moves the list to the clicked row before this runs.
    connect(page.grid, &QTableView::clicked, this, lb::ui::guardSlot(this, [this, p] { listCellClick(*p); }));
    return widget;
}

void Tfrconfig::showListRow(ListPage& page)
{
    if (page.list->isEmpty()) {
        page.name->clear();
        return;
    }
    if (frmain)
        frmain->EditIntno = page.list->fieldByName(QStringLiteral("intno")).asString();
    page.name->setText(page.list->fieldByName(QStringLiteral("name")).asString());
}

void Tfrconfig::listPageShow(ListPage& page)
{
    page.list->open();
    if (frmain)
        frmain->AddMode = false;
    page.name->setAttribute(Qt::WA_InputMethodEnabled, true);
    page.name->setText(page.list->isEmpty() ? QString()
                                            : page.list->fieldByName(QStringLiteral("name")).asString());
}

void Tfrconfig::listCellClick(ListPage& page)
{
    if (frmain)
        frmain->AddMode = false;
    showListRow(page);
    page.name->setFocus();
}

void Tfrconfig::listAdd(ListPage& page)
{
    if (frmain)
        frmain->AddMode = true;
    page.name->clear();
    page.name->setFocus();
}

void Tfrconfig::listSave(ListPage& page)
{
    lb::db::Query& list = *page.list;
    if (frmain && frmain->AddMode) {
        list.reopen(QStringLiteral("SELECT * from %1 order by intno").arg(page.table));
        QString intno = QStringLiteral("0000000001");
        if (!list.isEmpty()) {
            list.last();
            intno = lb::core::nextIntnoAfter(list.fieldByName(QStringLiteral("intno")).asString());
        }
        list.reopen(QStringLiteral("SELECT * from %1 ").arg(page.table));
        list.append();
        list.fieldByName(QStringLiteral("intno")).setAsString(intno);
        frmain->EditIntno = intno;
        list.fieldByName(QStringLiteral("name")).setAsString(page.name->text());
        list.post();
    } else if (!list.isEmpty()) {
        list.edit();
        list.fieldByName(QStringLiteral("name")).setAsString(page.name->text());
        list.post();
    }
    list.refresh();
}

void Tfrconfig::listDelete(ListPage& page)
{
    if (!page.list->isEmpty())
        page.list->deleteRecord();
}

void Tfrconfig::listMove(ListPage& page, int step)
{
    if (step < 0)
        page.list->prior();
    else
        page.list->next();
    if (frmain)
        frmain->AddMode = false;
    showListRow(page);
}

// ---- Company page ----

QWidget* Tfrconfig::buildCompanyPage()
{
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    companyName = new QLineEdit(page);
    companyName->setMaxLength(100);
    companyTel = new QLineEdit(page);
    companyTel->setMaxLength(100);
    companyAddr = new QLineEdit(page);
    companyAddr->setMaxLength(100);
    remarkMemo = new QPlainTextEdit(page);
    form->addRow(QStringLiteral("公司名称"), companyName);
    form->addRow(QStringLiteral("联系电话"), companyTel);
    form->addRow(QStringLiteral("公司地址"), companyAddr);
    form->addRow(new QLabel(QStringLiteral("备注(输入备注内容,在单据中将自动调入显示)"), page));
    form->addRow(remarkMemo);
    page->setToolTip(QStringLiteral("公司资料用于打印单据的标题及联系资料"));
    QPushButton* ok = button(page, QStringLiteral("确定"));
    form->addRow(ok);
    connect(ok, &QPushButton::clicked, this, lb::ui::guardSlot(this, &Tfrconfig::companyOk));
    return page;
}

void Tfrconfig::companyPageShow()
{
    for (QLineEdit* box : {companyName, companyAddr})
        box->setAttribute(Qt::WA_InputMethodEnabled, true);
    lb::db::Table& company = *frdm->ATcompany;
    company.open();
    company.edit();
    frdm->ATCONFIG->open();
    // The boxes stand for the rows' fields: filled once, they keep what was typed while another
    // page was shown.
    if (!companyLoaded_) {
        companyLoaded_ = true;
        companyName->setText(company.fieldByName(QStringLiteral("name")).asString());
        companyTel->setText(company.fieldByName(QStringLiteral("tel")).asString());
        companyAddr->setText(company.fieldByName(QStringLiteral("addr")).asString());
        remarkMemo->setPlainText(frdm->ATCONFIG->fieldByName(QStringLiteral("remark1")).asString());
    }
}

void Tfrconfig::companyOk()
{
    lb::db::Table& company = *frdm->ATcompany;
    lb::db::Table& config = *frdm->ATCONFIG;
    lb::db::Transaction transaction(frdm->ADOCon);
    if (company.state() != lb::db::DataSetState::Edit && company.state() != lb::db::DataSetState::Insert)
        company.edit();
    company.fieldByName(QStringLiteral("name")).setAsString(companyName->text());
    company.fieldByName(QStringLiteral("tel")).setAsString(companyTel->text());
    company.fieldByName(QStringLiteral("addr")).setAsString(companyAddr->text());
    company.post();
    config.open();
    config.edit();
    config.fieldByName(QStringLiteral("remark1")).setAsString(remarkMemo->toPlainText());
    config.post();
    transaction.commit();
    close();
}

// ---- Front-desk page ----

QWidget* Tfrconfig::buildFrontDeskPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    driveBox = new QComboBox(page);
    for (const QFileInfo& drive : QDir::drives())
        driveBox->addItem(drive.absoluteFilePath());
    folders_ = new QFileSystemModel(page);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folderList = new QTreeView(page);
    folderList->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        folderList->hideColumn(column);
    folderList->header()->hide();
    pathBox = new QLineEdit(page);
    pathBox->setMaxLength(150);
    layout->addWidget(new QLabel(QStringLiteral("前台数据所在的文件夹"), page));
    layout->addWidget(driveBox);
    layout->addWidget(folderList, 1);
    layout->addWidget(pathBox);
    QPushButton* ok = button(page, QStringLiteral("确定"));
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, lb::ui::guardSlot(this, &Tfrconfig::frontDeskOk));
    // Every folder chosen writes the path box: another drive, a click or a keyboard move in the
    // folder tree, Enter on a folder. The box follows the tree's selection, not its current
    // folder: the tree makes its first folder current, unselected, when the focus enters it
    // (Tab, the window activated again), and that is no choice.
    connect(driveBox, &QComboBox::currentTextChanged, this, lb::ui::guardSlot(this, [this](const QString& drive) {
        folderList->setRootIndex(folders_->setRootPath(drive));
        pathBox->setText(drive);
    }));
    connect(folderList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            lb::ui::guardSlot(this, [this](const QItemSelection& selected) {
                if (!selected.indexes().isEmpty())
                    pathBox->setText(folders_->filePath(selected.indexes().constFirst()));
            }));
    // Enter chooses the current folder, unselected as it may be, or chosen before the box was
    // typed over.
    connect(folderList, &QAbstractItemView::activated, this, lb::ui::guardSlot(this, [this](const QModelIndex& folder) {
        folderList->selectionModel()->select(folder, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        pathBox->setText(folders_->filePath(folder));
    }));
    return page;
}

void Tfrconfig::frontDeskPageShow()
{
    if (folderList->rootIndex() == QModelIndex() && driveBox->count() > 0)
        folderList->setRootIndex(folders_->setRootPath(driveBox->currentText()));
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    pathBox->setText(config.fieldByName(QStringLiteral("toppath")).asString());
}

void Tfrconfig::frontDeskOk()
{
    lb::db::Table& config = *frdm->ATCONFIG;
    config.open();
    config.edit();
    config.fieldByName(QStringLiteral("toppath")).setAsString(folderWithSeparator(pathBox->text()));
    config.post();
    close();
}

// ---- Pages and closing ----

void Tfrconfig::pageShown(int index)
{
    switch (index) {
    case 0: TabSheet1Show(); break;
    case 1: listPageShow(packagePage); break;
    case 2: listPageShow(unitsPage); break;
    case 3: companyPageShow(); break;
    case 4: frontDeskPageShow(); break;
    default: break;
    }
}

void Tfrconfig::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        pageShown(PageControl1->currentIndex());
    }
}

void Tfrconfig::onClosing()
{
    // Company boxes changed without "确定" are dropped, not left pending on the row that
    // stays open for the whole run.
    if (frdm->ATcompany->state() == lb::db::DataSetState::Edit)
        frdm->ATcompany->cancel();
    frdm->ATCONFIG->close();
    frdm->AQpackage->close();
    frdm->AQunits->close();
}

} // namespace lb::core
