// Tests of the main window's menus, tool bar, navigator bar and dashboard: every entry present
// and wired to its window or command, entries waiting for their window, the window convention,
// rights, hidden shortcut keys, help, calculator, background picture, and what the window looks like.
#include "MainWindowFixture.h"
#include "support/FakeFileHandler.h"

#include "core/Dashboard.h"
#include "core/HelpFile.h"
#include "core/PictureButton.h"
#include "core/TFrcompany.h"
#include "core/TFropadd.h"
#include "core/TFrpassword.h"
#include "core/TFrstart.h"
#include "core/Tfrconfig.h"
#include "core/Tfrcopydir.h"
#include "core/Tfrdbcopy.h"
#include "core/Tfrpack.h"
#include "core/Tfrmain.h"
#include "core/Tfropcrl.h"
#include "core/WindowRegistry.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfWriter.h"
#include "platform/ui/ScriptedModals.h"
#include "platform/ui/WorkWindow.h"
#include "support/ReportedErrors.h"
#include "support/Typing.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSet>
#include <QThread>
#include <QToolBar>
#include <QWindow>

using lb::core::Dashboard;
using lb::core::HelpFile;
using lb::core::PickCode;
using lb::core::PictureButton;
using lb::core::TFrcompany;
using lb::core::TFropadd;
using lb::core::TFrstart;
using lb::core::Tfrconfig;
using lb::core::Tfrcopydir;
using lb::core::Tfrdbcopy;
using lb::core::Tfropcrl;
using lb::core::Tfrpack;
using lb::core::WindowRegistry;

namespace {


// A stand-in for a work window of another part of the program.
class ProbeWindow : public lb::ui::WorkWindow {
public:
    explicit ProbeWindow(QWidget* owner) : lb::ui::WorkWindow(owner) { setWindowTitle(QStringLiteral("probe")); }
};

QStringList texts(const QList<QAction*>& actions, bool visibleOnly)
{
    QStringList result;
    for (QAction* action : actions)
        if (!action->isSeparator() && (!visibleOnly || action->isVisible()))
            result << action->text();
    return result;
}

void click(QWidget* widget)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

void moveOver(QWidget* widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

class TfrmainMenusTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window->OperatorNo = QStringLiteral("999");
    }

    void TearDown() override
    {
        for (const QString& key : registered)
            WindowRegistry::instance().unregister(key);
        // Deleting one window may delete others: hold them all by guarded pointers first.
        QList<QPointer<lb::ui::WorkWindow>> open;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* work = qobject_cast<lb::ui::WorkWindow*>(top))
                open << work;
        for (const QPointer<lb::ui::WorkWindow>& work : open)
            delete work.data();
        MainWindowFixture::TearDown();
    }

    // Shows the window through its first showing, logged in as the administrator.
    void start()
    {
        MainWindowFixture::start();
        QApplication::setActiveWindow(window.get());
    }

    QMenu* menu(const QString& title)
    {
        for (QAction* action : window->menuBar()->actions())
            if (action->text() == title)
                return action->menu();
        ADD_FAILURE() << "no menu " << title.toStdString();
        return nullptr;
    }

    QAction* action(const QString& menuTitle, const QString& text)
    {
        for (QAction* a : menu(menuTitle)->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << "no item " << text.toStdString();
        return nullptr;
    }

    QAction* tool(const QString& text)
    {
        auto* bar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
        for (QAction* a : bar->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << "no tool button " << text.toStdString();
        return nullptr;
    }

    Dashboard* dashboard() { return window->findChild<Dashboard*>(QStringLiteral("Dashboard")); }

    // Registers a probe window under `key`; `atCreation` runs when the window is made.
    void registerProbe(const QString& key, std::function<void()> atCreation = {})
    {
        registered << key;
        WindowRegistry::instance().registerWindow(key, [this, atCreation](QWidget* owner) {
            mainEnabledAtCreation = owner->isEnabled();
            if (atCreation)
                atCreation();
            probe = new ProbeWindow(owner);
            return probe.data();
        });
    }

    // A key press sent by the program (not by the keyboard) goes to the shortcut map first.
    void pressKey(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &press);
    }

    QStringList registered;
    QPointer<ProbeWindow> probe;
    bool mainEnabledAtCreation = true;
};

TEST_F(TfrmainMenusTest, EveryMenuItemIsThereWithItsText)
{
    const std::pair<QString, QStringList> menus[] = {
        {"&S 系统管理", {"操作员管理", "更换操作员", "系统初始化", "系统设置", "打印设置", "退出系统"}},
        {"&J 基本资料",
         {"商品资料", "客户-商品表", "客户资料", "供应商资料", "现金银行", "员工资料", "货品类型", "计量单位", "仓库设置"}},
        {"&C 查录单据", {"进货单", "进货退货单", "销售单", "销售退货单", "收款单", "付款单"}},
        {"&Q 期初建帐", {"期初商品库存", "期初现金银行", "期初客户应收", "期初供应商应付"}},
        {"&D 单据汇总",
         {"销售汇总表", "销售退货汇总", "客户汇总表", "客户对帐表", "商品进货汇总", "进货退货汇总", "供应商汇总表",
          "供应商对帐表", "收款汇总表", "付款汇总表", "现金银行流水帐"}},
        {"&K 库存管理", {"库存盘点", "库存盈亏表", "更新库存量", "库存资产表"}},
        {"&W 数据维护",
         {"数据压缩整理", "数据备份恢复", "月终数据处理", "年终数据处理", "年度数据备份", "从前台复制数据",
          "复制上年数据", "恢复今年数据"}},
        {"&H 帮  助", {"使用说明", "产品推介", "计算器", "版权声明", "数据处理"}},
        {"&L 录帐", {"销售单", "销售退货单", "进货单", "进货退货单", "收款单", "付款单"}},
    };
    QStringList titles;
    QStringList hidden;
    for (const auto& [title, items] : menus) {
        titles << title;
        EXPECT_EQ(items, texts(menu(title)->actions(), false));
        for (QAction* item : menu(title)->actions())
            if (!item->isVisible())
                hidden << item->text();
    }
    EXPECT_EQ(titles, texts(window->menuBar()->actions(), false));
    EXPECT_EQ(titles.mid(0, 8), texts(window->menuBar()->actions(), true)); // "&L 录帐" is hidden
    EXPECT_EQ((QStringList{"货品类型", "计量单位", "现金银行流水帐", "从前台复制数据", "复制上年数据", "恢复今年数据",
                           "数据处理"}),
              hidden);

    EXPECT_EQ(QKeySequence(Qt::Key_F2), action(QStringLiteral("&J 基本资料"), QStringLiteral("商品资料"))->shortcut());
    EXPECT_EQ(QKeySequence(Qt::Key_F3), action(QStringLiteral("&J 基本资料"), QStringLiteral("客户资料"))->shortcut());
    EXPECT_FALSE(action(QStringLiteral("&W 数据维护"), QStringLiteral("复制上年数据"))->isEnabled());

    auto* bar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    EXPECT_EQ((QStringList{"商品资料", "订货单", "进货单", "销售单", "销售退货", "进货退货", "收款单", "付款单", "计算器",
                           "如何开始", "退出"}),
              texts(bar->actions(), true).mid(0, 11));
    EXPECT_FALSE(tool(QStringLiteral("复制数据"))->isVisible());
    auto* navigator = window->findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
    ASSERT_NE(nullptr, navigator);
    EXPECT_EQ(QStringLiteral("导航窗口"), navigator->text());
    EXPECT_TRUE(navigator->isChecked());
}

TEST_F(TfrmainMenusTest, AltAndAMenusLetterOpensItAndTheHiddenMenusOpensNothing)
{
    start();
    for (QAction* title : window->menuBar()->actions()) {
        SCOPED_TRACE(title->text().toStdString());
        const char letter = title->text().at(1).toLatin1();
        pressAccessKey(window.get(), letter);
        QApplication::processEvents();
        QWidget* opened = QApplication::activePopupWidget();
        EXPECT_EQ(title->text() == QStringLiteral("&L 录帐") ? nullptr : title->menu(), opened);
        if (opened)
            opened->close();
        QApplication::processEvents();
    }
}

TEST_F(TfrmainMenusTest, DashboardPagesHoldTheirPicturesAndTexts)
{
    Dashboard* board = dashboard();
    ASSERT_NE(nullptr, board);
    const QStringList titles{"基本资料", "进货管理", "销售管理", "系统管理"};
    for (int page = 0; page < Dashboard::pageCount; ++page) {
        EXPECT_EQ(titles[page], board->pageTitle(page));
        EXPECT_EQ(titles[page], board->navigatorButton(page)->caption());
        EXPECT_EQ(QStringLiteral("PAN%1").arg(page + 1), board->page(page)->objectName());
    }
    auto captions = [&](int page) {
        QStringList result;
        for (PictureButton* b : board->buttons(page))
            result << b->caption();
        return result;
    };
    auto lines = [&](int page) {
        QStringList result;
        for (QLabel* l : board->texts(page))
            result << l->text();
        return result;
    };
    EXPECT_EQ((QStringList{"供应商资料", "商品资料", "客户资料", "员工资料"}), captions(0));
    EXPECT_EQ((QStringList{"◎供应商资料-提供供应商资料录入、查询", "◎商品资料-提供商品资料的录入和查询",
                           "◎客户资料-提供客户资料的录入、查询", "◎员工资料-提供员工档案资料管理"}),
              lines(0));
    EXPECT_EQ((QStringList{"进货单", "付款单", "进货退货单", ""}), captions(1));
    EXPECT_EQ((QStringList{"№进货汇总-按供应商或商品的进货单进行汇总", "№付款汇总-对供应商的付款进行汇总",
                           "№进货退货-对退货商品单进行汇总", "№供应商汇总-对供应商进货、退货、付款进行汇总"}),
              lines(1));
    EXPECT_EQ((QStringList{"销售单", "销售退货单", "收款单", ""}), captions(2));
    EXPECT_EQ((QStringList{"☆销售汇总表-可按时间段对销售单进行汇总", "☆退货汇总-可按时间段对销售退货单进行汇总",
                           "☆收款汇总-可按时间段对收款单进行汇总", "☆客户汇总-可按时间段对客户销售、收款汇总"}),
              lines(2));
    EXPECT_EQ((QStringList{"系统设置", "操作员管理", "使用说明"}), captions(3));
    EXPECT_EQ((QStringList{"☆系统设置-设置数据格式及预先设定有关基础数据", "☆操作员权限-修改操作员资料及口令",
                           "☆帮助使用-提供本软件的使用说明"}),
              lines(3));
    EXPECT_EQ(QStringLiteral("朔栎进销存→易用、实用、通用，适合各类商场、百货商行的批发+零售......"), board->Panel6->text());
}

TEST_F(TfrmainMenusTest, ItemsWaitDisabledUntilTheirWindowIsRegistered)
{
    QAction* sales = action(QStringLiteral("&C 查录单据"), QStringLiteral("销售单"));
    QAction* salesTool = tool(QStringLiteral("销售单"));
    PictureButton* salesPicture = dashboard()->buttons(2)[0];
    QLabel* summaryLink = dashboard()->texts(2)[0];
    EXPECT_FALSE(sales->isEnabled());
    EXPECT_FALSE(salesTool->isEnabled());
    EXPECT_FALSE(salesPicture->isEnabled());
    EXPECT_TRUE(sales->isVisible());

    registerProbe(QStringLiteral("Tfroutlist"));
    EXPECT_TRUE(sales->isEnabled());
    EXPECT_TRUE(salesTool->isEnabled());
    EXPECT_TRUE(salesPicture->isEnabled());
    EXPECT_FALSE(summaryLink->isEnabled());
    registerProbe(QStringLiteral("Tfrouttotal"));
    EXPECT_TRUE(summaryLink->isEnabled());

    WindowRegistry::instance().unregister(QStringLiteral("Tfroutlist"));
    EXPECT_FALSE(sales->isEnabled());
    EXPECT_TRUE(action(QStringLiteral("&S 系统管理"), QStringLiteral("系统设置"))->isEnabled()); // the core's own
}

namespace {

// An entry of the menus, the tool bar or the dashboard and what it must run: the key, the
// NewBillFlag the window finds when it is made ("": left as it was), whether it is made with
// PickMode None (else left as it was), and the shared dataset prepared after the window is
// made, with the SQL it is given.
struct Wiring {
    const char* place; // a menu's title, "tool", or a dashboard page "PAN1" to "PAN4"
    const char* text;  // item text, tool caption, picture caption or link text
    const char* key;
    const char* flag;
    bool noPicker;
    const char* dataSet;
    const char* sql;
};

const char* const system = "&S 系统管理";
const char* const basic = "&J 基本资料";
const char* const lists = "&C 查录单据";
const char* const opening = "&Q 期初建帐";
const char* const totals = "&D 单据汇总";
const char* const stock = "&K 库存管理";
const char* const upkeep = "&W 数据维护";
const char* const helpMenu = "&H 帮  助";
const char* const entry = "&L 录帐";

const Wiring wirings[] = {
    {system, "操作员管理", "Tfropcrl", "", false, "ATopcrl", ""},
    {system, "系统初始化", "SystemInit", "", false, "", ""},
    {system, "系统设置", "Tfrconfig", "", false, "", ""},
    {basic, "商品资料", "TFrproduct", "", true, "Aqproduct", "SELECT * from product "},
    {basic, "客户-商品表", "TFrcproduct", "", true, "Aqcproduct", ""},
    {basic, "客户资料", "TFrcustomer", "", true, "Aqcustomer", ""},
    {basic, "供应商资料", "TFrbranch", "", true, "AQbranch", ""},
    {basic, "现金银行", "TFrbank", "", true, "AQbank", ""},
    {basic, "员工资料", "TFremployee", "", true, "AQemployee", ""},
    {basic, "仓库设置", "TFrstore", "", true, "AQstore", ""},
    {lists, "进货单", "Tfrinlist", "F", false, "AQoutlist", "SELECT * from inlist"},
    {lists, "进货退货单", "Tfrinbacklist", "F", false, "AQoutlist", "SELECT * from inbacklist"},
    {lists, "销售单", "Tfroutlist", "F", false, "AQoutlist", "SELECT * from outlist"},
    {lists, "销售退货单", "Tfroutbacklist", "F", false, "AQoutlist", "SELECT * from outbacklist"},
    {lists, "收款单", "Tfrgetlist", "F", false, "AQoutlist", "SELECT * from getlist"},
    {lists, "付款单", "Tfrputlist", "F", false, "AQoutlist", "SELECT * from putlist"},
    {opening, "期初商品库存", "TFrproduct_b", "", false, "Aqproduct", "SELECT * from product "},
    {opening, "期初现金银行", "TFrbank_b", "", false, "AQbank", ""},
    {opening, "期初客户应收", "TFrcustomer_b", "", false, "Aqcustomer", ""},
    {opening, "期初供应商应付", "TFrbranch_b", "", false, "AQbranch", ""},
    {totals, "销售汇总表", "Tfrouttotal", "", false, "", ""},
    {totals, "销售退货汇总", "Tfroutbacktotal", "", false, "", ""},
    {totals, "客户汇总表", "Tfrcusttotal", "", false, "", ""},
    {totals, "客户对帐表", "Tfrcusttotalist", "", false, "", ""},
    {totals, "商品进货汇总", "Tfrintotal", "", false, "", ""},
    {totals, "进货退货汇总", "Tfrinbacktotal", "", false, "", ""},
    {totals, "供应商汇总表", "Tfrbrantotal", "", false, "", ""},
    {totals, "供应商对帐表", "Tfrbrantotalist", "", false, "", ""},
    {totals, "收款汇总表", "Tfrgettotal", "", false, "", ""},
    {totals, "付款汇总表", "Tfrputtotal", "", false, "", ""},
    {totals, "现金银行流水帐", "Tfrbanktotal", "", false, "", ""},
    {stock, "库存盘点", "StockTake", "", false, "", ""},
    {stock, "库存盈亏表", "StockGainLoss", "", false, "", ""},
    {stock, "更新库存量", "StockUpdate", "", false, "", ""},
    {stock, "库存资产表", "StockValue", "", false, "", ""},
    {upkeep, "数据压缩整理", "Tfrpack", "", false, "", ""},
    {upkeep, "数据备份恢复", "Tfrcopydir", "", false, "", ""},
    {upkeep, "月终数据处理", "MonthEnd", "", false, "", ""},
    {upkeep, "年终数据处理", "YearEnd", "", false, "", ""},
    {upkeep, "年度数据备份", "AnnualBackup", "", false, "", ""},
    {upkeep, "从前台复制数据", "FrontDeskCopy", "", false, "", ""},
    {helpMenu, "产品推介", "TFrcompany", "", false, "", ""},
    {entry, "销售退货单", "Tfroutbackdetail", "T", false, "AQoutlist", "SELECT * from outbacklist"},
    {entry, "进货单", "Tfrindetail", "T", false, "AQoutlist", "SELECT * from inlist"},
    {entry, "进货退货单", "Tfrinbackdetail", "T", false, "AQoutlist", "SELECT * from inbacklist"},
    {entry, "收款单", "Tfrgetdetail", "T", false, "AQoutlist", "SELECT * from getlist"},
    {entry, "付款单", "Tfrputdetail", "T", false, "AQoutlist", "SELECT * from putlist"},
    {"tool", "商品资料", "TFrproduct", "", true, "Aqproduct", "SELECT * from product "},
    {"tool", "订货单", "Tfrdhlist", "F", false, "AQoutlist", "SELECT * from dhlist"},
    {"tool", "进货单", "Tfrinlist", "F", false, "AQoutlist", "SELECT * from inlist"},
    {"tool", "销售单", "Tfroutlist", "F", false, "AQoutlist", "SELECT * from outlist"},
    {"tool", "销售退货", "Tfroutbacklist", "F", false, "AQoutlist", "SELECT * from outbacklist"},
    {"tool", "进货退货", "Tfrinbacklist", "F", false, "AQoutlist", "SELECT * from inbacklist"},
    {"tool", "收款单", "Tfrgetlist", "F", false, "AQoutlist", "SELECT * from getlist"},
    {"tool", "付款单", "Tfrputlist", "F", false, "AQoutlist", "SELECT * from putlist"},
    {"tool", "复制数据", "FrontDeskCopy", "", false, "", ""},
    {"PAN1", "供应商资料", "TFrbranch", "", true, "AQbranch", ""},
    {"PAN1", "商品资料", "TFrproduct", "", true, "Aqproduct", "SELECT * from product "},
    {"PAN1", "客户资料", "TFrcustomer", "", true, "Aqcustomer", ""},
    {"PAN1", "员工资料", "TFremployee", "", true, "AQemployee", ""},
    {"PAN2", "进货单", "Tfrinlist", "F", false, "AQoutlist", "SELECT * from inlist"},
    {"PAN2", "付款单", "Tfrputlist", "F", false, "AQoutlist", "SELECT * from putlist"},
    {"PAN2", "进货退货单", "Tfrinbacklist", "F", false, "AQoutlist", "SELECT * from inbacklist"},
    {"PAN2", "№进货汇总-按供应商或商品的进货单进行汇总", "Tfrintotal", "", false, "", ""},
    {"PAN2", "№付款汇总-对供应商的付款进行汇总", "Tfrputtotal", "", false, "", ""},
    {"PAN2", "№进货退货-对退货商品单进行汇总", "Tfrinbacktotal", "", false, "", ""},
    {"PAN2", "№供应商汇总-对供应商进货、退货、付款进行汇总", "Tfrbrantotal", "", false, "", ""},
    {"PAN3", "销售单", "Tfroutlist", "F", false, "AQoutlist", "SELECT * from outlist"},
    {"PAN3", "销售退货单", "Tfroutbacklist", "F", false, "AQoutlist", "SELECT * from outbacklist"},
    {"PAN3", "收款单", "Tfrgetlist", "F", false, "AQoutlist", "SELECT * from getlist"},
    {"PAN3", "☆销售汇总表-可按时间段对销售单进行汇总", "Tfrouttotal", "", false, "", ""},
    {"PAN3", "☆退货汇总-可按时间段对销售退货单进行汇总", "Tfroutbacktotal", "", false, "", ""},
    {"PAN3", "☆收款汇总-可按时间段对收款单进行汇总", "Tfrgettotal", "", false, "", ""},
    {"PAN3", "☆客户汇总-可按时间段对客户销售、收款汇总", "Tfrcusttotal", "", false, "", ""},
    {"PAN4", "系统设置", "Tfrconfig", "", false, "", ""},
    {"PAN4", "操作员管理", "Tfropcrl", "", false, "ATopcrl", ""},
};

} // namespace

TEST_F(TfrmainMenusTest, EveryEntryOpensItsWindowOrCommand)
{
    const QStringList commands{"SystemInit", "StockTake", "StockGainLoss", "StockUpdate", "StockValue",
                               "MonthEnd",   "YearEnd",   "AnnualBackup",  "FrontDeskCopy"};
    QString ran;
    bool flagAtCreation = false;
    const PickCode leftOver = PickCode::ReceiptEntry; // a code left by a window that is gone
    PickCode pickAtCreation = PickCode::None;
    lb::db::DataSet* prepared = nullptr;
    bool preparedAtCreation = false;
    for (const Wiring& w : wirings) {
        const QString key = QString::fromUtf8(w.key);
        if (registered.contains(key))
            continue;
        if (commands.contains(key)) {
            registered << key;
            WindowRegistry::instance().registerCommand(key, [&ran, key] { ran = key; });
            continue;
        }
        registerProbe(key, [&, key] {
            ran = key;
            flagAtCreation = window->NewBillFlag;
            pickAtCreation = window->PickMode;
            preparedAtCreation = prepared && prepared->active();
        });
    }

    // Each entry runs with NewBillFlag cleared and then set before it, so that an entry that
    // should leave the flag alone is caught setting it either way.
    for (const bool flagBefore : {false, true}) {
        for (const Wiring& w : wirings) {
            const QString place = QString::fromUtf8(w.place);
            const QString text = QString::fromUtf8(w.text);
            SCOPED_TRACE((place + QStringLiteral(" / ") + text).toStdString() + (flagBefore ? " / NewBillFlag set" : ""));
            ran.clear();
            window->NewBillFlag = flagBefore;
            window->PickMode = leftOver;
            prepared = *w.dataSet ? frdm->findChild<lb::db::DataSet*>(QString::fromUtf8(w.dataSet)) : nullptr;
            if (prepared)
                prepared->close();

            if (place == QLatin1String("tool")) {
                tool(text)->trigger();
            } else if (place.startsWith(QLatin1String("PAN"))) {
                const int page = place.mid(3).toInt() - 1;
                QWidget* target = nullptr;
                for (PictureButton* b : dashboard()->buttons(page))
                    if (b->caption() == text) {
                        b->setHighlighted(true);
                        target = b->currentWidget();
                    }
                for (QLabel* label : dashboard()->texts(page))
                    if (label->text() == text)
                        target = label;
                ASSERT_NE(nullptr, target);
                click(target);
            } else {
                action(place, text)->trigger();
            }

            EXPECT_EQ(QString::fromUtf8(w.key), ran);
            if (commands.contains(ran)) {
                EXPECT_TRUE(window->isEnabled());
                continue;
            }
            ASSERT_TRUE(probe);
            EXPECT_FALSE(mainEnabledAtCreation);
            EXPECT_TRUE(probe->isVisible());
            EXPECT_EQ(*w.flag ? *w.flag == 'T' : flagBefore, flagAtCreation);
            EXPECT_EQ(w.noPicker ? PickCode::None : leftOver, pickAtCreation);
            if (prepared) {
                EXPECT_FALSE(preparedAtCreation); // prepared once the window is made
                EXPECT_TRUE(prepared->active());
            }
            if (*w.sql) {
                EXPECT_EQ(QString::fromUtf8(w.sql), qobject_cast<lb::db::Query*>(prepared)->sql().text());
            }
            probe->close();
            EXPECT_TRUE(window->isEnabled());
        }
    }
}

TEST_F(TfrmainMenusTest, FailedPreparationGivesTheMainWindowBack)
{
    registerProbe(QStringLiteral("TFrcustomer"));
    exec(QStringLiteral("drop table customer"));
    ReportedErrors errors;
    action(QStringLiteral("&J 基本资料"), QStringLiteral("客户资料"))->trigger();
    EXPECT_EQ(1, errors.count());
    EXPECT_TRUE(errors.lastIs<lb::DatabaseError>()) << errors.lastMessage().toStdString();
    EXPECT_TRUE(window->isEnabled());
    EXPECT_FALSE(probe);
}

TEST_F(TfrmainMenusTest, OpeningBalancesNeedTheAdministrator)
{
    registerProbe(QStringLiteral("TFrcustomer_b"));
    window->OperatorNo = QStringLiteral("001");
    action(QStringLiteral("&Q 期初建帐"), QStringLiteral("期初客户应收"))->trigger();
    EXPECT_EQ(QStringList{"该用户无权使用此功能！"}, dialogs.texts());
    EXPECT_FALSE(probe);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(TfrmainMenusTest, BackupIsRefusedWhileLastYearIsLoaded)
{
    registerProbe(QStringLiteral("Tfrcopydir"));
    window->LastYearMode = true;
    action(QStringLiteral("&W 数据维护"), QStringLiteral("数据备份恢复"))->trigger();
    EXPECT_EQ(QStringList{"正在查去年数据，不能做备份恢复功能"}, dialogs.texts());
    EXPECT_FALSE(probe);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(TfrmainMenusTest, DataToolAsksForItsCodeThenForTheAdministrator)
{
    registerProbe(QStringLiteral("Tfrdbcopy"));
    QAction* tool = action(QStringLiteral("&H 帮  助"), QStringLiteral("数据处理"));
    EXPECT_FALSE(tool->isVisible());

    dialogs.type(QStringLiteral("wrong"));
    tool->trigger();
    EXPECT_EQ((QStringList{"这是系统管理员对数据的处理维护，若没有管理员授权，请不要使用此功能！",
                           "请输入操作密码:          ", "输入密码错误,请重新操作！"}),
              dialogs.texts());
    EXPECT_TRUE(dialogs.captionsAndTexts()[1].startsWith(QStringLiteral("提示信息|")));
    EXPECT_FALSE(probe);

    dialogs.clear();
    window->OperatorNo = QStringLiteral("002");
    dialogs.type(QStringLiteral(" ledger260917 "));
    tool->trigger();
    EXPECT_EQ(QStringLiteral("该用户无权使用此功能！"), dialogs.lastText());
    EXPECT_FALSE(probe);

    window->OperatorNo = QStringLiteral("999");
    dialogs.type(QStringLiteral("ledger260917"));
    tool->trigger();
    EXPECT_TRUE(probe);
}

TEST_F(TfrmainMenusTest, HiddenEntryMenuShortcutsWork)
{
    start();
    registerProbe(QStringLiteral("Tfroutbackdetail"));
    pressKey(Qt::Key_F6);
    ASSERT_TRUE(probe);
    EXPECT_FALSE(window->isEnabled());
    probe->close();
    EXPECT_TRUE(window->isEnabled());

    // The sales item stays disabled, so F4 opens nothing even with its window registered.
    registerProbe(QStringLiteral("Tfroutdetail"));
    probe = nullptr;
    QApplication::setActiveWindow(window.get());
    pressKey(Qt::Key_F4);
    EXPECT_FALSE(probe);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(TfrmainMenusTest, TheMainWindowRegistersTheWindowsOfTheCore)
{
    WindowRegistry& registry = WindowRegistry::instance();
    EXPECT_NE(nullptr, qobject_cast<Tfrconfig*>(registry.create(QStringLiteral("Tfrconfig"), window.get())));
    EXPECT_NE(nullptr, qobject_cast<Tfropcrl*>(registry.create(QStringLiteral("Tfropcrl"), window.get())));
    EXPECT_NE(nullptr, qobject_cast<TFrcompany*>(registry.create(QStringLiteral("TFrcompany"), window.get())));
    EXPECT_NE(nullptr, qobject_cast<Tfrdbcopy*>(registry.create(QStringLiteral("Tfrdbcopy"), window.get())));
    EXPECT_NE(nullptr, qobject_cast<Tfrpack*>(registry.create(QStringLiteral("Tfrpack"), window.get())));
    EXPECT_NE(nullptr, qobject_cast<Tfrcopydir*>(registry.create(QStringLiteral("Tfrcopydir"), window.get())));
    for (const char* command : {"MonthEnd", "YearEnd", "SystemInit", "AnnualBackup", "FrontDeskCopy"})
        EXPECT_TRUE(registry.hasCommand(QLatin1String(command))) << command;
    EXPECT_TRUE(action(QStringLiteral("&W 数据维护"), QStringLiteral("月终数据处理"))->isEnabled());
}

TEST_F(TfrmainMenusTest, HelpOpensTheHelpFileAndTheCalculatorStartsWhenThereIsOne)
{
    QFile helpFile(folder.filePath(HelpFile::fileName()));
    ASSERT_TRUE(helpFile.open(QIODevice::WriteOnly));
    helpFile.close();
    {
        const FakeFileHandler handler;
        action(QStringLiteral("&H 帮  助"), QStringLiteral("使用说明"))->trigger();
        dashboard()->buttons(3)[2]->setHighlighted(true);
        click(dashboard()->buttons(3)[2]->currentWidget());
        const QString help = folder.filePath(HelpFile::fileName());
        EXPECT_EQ((QStringList{help, help}), handler.opened());
    }

    // A calculator found on the path is started; with none, nothing happens.
    const QByteArray path = qgetenv("PATH");
    const QString bin = folder.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const QString marker = folder.filePath(QStringLiteral("calculator-ran"));
    QFile script(bin + QStringLiteral("/xcalc"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\n/usr/bin/touch '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", bin.toUtf8());
    tool(QStringLiteral("计算器"))->trigger();
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(marker) && waited.elapsed() < 5000)
        QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker));

    EXPECT_TRUE(dialogs.texts().isEmpty());

    // Without a calculator, and without the help file, a message of ours says so.
    qputenv("PATH", folder.filePath(QStringLiteral("nothing")).toUtf8());
    action(QStringLiteral("&H 帮  助"), QStringLiteral("计算器"))->trigger();
    qputenv("PATH", path);
    EXPECT_EQ(QStringList{QStringLiteral("没有找到计算器程序,请先安装一个计算器.")}, dialogs.texts());
    // Nor beside a program file without one, nor in an installation's share folder: the
    // message names the first place looked.
    QFile::remove(folder.filePath(HelpFile::fileName()));
    HelpFile::setProgramFileFolder(folder.filePath(QStringLiteral("bin")));
    action(QStringLiteral("&H 帮  助"), QStringLiteral("使用说明"))->trigger();
    HelpFile::setProgramFileFolder(QString());
    EXPECT_EQ(QStringLiteral("没有找到帮助文件: ") + QDir::toNativeSeparators(folder.filePath(HelpFile::fileName())),
              dialogs.lastText());
}

TEST_F(TfrmainMenusTest, HelpOpensTheManualTheBuildPutsBesideTheProgramOrAnInstallationPuts)
{
    const FakeFileHandler handler;
    // The build copies the manual beside every program of it, this test program too.
    const QString built = QDir(QCoreApplication::applicationDirPath()).filePath(HelpFile::fileName());
    action(QStringLiteral("&H 帮  助"), QStringLiteral("使用说明"))->trigger();
    // Waited for before the next is started: two handlers running at once note their files in
    // either order.
    EXPECT_EQ(QStringList{built}, handler.opened());

    // An installation: the program in bin/, the manual in share/ledgerbox/.
    const QString installed = folder.filePath(QStringLiteral("usr/share/ledgerbox/") + HelpFile::fileName());
    ASSERT_TRUE(QDir().mkpath(folder.filePath(QStringLiteral("usr/bin"))));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).path()));
    QFile manual(installed);
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    HelpFile::setProgramFileFolder(folder.filePath(QStringLiteral("usr/bin")));
    dashboard()->buttons(3)[2]->setHighlighted(true);
    click(dashboard()->buttons(3)[2]->currentWidget());
    HelpFile::setProgramFileFolder(QString());

    EXPECT_EQ((QStringList{built, installed}), handler.opened());
    QFile copy(built);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(copy.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<title>朔栎进销存(V2009) 使用说明</title>")));
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

// A handler that finds no program for the manual, and no handler at all, are both said: the
// user learns where the manual is.
TEST_F(TfrmainMenusTest, HelpSaysSoWhenNoProgramOpensTheManual)
{
    QFile helpFile(folder.filePath(HelpFile::fileName()));
    ASSERT_TRUE(helpFile.open(QIODevice::WriteOnly));
    helpFile.close();
    const QString told = QStringLiteral("没有能打开帮助文件的程序: ") + QDir::toNativeSeparators(helpFile.fileName());
    {
        FakeFileHandler handler(3);
        action(QStringLiteral("&H 帮  助"), QStringLiteral("使用说明"))->trigger();
        EXPECT_EQ(QStringList{helpFile.fileName()}, handler.opened());
        EXPECT_EQ(QStringList{told}, dialogs.texts());
    }
    {
        const FakeFileHandler none(std::nullopt);
        action(QStringLiteral("&H 帮  助"), QStringLiteral("使用说明"))->trigger();
        EXPECT_EQ((QStringList{told, told}), dialogs.texts());
    }
}

TEST_F(TfrmainMenusTest, ModalWindowsOfTheMenusAndToolBarOpen)
{
    lb::ui::ScriptedModals modals;
    bool quickStartTicked = false;
    modals.then([&](QDialog& dialog) {
        quickStartTicked = dynamic_cast<TFrstart&>(dialog).CheckBox1->isChecked();
        dialog.reject();
    });
    modals.then([](QDialog& dialog) { dialog.reject(); }); // 版权声明
    modals.then([](QDialog& dialog) { dialog.reject(); }); // 打印设置
    modals.then(logInAsAdministrator);                     // 更换操作员
    tool(QStringLiteral("如何开始"))->trigger();
    action(QStringLiteral("&H 帮  助"), QStringLiteral("版权声明"))->trigger();
    action(QStringLiteral("&S 系统管理"), QStringLiteral("打印设置"))->trigger();
    action(QStringLiteral("&S 系统管理"), QStringLiteral("更换操作员"))->trigger();
    EXPECT_EQ((QStringList{"如何开始?如果您第一次使用本系统，请阅读如下《快速入门》。", "版权声明", "打印设置",
                           "登录验证"}),
              modals.titles());
    EXPECT_TRUE(quickStartTicked); // the tool button opens it although the option keeps it away at start
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral(" 操作员:") + window->OperatorName));
    EXPECT_TRUE(window->isEnabled()); // modal windows leave the main window alone
}

TEST_F(TfrmainMenusTest, QuitClosesTheWindowWithTheBackupQuestion)
{
    start();
    dialogs.answer(lb::ui::DialogAnswer::No);
    action(QStringLiteral("&S 系统管理"), QStringLiteral("退出系统"))->trigger();
    EXPECT_EQ(QStringLiteral("是否备份数据?|若系统正常,则选择[是],否则选择[否]"), dialogs.captionsAndTexts().last());
    EXPECT_TRUE(window->terminated());
}

TEST_F(TfrmainMenusTest, NavigatorPagesAndHover)
{
    start();
    Dashboard* board = dashboard();
    EXPECT_TRUE(board->page(0)->isVisible());
    EXPECT_FALSE(board->page(2)->isVisible());
    EXPECT_TRUE(board->navigatorButton(0)->tabStyle());

    PictureButton* third = board->navigatorButton(2);
    click(third->currentWidget()); // the normal picture does not run the command
    EXPECT_EQ(0, board->currentPage());
    moveOver(third->currentWidget());
    EXPECT_TRUE(third->highlighted());
    click(third->currentWidget());
    EXPECT_EQ(2, board->currentPage());
    EXPECT_TRUE(board->page(2)->isVisible());
    EXPECT_FALSE(board->page(0)->isVisible());
    EXPECT_TRUE(third->tabStyle());
    EXPECT_FALSE(board->navigatorButton(0)->tabStyle());
    moveOver(board->Panel1);
    EXPECT_FALSE(third->highlighted());

    QLabel* link = board->texts(2)[1];
    registerProbe(QStringLiteral("Tfroutbacktotal")); // a link waiting for its window does not react
    moveOver(link);
    EXPECT_EQ(QColor(Qt::red), link->palette().color(QPalette::WindowText));
    moveOver(link->parentWidget());
    EXPECT_NE(QColor(Qt::red), link->palette().color(QPalette::WindowText));

    auto* navigator = window->findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
    navigator->setChecked(false);
    EXPECT_FALSE(board->Panel1->isVisible());
    EXPECT_FALSE(board->Panel8->isVisible());
    EXPECT_TRUE(window->Image1->isVisible());
    navigator->setChecked(true);
    EXPECT_TRUE(board->Panel8->isVisible());
    EXPECT_TRUE(board->page(2)->isVisible());
}

TEST_F(TfrmainMenusTest, BackgroundPictureIsChosenAndStored)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QString file = folder.filePath(QStringLiteral("back.png"));
    ASSERT_TRUE(image.save(file));
    QAction* setPicture = window->Image1->actions().value(0);
    ASSERT_NE(nullptr, setPicture);
    EXPECT_EQ(QStringLiteral("设置背景图片"), setPicture->text());

    {
        lb::ui::ScriptedModals modals;
        modals.then([](QDialog& dialog) { dialog.reject(); });
        setPicture->trigger();
    }
    EXPECT_EQ(QString(), scalar(QStringLiteral("select picfilename from config")).toString());

    {
        lb::ui::ScriptedModals modals;
        modals.then([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            files.selectFile(file);
            files.QDialog::done(QDialog::Accepted);
        });
        setPicture->trigger();
    }
    EXPECT_EQ(file, scalar(QStringLiteral("select picfilename from config")).toString());
    EXPECT_EQ(image.pixel(5, 5), window->Image1->pixmap().toImage().pixel(5, 5));

    // A file that does not load raises the loader's error and leaves the stored path.
    const QString bad = folder.filePath(QStringLiteral("bad.jpg"));
    QFile damaged(bad);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a picture");
    damaged.close();
    lb::ui::ScriptedModals modals;
    modals.then([&](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        files.selectFile(bad);
        files.QDialog::done(QDialog::Accepted);
    });
    ReportedErrors errors;
    setPicture->trigger();
    EXPECT_TRUE(errors.lastIs<lb::FileOpenError>()) << errors.lastMessage().toStdString();
    EXPECT_EQ(file, scalar(QStringLiteral("select picfilename from config")).toString());
}

// The dialog offers what can be shown: an EMF page is drawn by our player; a WMF file is
// refused with a message and changes nothing.
TEST_F(TfrmainMenusTest, BackgroundPictureOffersWhatCanBeShownAndRefusesWmf)
{
    QAction* setPicture = window->Image1->actions().value(0);
    ASSERT_NE(nullptr, setPicture);
    auto choose = [&](const QString& path) {
        lb::ui::ScriptedModals modals;
        modals.then([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            EXPECT_EQ(QStringList{QStringLiteral("图片文件 (*.jpg *.jpeg *.bmp *.png *.emf)")}, files.nameFilters());
            files.selectFile(path);
            files.QDialog::done(QDialog::Accepted);
        });
        setPicture->trigger();
    };

    lb::gfx::EmfWriter writer(60, 40);
    writer.selectObject(writer.createBrush(lb::gfx::emf::BS_SOLID, QColor(200, 20, 20)));
    writer.selectObject(writer.createPen(lb::gfx::emf::PS_SOLID, 1, QColor(200, 20, 20)));
    writer.rectangle(QRect(0, 0, 60, 40));
    const QString emf = folder.filePath(QStringLiteral("logo.emf"));
    QFile page(emf);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write(writer.finish());
    page.close();
    choose(emf);
    EXPECT_EQ(emf, scalar(QStringLiteral("select picfilename from config")).toString());
    EXPECT_EQ(QColor(200, 20, 20).rgb(), window->Image1->pixmap().toImage().pixel(30, 20));

    const QString wmf = folder.filePath(QStringLiteral("old.wmf"));
    QFile old(wmf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray("\xd7\xcd\xc6\x9a", 4));
    old.close();
    const QImage before = window->Image1->pixmap().toImage();
    choose(wmf);
    EXPECT_EQ(QStringList{QStringLiteral("不能显示WMF格式的图片,请选用JPEG、BMP、PNG或EMF格式的图片.")}, dialogs.texts());
    EXPECT_EQ(emf, scalar(QStringLiteral("select picfilename from config")).toString());
    EXPECT_EQ(before, window->Image1->pixmap().toImage());
}

TEST_F(TfrmainMenusTest, MainWindowMenusAndDashboardShowTheirTexts)
{
    auto colours = [](const QImage& image) {
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        return seen.size();
    };
    start();
    window->resize(1024, 700);
    QApplication::processEvents();
    EXPECT_GT(colours(window->grab().toImage()), 50);

    QMenu* system = menu(QStringLiteral("&S 系统管理"));
    system->popup(QPoint(0, 0));
    QApplication::processEvents();
    const QImage menuShot = system->grab().toImage();
    system->hide();
    EXPECT_GT(colours(menuShot), 4);
    EXPECT_GT(menuShot.height(), 6 * 15); // six rows of text
}


// The options window and the operator windows open centred over the main window.
TEST_F(TfrmainMenusTest, OptionsAndOperatorWindowsOpenCentredOverTheMainWindow)
{
    // Within a few pixels: a window may settle its size as it shows.
    start();
    window->showNormal();
    window->setGeometry(40, 30, 1000, 700);
    action(QStringLiteral("&S 系统管理"), QStringLiteral("系统设置"))->trigger();
    Tfrconfig* options = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<Tfrconfig*>(top); found && found->isVisible())
            options = found;
    ASSERT_NE(nullptr, options);
    EXPECT_LE((window->frameGeometry().center() - options->frameGeometry().center()).manhattanLength(), 4);
    options->close();

    action(QStringLiteral("&S 系统管理"), QStringLiteral("操作员管理"))->trigger();
    QWidget* operators = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<Tfropcrl*>(top) && top->isVisible())
            operators = top;
    ASSERT_NE(nullptr, operators);
    EXPECT_LE((window->frameGeometry().center() - operators->frameGeometry().center()).manhattanLength(), 4);
    static_cast<Tfropcrl*>(operators)->ToolButton1Click();
    QWidget* adding = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<TFropadd*>(top) && top->isVisible())
            adding = top;
    ASSERT_NE(nullptr, adding);
    EXPECT_LE((window->frameGeometry().center() - adding->frameGeometry().center()).manhattanLength(), 4);
    EXPECT_EQ(operators->windowHandle(), adding->windowHandle()->transientParent());
}
