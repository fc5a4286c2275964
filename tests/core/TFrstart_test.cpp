// Tests of the quick-start window: its check box stores and shows the start option.
#include "CoreFixture.h"

#include "core/TFrstart.h"

#include <QCheckBox>
#include <QPlainTextEdit>

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
        window.CheckBox1->click();
        EXPECT_TRUE(startOption());
        EXPECT_FALSE(dm().ATCONFIG->active());
    }
    TFrstart again;
    again.show();
    EXPECT_TRUE(again.CheckBox1->isChecked());
    again.CheckBox1->click();
    EXPECT_FALSE(startOption());
}
