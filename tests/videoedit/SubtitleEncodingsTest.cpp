// The subtitle encoding table and the strict reads: every fixture reads back
// its own text under Automatic and under its own row, a row that cannot read
// the bytes falls back to detection, bad sequences fail instead of being
// skipped, and the table is tried in order (logged) when detection fails.
#include <gtest/gtest.h>
#include <QtGlobal>

#include "SubtitleFixtures.h"
#include "TestSupport.h"
#include "videoedit/SubtitleEncodings.h"

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
    EXPECT_EQ(*text, QString::fromLatin1(bytes)) << "read as Latin 1, the first row that can";
    EXPECT_EQ(g_log, (QStringList{"test Automatic", "test Unicode (UTF-8)",
                                  "test Western (ISO Latin 1)"}));
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
    EXPECT_EQ(SubtitleEncodings::readFile(path, 0), fixtures()[2].text);
}

}  // namespace
