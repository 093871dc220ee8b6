#pragma once
// The text encodings a subtitle file may be read in, and the reading itself.
//
// The table (subtitleeEncodings) lists, in this order, "Automatic",
// "Unicode (UTF-8)", "Western (ISO Latin 1)", "Japanese (Shift JIS)",
// "Japanese (EUC)", "Korean (Mac OS)", "Chinese (GB 18030)" and
// "Traditional Chinese (Big 5)". Each row has the encoding number a clip
// stores (0 for Automatic) and the iconv name it is read with. There is no
// Mac Korean converter here; its row reads CP949 (Unified Hangul), a superset
// of the Korean text it holds.
//
// Every read is strict: an invalid or incomplete byte sequence fails it, so
// that a wrong encoding falls through to the next one instead of producing
// garbled text. "Western (ISO Latin 1)" maps every byte and never fails.
//
// readText() follows the order the subtitle tab uses: the chosen encoding;
// then detection (uchardet); then every row of the table in order, logging
// "test <name>" for each. The first read that succeeds wins.
//
// Pure functions; any thread.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class SubtitleEncodings {
public:
    SubtitleEncodings() = delete;

    struct Encoding {
        QString name;
        quint64 encoding = 0;  // the number a clip stores; 0 detects
        QByteArray iconvName;  // empty for Automatic
    };

    // The numbers of the table's encodings.
    static constexpr quint64 kAutomatic = 0;
    static constexpr quint64 kJapaneseEUC = 3;
    static constexpr quint64 kUTF8 = 4;
    static constexpr quint64 kISOLatin1 = 5;
    static constexpr quint64 kMacKorean = 0x80000003;
    static constexpr quint64 kGB18030 = 0x80000632;
    static constexpr quint64 kShiftJIS = 0x80000A01;
    static constexpr quint64 kBig5 = 0x80000A03;

    // No subtitle file comes near this; larger files are not read.
    static constexpr qint64 kMaximumFileBytes = 16 << 20;

    // The table, built once.
    static const QList<Encoding>& subtitleeEncodings();
    // The row of that number; null for a number the table does not hold.
    static const Encoding* encodingWithNumber(quint64 encoding);

    // The bytes decoded strictly from the iconv encoding; nothing when a
    // sequence is invalid or cut off, or the encoding is unknown.
    static std::optional<QString> decode(const QByteArray& bytes, const QByteArray& iconvName);
    // The same for a row of the table; nothing for 0 and unknown numbers.
    static std::optional<QString> decode(const QByteArray& bytes, quint64 encoding);
    // The charset uchardet names for the bytes; empty when it cannot tell.
    static QByteArray detectCharset(const QByteArray& bytes);
    // The bytes decoded from the detected charset; nothing when detection
    // fails or the bytes do not decode in what it names.
    static std::optional<QString> decodeDetected(const QByteArray& bytes);

    // The text of the bytes in the order above; nothing when no encoding
    // reads them.
    static std::optional<QString> readText(const QByteArray& bytes, quint64 chosen);
    // readText() of the file's content; nothing, with the reason in `error`,
    // when the file cannot be read at all.
    static std::optional<QString> readFile(const QString& path, quint64 chosen,
                                           QString* error = nullptr);
};
