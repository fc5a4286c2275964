// Tests of the pinyin initials: whole words, both ends of every letter's code range, mixed text
// and characters outside the table.
#include "core/GetPinyinInitials.h"

#include <gtest/gtest.h>

using lb::core::GetPinyinInitials;

TEST(GetPinyinInitials, Words)
{
    EXPECT_EQ(QStringLiteral("ZGBJ"), GetPinyinInitials(QStringLiteral("中国北京")));
    EXPECT_EQ(QStringLiteral("AA"), GetPinyinInitials(QStringLiteral("啊澳")));
    EXPECT_EQ(QStringLiteral("Ba1"), GetPinyinInitials(QStringLiteral("芭a1")));
    EXPECT_EQ(QStringLiteral("KKL-500ml"), GetPinyinInitials(QStringLiteral("可口乐-500ml")));
    EXPECT_EQ(QString(), GetPinyinInitials(QString()));
    EXPECT_EQ(QStringLiteral("zgbj"), GetPinyinInitials(QStringLiteral("中国北京"), false));
}

TEST(GetPinyinInitials, FirstAndLastCharacterOfEveryRange)
{
    // letter, first character (lowest code), last character (highest code)
    const char* ranges[][3] = {
        {"A", "啊", "澳"}, {"B", "芭", "怖"}, {"C", "擦", "错"}, {"D", "搭", "堕"}, {"E", "蛾", "贰"},
        {"F", "发", "咐"}, {"G", "噶", "过"}, {"H", "哈", "祸"}, {"J", "击", "骏"}, {"K", "喀", "阔"},
        {"L", "垃", "络"}, {"M", "妈", "穆"}, {"N", "拿", "诺"}, {"O", "哦", "沤"}, {"P", "啪", "瀑"},
        {"Q", "期", "群"}, {"R", "然", "弱"}, {"S", "撒", "所"}, {"T", "塌", "唾"}, {"W", "挖", "误"},
        {"X", "昔", "迅"}, {"Y", "压", "孕"}, {"Z", "匝", "座"},
    };
    for (const auto& r : ranges) {
        const QString letter = QString::fromUtf8(r[0]);
        EXPECT_EQ(letter, GetPinyinInitials(QString::fromUtf8(r[1]))) << r[1];
        EXPECT_EQ(letter, GetPinyinInitials(QString::fromUtf8(r[2]))) << r[2];
    }
}

TEST(GetPinyinInitials, CharactersOutsideTheTableStayThemselves)
{
    // B0A0 just before the table, a level-2 character after it, full-width symbols, a
    // character without a GBK code: each gives itself, never a lone lead byte.
    EXPECT_EQ(QStringLiteral("盃"), GetPinyinInitials(QStringLiteral("盃")));
    EXPECT_EQ(QStringLiteral("亍"), GetPinyinInitials(QStringLiteral("亍")));
    EXPECT_EQ(QStringLiteral("Z，"), GetPinyinInitials(QStringLiteral("座，")));
    EXPECT_EQ(QStringLiteral("，Ａ"), GetPinyinInitials(QStringLiteral("，Ａ")));
    EXPECT_EQ(QStringLiteral("Z\U0001F600"), GetPinyinInitials(QStringLiteral("座\U0001F600")));
}
