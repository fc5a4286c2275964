// The export window "导出Excel": choose product columns, write the marked products to a workbook.
#include "core/Tfrexport.h"

#include "core/FailureReport.h"
#include "core/ProductExport.h"
#include "core/Tfrdm.h"
#include "platform/db/Query.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/Errors.h"
#include "platform/sys/FileWrite.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/DesktopFiles.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/Modal.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::core {

using lb::ui::guardSlot;

Tfrexport::Tfrexport(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setObjectName(QStringLiteral("Tfrexport"));
    setWindowTitle(QStringLiteral("导出Excel"));
    setWindowFlags(windowFlags() | Qt::Dialog);

    DBGrid1 = new lb::ui::DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("szbj"), QStringLiteral("选择"), 50},
                         {QStringLiteral("fieldnamecn"), QStringLiteral("导出的货品资料"), 200, true, true}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSet(frdm->AQexport);
    DBGrid1->setKeyHook([this](QKeyEvent* event) { return gridKey(event); });
    connect(DBGrid1, &QAbstractItemView::clicked, this, guardSlot(this, [this](const QModelIndex& index) {
                lb::db::Field* field = DBGrid1->gridModel()->fieldAt(index.column());
                if (field && field->dataType() == lb::db::FieldType::Boolean)
                    toggleChoice();
            }));

    CheckBox1 = new QCheckBox(QStringLiteral("全选"), this);
    connect(CheckBox1, &QCheckBox::clicked, this, guardSlot(this, &Tfrexport::CheckBox1Click));
    Button2 = new QPushButton(QStringLiteral("导出"), this);
    connect(Button2, &QPushButton::clicked, this, guardSlot(this, &Tfrexport::Button2Click));
    Button1 = new QPushButton(QStringLiteral("关闭"), this);
    connect(Button1, &QPushButton::clicked, this, guardSlot(this, [this] { close(); }));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox1);
    buttons->addStretch(1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(330, 420);
}

void Tfrexport::showEvent(QShowEvent* event)
{
    lb::ui::WorkWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    ProductExport::rebuildChoices(*frdm);
}

bool Tfrexport::gridKey(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space)
        return false;
    lb::db::Field* field = DBGrid1->selectedField();
    if (!field || field->dataType() != lb::db::FieldType::Boolean)
        return false;
    toggleChoice();
    return true;
}

void Tfrexport::toggleChoice()
{
    ProductExport::toggleChoice(*frdm->AQexport);
}

void Tfrexport::CheckBox1Click()
{
    lb::db::Query& command = *frdm->AQcom;
    command.close();
    command.sql().clear();
    command.sql().add(CheckBox1->isChecked() ? QStringLiteral("update export set szbj=true")
                                             : QStringLiteral("update export set szbj=false"));
    command.execSQL();
    command.close();
    frdm->AQexport->refresh();
}

void Tfrexport::Button2Click()
{
    lb::db::Query& products = *frdm->AQproductxls;
    products.reopen(ProductExport::selectText(*frdm->AQexport));

    const QString folder = lb::AppPaths::inProgramFolder(QStringLiteral("excel"));
    QDir().mkpath(folder);
    QFileDialog dialog(this, QStringLiteral("选择导出Excel文件存放位置及文件名"), folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    dialog.setNameFilter(QStringLiteral("xlsx (*.xlsx)"));
    dialog.selectFile(QStringLiteral("book1.xlsx"));
    if (lb::ui::Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        products.close();
        return;
    }
    const QString path = ProductExport::workbookPath(dialog.selectedFiles().constFirst());
    lb::ui::Dialogs::message(QStringLiteral("若") + path + QStringLiteral("已打开,请先关闭!"));

    // A place without room or that may not be written is named with its folder; any other
    // cause keeps the window's words, and the log keeps the error's.
    try {
        // The wait cursor and the held-back controls end however the writing ends, before any
        // message.
        struct Busy {
            lb::db::Query& products;
            explicit Busy(lb::db::Query& rows) : products(rows)
            {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                products.disableControls();
            }
            ~Busy()
            {
                QApplication::restoreOverrideCursor();
                products.enableControls();
                products.close();
            }
        } busy(products);
        ProductExport::writeWorkbook(products, path);
    } catch (const lb::Error& error) {
        // The workbook could not be filled or saved; a file of that name is as it was.
        reportFailure(this, error, {QStringLiteral("没有发现Excel!"), lb::FileFailure::Message::AnotherCause});
        return;
    }
    lb::ui::DesktopFiles::open(path, QStringLiteral("没有能打开Excel文件的程序: "));
}

void Tfrexport::onClosing()
{
    frdm->AQexport->close();
    frdm->AQproductxls->close();
}

} // namespace lb::core
