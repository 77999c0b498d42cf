// Reading a text to score: encodings, and files that are no texts.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <utility>

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

// What is no text, or cannot be read, is refused with the reason.
TEST(TextInput, NoTextsAndFilesThatCannotBeReadAreRefusedWithTheReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray controls;
    for (int k = 0; k < 40; ++k)
        controls += "\x01\x02\x03k";
    QFile huge(dir.filePath("huge.txt"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(5 * 1024 * 1024));
    huge.close();
    const std::pair<ScoringText, QStringList> refused[] = {
        {DecodeScoringText(QByteArray("km\0r", 4), "copy.txt"), {"copy.txt", "not a text"}},
        {DecodeScoringText(controls, "f"), {}},
        {DecodeScoringText(QByteArray(kMaxScoringTextCharacters + 1, 'k'), "f"), {"too long"}},
        {ReadScoringText(dir.filePath("missing.txt")), {"no such file"}},
        {ReadScoringText(dir.path()), {"folder"}},
        {ReadScoringText(huge.fileName()), {"too large"}},
    };
    for (const auto& [text, reasons] : refused) {
        EXPECT_FALSE(text.Ok()) << reasons.join(' ').toStdString();
        for (const QString& reason : reasons)
            EXPECT_TRUE(text.problem.contains(reason)) << text.problem.toStdString();
    }
    // One stray control character in a long text is allowed.
    EXPECT_TRUE(DecodeScoringText(QByteArray(300, 'k') + '\x1b', "f").Ok());

    QFile good(dir.filePath("good.txt"));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("kmr mkk\n");
    good.close();
    EXPECT_EQ(ReadScoringText(good.fileName()).text, "kmr mkk\n");
}

}  // namespace
}  // namespace lumbrel
