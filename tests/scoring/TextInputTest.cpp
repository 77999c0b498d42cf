// Reading a text to score: encodings, and files that are no texts.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "scoring/TextInput.h"

namespace lumbrel {
namespace {

TEST(TextInput, EncodingsAreRead) {
    EXPECT_EQ(DecodeScoringText("kmr\r\nmkk", "f").text, "kmr\r\nmkk");
    EXPECT_EQ(DecodeScoringText("\xEF\xBB\xBFkm\xC3\xA4", "f").text, QString::fromUtf8("km\u00e4"));
    // UTF-16 with its byte-order mark holds NUL bytes and is still a text.
    const QByteArray utf16("\xFF\xFEk\0m\0", 6);
    const ScoringText wide = DecodeScoringText(utf16, "f");
    EXPECT_TRUE(wide.Ok()) << wide.problem.toStdString();
    EXPECT_EQ(wide.text, "km");
    // Not UTF-8: an older 8-bit text.
    EXPECT_EQ(DecodeScoringText("k\xE4m", "f").text, QString::fromLatin1("k\xE4m"));
    // An empty file is a text with nothing in it.
    EXPECT_TRUE(DecodeScoringText(QByteArray(), "f").Ok());
}

TEST(TextInput, NoTextsAreRefusedWithTheReason) {
    const ScoringText nul = DecodeScoringText(QByteArray("km\0r", 4), "copy.txt");
    EXPECT_FALSE(nul.Ok());
    EXPECT_TRUE(nul.problem.contains("copy.txt"));
    EXPECT_TRUE(nul.problem.contains("not a text"));
    QByteArray controls;
    for (int k = 0; k < 40; ++k)
        controls += "\x01\x02\x03k";
    EXPECT_FALSE(DecodeScoringText(controls, "f").Ok());
    // One stray control character in a long text is allowed.
    EXPECT_TRUE(DecodeScoringText(QByteArray(300, 'k') + '\x1b', "f").Ok());
    const ScoringText big = DecodeScoringText(QByteArray(kMaxScoringTextCharacters + 1, 'k'), "f");
    EXPECT_FALSE(big.Ok());
    EXPECT_TRUE(big.problem.contains("too long"));
}

TEST(TextInput, FilesThatCannotBeRead) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ScoringText missing = ReadScoringText(dir.filePath("missing.txt"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_TRUE(missing.problem.contains("no such file"));
    const ScoringText folder = ReadScoringText(dir.path());
    EXPECT_FALSE(folder.Ok());
    EXPECT_TRUE(folder.problem.contains("folder"));

    QFile huge(dir.filePath("huge.txt"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(5 * 1024 * 1024));
    huge.close();
    const ScoringText tooLarge = ReadScoringText(huge.fileName());
    EXPECT_FALSE(tooLarge.Ok());
    EXPECT_TRUE(tooLarge.problem.contains("too large"));

    QFile good(dir.filePath("good.txt"));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("kmr mkk\n");
    good.close();
    EXPECT_EQ(ReadScoringText(good.fileName()).text, "kmr mkk\n");
}

}  // namespace
}  // namespace lumbrel
