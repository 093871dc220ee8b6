#pragma once
// The text encodings a subtitle file may be read in, and the reading itself.
//
// The table (subtitleeEncodings) lists, in this order, "Automatic",
// "Unicode (UTF-8)", "Western (ISO Latin 1)", "Japanese (Shift JIS)",
// "Japanese (EUC)", "Korean (Mac OS)", "Chinese (GB 18030)" and
// "Traditional Chinese (Big 5)". Each row has the encoding number a clip
// stores (0 for Automatic) and the iconv name it is read with. There is no
// Mac Korean converter here; its row reads CP949 (Unified Hangul), a superset
// of the Korean text it holds. "Western (ISO Latin 1)" reads Windows-1252,
// the superset of Latin 1 that Western subtitle files are written in (its
// quotes, dashes, euro sign and ligatures in 0x80-0x9F); the five bytes that
// Windows-1252 leaves undefined keep their Latin 1 meaning, so the row maps
// every byte and never fails. A detected Latin 1 or Windows-1252 reads the
// same way.
//
// Every other read is strict: an invalid or incomplete byte sequence fails
// it, so that a wrong encoding falls through to the next one instead of
// producing garbled text.
//
// read() follows the order the subtitle tab uses: the chosen encoding; then
// UTF-8, when the bytes are UTF-8 (valid, or damaged: see below), whatever
// the detector would guess; then detection (uchardet); then every row of the
// table in order, logging "test <name>" for each. The first read that
// succeeds wins.
//
// Damaged UTF-8: bytes that hold at least as many valid multi-byte UTF-8
// characters as bad sequences, or whose only bad sequence is a character cut
// off at the very end, are UTF-8 with a few bytes lost. So are UTF-8 bytes
// with a few Latin 1 letters strayed in: valid multi-byte characters, and
// bad sequences that are each a single byte of 0xA0-0xFF standing alone
// (a mixed file, however few its UTF-8 characters). They are read as UTF-8
// with each bad sequence shown as U+FFFD, and the reading names the lines
// that hold one, so the user can be told. Text in a single-byte or East Asian
// encoding almost never forms valid UTF-8 characters, and East Asian text
// has its bytes above 0x7F side by side, so it is not taken for damaged
// UTF-8.
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

    // Bytes read as damaged UTF-8 (see above); nothing for valid UTF-8 and
    // for bytes that are not UTF-8.
    struct Reading {
        QString text;
        // 1-based numbers of the lines holding bytes that are not UTF-8, in
        // order; empty when the text read cleanly.
        QList<int> damagedLines;
    };
    static std::optional<Reading> decodeDamagedUtf8(const QByteArray& bytes);

    // The text of the bytes in the order above; nothing when no encoding
    // reads them.
    static std::optional<Reading> read(const QByteArray& bytes, quint64 chosen);
    // read()'s text.
    static std::optional<QString> readText(const QByteArray& bytes, quint64 chosen);
    // read() of the file's content; nothing, with the reason in `error`,
    // when the file cannot be read at all.
    static std::optional<Reading> readFile(const QString& path, quint64 chosen,
                                           QString* error = nullptr);
};
