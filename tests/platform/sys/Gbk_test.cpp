// GBK conversion round trips, codes and ordering.
#include "platform/sys/Gbk.h"

#include <gtest/gtest.h>

namespace lb {

TEST(Gbk, ConvertsBothWaysAndCountsBytes)
{
    const QString text = QStringLiteral("货品A1");
    const QByteArray bytes = Gbk::toGbk(text);
    EXPECT_EQ(QByteArray("\xbb\xf5\xc6\xb7" "A1"), bytes);
    EXPECT_EQ(text, Gbk::fromGbk(bytes));
    EXPECT_EQ(QByteArray("?"), Gbk::toGbk(QStringLiteral("𠀀")));
    EXPECT_EQ(QStringLiteral("A\uFFFD"), Gbk::fromGbk(QByteArray("A\xff")));
}

TEST(Gbk, CodesOrderChineseByPinyinAfterAscii)
{
    EXPECT_EQ(0xB0A2, Gbk::code(U'阿'));
    EXPECT_EQ(int('z'), Gbk::code(U'z'));
    EXPECT_EQ(-1, Gbk::code(U'\U00020000'));
    EXPECT_LT(Gbk::compare(QStringLiteral("阿"), QStringLiteral("白")), 0);
    EXPECT_LT(Gbk::compare(QStringLiteral("白"), QStringLiteral("中")), 0);
    EXPECT_LT(Gbk::compare(QStringLiteral("zz"), QStringLiteral("阿")), 0);
    EXPECT_LT(Gbk::compare(QStringLiteral("阿"), QStringLiteral("阿a")), 0);
    EXPECT_EQ(0, Gbk::compare(QStringLiteral("中文"), QStringLiteral("中文")));
}

} // namespace lb
