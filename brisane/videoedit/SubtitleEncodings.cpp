#include "videoedit/SubtitleEncodings.h"

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

}  // namespace

const QList<SubtitleEncodings::Encoding>& SubtitleEncodings::subtitleeEncodings()
{
    static const QList<Encoding> table{
        {QStringLiteral("Automatic"), kAutomatic, {}},
        {QStringLiteral("Unicode (UTF-8)"), kUTF8, "UTF-8"},
        {QStringLiteral("Western (ISO Latin 1)"), kISOLatin1, "ISO-8859-1"},
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
    // No "//IGNORE" or "//TRANSLIT": the converter stops at the first bad
    // sequence instead of skipping or replacing it.
    const iconv_t opened = iconv_open("UTF-8", iconvName.constData());
    if (opened == reinterpret_cast<iconv_t>(-1)) {
        qWarning() << "subtitle: no converter from" << iconvName;
        return std::nullopt;
    }
    const Converter converter(opened);
    QByteArray out(bytes.size() * 4 + 16, Qt::Uninitialized);
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

std::optional<QString> SubtitleEncodings::readText(const QByteArray& bytes, quint64 chosen)
{
    if (chosen != kAutomatic) {
        if (auto text = decode(bytes, chosen)) {
            return text;
        }
    }
    if (auto text = decodeDetected(bytes)) {
        return text;
    }
    for (const Encoding& row : subtitleeEncodings()) {
        qInfo().noquote() << "test" << row.name;
        if (row.encoding == kAutomatic) {
            continue;
        }
        if (auto text = decode(bytes, row.iconvName)) {
            return text;
        }
    }
    return std::nullopt;
}

std::optional<QString> SubtitleEncodings::readFile(const QString& path, quint64 chosen,
                                                   QString* error)
{
    const std::optional<QByteArray> bytes = BoundedFile::read(path, kMaximumFileBytes, error);
    if (!bytes) {
        return std::nullopt;
    }
    return readText(*bytes, chosen);
}
