// Tests of the masked password box: the box asked for, the typed answer and Cancel.
#include "core/PasswordBox.h"

#include "platform/ui/ScriptedDialogs.h"

#include <gtest/gtest.h>

using lb::core::PasswordBox;

TEST(PasswordBox, AsksMaskedAndGivesTheTypedTextOrTheDefault)
{
    lb::ui::ScriptedDialogs dialogs;
    dialogs.type(QStringLiteral(" 888 ")).cancelInput();
    EXPECT_EQ(QStringLiteral(" 888 "), PasswordBox(QStringLiteral("提示信息"), QStringLiteral("请输入操作密码:")));
    EXPECT_EQ(QString(), PasswordBox(QStringLiteral("提示信息"), QStringLiteral("请输入操作密码:")));
    ASSERT_EQ(2u, dialogs.shown().size());
    EXPECT_EQ(lb::ui::DialogRequest::Kind::Password, dialogs.shown()[0].kind);
    EXPECT_EQ(QStringLiteral("提示信息|请输入操作密码:"), dialogs.captionsAndTexts().at(0));
    EXPECT_EQ(0, dialogs.unanswered());
}
