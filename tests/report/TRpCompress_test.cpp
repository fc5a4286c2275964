// The splay-tree coder: known first codes, round trips of any bytes, adaptation, damaged input.
#include "report/TRpCompress.h"

#include "platform/sys/Errors.h"

#include <gtest/gtest.h>

#include <random>

using lb::report::TRpCompress;

namespace {

QByteArray encode(const QByteArray& plain)
{
    QByteArray code;
    {
        TRpCompress coder(&code);
        for (char c : plain)
            coder.Compress(std::uint8_t(c));
    }
    return code;
}

QByteArray decode(const QByteArray& code, qsizetype count)
{
    QByteArray plain;
    TRpCompress coder{QByteArrayView(code)};
    for (qsizetype i = 0; i < count; ++i)
        plain.append(char(coder.Expand()));
    return plain;
}

} // namespace

TEST(TRpCompress, FirstCodesOfAFreshCoder)
{
    // Byte 0: seven left steps and one right step, the 1 bit filling the byte from its low end.
    EXPECT_EQ(QByteArray(1, char(128)), encode(QByteArray(1, '\0')));
    // Byte 255 has the one 9-bit code (nine left steps); its partly filled second byte is flushed.
    EXPECT_EQ(QByteArray(2, '\0'), encode(QByteArray(1, char(255))));
    // Byte 1 (leaf 257): six left steps to node 63, right to 128, left to the leaf: bit 6.
    EXPECT_EQ(QByteArray(1, char(64)), encode(QByteArray(1, '\1')));
    EXPECT_TRUE(encode(QByteArray()).isEmpty());
}

TEST(TRpCompress, AnyByteSequenceRoundTrips)
{
    std::mt19937 random(7);
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QByteArray noise;
    for (int i = 0; i < 50000; ++i)
        noise.append(char(random()));
    QByteArray skewed;
    for (int i = 0; i < 50000; ++i)
        skewed.append(char(random() % 7 == 0 ? random() : 'x'));
    const QByteArray samples[] = {all, all + all, noise, skewed, QByteArray(10000, '\xFF'),
                                  QByteArray(3, '\0'), QByteArray("合计金额 1,234.50").repeated(40)};
    for (const QByteArray& plain : samples) {
        const QByteArray code = encode(plain);
        EXPECT_EQ(plain, decode(code, plain.size())) << plain.size() << " bytes";
    }
}

TEST(TRpCompress, RepeatedBytesGetShortCodes)
{
    const QByteArray code = encode(QByteArray(8000, 'A'));
    // Splaying moves the leaf next to the root: far below one byte per input byte.
    EXPECT_LT(code.size(), 1500);
    EXPECT_EQ(QByteArray(8000, 'A'), decode(code, 8000));
}

TEST(TRpCompress, DecodingPastTheCodeIsRefused)
{
    const QByteArray code = encode("report");
    TRpCompress coder{QByteArrayView(code)};
    for (char c : QByteArray("report"))
        EXPECT_EQ(std::uint8_t(c), coder.Expand());
    // The rest of the last byte decodes as zero bits at most; beyond it there is nothing.
    EXPECT_THROW(
        {
            for (int i = 0; i < 8; ++i)
                coder.Expand();
        },
        lb::Error);
}

TEST(TRpCompress, CodeOfTheUnusedLeafIsRefused)
{
    // Eight left steps and one right step lead a fresh coder to node 512, which no byte owns;
    // taking it for some byte would hand back a page that was never written.
    const QByteArray code("\x00\x01", 2);
    TRpCompress coder{QByteArrayView(code)};
    EXPECT_THROW(coder.Expand(), lb::Error);
}
