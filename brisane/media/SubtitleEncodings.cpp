#include "media/SubtitleEncodings.h"

#include <iconv.h>
#include <uchardet/uchardet.h>

#include <QtDebug>
#include <cerrno>
#include <memory>

#include "platform/BoundedFile.h"

namespace {

struct IconvClose {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using Converter = std::unique_ptr<void, IconvClose>;

struct UchardetDelete {
    void operator()(uchardet* ud) const { uchardet_delete(ud); }
};

// Windows-1252's characters for the bytes 0x80 to 0x9F; the five it leaves
// undefined keep their Latin 1 code points.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isWestern(const QByteArray& iconvName)
{
    for (const char* name : {"WINDOWS-1252", "CP1252", "ISO-8859-1", "ISO8859-1", "LATIN1"}) {
        if (iconvName.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QString decodeWestern(const QByteArray& bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text) {
        if (c.unicode() >= 0x80 && c.unicode() < 0xA0) {
            c = QChar(kWindows1252High[c.unicode() - 0x80]);
        }
    }
    return text;
}

// The length of the well-formed UTF-8 character starting at `at` (1 to 4),
// or minus the length of the bad sequence there: the longest start of a
// character that breaks off (at least 1 byte). `cut` tells that the bad
// sequence is a character cut off by the end of the bytes.
int utf8CharacterAt(const QByteArray& bytes, qsizetype at, bool* cut)
{
    const auto lead = static_cast<uchar>(bytes[at]);
    if (lead < 0x80) {
        return 1;
    }
    int trail = 0;
    uchar low = 0x80;
    uchar high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
    } else {
        return -1;
    }
    for (int i = 1; i <= trail; ++i) {
        if (at + i >= bytes.size()) {
            *cut = true;
            return -i;
        }
        const auto next = static_cast<uchar>(bytes[at + i]);
        if (next < low || next > high) {
            return -i;
        }
        low = 0x80;
        high = 0xBF;
    }
    return trail + 1;
}

// What the bytes hold as UTF-8.
struct Utf8Scan {
    qsizetype characters = 0;  // well-formed characters of more than one byte
    qsizetype bad = 0;         // bad sequences
    bool cutAtEnd = false;     // the last bad sequence is a character cut off
    // Every bad sequence is one byte of Latin 1's letters and signs
    // (0xA0-0xFF) with no other bad sequence beside it.
    bool onlyStrayLatin1 = true;
    QList<int> damagedLines;  // 1-based, each once, in order
};

Utf8Scan scanUtf8(const QByteArray& bytes)
{
    Utf8Scan scan;
    int line = 1;
    bool afterBad = false;
    for (qsizetype at = 0; at < bytes.size();) {
        bool cut = false;
        const int length = utf8CharacterAt(bytes, at, &cut);
        if (length > 0) {
            line += bytes[at] == '\n' ? 1 : 0;
            scan.characters += length > 1 ? 1 : 0;
            at += length;
            afterBad = false;
            continue;
        }
        ++scan.bad;
        scan.cutAtEnd = cut;
        scan.onlyStrayLatin1 = scan.onlyStrayLatin1 && length == -1 &&
                               static_cast<uchar>(bytes[at]) >= 0xA0 && !afterBad;
        afterBad = true;
        if (scan.damagedLines.isEmpty() || scan.damagedLines.constLast() != line) {
            scan.damagedLines.append(line);
        }
        at += -length;
    }
    return scan;
}

}  // namespace

const QList<SubtitleEncodings::Encoding>& SubtitleEncodings::subtitleeEncodings()
{
    static const QList<Encoding> table{
        {QStringLiteral("Automatic"), kAutomatic, {}},
        {QStringLiteral("Unicode (UTF-8)"), kUTF8, "UTF-8"},
        {QStringLiteral("Western (ISO Latin 1)"), kISOLatin1, "WINDOWS-1252"},
        {QStringLiteral("Japanese (Shift JIS)"), kShiftJIS, "SHIFT_JIS"},
        {QStringLiteral("Japanese (EUC)"), kJapaneseEUC, "EUC-JP"},
        {QStringLiteral("Korean (Mac OS)"), kMacKorean, "CP949"},
        {QStringLiteral("Chinese (GB 18030)"), kGB18030, "GB18030"},
        {QStringLiteral("Traditional Chinese (Big 5)"), kBig5, "BIG5"},
    };
    return table;
}

const SubtitleEncodings::Encoding* SubtitleEncodings::encodingWithNumber(quint64 encoding)
{
    for (const Encoding& row : subtitleeEncodings()) {
        if (row.encoding == encoding) {
            return &row;
        }
    }
    return nullptr;
}

std::optional<QString> SubtitleEncodings::decode(const QByteArray& bytes,
                                                 const QByteArray& iconvName)
{
    if (iconvName.isEmpty()) {
        return std::nullopt;
    }
    if (isWestern(iconvName)) {
        return decodeWestern(bytes);
    }
    // Qt reads UTF-8 without a converted copy in between (and drops a byte
    // order mark).
    if (iconvName.compare("UTF-8", Qt::CaseInsensitive) == 0) {
        return bytes.isValidUtf8() ? std::optional<QString>(QString::fromUtf8(bytes))
                                   : std::nullopt;
    }
    // No "//IGNORE" or "//TRANSLIT": the converter stops at the first bad
    // sequence instead of skipping or replacing it.
    const iconv_t opened = iconv_open("UTF-8", iconvName.constData());
    if (opened == reinterpret_cast<iconv_t>(-1)) {
        qWarning() << "subtitle: no converter from" << iconvName;
        return std::nullopt;
    }
    const Converter converter(opened);
    // Grown below when the text needs more.
    QByteArray out(bytes.size() * 2 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* outPos = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(opened, &in, &inLeft, &outPos, &outLeft) != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno != E2BIG) {
            return std::nullopt;  // EILSEQ: invalid; EINVAL: cut off at the end
        }
        const qsizetype written = outPos - out.data();
        out.resize(out.size() * 2);
        outPos = out.data() + written;
        outLeft = static_cast<size_t>(out.size() - written);
    }
    // Stateful encodings end in their initial state.
    if (iconv(opened, nullptr, nullptr, &outPos, &outLeft) == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    out.truncate(outPos - out.data());
    return QString::fromUtf8(out);
}

std::optional<QString> SubtitleEncodings::decode(const QByteArray& bytes, quint64 encoding)
{
    const Encoding* row = encodingWithNumber(encoding);
    return row ? decode(bytes, row->iconvName) : std::nullopt;
}

QByteArray SubtitleEncodings::detectCharset(const QByteArray& bytes)
{
    const std::unique_ptr<uchardet, UchardetDelete> detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), bytes.constData(),
                                          static_cast<size_t>(bytes.size())) != 0) {
        return {};
    }
    uchardet_data_end(detector.get());
    const char* charset = uchardet_get_charset(detector.get());
    return charset ? QByteArray(charset) : QByteArray();
}

std::optional<QString> SubtitleEncodings::decodeDetected(const QByteArray& bytes)
{
    QByteArray charset = detectCharset(bytes);
    // Plain ASCII reads the same as UTF-8, which iconv knows by more names.
    if (charset.compare("ASCII", Qt::CaseInsensitive) == 0) {
        charset = "UTF-8";
    }
    return charset.isEmpty() ? std::nullopt : decode(bytes, charset);
}

std::optional<SubtitleEncodings::Reading> SubtitleEncodings::decodeDamagedUtf8(
    const QByteArray& bytes)
{
    const Utf8Scan scan = scanUtf8(bytes);
    const bool damaged =
        scan.bad > 0 && (scan.characters >= scan.bad || (scan.bad == 1 && scan.cutAtEnd) ||
                         (scan.characters > 0 && scan.onlyStrayLatin1));
    if (!damaged) {
        return std::nullopt;
    }
    return Reading{QString::fromUtf8(bytes), scan.damagedLines};
}

std::optional<SubtitleEncodings::Reading> SubtitleEncodings::read(const QByteArray& bytes,
                                                                  quint64 chosen)
{
    if (chosen != kAutomatic) {
        if (auto text = decode(bytes, chosen)) {
            return Reading{*text, {}};
        }
    }
    // UTF-8 is told apart by its structure, better than any guess: a
    // detector may well name a code page that also reads the bytes.
    if (auto text = decode(bytes, kUTF8)) {
        return Reading{*text, {}};
    }
    if (auto damaged = decodeDamagedUtf8(bytes)) {
        return damaged;
    }
    if (auto text = decodeDetected(bytes)) {
        return Reading{*text, {}};
    }
    for (const Encoding& row : subtitleeEncodings()) {
        qInfo().noquote() << "test" << row.name;
        if (row.encoding == kAutomatic) {
            continue;
        }
        if (auto text = decode(bytes, row.iconvName)) {
            return Reading{*text, {}};
        }
    }
    return std::nullopt;
}

std::optional<QString> SubtitleEncodings::readText(const QByteArray& bytes, quint64 chosen)
{
    auto reading = read(bytes, chosen);
    return reading ? std::optional<QString>(std::move(reading->text)) : std::nullopt;
}

std::optional<SubtitleEncodings::Reading> SubtitleEncodings::readFile(const QString& path,
                                                                      quint64 chosen,
                                                                      QString* error)
{
    const std::optional<QByteArray> bytes = BoundedFile::read(path, kMaximumFileBytes, error);
    if (!bytes) {
        return std::nullopt;
    }
    return read(*bytes, chosen);
}
