// What a subtitle file may cost: a file just under the opener's 16 MB limit
// holding one huge cue is refused when it is opened, with its reason, before
// anything lays it out; a file of the same size made of many ordinary cues
// is taken and drawn. Either way the process's peak memory grows by a
// bounded amount (the renderer costs some hundred bytes per character it
// shows, so an unbounded cue would take gigabytes).
#include <gtest/gtest.h>
#include <QFile>
#include <QRegularExpression>
#include <iostream>

#include "SubtitleFixtures.h"
#include "TestSupport.h"
#include "UserFolders.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"
#include "media/SubtitleEncodings.h"
#include "media/SubtitleFileOpener.h"

using namespace subtitlefixtures;

namespace {

// The process's peak resident memory so far, in bytes (VmHWM).
qint64 peakResident()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString text = QString::fromLatin1(status.readAll());
    const auto match = QRegularExpression(R"(VmHWM:\s+(\d+) kB)").match(text);
    return match.hasMatch() ? match.captured(1).toLongLong() * 1024 : -1;
}

// Words of a few letters and spaces, `bytes` long; another seed, other words.
QByteArray words(qsizetype bytes, quint32 seed = 7)
{
    QByteArray text;
    text.reserve(bytes);
    quint32 state = seed;
    while (text.size() < bytes) {
        state = state * 1103515245u + 12345u;
        const int length = 2 + static_cast<int>((state >> 16) % 8);
        for (int i = 0; i < length && text.size() < bytes; ++i) {
            text.append(static_cast<char>('a' + (state >> (i + 3)) % 26));
        }
        if (text.size() < bytes) {
            text.append(' ');
        }
    }
    return text;
}

QString timeOf(qint64 ms)
{
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

// Just under the opener's limit.
constexpr qsizetype kFileBytes = SubtitleEncodings::kMaximumFileBytes - 64;

class SubtitleMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        ASSERT_TRUE(dir.isValid());
        const QString clip = dir.filePath("clip.mp4");
        ASSERT_TRUE(testsupport::generateMedia(
            clip, {"-f", "lavfi", "-i", "color=black:size=320x180:rate=25:duration=3", "-c:v",
                   "libx264", "-pix_fmt", "yuv420p"}));
        item = VCMovie::movieWithPath(clip);
        ASSERT_TRUE(item && item->movie());
        item->movie()->setOutputVideoSize(QSizeF(720, 576));
    }

    // Opens the file on the clip and draws the frame at 1.5 s; answers the
    // growth of the peak memory, in MB.
    qint64 openAndDraw(const QString& path, SubtitleFileOpener::Result* opened)
    {
        const qint64 before = peakResident();
        *opened = SubtitleFileOpener::openSubtitlePath(*item, path);
        frame = item->movie()->thumbnailAtTime(lm_default_time_base() * 3 / 2, QSize());
        const qint64 growth = (peakResident() - before) >> 20;
        std::cout << "peak memory grew by " << growth << " MB" << std::endl;
        return growth;
    }

    testsupport::UserFolders folders;
    QTemporaryDir dir = testsupport::makeTempDir();
    VCMovie::Ptr item;
    QImage frame;
};

TEST_F(SubtitleMemory, OneHugeCueIsRefusedAtABoundedCost)
{
    const QByteArray head = "1\n00:00:01,000 --> 00:00:02,000\n";
    const QString path = dir.filePath("huge.srt");
    ASSERT_TRUE(writeFile(path, head + words(kFileBytes - head.size() - 2) + "\n\n"));
    SubtitleFileOpener::Result opened;
    EXPECT_LT(openAndDraw(path, &opened), 200);
    EXPECT_FALSE(opened.hasSubtitle);
    EXPECT_EQ(opened.problem, "The subtitle is refused: a cue is too long.");
    EXPECT_FALSE(frame.isNull()) << "the picture goes on";
}

TEST_F(SubtitleMemory, ManyCuesAtOnceAreRefusedLikeOneHugeCue)
{
    // 64 cues of 1 KiB over the same second (all different: the reader
    // drops repeated cues).
    QByteArray content;
    for (int i = 0; i < 64; ++i) {
        content += QByteArray::number(i + 1) + "\n00:00:01,000 --> 00:00:02,000\n" +
                   words(1024, i) + "\n\n";
    }
    const QString path = dir.filePath("crowd.srt");
    ASSERT_TRUE(writeFile(path, content));
    SubtitleFileOpener::Result opened;
    openAndDraw(path, &opened);
    EXPECT_FALSE(opened.hasSubtitle);
    EXPECT_EQ(opened.problem, "The subtitle is refused: too much text at one time.");
}

TEST_F(SubtitleMemory, AFullFileOfOrdinaryCuesIsShownAtABoundedCost)
{
    // Cues of 60 letters, one every 40 ms, until the file is full.
    QByteArray content;
    content.reserve(kFileBytes);
    for (qint64 i = 0;; ++i) {
        const QByteArray cue = QByteArray::number(i + 1) + "\n" + timeOf(i * 40).toLatin1() +
                               " --> " + timeOf(i * 40 + 40).toLatin1() + "\n" + words(60) + "\n\n";
        if (content.size() + cue.size() > kFileBytes) {
            break;
        }
        content += cue;
    }
    const QString path = dir.filePath("full.srt");
    ASSERT_TRUE(writeFile(path, content));
    SubtitleFileOpener::Result opened;
    EXPECT_LT(openAndDraw(path, &opened), 320);
    EXPECT_TRUE(opened.hasSubtitle) << opened.problem.toStdString();
    ASSERT_FALSE(frame.isNull());
}

}  // namespace
