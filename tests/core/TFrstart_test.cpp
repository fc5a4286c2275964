// Tests of the quick-start window: its check box stores and shows the start option.
#include "CoreFixture.h"

#include "core/TFrstart.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

using lb::core::TFrstart;

class TFrstartTest : public CoreFixture {
protected:
    bool startOption() { return scalar(QStringLiteral("select startbj from config")).toBool(); }
};

TEST_F(TFrstartTest, CheckBoxStoresTheOptionAndShowsItNextTime)
{
    exec(QStringLiteral("update config set startbj=0"));
    {
        TFrstart window;
        window.show();
        EXPECT_EQ(QStringLiteral("如何开始?如果您第一次使用本系统，请阅读如下《快速入门》。"), window.windowTitle());
        EXPECT_FALSE(window.CheckBox1->isChecked());
        EXPECT_EQ(QStringLiteral("以后启动本系统时不要显示“如何开始”"), window.CheckBox1->text());
        EXPECT_TRUE(window.Memo1->isReadOnly());
        const QStringList guide = window.Memo1->toPlainText().split(QLatin1Char('\n'));
        EXPECT_EQ(QStringLiteral("《快 速 入 门》"), guide.value(0));
        EXPECT_TRUE(guide.contains(QStringLiteral("第一步:录入基本资料")));
        EXPECT_TRUE(guide.contains(QStringLiteral("第二步：“单据”制作方法（以制作进货单为例，销售单操作相同）")));
        for (int hint = 1; hint <= 6; ++hint)
            EXPECT_TRUE(window.Memo1->toPlainText().contains(QStringLiteral("    %1. ").arg(hint)));
        // The entry forms add no line on Down at the last one: the guide sends the reader to 新增行.
        EXPECT_TRUE(guide.contains(QStringLiteral("    4. 需要增加一行时，点击工具栏的“新增行”；需要删除一行时，选中该行后点击“删除行”。")));
        EXPECT_EQ(QStringLiteral("退出"), window.Button1->text());
        window.CheckBox1->click();
        EXPECT_TRUE(startOption());
        EXPECT_FALSE(dm().ATCONFIG->active());
    }
    TFrstart again;
    again.show();
    EXPECT_TRUE(again.CheckBox1->isChecked());
    again.CheckBox1->click();
    EXPECT_FALSE(startOption());
    again.Button1->click();
    EXPECT_FALSE(again.isVisible());
}
