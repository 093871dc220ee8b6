// The subtitle encoding table and the strict reads: every fixture reads back
// its own text under Automatic and under its own row, a row that cannot read
// the bytes falls back to detection, bad sequences fail instead of being
// skipped, and the table is tried in order (logged) when detection fails.
// UTF-8 is UTF-8 whatever the detector guesses, damaged UTF-8 is read as
// UTF-8 with its damaged lines named, and the Western row reads the
// Windows-1252 characters.
#include <gtest/gtest.h>
#include <QtGlobal>

#include "SubtitleFixtures.h"
#include "TestSupport.h"
#include "media/SubtitleEncodings.h"

using namespace subtitlefixtures;

namespace {

QStringList g_log;

void recordLog(QtMsgType, const QMessageLogContext&, const QString& message)
{
    g_log << message;
}

TEST(SubtitleEncodings, TableRowsInOrderWithTheirNumbers)
{
    const auto& table = SubtitleEncodings::subtitleeEncodings();
    QStringList names;
    for (const auto& row : table) {
        names << row.name;
    }
    EXPECT_EQ(names, (QStringList{"Automatic", "Unicode (UTF-8)", "Western (ISO Latin 1)",
                                  "Japanese (Shift JIS)", "Japanese (EUC)", "Korean (Mac OS)",
                                  "Chinese (GB 18030)", "Traditional Chinese (Big 5)"}));
    ASSERT_EQ(table.size(), 8);
    EXPECT_EQ(table[0].encoding, 0u);
    EXPECT_EQ(table[1].encoding, 4u);
    EXPECT_EQ(table[2].encoding, 5u);
    EXPECT_EQ(table[4].encoding, 3u);
    for (const auto& row : table) {
        EXPECT_EQ(SubtitleEncodings::encodingWithNumber(row.encoding), &row);
    }
    EXPECT_EQ(SubtitleEncodings::encodingWithNumber(77), nullptr);
}

TEST(SubtitleEncodings, EveryFixtureReadsTheSameUnderAutomaticAndItsOwnRow)
{
    for (const Fixture& fixture : fixtures()) {
        SCOPED_TRACE(fixture.label);
        const QByteArray bytes = encode(fixture.text, fixture.iconvName);
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_EQ(SubtitleEncodings::readText(bytes, SubtitleEncodings::kAutomatic), fixture.text)
            << "detected as " << SubtitleEncodings::detectCharset(bytes).constData();
        EXPECT_EQ(SubtitleEncodings::readText(bytes, fixture.row), fixture.text);
    }
}

TEST(SubtitleEncodings, AWrongRowThatCannotReadTheBytesFallsBackToDetection)
{
    for (const Fixture& fixture : fixtures()) {
        SCOPED_TRACE(fixture.label);
        const QByteArray bytes = encode(fixture.text, fixture.iconvName);
        // UTF-8 rejects every fixture but its own; EUC-JP rejects UTF-8.
        const quint64 wrong = fixture.row == SubtitleEncodings::kUTF8
                                  ? SubtitleEncodings::kJapaneseEUC
                                  : SubtitleEncodings::kUTF8;
        EXPECT_FALSE(SubtitleEncodings::decode(bytes, wrong).has_value());
        EXPECT_EQ(SubtitleEncodings::readText(bytes, wrong), fixture.text);
    }
}

TEST(SubtitleEncodings, ReadsAreStrict)
{
    struct Case {
        const char* label;
        QByteArray bytes;
        quint64 row;
    };
    const QList<Case> cases{
        {"UTF-8 cut in a sequence", QByteArray("ok \xe3\x81"), SubtitleEncodings::kUTF8},
        {"UTF-8 stray continuation", QByteArray("a\x80z"), SubtitleEncodings::kUTF8},
        {"UTF-8 overlong", QByteArray("\xc0\xaf"), SubtitleEncodings::kUTF8},
        {"Shift JIS lead without trail", QByteArray("abc\x82"), SubtitleEncodings::kShiftJIS},
        {"EUC-JP with an ASCII trail", QByteArray("\xa4z"), SubtitleEncodings::kJapaneseEUC},
        {"Big5 lead without trail", QByteArray("x\xa4"), SubtitleEncodings::kBig5},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(SubtitleEncodings::decode(c.bytes, c.row).has_value()) << c.label;
    }
    EXPECT_FALSE(SubtitleEncodings::decode("abc", SubtitleEncodings::kAutomatic).has_value())
        << "Automatic is no encoding of its own";
    EXPECT_FALSE(SubtitleEncodings::decode("abc", QByteArray("NO-SUCH-CODE")).has_value());
    // Latin 1 maps every byte, as it is meant to.
    EXPECT_EQ(SubtitleEncodings::decode(garbage(), SubtitleEncodings::kISOLatin1)->size(),
              garbage().size());
}

TEST(SubtitleEncodings, WithoutDetectionTheTableIsTriedInOrderAndLogged)
{
    // Bytes uchardet gives up on: the table decides, UTF-8 before Latin 1.
    const QByteArray bytes = garbage();
    ASSERT_FALSE(SubtitleEncodings::decodeDetected(bytes).has_value())
        << "detected as " << SubtitleEncodings::detectCharset(bytes).constData();
    g_log.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordLog);
    const auto text = SubtitleEncodings::readText(bytes, SubtitleEncodings::kUTF8);
    qInstallMessageHandler(previous);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, SubtitleEncodings::decode(bytes, SubtitleEncodings::kISOLatin1))
        << "read as Western, the first row that can";
    EXPECT_EQ(g_log, (QStringList{"test Automatic", "test Unicode (UTF-8)",
                                  "test Western (ISO Latin 1)"}));
}

TEST(SubtitleEncodings, UTF8IsReadAsUTF8WhateverTheDetectorGuesses)
{
    const QByteArray bytes = umlautText().toUtf8();
    ASSERT_FALSE(bytes.startsWith("\xef\xbb\xbf"));
    const auto reading = SubtitleEncodings::read(bytes, SubtitleEncodings::kAutomatic);
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->text, umlautText())
        << "the detector says " << SubtitleEncodings::detectCharset(bytes).constData();
    EXPECT_TRUE(reading->damagedLines.isEmpty());
}

TEST(SubtitleEncodings, DamagedUTF8IsReadAsUTF8AndNamesItsLines)
{
    for (const DamagedUtf8& damaged : damagedUtf8()) {
        SCOPED_TRACE(damaged.label);
        EXPECT_FALSE(SubtitleEncodings::decode(damaged.bytes, SubtitleEncodings::kUTF8))
            << "not valid UTF-8";
        for (quint64 chosen : {SubtitleEncodings::kAutomatic, SubtitleEncodings::kUTF8}) {
            const auto reading = SubtitleEncodings::read(damaged.bytes, chosen);
            ASSERT_TRUE(reading);
            EXPECT_EQ(reading->text, damaged.text) << "chosen " << chosen;
            EXPECT_EQ(reading->damagedLines, damaged.lines) << "chosen " << chosen;
        }
        // A chosen single-byte encoding still reads it as the user asked.
        EXPECT_EQ(SubtitleEncodings::read(damaged.bytes, SubtitleEncodings::kISOLatin1)->text,
                  SubtitleEncodings::decode(damaged.bytes, SubtitleEncodings::kISOLatin1));
    }
    // Text in other encodings is not damaged UTF-8.
    for (const Fixture& fixture : fixtures()) {
        if (fixture.row != SubtitleEncodings::kUTF8) {
            EXPECT_FALSE(
                SubtitleEncodings::decodeDamagedUtf8(encode(fixture.text, fixture.iconvName)))
                << fixture.label;
        }
    }
    EXPECT_FALSE(SubtitleEncodings::decodeDamagedUtf8(encode(windows1252Text(), "WINDOWS-1252")));
    EXPECT_FALSE(SubtitleEncodings::decodeDamagedUtf8(garbage()));
    EXPECT_FALSE(SubtitleEncodings::decodeDamagedUtf8(umlautText().toUtf8())) << "valid";
}

TEST(SubtitleEncodings, WesternReadsWindows1252QuotesAndSigns)
{
    const QByteArray bytes = encode(windows1252Text(), "WINDOWS-1252");
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_EQ(SubtitleEncodings::readText(bytes, SubtitleEncodings::kISOLatin1), windows1252Text());
    EXPECT_EQ(SubtitleEncodings::readText(bytes, SubtitleEncodings::kAutomatic), windows1252Text())
        << "the detector says " << SubtitleEncodings::detectCharset(bytes).constData();
    // The bytes Windows-1252 leaves undefined keep their Latin 1 meaning, so
    // the row still reads every byte.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const auto text = SubtitleEncodings::decode(all, SubtitleEncodings::kISOLatin1);
    ASSERT_TRUE(text);
    ASSERT_EQ(text->size(), 256);
    EXPECT_EQ(text->at(0x92), QChar(0x2019));
    EXPECT_EQ(text->at(0x80), QChar(0x20AC));
    EXPECT_EQ(text->at(0x9C), QChar(0x0153));
    EXPECT_EQ(text->at(0x81), QChar(0x81));
    EXPECT_EQ(text->at(0xE9), QChar(0xE9));
}

TEST(SubtitleEncodings, AFileThatCannotBeReadGivesNothingWithAReason)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    QString error;
    EXPECT_FALSE(SubtitleEncodings::readFile(dir.filePath("missing.srt"), 0, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(SubtitleEncodings::readFile(dir.path(), 0, &error)) << "a folder";
    EXPECT_FALSE(error.isEmpty());
    const QString path = dir.filePath("sjis.srt");
    ASSERT_TRUE(writeFile(path, encode(fixtures()[2].text, "SHIFT_JIS")));
    EXPECT_EQ(SubtitleEncodings::readFile(path, 0)->text, fixtures()[2].text);
}

}  // namespace
