// Tests of the product export: the column chooser rebuilt on every showing, the workbook of
// the marked products read back (cell kinds and texts), and the save paths that end early.
#include "CoreFixture.h"
#include "support/FakeFileHandler.h"

#include "core/ProductExport.h"
#include "core/Tfrexport.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedModals.h"
#include "support/FullDisk.h"
#include "support/ScratchDisk.h"
#include "support/TemporaryFolderAt.h"
#include "support/XlsxSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPushButton>

using lb::core::ProductExport;
using lb::core::Tfrexport;

namespace {


class ExportTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        makeProduct(QStringLiteral("00123"), QStringLiteral("苹果汁"),
                    {{QStringLiteral("name"), QStringLiteral("饮料")}, {QStringLiteral("szbj"), true},
                     {QStringLiteral("sl"), 12.5}, {QStringLiteral("dj_n"), 3.2}, {QStringLiteral("spbs"), QStringLiteral("瓶")},
                     {QStringLiteral("bz"), QStringLiteral("=1+2")}, {QStringLiteral("barcode"), QStringLiteral("6901234567890")}});
        makeProduct(QStringLiteral("A7"), QStringLiteral("饼干"),
                    {{QStringLiteral("name"), QStringLiteral("食品")}, {QStringLiteral("szbj"), true}, {QStringLiteral("sl"), -2}});
        makeProduct(QStringLiteral("Z9"), QStringLiteral("未选"), {{QStringLiteral("name"), QStringLiteral("饮料")}});
    }

    void TearDown() override
    {
        delete window.data();
        CoreFixture::TearDown();
    }

    void open()
    {
        window = new Tfrexport();
        window->showWork();
    }

    // Ticks the chooser rows of these columns, by clicks on their check boxes.
    void choose(const QStringList& names)
    {
        lb::db::Query& choices = *dm().AQexport;
        for (const QString& name : names) {
            ASSERT_TRUE(choices.locate(QStringLiteral("fieldnameen"), name));
            const QModelIndex cell = window->DBGrid1->model()->index(choices.recNo() - 1, 0);
            window->DBGrid1->setCurrentIndex(cell);
            emit window->DBGrid1->clicked(cell);
        }
    }

    // Exports, answering the save box with `name` typed in the program's excel folder.
    void exportAs(const QString& name)
    {
        lb::ui::ScriptedModals modals;
        modals.then([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            chosenFolder = files.directory().absolutePath();
            titles << files.windowTitle();
            selected = files.selectedFiles().value(0);
            files.selectFile(name);
            files.QDialog::done(QDialog::Accepted);
        });
        window->Button2->click();
    }

    QString excelFolder() { return lb::AppPaths::inProgramFolder(QStringLiteral("excel")); }

    FakeFileHandler handler;
    QPointer<Tfrexport> window;
    QString chosenFolder;
    QString selected;
    QStringList titles;
};

} // namespace

TEST_F(ExportTest, ShowingRebuildsTheChooserWithItsCounterFromOne)
{
    exec(QStringLiteral("insert into export (szbj, fieldnameen, fieldnamecn) values (1, 'old', 'old')"));
    open();
    EXPECT_EQ(QStringLiteral("导出Excel"), window->windowTitle());
    lb::db::Query& choices = *dm().AQexport;
    ASSERT_EQ(13, choices.recordCount());
    QStringList captions;
    for (choices.first(); !choices.eof(); choices.next()) {
        captions << choices.fieldByName(QStringLiteral("fieldnamecn")).asString();
        EXPECT_FALSE(choices.fieldByName(QStringLiteral("szbj")).asBoolean());
    }
    EXPECT_EQ((QStringList{"货品类别", "货品代码", "货品名称", "条形码", "规格型号", "单位", "数量/件", "库存数量",
                           "进货价", "批发价", "超市价", "零售价", "备注"}),
              captions);
    EXPECT_EQ((QVariantList{1, 13}), (QVariantList{scalar(QStringLiteral("select min(intid) from export")),
                                                   scalar(QStringLiteral("select max(intid) from export"))}));
    window->close();
    open();
    EXPECT_EQ(1, scalar(QStringLiteral("select min(intid) from export")).toInt());
    EXPECT_EQ(13, scalar(QStringLiteral("select count(*) from export")).toInt());
}

TEST_F(ExportTest, MarkedProductsAreWrittenWithTheChosenColumnsAndKinds)
{
    open();
    choose({QStringLiteral("sphh"), QStringLiteral("spmc"), QStringLiteral("spbs"), QStringLiteral("sl"),
            QStringLiteral("dj_n"), QStringLiteral("bz"), QStringLiteral("barcode")});
    // A click on the caption column changes nothing; a second click on a box takes it back,
    // and the space bar on the check column chooses again.
    lb::db::Query& choices = *dm().AQexport;
    ASSERT_TRUE(choices.locate(QStringLiteral("fieldnameen"), QStringLiteral("dj_w")));
    emit window->DBGrid1->clicked(window->DBGrid1->model()->index(choices.recNo() - 1, 1));
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from export where fieldnameen='dj_w' and szbj")).toInt());
    choose({QStringLiteral("dj_n")});
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from export where fieldnameen='dj_n' and szbj")).toInt());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(window->DBGrid1, &space);
    EXPECT_EQ(1, scalar(QStringLiteral("select count(*) from export where fieldnameen='dj_n' and szbj")).toInt());

    exportAs(QStringLiteral("stock"));
    EXPECT_EQ(excelFolder(), chosenFolder);
    EXPECT_EQ(QStringList{"选择导出Excel文件存放位置及文件名"}, titles);
    EXPECT_TRUE(selected.endsWith(QStringLiteral("/book1.xlsx"))) << selected.toStdString();
    const QString path = excelFolder() + QStringLiteral("/stock.xlsx");
    EXPECT_EQ(QStringList{QStringLiteral("若") + path + QStringLiteral("已打开,请先关闭!")}, dialogs.texts());
    EXPECT_EQ(QStringList{path}, handler.opened());

    const XlsxSheet sheet = XlsxSheet::read(path);
    // The category leads whether chosen or not; columns in the chooser's order.
    EXPECT_EQ((QStringList{"货品类型", "货品代码", "货品名称", "条形码", "单位", "库存数量", "批发价", "备注"}), sheet.row(1, 8));
    EXPECT_EQ(3, sheet.lastRow());
    // By category: 食品 before 饮料. Empty text stays an empty cell.
    EXPECT_EQ((QStringList{"食品", "A7", "饼干", "", "", "-2", "0", ""}), sheet.row(2, 8));
    EXPECT_EQ((QStringList{"s", "s", "s", "", "", "n", "n", ""}), sheet.types(2, 8));
    EXPECT_EQ((QStringList{"饮料", "00123", "苹果汁", "6901234567890", "瓶", "12.5", "3.2", "=1+2"}), sheet.row(3, 8));
    EXPECT_EQ((QStringList{"s", "s", "s", "s", "s", "n", "n", "s"}), sheet.types(3, 8));
    EXPECT_FALSE(sheet.cells.at(QStringLiteral("H3")).formula);
    EXPECT_NEAR(16.0, sheet.columnWidths.at(3), 1.0);
    EXPECT_NEAR(4.0, sheet.columnWidths.at(5), 1.0);
    EXPECT_EQ(28.0, sheet.rowHeights.at(1));
    EXPECT_TRUE(sheet.printGridLines);
    EXPECT_FALSE(dm().AQproductxls->active());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(ExportTest, ChooseAllNoneAndEmptySelections)
{
    open();
    window->CheckBox1->click();
    EXPECT_EQ(13, scalar(QStringLiteral("select count(*) from export where szbj")).toInt());
    EXPECT_TRUE(dm().AQexport->fieldByName(QStringLiteral("szbj")).asBoolean()); // the grid shows it
    window->CheckBox1->click();
    EXPECT_EQ(0, scalar(QStringLiteral("select count(*) from export where szbj")).toInt());

    // Nothing chosen: one column, the category. A name typed with .XLSX keeps it.
    exportAs(QStringLiteral("only.XLSX"));
    XlsxSheet sheet = XlsxSheet::read(excelFolder() + QStringLiteral("/only.XLSX"));
    EXPECT_EQ((QStringList{"货品类型", ""}), sheet.row(1, 2));
    EXPECT_EQ((QStringList{"食品", "饮料"}), (QStringList{sheet.row(2, 1)[0], sheet.row(3, 1)[0]}));

    // No marked product: the header row alone.
    exec(QStringLiteral("update product set szbj=false"));
    choose({QStringLiteral("spmc")});
    exportAs(QStringLiteral("none.xlsx"));
    sheet = XlsxSheet::read(excelFolder() + QStringLiteral("/none.xlsx"));
    EXPECT_EQ(1, sheet.lastRow());
    EXPECT_EQ((QStringList{"货品类型", "货品名称"}), sheet.row(1, 2));
}

TEST_F(ExportTest, CancelWritesNothingAndAFailedSaveSaysSo)
{
    open();
    {
        lb::ui::ScriptedModals modals;
        modals.then([](QDialog& dialog) { dialog.reject(); });
        window->Button2->click();
    }
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_TRUE(QDir(excelFolder()).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(dm().AQproductxls->active());

    // A workbook that cannot be saved: a folder stands where the file would go.
    ASSERT_TRUE(QDir().mkpath(excelFolder() + QStringLiteral("/taken.xlsx")));
    exportAs(QStringLiteral("taken.xlsx"));
    EXPECT_EQ(QStringLiteral("没有发现Excel!"), dialogs.lastText());
    EXPECT_TRUE(handler.opened().isEmpty());
    EXPECT_TRUE(QDir(excelFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_FALSE(QApplication::overrideCursor());
    EXPECT_FALSE(dm().AQproductxls->active());
}

// A disk without room is named with its folder, and an old workbook of the name stays as it
// was with nothing left beside it; with room, the whole workbook takes its place.
TEST_F(ExportTest, AFullDiskIsNamedAndKeepsTheOldWorkbook)
{
    open();
    exportAs(QStringLiteral("stock.xlsx"));
    const QString path = excelFolder() + QStringLiteral("/stock.xlsx");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    exec(QStringLiteral("update product set spmc='改名' where sphh='A7'"));
    choose({QStringLiteral("spmc")});
    dialogs.clear();
    {
        FullDisk disk(excelFolder());
        exportAs(QStringLiteral("stock.xlsx"));
    }
    EXPECT_EQ((QStringList{QStringLiteral("若") + path + QStringLiteral("已打开,请先关闭!"),
                           QStringLiteral("磁盘已满,不能写入文件夹: ") + QDir::toNativeSeparators(excelFolder())}),
              dialogs.texts());
    EXPECT_EQ(QStringList{path}, handler.opened()); // the first export's alone
    EXPECT_EQ(QStringList{"stock.xlsx"}, QDir(excelFolder()).entryList(QDir::Files | QDir::Hidden));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(before, old.readAll());
    old.close();

    {
        FullDisk disk(excelFolder(), 1 << 20);
        exportAs(QStringLiteral("stock.xlsx"));
    }
    EXPECT_EQ((QStringList{path, path}), handler.opened());
    const XlsxSheet sheet = XlsxSheet::read(path);
    EXPECT_EQ(3, sheet.lastRow());
    EXPECT_EQ((QStringList{"食品", "改名"}), sheet.row(2, 2));
}

// The workbook is filled in the system's temporary folder first: when that folder is full, the
// window names it, not the folder the user chose, and the old workbook stays.
TEST_F(ExportTest, AFullTemporaryFolderIsNamed)
{
    open();
    exportAs(QStringLiteral("stock.xlsx"));
    const QString path = excelFolder() + QStringLiteral("/stock.xlsx");
    const XlsxSheet before = XlsxSheet::read(path);
    const QString temporary = folder.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temporary));
    {
        const TemporaryFolderAt moved(temporary);
        ScratchDisk disk(temporary, 64 * 1024);
        if (!disk.ok())
            GTEST_SKIP() << "no disk of the test's own can be mounted here";
        disk.fill();
        dialogs.clear();
        exportAs(QStringLiteral("stock.xlsx"));
    }
    EXPECT_EQ((QStringList{QStringLiteral("若") + path + QStringLiteral("已打开,请先关闭!"),
                           QStringLiteral("临时文件夹已满,不能写入: ") + QDir::toNativeSeparators(temporary)}),
              dialogs.texts());
    EXPECT_EQ(QStringList{path}, handler.opened()); // the first export's alone
    EXPECT_EQ(before.row(2, 2), XlsxSheet::read(path).row(2, 2));
    EXPECT_TRUE(scalar(QStringLiteral("select mess from apperror")).toString().startsWith(QStringLiteral("没有发现Excel!\n临时文件夹已满")));
}

// A saved workbook that no program opens: the user learns where it is.
TEST_F(ExportTest, AWorkbookNoProgramOpensIsNamed)
{
    handler.endWith(4);
    open();
    exportAs(QStringLiteral("stock"));
    const QString path = excelFolder() + QStringLiteral("/stock.xlsx");
    EXPECT_EQ(QStringList{path}, handler.opened());
    EXPECT_EQ((QStringList{QStringLiteral("若") + path + QStringLiteral("已打开,请先关闭!"),
                           QStringLiteral("没有能打开Excel文件的程序: ") + QDir::toNativeSeparators(path)}),
              dialogs.texts());
}

TEST_F(ExportTest, OnlyProductColumnsReachTheQuery)
{
    open();
    lb::db::Query& choices = *dm().AQexport;
    choices.last();
    choices.edit();
    choices.fieldByName(QStringLiteral("fieldnameen")).setAsString(QStringLiteral("sl from product; drop table product --"));
    choices.fieldByName(QStringLiteral("szbj")).setAsBoolean(true);
    choices.post();
    choose({QStringLiteral("sl")});
    EXPECT_EQ(QStringLiteral("SELECT name,sl from product WHERE szbj=true ORDER BY name"), ProductExport::selectText(choices));
    EXPECT_EQ(QStringLiteral("a.xlsx"), ProductExport::workbookPath(QStringLiteral("  a ")));
    EXPECT_EQ(QStringLiteral("a.Xlsx"), ProductExport::workbookPath(QStringLiteral("a.Xlsx")));
}

