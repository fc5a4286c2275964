// The main window's summary menu opens every summary and statement once they are registered.
#include "SummaryFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

using lb::summaries::registerSummaryWindows;

namespace {

using SummaryMenusTest = SummaryFixture;

} // namespace

TEST_F(SummaryMenusTest, EveryItemOpensItsWindowOverTheDisabledMainWindow)
{
    registerSummaryWindows();
    main->buildMenus();
    QMenu* menu = nullptr;
    for (QAction* action : main->menuBar()->actions())
        if (action->text() == QStringLiteral("&D 单据汇总"))
            menu = action->menu();
    ASSERT_NE(nullptr, menu);
    const std::pair<const char*, const char*> items[] = {
        {"销售汇总表", "Tfrouttotal"},     {"销售退货汇总", "Tfroutbacktotal"}, {"客户汇总表", "Tfrcusttotal"},
        {"客户对帐表", "Tfrcusttotalist"}, {"商品进货汇总", "Tfrintotal"},      {"进货退货汇总", "Tfrinbacktotal"},
        {"供应商汇总表", "Tfrbrantotal"},  {"供应商对帐表", "Tfrbrantotalist"}, {"收款汇总表", "Tfrgettotal"},
        {"付款汇总表", "Tfrputtotal"},
    };
    for (const auto& [text, key] : items) {
        QAction* item = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == QString::fromUtf8(text))
                item = action;
        ASSERT_NE(nullptr, item) << text;
        EXPECT_TRUE(item->isEnabled()) << text;
        item->trigger();
        QWidget* opened = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String(key) && window->isVisible())
                opened = window;
        ASSERT_NE(nullptr, opened) << key;
        EXPECT_FALSE(main->isEnabled()) << key;
        opened->close();
        flush();
        EXPECT_TRUE(main->isEnabled()) << key;
    }
    EXPECT_TRUE(dialogs.texts().isEmpty());
    // The journal's item is kept hidden.
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("现金银行流水帐")) {
            EXPECT_FALSE(action->isVisible());
        }
    }
}
