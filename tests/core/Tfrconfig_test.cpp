// Tests of the options window: number formats and their read-back, date and hidden choices,
// display formats re-applied, option copies, category and unit lists, company data and the
// front-desk folder.
#include "CoreFixture.h"

#include "core/TFrm_ErrorMessage.h"
#include "core/Tfrconfig.h"
#include "core/Tfrmain.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/LbApplication.h"
#include "platform/ui/ScriptedModals.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

using lb::core::TFrm_ErrorMessage;
using lb::core::Tfrconfig;
using lb::core::Tfrmain;

namespace {

struct FormatCase {
    qint64 decimals;
    bool separator;
    const char* format;
};

void press(QWidget* box, int key, const QString& text = QString(), Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(box, &event);
}

// Each character as its own key press.
void type(QWidget* box, const QString& text)
{
    for (QChar c : text)
        press(box, c.toUpper().unicode(), QString(c));
}

} // namespace

class TfrconfigFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(TfrconfigFormatTest, DecimalsGiveTheFormatAndBack)
{
    const FormatCase c = GetParam();
    EXPECT_EQ(QString::fromLatin1(c.format), Tfrconfig::numberFormat(c.decimals, c.separator));
    EXPECT_EQ(int(std::min<qint64>(c.decimals, 6)), Tfrconfig::decimalsOf(QString::fromLatin1(c.format)));
}

INSTANTIATE_TEST_SUITE_P(Formats, TfrconfigFormatTest,
                         ::testing::Values(FormatCase{2, true, "0,.00"}, FormatCase{2, false, "0.00"},
                                           FormatCase{0, true, "0,."}, FormatCase{0, false, "0."},
                                           FormatCase{5, false, "0.00000"}, FormatCase{6, true, "0,.000000"},
                                           FormatCase{9, false, "0.000000"}, FormatCase{40, true, "0,.000000"}));

TEST(TfrconfigFolderTest, FrontDeskFolderEndsInOneSeparator)
{
    EXPECT_EQ(QStringLiteral("/data/front/"), Tfrconfig::folderWithSeparator(QStringLiteral(" /data/front ")));
    EXPECT_EQ(QStringLiteral("/data/front/"), Tfrconfig::folderWithSeparator(QStringLiteral("/data/front/")));
    EXPECT_EQ(QString(), Tfrconfig::folderWithSeparator(QStringLiteral("  "))); // no folder is not the root folder
    EXPECT_EQ(0, Tfrconfig::decimalsOf(QString())); // an empty stored format reads as no decimals
}

class TfrconfigTest : public CoreFixture {
protected:
    void SetUp() override
    {
        CoreFixture::SetUp();
        main = std::make_unique<Tfrmain>();
        frmain = main.get();
    }

    void TearDown() override
    {
        delete window.data();
        main.reset();
        CoreFixture::TearDown();
    }

    // Opens the window as the menu does: over the disabled main window.
    Tfrconfig& open()
    {
        window = new Tfrconfig(main.get());
        window->showWork();
        return *window;
    }

    QString option(const QString& column)
    {
        return scalar(QStringLiteral("select %1 from config").arg(column)).toString();
    }

    QStringList names(const QString& table)
    {
        QStringList result;
        lb::db::Query query(db());
        query.sql().add(QStringLiteral("select intno, name from %1 order by intno").arg(table));
        query.open();
        for (query.first(); !query.eof(); query.next())
            result << query.field(0).asString() + QLatin1Char('|') + query.field(1).asString();
        return result;
    }

    std::unique_ptr<Tfrmain> main;
    QPointer<Tfrconfig> window;
};

TEST_F(TfrconfigTest, FormatsAreStoredAppliedAndReadBack)
{
    Tfrconfig& w = open();
    EXPECT_FALSE(main->isEnabled());
    w.moneyDecimals->setText(QStringLiteral("2"));
    w.moneySeparator->setCurrentIndex(0);
    w.priceDecimals->setText(QStringLiteral("9"));
    w.priceSeparator->setCurrentIndex(1);
    w.qtyDecimals->setText(QString()); // refilled with 0
    w.weightDecimals->setText(QStringLiteral("3"));
    w.specChoice->setCurrentIndex(0);
    w.entryChoice->setCurrentIndex(1);
    w.tallyChoice->setCurrentIndex(0);
    w.imeBox->setEditText(QStringLiteral(" 拼音 "));
    w.Button1Click();

    EXPECT_EQ(QStringLiteral("0,.00"), option(QStringLiteral("amountformat")));
    EXPECT_EQ(QStringLiteral("0.000000"), option(QStringLiteral("priceformat")));
    EXPECT_EQ(QStringLiteral("0."), option(QStringLiteral("qtyformat")));
    EXPECT_EQ(QStringLiteral("0.000"), option(QStringLiteral("weightformat")));
    EXPECT_EQ(QStringLiteral("T"), option(QStringLiteral("bcbj")));
    EXPECT_EQ(QStringLiteral("F"), option(QStringLiteral("bcszbj")));
    EXPECT_EQ(QStringLiteral("T"), option(QStringLiteral("tallybj")));
    EXPECT_EQ(QStringLiteral("拼音"), option(QStringLiteral("imename")));
    EXPECT_TRUE(main->SpecIsBarcode);
    EXPECT_TRUE(main->EntryByProductCode);
    EXPECT_EQ(QStringLiteral(" 拼音 "), main->ImeName);
    QApplication::processEvents();
    EXPECT_FALSE(window);             // closed and released
    EXPECT_TRUE(main->isEnabled());
    EXPECT_FALSE(dm().ATCONFIG->active());

    // The shared datasets show the new formats at once.
    insertRow(QStringLiteral("outlist"), {{QStringLiteral("amount"), 1234.5}});
    dm().AQoutlist->reopen(QStringLiteral("select * from outlist"));
    EXPECT_EQ(QStringLiteral("1,234.50"), dm().AQoutlist->fieldByName(QStringLiteral("amount")).displayText());
    makeProduct(QStringLiteral("A1"), QStringLiteral("茶"), {{QStringLiteral("dj_n"), 12.5}});
    dm().Aqproduct->reopen(QStringLiteral("SELECT * from product "));
    EXPECT_EQ(QStringLiteral("12.500000"), dm().Aqproduct->fieldByName(QStringLiteral("dj_n")).displayText());

    // Reopening reads the stored formats back.
    Tfrconfig& again = open();
    EXPECT_EQ(QStringLiteral("是"), again.moneySeparator->currentText());
    EXPECT_EQ(QStringLiteral("2"), again.moneyDecimals->text());
    EXPECT_EQ(QStringLiteral("否"), again.priceSeparator->currentText());
    EXPECT_EQ(QStringLiteral("6"), again.priceDecimals->text());
    EXPECT_EQ(QStringLiteral("0"), again.qtyDecimals->text());
    EXPECT_EQ(QStringLiteral("3"), again.weightDecimals->text());
    EXPECT_EQ(0, again.specChoice->currentIndex());
    EXPECT_EQ(1, again.entryChoice->currentIndex());
    EXPECT_EQ(QStringLiteral("拼音"), again.imeBox->currentText());
}

TEST_F(TfrconfigTest, ANumberThatIsNotWholeStoresNothing)
{
    const QString before = option(QStringLiteral("amountformat"));
    TFrm_ErrorMessage errorForm;
    Tfrconfig& w = open();
    w.moneyDecimals->setText(QStringLiteral("3"));
    w.qtyDecimals->setText(QStringLiteral("1.5"));
    // As the message loop delivers the click: the error goes to the error form.
    lb::ui::ScriptedModals modals;
    QString shown;
    modals.then([&](QDialog&) {
        shown = errorForm.Label1->text();
        errorForm.BackClick();
    });
    lb::ui::LbApplication::guarded(&w, [&] {
        w.Button1Click();
        return true;
    });
    EXPECT_EQ(QStringLiteral("输入的数据类型错误"), shown);
    EXPECT_EQ(before, option(QStringLiteral("amountformat")));
    EXPECT_TRUE(window);
    EXPECT_NE(lb::db::DataSetState::Edit, dm().ATCONFIG->state());
}

TEST_F(TfrconfigTest, FormatBoxesTakeTheirKeysAndEnterGoesRound)
{
    Tfrconfig& w = open();
    QApplication::setActiveWindow(&w);
    w.moneyDecimals->clear();
    type(w.moneyDecimals, QStringLiteral("3a.-"));
    EXPECT_EQ(QStringLiteral("3."), w.moneyDecimals->text());
    w.yearCode->clear();
    type(w.yearCode, QStringLiteral("y1Ym"));
    EXPECT_EQ(QStringLiteral("yY"), w.yearCode->text());

    const QList<QLineEdit*> order{w.moneyDigits,  w.moneyDecimals, w.qtyDigits, w.qtyDecimals, w.priceDigits,
                                  w.priceDecimals, w.weightDigits, w.weightDecimals, w.yearCode, w.maskYear};
    w.moneyDigits->setFocus();
    for (int step = 1; step <= order.size(); ++step) {
        press(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(order[step % order.size()], QApplication::focusWidget()) << step;
    }
}

// Esc is the formats page's 取消: from there it closes the window storing nothing typed; the
// other pages have no 取消 (the formats page's is hidden with its page) and Esc leaves them open.
TEST_F(TfrconfigTest, EscCancelsOnlyOnTheFormatsPage)
{
    const QString format = option(QStringLiteral("amountformat"));
    for (int page = 0; page < 5; ++page) {
        Tfrconfig& w = open();
        QApplication::setActiveWindow(&w);
        w.PageControl1->setCurrentIndex(page);
        QWidget* box = QList<QWidget*>{w.moneyDecimals, w.packagePage.name, w.unitsPage.name, w.remarkMemo, w.pathBox}[page];
        box->setFocus();
        type(box, QStringLiteral("5"));
        press(box, Qt::Key_Escape);
        EXPECT_EQ(page != 0, w.isVisible()) << page;
        delete window.data();
    }
    EXPECT_EQ(format, option(QStringLiteral("amountformat")));
}

TEST_F(TfrconfigTest, DateCodesAndEditMask)
{
    Tfrconfig& w = open();
    w.yearCode->setText(QStringLiteral(" YY "));
    w.maskYear->setText(QStringLiteral("00"));
    w.Button1Click();
    EXPECT_EQ(QStringLiteral("YY-mm-dd"), option(QStringLiteral("dateformat")));
    EXPECT_EQ(QStringLiteral("-"), option(QStringLiteral("dateseparator")));
    EXPECT_EQ(QStringLiteral("00/00/00;1;"), option(QStringLiteral("dateeditmask")));
    Tfrconfig& shown = open();
    EXPECT_EQ(QStringLiteral("yy"), shown.yearCode->text());
    EXPECT_EQ(QStringLiteral("00"), shown.maskYear->text());

    shown.yearCode->clear();
    shown.maskYear->setText(QStringLiteral("000"));
    shown.Button1Click();
    EXPECT_EQ(QStringLiteral("yyyy-mm-dd"), option(QStringLiteral("dateformat")));
    EXPECT_EQ(QString(), option(QStringLiteral("dateeditmask")));
}

TEST_F(TfrconfigTest, CategoryListAddsChangesAndDeletes)
{
    exec(QStringLiteral("delete from package"));
    Tfrconfig& w = open();
    w.PageControl1->setCurrentIndex(1);
    Tfrconfig::ListPage& page = w.packagePage;

    w.listAdd(page);
    EXPECT_TRUE(main->AddMode);
    page.name->setText(QStringLiteral("饮料"));
    w.listSave(page);
    page.name->setText(QStringLiteral("饮料")); // still adding: a second save adds again, unchecked
    w.listSave(page);
    EXPECT_EQ((QStringList{"0000000001|饮料", "0000000002|饮料"}), names(QStringLiteral("package")));
    EXPECT_EQ(QStringLiteral("0000000002"), main->EditIntno);

    // Moving shows the row and switches to changing it.
    w.listMove(page, -1);
    EXPECT_FALSE(main->AddMode);
    EXPECT_EQ(QStringLiteral("0000000001"), main->EditIntno);
    page.name->setText(QStringLiteral("食品"));
    w.listSave(page);
    EXPECT_EQ((QStringList{"0000000001|食品", "0000000002|饮料"}), names(QStringLiteral("package")));

    // A name as long as the column holds is shown whole.
    const QString longest(20, QChar(0x996E)); // twenty times 饮
    page.name->setText(longest);
    w.listSave(page);
    EXPECT_GE(page.grid->columnWidth(0), page.grid->fontMetrics().horizontalAdvance(longest));

    dialogs.answer(lb::ui::DialogAnswer::Cancel);
    EXPECT_THROW(w.listDelete(page), lb::Abort);
    EXPECT_EQ(2, names(QStringLiteral("package")).size());
    dialogs.answer(lb::ui::DialogAnswer::Ok);
    w.listDelete(page);
    EXPECT_EQ(1, names(QStringLiteral("package")).size());
    EXPECT_EQ(QStringLiteral("确实要删除当前记录吗?"), dialogs.lastText());
}

TEST_F(TfrconfigTest, UnitNumbersCountOnFromTheLastRow)
{
    exec(QStringLiteral("delete from units"));
    insertRow(QStringLiteral("units"), {{QStringLiteral("intno"), QStringLiteral("0000000009")}, {QStringLiteral("name"), QStringLiteral("个")}});
    Tfrconfig& w = open();
    w.PageControl1->setCurrentIndex(2);
    EXPECT_EQ(QStringLiteral("个"), w.unitsPage.name->text());
    w.listAdd(w.unitsPage);
    w.unitsPage.name->setText(QStringLiteral("箱"));
    w.listSave(w.unitsPage);
    EXPECT_EQ((QStringList{"0000000009|个", "0000000010|箱"}), names(QStringLiteral("units")));

    // On an empty list, changing and deleting do nothing.
    exec(QStringLiteral("delete from units"));
    w.unitsPage.list->reopen(QStringLiteral("SELECT * from units "));
    main->AddMode = false;
    w.listSave(w.unitsPage);
    w.listDelete(w.unitsPage);
    EXPECT_TRUE(names(QStringLiteral("units")).isEmpty());
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(TfrconfigTest, CompanyDataAndNoteAreStoredOnlyOnConfirm)
{
    dm().ATcompany->open();
    Tfrconfig& w = open();
    w.PageControl1->setCurrentIndex(3);
    w.companyName->setText(QStringLiteral("朔栎商行"));
    w.companyTel->setText(QStringLiteral("0571-1234567"));
    w.companyAddr->setText(QStringLiteral("杭州"));
    w.remarkMemo->setPlainText(QStringLiteral("货到付款"));
    w.PageControl1->setCurrentIndex(4); // a look at another page keeps what was typed
    w.PageControl1->setCurrentIndex(3);
    w.companyOk();
    EXPECT_EQ(QStringLiteral("朔栎商行"), scalar(QStringLiteral("select name from company")).toString());
    EXPECT_EQ(QStringLiteral("0571-1234567"), scalar(QStringLiteral("select tel from company")).toString());
    EXPECT_EQ(QStringLiteral("杭州"), scalar(QStringLiteral("select addr from company")).toString());
    EXPECT_EQ(QStringLiteral("货到付款"), option(QStringLiteral("remark1")));

    // Closing without "确定" leaves nothing pending on the company row.
    Tfrconfig& again = open();
    again.PageControl1->setCurrentIndex(3);
    EXPECT_EQ(QStringLiteral("朔栎商行"), again.companyName->text());
    again.companyName->setText(QStringLiteral("别的名字"));
    again.close();
    EXPECT_EQ(lb::db::DataSetState::Browse, dm().ATcompany->state());
    EXPECT_EQ(QStringLiteral("朔栎商行"), scalar(QStringLiteral("select name from company")).toString());
}

TEST_F(TfrconfigTest, FrontDeskFolderIsStoredWithItsSeparator)
{
    Tfrconfig& w = open();
    w.PageControl1->setCurrentIndex(4);
    w.pathBox->setText(QStringLiteral(" /srv/front "));
    w.frontDeskOk();
    EXPECT_EQ(QStringLiteral("/srv/front/"), option(QStringLiteral("toppath")));
    Tfrconfig& again = open();
    again.PageControl1->setCurrentIndex(4);
    EXPECT_EQ(QStringLiteral("/srv/front/"), again.pathBox->text());
}

// Not only a mouse click: a folder the tree selects any way and another drive write the box.
TEST_F(TfrconfigTest, FrontDeskPathFollowsEveryChangeOfFolder)
{
    QDir(folder.path()).mkpath(QStringLiteral("front/data"));
    Tfrconfig& w = open();
    w.PageControl1->setCurrentIndex(4);
    const QString data = folder.filePath(QStringLiteral("front/data"));
    auto* folders = static_cast<QFileSystemModel*>(w.folderList->model());
    w.folderList->setCurrentIndex(folders->index(data));
    EXPECT_EQ(data, w.pathBox->text());
    w.driveBox->addItem(folder.filePath(QStringLiteral("front")));
    w.driveBox->setCurrentIndex(w.driveBox->count() - 1);
    EXPECT_EQ(folder.filePath(QStringLiteral("front")), w.pathBox->text());
}

namespace {

// A way the focus or a choice reaches the front-desk page's folder tree, and the folder of the
// tree the path box then names ("a" first, "b" below it): none, the stored one stays.
struct FolderTreeCase {
    const char* name;
    void (*act)(Tfrconfig& w);
    const char* chosen;
};

void PrintTo(const FolderTreeCase& c, std::ostream* os) { *os << c.name; }

// A click, the focus given as the window system gives it.
void clickIn(QTreeView* tree, QPoint at)
{
    tree->setFocus(Qt::MouseFocusReason);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, tree->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &event);
    }
}

void tabIn(Tfrconfig& w)
{
    w.driveBox->setFocus();
    press(w.driveBox, Qt::Key_Tab);
}

QModelIndex row(const QTreeView* tree, int n) { return tree->model()->index(n, 0, tree->rootIndex()); }

// Waits until the tree shows "a" first with a folder below it, woken by the model's signals: it
// reads a folder in the background and hands over its rows before it says the folder is loaded
// (directoryLoaded), and sorts them a moment later (layoutChanged). However slow the machine,
// they come; the minute only ends a wait that nothing would end.
::testing::AssertionResult waitForFolders(const QTreeView* tree)
{
    auto* folders = static_cast<QFileSystemModel*>(tree->model());
    const auto shown = [&] { return folders->fileName(row(tree, 0)) == QStringLiteral("a") && row(tree, 1).isValid(); };
    QEventLoop loop;
    const auto check = [&] {
        if (shown())
            loop.quit();
    };
    QObject::connect(folders, &QFileSystemModel::directoryLoaded, &loop, check);
    QObject::connect(folders, &QAbstractItemModel::rowsInserted, &loop, check);
    QObject::connect(folders, &QAbstractItemModel::layoutChanged, &loop, check);
    QTimer::singleShot(std::chrono::minutes(1), &loop, [&] { loop.exit(1); });
    if (shown() || loop.exec() == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the folder tree did not show its folders a and b within a minute of "
                                            "loading and sorting them";
}

class TfrconfigFolderTreeTest : public TfrconfigTest, public ::testing::WithParamInterface<FolderTreeCase> {};

} // namespace

// Only a folder chosen in the tree writes the path box, and so what 确定 stores: the focus
// moving in (the tree then makes its first folder current, unselected) leaves the stored one.
TEST_P(TfrconfigFolderTreeTest, OnlyAChoiceChangesTheFolder)
{
    const QString front = folder.filePath(QStringLiteral("front"));
    QDir(front).mkpath(QStringLiteral("a"));
    QDir(front).mkpath(QStringLiteral("b"));
    exec(QStringLiteral("update config set toppath = '/srv/stored/'"));
    Tfrconfig& w = open();
    QApplication::setActiveWindow(&w);
    w.driveBox->addItem(front);
    w.driveBox->setCurrentIndex(w.driveBox->count() - 1);
    w.PageControl1->setCurrentIndex(4);
    EXPECT_EQ(QStringLiteral("/srv/stored/"), w.pathBox->text());
    ASSERT_TRUE(waitForFolders(w.folderList));
    auto* folders = static_cast<QFileSystemModel*>(w.folderList->model());
    ASSERT_EQ(QStringLiteral("b"), folders->fileName(row(w.folderList, 1)));

    GetParam().act(w);
    EXPECT_EQ(w.folderList, QApplication::focusWidget());
    const char* chosen = GetParam().chosen;
    const QString path = *chosen ? QDir(front).filePath(QString::fromLatin1(chosen)) : QStringLiteral("/srv/stored/");
    EXPECT_EQ(path, w.pathBox->text());
    w.PageControl1->currentWidget()->findChild<QPushButton*>()->click();
    EXPECT_EQ(Tfrconfig::folderWithSeparator(path), option(QStringLiteral("toppath")));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TfrconfigFolderTreeTest,
    ::testing::Values(
        FolderTreeCase{"Tab", tabIn, ""},
        FolderTreeCase{"ShiftTab", [](Tfrconfig& w) {
                           w.pathBox->setFocus();
                           press(w.pathBox, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
                       }, ""},
        FolderTreeCase{"WindowActivatedAgain", [](Tfrconfig& w) {
                           QApplication::setActiveWindow(nullptr);
                           w.folderList->setFocus();
                           QApplication::setActiveWindow(&w);
                       }, ""},
        FolderTreeCase{"DownKey", [](Tfrconfig& w) { tabIn(w); press(w.folderList, Qt::Key_Down); }, "b"},
        FolderTreeCase{"ClickOnAFolder", [](Tfrconfig& w) { clickIn(w.folderList, w.folderList->visualRect(row(w.folderList, 1)).center()); }, "b"},
        FolderTreeCase{"EnterOnAFolder", [](Tfrconfig& w) { tabIn(w); press(w.folderList, Qt::Key_Return); }, "a"}),
    [](const ::testing::TestParamInfo<FolderTreeCase>& info) { return std::string(info.param.name); });
