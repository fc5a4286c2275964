// The main window's menus, tool bar, navigator bar and dashboard.
#include "core/Tfrmain.h"

#include "core/BackgroundPicture.h"
#include "core/Dashboard.h"
#include "core/HelpFile.h"
#include "core/PasswordBox.h"
#include "core/PictureButton.h"
#include "core/TAboutBox.h"
#include "core/TFrcompany.h"
#include "core/TFrpassword.h"
#include "core/TFrstart.h"
#include "core/Tfrconfig.h"
#include "core/Tfrcopydir.h"
#include "core/Tfrdbcopy.h"
#include "core/Tfrpack.h"
#include "core/PeriodCommands.h"
#include "core/Tfrdm.h"
#include "core/Tfropcrl.h"
#include "core/WindowRegistry.h"
#include "platform/db/Query.h"
#include "platform/db/Table.h"
#include "platform/ui/DesktopFiles.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Modal.h"
#include "platform/ui/WorkWindow.h"
#include "platform/ui/GuardSlot.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QToolBar>

namespace lb::core {

namespace {

// The access code of the administrator's data tool.
const QString dataToolCode = QStringLiteral("ledger260917");

// Calculators tried in this order; the first one installed is started.
const char* const calculators[] = {"gnome-calculator", "kcalc", "galculator", "xcalc"};

// Picture colours of the dashboard pages and their navigator buttons.
const QColor pageColours[Dashboard::pageCount] = {
    QColor(52, 120, 190), QColor(60, 150, 90), QColor(200, 110, 40), QColor(120, 80, 170)};

// What a menu item, tool button, dashboard picture or link runs. Items with a key stay
// disabled until the window or command of that key is registered.
struct Command {
    QString key;
    std::function<void()> run;
};

// The disabled state of the items that wait for a registered window or command.
struct Waiting {
    QString key;
    QPointer<QAction> action;
    QPointer<QWidget> widget;
};

class MenuBuilder {
public:
    explicit MenuBuilder(Tfrmain& main) : main_(main), waiting_(std::make_shared<std::vector<Waiting>>()) {}

    void build();

private:
    // ---- Commands ----

    // Modeless work window of `key`: the main window is disabled first; `before` runs before
    // the window is created, `prepare` after (shared datasets). When either fails the window
    // goes and the main window comes back; the error goes on to the global handler.
    Command window(const QString& key, std::function<void()> before = {}, std::function<void()> prepare = {})
    {
        Tfrmain* main = &main_;
        return {key, [main, key, before, prepare] {
                    main->setEnabled(false);
                    QPointer<lb::ui::WorkWindow> created;
                    try {
                        if (before)
                            before();
                        created = WindowRegistry::instance().create(key, main);
                        if (prepare)
                            prepare();
                    } catch (...) {
                        delete created.data();
                        main->setEnabled(true);
                        throw;
                    }
                    created->showWork();
                }};
    }

    // A window-less command registered by the part of the program that owns it.
    static Command command(const QString& key)
    {
        return {key, [key] { WindowRegistry::instance().run(key); }};
    }

    static Command local(std::function<void()> run) { return {QString(), std::move(run)}; }

    // Rights check "999": refuses before anything is disabled.
    Command administrator(Command inner)
    {
        Tfrmain* main = &main_;
        auto run = inner.run;
        return {inner.key, [main, run] {
                    if (main->OperatorNo != QLatin1String("999")) {
                        lb::ui::Dialogs::message(QStringLiteral("该用户无权使用此功能！"));
                        return;
                    }
                    run();
                }};
    }

    // Document lists: NewBillFlag cleared before the list is created, AQoutlist on the kind's table.
    Command documentList(const QString& key, const QString& table)
    {
        Tfrmain* main = &main_;
        return window(
            key, [main] { main->NewBillFlag = false; },
            [table] { frdm->AQoutlist->reopen(QStringLiteral("SELECT * from %1").arg(table)); });
    }

    // Direct entry of a new document (the hidden menu).
    Command documentEntry(const QString& key, const QString& table)
    {
        Tfrmain* main = &main_;
        return window(
            key, [main] { main->NewBillFlag = true; },
            [table] { frdm->AQoutlist->reopen(QStringLiteral("SELECT * from %1").arg(table)); });
    }

    // Master-data lists opened from the menu are not pickers.
    Command masterList(const QString& key, std::function<void()> prepare)
    {
        Tfrmain* main = &main_;
        return window(key, [main] { main->PickMode = lb::core::PickCode::None; }, std::move(prepare));
    }

    // ---- Items ----

    QAction* item(QMenu* menu, const QString& text, const Command& command, const QKeySequence& key = {})
    {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        attach(action, command);
        return action;
    }

    void attach(QAction* action, const Command& command)
    {
        if (command.run) {
            auto run = command.run;
            QObject::connect(action, &QAction::triggered, &main_, lb::ui::guardSlot(&main_, [run] { run(); }));
        }
        wait(command.key, action, nullptr);
    }

    void attach(PictureButton* button, const Command& command)
    {
        auto run = command.run;
        QObject::connect(button, &PictureButton::clicked, &main_, lb::ui::guardSlot(&main_, [run] { run(); }));
        wait(command.key, nullptr, button);
    }

    void wait(const QString& key, QAction* action, QWidget* widget)
    {
        if (key.isEmpty())
            return;
        waiting_->push_back({key, action, widget});
        const bool enabled = WindowRegistry::instance().contains(key);
        if (action)
            action->setEnabled(enabled);
        if (widget)
            widget->setEnabled(enabled);
    }

    void watchRegistry()
    {
        std::shared_ptr<std::vector<Waiting>> waiting = waiting_;
        QObject::connect(&WindowRegistry::instance(), &WindowRegistry::changed, &main_, lb::ui::guardSlot(&main_, [waiting](const QString& key) {
            const bool enabled = WindowRegistry::instance().contains(key);
            for (const Waiting& entry : *waiting) {
                if (entry.key != key)
                    continue;
                if (entry.action)
                    entry.action->setEnabled(enabled);
                if (entry.widget)
                    entry.widget->setEnabled(enabled);
            }
        }));
    }

    void buildMenuBar();
    void buildToolBar();
    void buildDashboard();
    void registerCoreWindows();

    // Shared commands of the menu, the tool bar and the dashboard.
    Command productList()
    {
        return masterList(QStringLiteral("TFrproduct"),
                          [] { frdm->Aqproduct->reopen(QStringLiteral("SELECT * from product ")); });
    }
    Command customerList() { return masterList(QStringLiteral("TFrcustomer"), [] { frdm->Aqcustomer->open(); }); }
    Command supplierList() { return masterList(QStringLiteral("TFrbranch"), [] { frdm->AQbranch->open(); }); }
    Command employeeList() { return masterList(QStringLiteral("TFremployee"), [] { frdm->AQemployee->open(); }); }
    Command operatorList() { return window(QStringLiteral("Tfropcrl"), {}, [] { frdm->ATopcrl->open(); }); }
    Command calculator() const { return local(startCalculator); }
    Command help() const { return local(openHelp); }
    Command quit()
    {
        Tfrmain* main = &main_;
        return local([main] { main->close(); });
    }

    static void startCalculator()
    {
        for (const char* name : calculators) {
            const QString program = QStandardPaths::findExecutable(QLatin1String(name));
            if (!program.isEmpty() && QProcess::startDetached(program, {}))
                return;
        }
        lb::ui::Dialogs::message(QStringLiteral("没有找到计算器程序,请先安装一个计算器."));
    }

    static void openHelp()
    {
        const QString file = HelpFile::find();
        if (file.isEmpty()) {
            lb::ui::Dialogs::message(QStringLiteral("没有找到帮助文件: ") + QDir::toNativeSeparators(HelpFile::places().constFirst()));
            return;
        }
        lb::ui::DesktopFiles::open(file, QStringLiteral("没有能打开帮助文件的程序: "));
    }

    Tfrmain& main_;
    std::shared_ptr<std::vector<Waiting>> waiting_;
    Dashboard* dashboard_ = nullptr;
};

void MenuBuilder::registerCoreWindows()
{
    WindowRegistry& registry = WindowRegistry::instance();
    if (!registry.hasWindow(QStringLiteral("Tfrconfig")))
        registry.registerWindow(QStringLiteral("Tfrconfig"), [](QWidget* owner) { return new Tfrconfig(owner); });
    if (!registry.hasWindow(QStringLiteral("Tfropcrl")))
        registry.registerWindow(QStringLiteral("Tfropcrl"), [](QWidget* owner) { return new Tfropcrl(owner); });
    if (!registry.hasWindow(QStringLiteral("TFrcompany")))
        registry.registerWindow(QStringLiteral("TFrcompany"), [](QWidget* owner) { return new TFrcompany(owner); });
    if (!registry.hasWindow(QStringLiteral("Tfrdbcopy")))
        registry.registerWindow(QStringLiteral("Tfrdbcopy"), [](QWidget* owner) { return new Tfrdbcopy(owner); });
    if (!registry.hasWindow(QStringLiteral("Tfrpack")))
        registry.registerWindow(QStringLiteral("Tfrpack"), [](QWidget* owner) { return new Tfrpack(owner); });
    if (!registry.hasWindow(QStringLiteral("Tfrcopydir")))
        registry.registerWindow(QStringLiteral("Tfrcopydir"), [](QWidget* owner) { return new Tfrcopydir(owner); });
    PeriodCommands::registerCommands();
}

void MenuBuilder::buildMenuBar()
{
    Tfrmain* main = &main_;
    QMenuBar* bar = main_.menuBar();

    QMenu* system = bar->addMenu(QStringLiteral("&S 系统管理"));
    item(system, QStringLiteral("操作员管理"), operatorList());
    item(system, QStringLiteral("更换操作员"), local([main] { TFrpassword::logIn(main); }));
    item(system, QStringLiteral("系统初始化"), command(QStringLiteral("SystemInit")));
    item(system, QStringLiteral("系统设置"), window(QStringLiteral("Tfrconfig")));
    item(system, QStringLiteral("打印设置"), local([main] { main->choosePrinter(main); }));
    system->addSeparator();
    item(system, QStringLiteral("退出系统"), quit());

    QMenu* basic = bar->addMenu(QStringLiteral("&J 基本资料"));
    item(basic, QStringLiteral("商品资料"), productList(), Qt::Key_F2);
    item(basic, QStringLiteral("客户-商品表"), masterList(QStringLiteral("TFrcproduct"), [] {
             frdm->Aqcustomer->open();
             frdm->Aqcproduct->open();
         }));
    item(basic, QStringLiteral("客户资料"), customerList(), Qt::Key_F3);
    item(basic, QStringLiteral("供应商资料"), supplierList());
    item(basic, QStringLiteral("现金银行"), masterList(QStringLiteral("TFrbank"), [] { frdm->AQbank->open(); }));
    item(basic, QStringLiteral("员工资料"), employeeList());
    // Categories and units are edited in the options window.
    item(basic, QStringLiteral("货品类型"), Command{})->setVisible(false);
    item(basic, QStringLiteral("计量单位"), Command{})->setVisible(false);
    item(basic, QStringLiteral("仓库设置"), masterList(QStringLiteral("TFrstore"), [] { frdm->AQstore->open(); }));

    QMenu* documents = bar->addMenu(QStringLiteral("&C 查录单据"));
    item(documents, QStringLiteral("进货单"), documentList(QStringLiteral("Tfrinlist"), QStringLiteral("inlist")));
    item(documents, QStringLiteral("进货退货单"), documentList(QStringLiteral("Tfrinbacklist"), QStringLiteral("inbacklist")));
    item(documents, QStringLiteral("销售单"), documentList(QStringLiteral("Tfroutlist"), QStringLiteral("outlist")));
    item(documents, QStringLiteral("销售退货单"), documentList(QStringLiteral("Tfroutbacklist"), QStringLiteral("outbacklist")));
    item(documents, QStringLiteral("收款单"), documentList(QStringLiteral("Tfrgetlist"), QStringLiteral("getlist")));
    item(documents, QStringLiteral("付款单"), documentList(QStringLiteral("Tfrputlist"), QStringLiteral("putlist")));

    QMenu* opening = bar->addMenu(QStringLiteral("&Q 期初建帐"));
    item(opening, QStringLiteral("期初商品库存"), administrator(window(QStringLiteral("TFrproduct_b"), {}, [] {
             frdm->Aqproduct->reopen(QStringLiteral("SELECT * from product "));
         })));
    item(opening, QStringLiteral("期初现金银行"),
         administrator(window(QStringLiteral("TFrbank_b"), {}, [] { frdm->AQbank->open(); })));
    item(opening, QStringLiteral("期初客户应收"),
         administrator(window(QStringLiteral("TFrcustomer_b"), {}, [] { frdm->Aqcustomer->open(); })));
    item(opening, QStringLiteral("期初供应商应付"),
         administrator(window(QStringLiteral("TFrbranch_b"), {}, [] { frdm->AQbranch->open(); })));

    QMenu* summaries = bar->addMenu(QStringLiteral("&D 单据汇总"));
    const std::pair<const char*, const char*> summaryItems[] = {
        {"销售汇总表", "Tfrouttotal"},      {"销售退货汇总", "Tfroutbacktotal"}, {"客户汇总表", "Tfrcusttotal"},
        {"客户对帐表", "Tfrcusttotalist"},  {"商品进货汇总", "Tfrintotal"},      {"进货退货汇总", "Tfrinbacktotal"},
        {"供应商汇总表", "Tfrbrantotal"},   {"供应商对帐表", "Tfrbrantotalist"}, {"收款汇总表", "Tfrgettotal"},
        {"付款汇总表", "Tfrputtotal"},
    };
    for (const auto& [text, key] : summaryItems)
        item(summaries, QString::fromUtf8(text), window(QLatin1String(key)));
    item(summaries, QStringLiteral("现金银行流水帐"), window(QStringLiteral("Tfrbanktotal")))->setVisible(false);

    QMenu* stock = bar->addMenu(QStringLiteral("&K 库存管理"));
    item(stock, QStringLiteral("库存盘点"), command(QStringLiteral("StockTake")));
    item(stock, QStringLiteral("库存盈亏表"), command(QStringLiteral("StockGainLoss")));
    item(stock, QStringLiteral("更新库存量"), command(QStringLiteral("StockUpdate")));
    item(stock, QStringLiteral("库存资产表"), command(QStringLiteral("StockValue")));

    QMenu* maintenance = bar->addMenu(QStringLiteral("&W 数据维护"));
    item(maintenance, QStringLiteral("数据压缩整理"), window(QStringLiteral("Tfrpack")));
    Command backup = window(QStringLiteral("Tfrcopydir"));
    auto openBackup = backup.run;
    backup.run = [main, openBackup] {
        if (main->LastYearMode) {
            lb::ui::Dialogs::message(QStringLiteral("正在查去年数据，不能做备份恢复功能"));
            return;
        }
        openBackup();
    };
    item(maintenance, QStringLiteral("数据备份恢复"), backup);
    item(maintenance, QStringLiteral("月终数据处理"), command(QStringLiteral("MonthEnd")));
    item(maintenance, QStringLiteral("年终数据处理"), command(QStringLiteral("YearEnd")));
    item(maintenance, QStringLiteral("年度数据备份"), command(QStringLiteral("AnnualBackup")));
    item(maintenance, QStringLiteral("从前台复制数据"), command(QStringLiteral("FrontDeskCopy")))->setVisible(false);
    // The year switch is kept out of reach: hidden and disabled whatever is registered.
    for (const char* text : {"复制上年数据", "恢复今年数据"}) {
        QAction* action = maintenance->addAction(QString::fromUtf8(text));
        action->setVisible(false);
        action->setEnabled(false);
    }

    QMenu* helpMenu = bar->addMenu(QStringLiteral("&H 帮  助"));
    item(helpMenu, QStringLiteral("使用说明"), help());
    item(helpMenu, QStringLiteral("产品推介"), window(QStringLiteral("TFrcompany")));
    item(helpMenu, QStringLiteral("计算器"), calculator());
    item(helpMenu, QStringLiteral("版权声明"), local([main] {
             TAboutBox box(main);
             lb::ui::Modal::exec(box);
         }));
    Command dataTool = administrator(window(QStringLiteral("Tfrdbcopy")));
    auto openDataTool = dataTool.run;
    dataTool.run = [openDataTool] {
        lb::ui::Dialogs::message(QStringLiteral("这是系统管理员对数据的处理维护，若没有管理员授权，请不要使用此功能！"));
        const QString code = lb::core::PasswordBox(QStringLiteral("提示信息"), QStringLiteral("请输入操作密码:          "));
        if (code.trimmed() != dataToolCode) {
            lb::ui::Dialogs::warning(QStringLiteral("输入密码错误,请重新操作！"));
            return;
        }
        openDataTool();
    };
    item(helpMenu, QStringLiteral("数据处理"), dataTool)->setVisible(false);

    // New documents directly. The menu is hidden, so its actions also belong to the main
    // window itself: that keeps their shortcut keys working.
    QMenu* entry = bar->addMenu(QStringLiteral("&L 录帐"));
    entry->menuAction()->setVisible(false);
    struct Entry {
        const char* text;
        const char* key;
        const char* table;
        QKeySequence shortcut;
    };
    const Entry entries[] = {
        {"销售单", "Tfroutdetail", "outlist", Qt::Key_F4},
        {"销售退货单", "Tfroutbackdetail", "outbacklist", Qt::Key_F6},
        {"进货单", "Tfrindetail", "inlist", {}},
        {"进货退货单", "Tfrinbackdetail", "inbacklist", {}},
        {"收款单", "Tfrgetdetail", "getlist", Qt::Key_F5},
        {"付款单", "Tfrputdetail", "putlist", {}},
    };
    for (const Entry& e : entries) {
        QAction* action = item(entry, QString::fromUtf8(e.text),
                               documentEntry(QLatin1String(e.key), QLatin1String(e.table)), e.shortcut);
        main_.addAction(action);
        // The sales item is kept disabled: sales are entered from their list.
        if (QLatin1String(e.key) == QLatin1String("Tfroutdetail")) {
            action->setEnabled(false);
            waiting_->pop_back();
        }
    }
}

void MenuBuilder::buildToolBar()
{
    QToolBar* tools = main_.addToolBar(QStringLiteral("工具栏"));
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tools->setIconSize(QSize(32, 32));
    auto tool = [&](const QString& text, const Command& command, const QColor& colour) {
        QAction* action = tools->addAction(text);
        QIcon icon(PictureButton::picture(text, colour, false, false).scaled(32, 28, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        icon.addPixmap(PictureButton::picture(text, colour, true, false).scaled(32, 28, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                       QIcon::Active);
        action->setIcon(icon);
        attach(action, command);
        if (QWidget* button = tools->widgetForAction(action))
            button->setFixedWidth(59);
        return action;
    };
    const QColor blue(52, 120, 190), green(60, 150, 90), orange(200, 110, 40), grey(110, 110, 120);
    tool(QStringLiteral("商品资料"), productList(), blue);
    tool(QStringLiteral("订货单"), documentList(QStringLiteral("Tfrdhlist"), QStringLiteral("dhlist")), green);
    tool(QStringLiteral("进货单"), documentList(QStringLiteral("Tfrinlist"), QStringLiteral("inlist")), green);
    tool(QStringLiteral("销售单"), documentList(QStringLiteral("Tfroutlist"), QStringLiteral("outlist")), orange);
    tool(QStringLiteral("销售退货"), documentList(QStringLiteral("Tfroutbacklist"), QStringLiteral("outbacklist")), orange);
    tool(QStringLiteral("进货退货"), documentList(QStringLiteral("Tfrinbacklist"), QStringLiteral("inbacklist")), green);
    tool(QStringLiteral("收款单"), documentList(QStringLiteral("Tfrgetlist"), QStringLiteral("getlist")), orange);
    tool(QStringLiteral("付款单"), documentList(QStringLiteral("Tfrputlist"), QStringLiteral("putlist")), green);
    tool(QStringLiteral("复制数据"), command(QStringLiteral("FrontDeskCopy")), grey)->setVisible(false);
    tool(QStringLiteral("计算器"), calculator(), grey);
    Tfrmain* main = &main_;
    tool(QStringLiteral("如何开始"), local([main] {
             TFrstart window(main);
             lb::ui::Modal::exec(window);
         }),
         grey);
    tool(QStringLiteral("退出"), quit(), grey);

    auto* spacer = new QWidget(tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tools->addWidget(spacer);
    auto* navigator = new QCheckBox(QStringLiteral("导航窗口"), tools);
    navigator->setObjectName(QStringLiteral("CheckBox1"));
    navigator->setChecked(true);
    tools->addWidget(navigator);
    Dashboard* dashboard = dashboard_;
    QObject::connect(navigator, &QCheckBox::toggled, dashboard, lb::ui::guardSlot(dashboard, &Dashboard::setNavigatorVisible));
}

void MenuBuilder::buildDashboard()
{
    // The background picture moves from the centre of the window into the work area.
    QWidget* picture = main_.takeCentralWidget();
    dashboard_ = new Dashboard(main_.Image1, &main_);
    if (picture != main_.Image1)
        delete picture;
    main_.setCentralWidget(dashboard_);
    dashboard_->setObjectName(QStringLiteral("Dashboard"));

    const QString titles[] = {QStringLiteral("基本资料"), QStringLiteral("进货管理"), QStringLiteral("销售管理"),
                              QStringLiteral("系统管理")};
    for (int page = 0; page < Dashboard::pageCount; ++page)
        dashboard_->addPage(page, titles[page], pageColours[page]);

    auto button = [&](int page, const QString& caption, const Command& command) {
        PictureButton* b = dashboard_->addButton(page, caption, pageColours[page]);
        if (command.run)
            attach(b, command);
    };
    auto link = [&](int page, const QString& text, const Command& command) {
        auto run = command.run;
        QLabel* label = dashboard_->addLink(page, text, [run] { run(); });
        wait(command.key, nullptr, label);
    };

    button(0, QStringLiteral("供应商资料"), supplierList());
    button(0, QStringLiteral("商品资料"), productList());
    button(0, QStringLiteral("客户资料"), customerList());
    button(0, QStringLiteral("员工资料"), employeeList());
    dashboard_->addNote(0, QStringLiteral("◎供应商资料-提供供应商资料录入、查询"));
    dashboard_->addNote(0, QStringLiteral("◎商品资料-提供商品资料的录入和查询"));
    dashboard_->addNote(0, QStringLiteral("◎客户资料-提供客户资料的录入、查询"));
    dashboard_->addNote(0, QStringLiteral("◎员工资料-提供员工档案资料管理"));

    button(1, QStringLiteral("进货单"), documentList(QStringLiteral("Tfrinlist"), QStringLiteral("inlist")));
    button(1, QStringLiteral("付款单"), documentList(QStringLiteral("Tfrputlist"), QStringLiteral("putlist")));
    button(1, QStringLiteral("进货退货单"), documentList(QStringLiteral("Tfrinbacklist"), QStringLiteral("inbacklist")));
    button(1, QString(), Command{});
    link(1, QStringLiteral("№进货汇总-按供应商或商品的进货单进行汇总"), window(QStringLiteral("Tfrintotal")));
    link(1, QStringLiteral("№付款汇总-对供应商的付款进行汇总"), window(QStringLiteral("Tfrputtotal")));
    link(1, QStringLiteral("№进货退货-对退货商品单进行汇总"), window(QStringLiteral("Tfrinbacktotal")));
    link(1, QStringLiteral("№供应商汇总-对供应商进货、退货、付款进行汇总"), window(QStringLiteral("Tfrbrantotal")));

    button(2, QStringLiteral("销售单"), documentList(QStringLiteral("Tfroutlist"), QStringLiteral("outlist")));
    button(2, QStringLiteral("销售退货单"), documentList(QStringLiteral("Tfroutbacklist"), QStringLiteral("outbacklist")));
    button(2, QStringLiteral("收款单"), documentList(QStringLiteral("Tfrgetlist"), QStringLiteral("getlist")));
    button(2, QString(), Command{});
    link(2, QStringLiteral("☆销售汇总表-可按时间段对销售单进行汇总"), window(QStringLiteral("Tfrouttotal")));
    link(2, QStringLiteral("☆退货汇总-可按时间段对销售退货单进行汇总"), window(QStringLiteral("Tfroutbacktotal")));
    link(2, QStringLiteral("☆收款汇总-可按时间段对收款单进行汇总"), window(QStringLiteral("Tfrgettotal")));
    link(2, QStringLiteral("☆客户汇总-可按时间段对客户销售、收款汇总"), window(QStringLiteral("Tfrcusttotal")));

    button(3, QStringLiteral("系统设置"), window(QStringLiteral("Tfrconfig")));
    button(3, QStringLiteral("操作员管理"), operatorList());
    button(3, QStringLiteral("使用说明"), help());
    dashboard_->addNote(3, QStringLiteral("☆系统设置-设置数据格式及预先设定有关基础数据"));
    dashboard_->addNote(3, QStringLiteral("☆操作员权限-修改操作员资料及口令"));
    dashboard_->addNote(3, QStringLiteral("☆帮助使用-提供本软件的使用说明"));

    // The background picture's pop-up menu.
    Tfrmain* main = &main_;
    main_.Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
    QAction* setPicture = new QAction(QStringLiteral("设置背景图片"), main_.Image1);
    main_.Image1->addAction(setPicture);
    QObject::connect(setPicture, &QAction::triggered, &main_, lb::ui::guardSlot(&main_, [main] {
        QFileDialog dialog(main, QStringLiteral("设置背景图片"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilter(BackgroundPicture::fileFilter());
        if (lb::ui::Modal::exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString path = dialog.selectedFiles().constFirst();
        if (!BackgroundPicture::canShow(path)) {
            lb::ui::Dialogs::message(BackgroundPicture::refusalText());
            return;
        }
        main->loadBackgroundPicture(path); // a file that does not load stops here
        lb::db::Table& config = *frdm->ATCONFIG;
        config.open();
        config.edit();
        config.fieldByName(QStringLiteral("picfilename")).setAsString(path.trimmed());
        config.post();
        config.close();
    }));
}

void MenuBuilder::build()
{
    registerCoreWindows();
    buildDashboard();
    buildMenuBar();
    buildToolBar();
    watchRegistry();
}

} // namespace

void Tfrmain::buildMenus()
{
    MenuBuilder(*this).build();
}

void Tfrmain::showFirstDashboardPage()
{
    if (auto* dashboard = findChild<Dashboard*>(QStringLiteral("Dashboard")))
        dashboard->selectPage(0);
}

} // namespace lb::core
