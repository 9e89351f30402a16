#include "platform/TextFile.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(TextFile, EncodingIsRecognisedAndKeptOnRewrite)
{
    const struct
    {
        QByteArray bytes;
        TextEncoding encoding;
    } cases[] = {
        {QByteArray("plain"), TextEncoding::Ansi},
        {QByteArray("Caf\xe9"), TextEncoding::Ansi},
        {QByteArray("Caf\xc3\xa9"), TextEncoding::Utf8},
        {QByteArray("\xef\xbb\xbf"
                    "Caf\xc3\xa9"),
         TextEncoding::Utf8Bom},
        {QByteArray("\xff\xfe"
                    "C\0a\0f\0\xe9\0",
                    10),
         TextEncoding::Utf16LE},
        {QByteArray("\xfe\xff\0C\0a\0f\0\xe9", 10), TextEncoding::Utf16BE},
    };
    for (const auto &c : cases) {
        const std::optional<DecodedText> decoded = decodeTextFile(c.bytes);
        ASSERT_TRUE(decoded) << c.bytes.toHex().constData();
        EXPECT_EQ(decoded->encoding, c.encoding) << c.bytes.toHex().constData();
        if (c.bytes != "plain") {
            EXPECT_TRUE(decoded->text.startsWith(QStringLiteral("Caf\u00e9")));
        }
        EXPECT_EQ(encodeTextFile(decoded->text, decoded->encoding), c.bytes);
    }
}

TEST(TextFile, BytesThatAreNotTextAreRefused)
{
    EXPECT_FALSE(decodeTextFile(QByteArray("a\0b", 3)));
    EXPECT_FALSE(decodeTextFile(QByteArray("\xff\xfe"
                                           "a",
                                           3)));
    EXPECT_FALSE(decodeTextFile(QByteArray("\xff\xfe\x00\xdc", 4)));
    EXPECT_FALSE(decodeTextFile(QByteArray("\xef\xbb\xbf\xff")));
    EXPECT_EQ(decodeTextFile(QByteArray())->text, QString());
}
