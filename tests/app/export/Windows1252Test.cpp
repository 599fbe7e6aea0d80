#include "Windows1252.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(Windows1252, CodePageCharactersBecomeTheirBytes)
{
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QStringLiteral("a\r\n<\u00B7\u00E9\u00FF")),
              QByteArray("a\r\n<\xB7\xE9\xFF"));
    // The letters and signs in 0x80..0x9F.
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QStringLiteral("\u20AC\u2026\u0160\u2122\u0178")),
              QByteArray("\x80\x85\x8A\x99\x9F"));
}

TEST(Windows1252, MissingCharactersBecomeDecimalReferences)
{
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QStringLiteral("\u0101\u4E2D")),
              QByteArray("&#257;&#20013;"));
    // The C1 controls are not characters of the code page, the five
    // unassigned bytes included.
    EXPECT_EQ(
        Windows1252::encodeWithCharRefs(QStringLiteral("\u0080\u0081\u008D\u008F\u0090\u009D")),
        QByteArray("&#128;&#129;&#141;&#143;&#144;&#157;"));
    // A surrogate pair is one character; a lone surrogate is a replacement.
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QString::fromUtf8("\xF0\x9F\x98\x80")),
              QByteArray("&#128512;"));
    const QChar lone[] = {QChar(0xD800), QChar('x'), QChar(0xDC00)};
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QString(lone, 3)), QByteArray("&#65533;x&#65533;"));
}

TEST(Windows1252, LossyEncodingPutsOneQuestionMarkPerCharacter)
{
    EXPECT_EQ(Windows1252::encodeLossy(QString::fromUtf8("\xC3\xA9\xF0\x9F\x98\x80\xE4\xB8\xAD")),
              QByteArray("\xE9??"));
}

// ASCII is copied in one sweep up to the first other character; the text
// after it goes through the character-by-character road, whatever stands at
// the seam.
TEST(Windows1252, AsciiRunsAndTheCharacterAfterThem)
{
    EXPECT_EQ(Windows1252::encodeLossy(QString()), QByteArray());
    EXPECT_EQ(Windows1252::encodeLossy(QStringLiteral("\t x = 1; // \x7F\r\n")),
              QByteArray("\t x = 1; // \x7F\r\n"));
    EXPECT_EQ(Windows1252::encodeLossy(QStringLiteral("ab\u00E9cd\u20ACe")), QByteArray("ab\xE9"
                                                                                        "cd\x80"
                                                                                        "e"));
    EXPECT_EQ(Windows1252::encodeLossy(QStringLiteral("\u4E2Dab")), QByteArray("?ab"));
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QString::fromUtf8("ab\xF0\x9F\x98\x80"
                                                                "c")),
              QByteArray("ab&#128512;c"));
    const QChar lone[] = {QChar('a'), QChar('b'), QChar(0xD800)};
    EXPECT_EQ(Windows1252::encodeLossy(QString(lone, 3)), QByteArray("ab?"));
    EXPECT_EQ(Windows1252::encodeWithCharRefs(QStringLiteral("x\u0080")), QByteArray("x&#128;"));
}
