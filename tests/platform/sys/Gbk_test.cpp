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

TEST(Gbk, ComparisonIsAntisymmetricAndFoldsLatinCaseOnlyWhenAsked)
{
    using Case = Gbk::LatinCase;
    // A text against its own prefix, both ways, under both rules.
    const std::pair<const char*, const char*> prefixes[] = {
        {"阿", "阿b"}, {"ab", "abc"}, {"", "a"}, {"中", "中𠀀"}, {"A", "a阿"}, {"Z", "z "}};
    for (const auto& [shorter, longer] : prefixes) {
        for (const Case rule : {Case::Respect, Case::Ignore}) {
            const QString a = QString::fromUtf8(shorter);
            const QString b = QString::fromUtf8(longer);
            EXPECT_LT(Gbk::compare(a, b, rule), 0) << shorter << " < " << longer;
            EXPECT_GT(Gbk::compare(b, a, rule), 0) << longer << " > " << shorter;
        }
    }
    EXPECT_NE(0, Gbk::compare(QStringLiteral("a1"), QStringLiteral("A1")));
    EXPECT_EQ(0, Gbk::compare(QStringLiteral("a1"), QStringLiteral("A1"), Case::Ignore));
    EXPECT_LT(Gbk::compare(QStringLiteral("apple"), QStringLiteral("Banana"), Case::Ignore), 0);
    EXPECT_GT(Gbk::compare(QStringLiteral("apple"), QStringLiteral("Banana")), 0);
    // Capitals fold to small letters: '_', which lies between them, sorts before every letter.
    EXPECT_LT(Gbk::compare(QStringLiteral("_"), QStringLiteral("a"), Case::Ignore), 0);
    EXPECT_LT(Gbk::compare(QStringLiteral("_"), QStringLiteral("A"), Case::Ignore), 0);
    EXPECT_GT(Gbk::compare(QStringLiteral("_"), QStringLiteral("A")), 0);
    EXPECT_LT(Gbk::compare(QStringLiteral("Zebra"), QStringLiteral("啊"), Case::Ignore), 0);
}

} // namespace lb
