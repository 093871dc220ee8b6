#pragma once
// Test media for the subtitle and audio pages, written at test time: one
// short SRT per text encoding (the same cues, in a language the encoding is
// made for), a file of bytes no subtitle reader makes sense of, and a clip
// with two audio streams (a 440 Hz and an 880 Hz tone) over a black picture.

#include <iconv.h>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cmath>
#include <vector>

#include "TestSupport.h"
#include "media/SubtitleEncodings.h"

namespace subtitlefixtures {

struct Fixture {
    const char* label;
    QByteArray iconvName;  // what the file is written in
    quint64 row;           // its row of the encoding table
    QString text;          // the SRT as Unicode
};

inline QString srt(const QStringList& lines)
{
    QString text;
    for (int i = 0; i < lines.size(); ++i) {
        text += QStringLiteral("%1\n00:00:0%2,000 --> 00:00:0%3,000\n%4\n\n")
                    .arg(i + 1)
                    .arg(i + 1)
                    .arg(i + 2)
                    .arg(lines[i]);
    }
    return text;
}

inline const QList<Fixture>& fixtures()
{
    using E = SubtitleEncodings;
    static const QString japanese = srt(
        {QStringLiteral("こんにちは、世界。これは字幕のテストです。"),
         QStringLiteral("日本語の文章を少し長くして、文字コードの判定が確実にできるようにします。"),
         QStringLiteral("ひらがなとカタカナと漢字が混ざった普通の文章です。")});
    static const QList<Fixture> list{
        {"UTF-8", "UTF-8", E::kUTF8, japanese},
        {"Latin-1", "ISO-8859-1", E::kISOLatin1,
         srt({QStringLiteral("Café déjà vu, garçon ! Où est la façade de l'hôtel ?"),
              QStringLiteral("Señor Müller isst Äpfel und trinkt Öl; naïve Größe."),
              QStringLiteral("Très bien, à bientôt, crème brûlée.")})},
        {"Shift-JIS", "SHIFT_JIS", E::kShiftJIS, japanese},
        {"EUC-JP", "EUC-JP", E::kJapaneseEUC, japanese},
        {"CP949", "CP949", E::kMacKorean,
         srt({QStringLiteral("안녕하세요, 세계. 이것은 자막 시험입니다."),
              QStringLiteral(
                  "한국어 문장을 조금 길게 써서 문자 인코딩 판별이 확실하게 되도록 합니다."),
              QStringLiteral("오늘은 날씨가 아주 좋습니다. 다음에 또 만나요.")})},
        {"GB 18030", "GB18030", E::kGB18030,
         srt({QStringLiteral("你好，世界。这是一个字幕测试。"),
              QStringLiteral("我们把中文句子写得长一些，以便字符编码的检测能够可靠地完成。"),
              QStringLiteral("今天天气很好，我们一起去公园散步吧。")})},
        {"Big5", "BIG5", E::kBig5,
         srt({QStringLiteral("你好，世界。這是一個字幕測試。"),
              QStringLiteral("我們把中文句子寫得長一些，以便字元編碼的偵測能夠可靠地完成。"),
              QStringLiteral("今天天氣很好，我們一起去公園散步吧。")})},
    };
    return list;
}

// A short UTF-8 SRT (written without a byte order mark) with one "ü".
inline QString umlautText()
{
    return srt({QStringLiteral("Tschüs")});
}

// A Western SRT with the characters Windows-1252 keeps in 0x80-0x9F.
inline QString windows1252Text()
{
    return srt({QStringLiteral("It’s “5 €” for an œuvre.")});
}

// UTF-8 files with damaged bytes: their bytes, how they read (each bad
// sequence as U+FFFD, everything else as written, the UTF-8 text as UTF-8)
// and their damaged lines.
struct DamagedUtf8 {
    const char* label;
    QByteArray bytes;
    QString text;
    QList<int> lines;
};

inline QList<DamagedUtf8> damagedUtf8()
{
    const QChar replacement(0xFFFD);
    // A stray byte in the second cue's text (line 7).
    const QString cues =
        srt({QStringLiteral("Tschüs"), QStringLiteral("Grüß Gott"), QStringLiteral("Müde")});
    const qsizetype at = cues.indexOf(QStringLiteral("Grüß")) + 2;
    QByteArray stray = cues.toUtf8();
    stray.insert(stray.indexOf("Gr\xc3\xbc") + 2, '\xff');
    // The file ends in the third cue's last character, cut off (line 11).
    const QString ending =
        srt({QStringLiteral("Tschüs"), QStringLiteral("Grüß Gott"), QStringLiteral("Adé")})
            .chopped(2);
    // The only character that is not ASCII, cut off at the end.
    const QString plain =
        srt({QStringLiteral("Hello"), QStringLiteral("Cafe au lait, merci")}).chopped(3) +
        QStringLiteral("é");
    // A UTF-8 file whose third cue (line 11) was written in Latin 1: more
    // Latin 1 letters than UTF-8 characters.
    const QString mixedCues = srt({QStringLiteral("Café"), QStringLiteral("Bonjour"),
                                   QStringLiteral("Très bien, ça va, à bientôt")});
    const qsizetype latin1At = mixedCues.indexOf(QStringLiteral("Très"));
    const QByteArray mixed = mixedCues.left(latin1At).toUtf8() + mixedCues.mid(latin1At).toLatin1();
    QString mixedText = mixedCues;
    for (const QChar letter : QStringLiteral("èçàô")) {
        mixedText.replace(mixedText.indexOf(letter, latin1At), 1, replacement);
    }
    return {
        {"a stray byte", stray, cues.left(at) + replacement + cues.mid(at), {7}},
        {"Latin 1 letters in a UTF-8 file", mixed, mixedText, {11}},
        {"the last character cut",
         ending.toUtf8().chopped(1),
         ending.chopped(1) + replacement,
         {11}},
        {"the only non-ASCII character cut",
         plain.toUtf8().chopped(1),
         plain.chopped(1) + replacement,
         {7}},
    };
}

// The text in the iconv encoding; empty when it cannot be written in it.
inline QByteArray encode(const QString& text, const QByteArray& iconvName)
{
    const iconv_t cd = iconv_open(iconvName.constData(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 4 + 16, '\0');
    char* inPos = in.data();
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPos = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t done = iconv(cd, &inPos, &inLeft, &outPos, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1)) {
        return {};
    }
    out.truncate(outPos - out.data());
    return out;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Bytes no encoding makes subtitles of: every Latin-1 reading of them is
// text, but no cue.
inline QByteArray garbage()
{
    QByteArray bytes;
    quint32 state = 12345;
    for (int i = 0; i < 600; ++i) {
        state = state * 1103515245u + 12345u;
        bytes.append(static_cast<char>(0x80 | ((state >> 16) & 0x7f)));
    }
    return bytes;
}

// A clip of `seconds` over a black 320 x 180 picture with two audio streams:
// 440 Hz first, 880 Hz second.
inline bool makeTwoToneClip(const QString& path, double seconds = 4.0)
{
    const QString duration = QString::number(seconds);
    return testsupport::generateMedia(
        path, {"-f",
               "lavfi",
               "-i",
               QStringLiteral("color=black:size=320x180:rate=25:duration=%1").arg(duration),
               "-f",
               "lavfi",
               "-i",
               QStringLiteral("sine=frequency=440:sample_rate=48000:duration=%1").arg(duration),
               "-f",
               "lavfi",
               "-i",
               QStringLiteral("sine=frequency=880:sample_rate=48000:duration=%1").arg(duration),
               "-map",
               "0:v",
               "-map",
               "1:a",
               "-map",
               "2:a",
               "-c:v",
               "libx264",
               "-pix_fmt",
               "yuv420p",
               "-c:a",
               "aac",
               "-shortest"});
}

// The frequency (Hz) of a mono tone from its zero crossings; 0 for silence.
inline double toneFrequency(const std::vector<float>& samples, int sampleRate)
{
    int crossings = 0;
    float peak = 0.0f;
    for (size_t i = 1; i < samples.size(); ++i) {
        peak = std::max(peak, std::abs(samples[i]));
        if ((samples[i - 1] < 0.0f) != (samples[i] < 0.0f)) {
            ++crossings;
        }
    }
    if (peak < 1e-3f || samples.empty()) {
        return 0.0;
    }
    return crossings / 2.0 / (static_cast<double>(samples.size()) / sampleRate);
}

inline float peakOf(const std::vector<float>& samples)
{
    float peak = 0.0f;
    for (float s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    return peak;
}

}  // namespace subtitlefixtures
