#pragma once
// Helpers shared by the test suites.

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QRandomGenerator;

namespace testsupport {

// A fresh temporary folder for one test, removed when it goes out of scope.
// It lives under $BRISANE_TEST_TMP when set (the build tree), else the system
// temporary folder.
QTemporaryDir makeTempDir();

// Runs a program to its end. Returns its exit code, or -1 when it could not be
// started or crashed. Standard output and error are returned through `output`.
int runProgram(const QString& program, const QStringList& arguments, QString* output = nullptr,
               int timeoutMs = 120000);

// Generates a small media file with ffmpeg from the given lavfi inputs and
// output options; fails the current test when ffmpeg is missing or fails.
bool generateMedia(const QString& path, const QStringList& ffmpegArguments);

// A short test clip: `seconds` long, width x height, with a tone when `audio`.
bool makeTestClip(const QString& path, double seconds, int width = 160, int height = 120,
                  bool audio = true);

// A 25 fps clip of 96 x 48 whose frame n shows the digits of n in thirds of
// the picture (ones, tens, hundreds from the left), each digit d as luma
// 16 + 20 d, with a tone; `videoOptions` choose its encoding (and with it
// the container's options, such as "-f mpegts").
bool makeNumberedClip(const QString& path, double seconds, const QStringList& videoOptions);
// Those pictures as an ffmpeg lavfi source of `seconds`; past 40 s (frame
// 999) the numbers start again from 0.
QString numberedPictures(double seconds);

// The frame numbers a stream of such a clip shows, in display order (-1 for
// a frame that shows none); `raw` is a scratch file.
QList<int> frameNumbers(const QString& stream, const QString& raw);

// What ffprobe reports of a media file (its "format" and "streams"); fails the
// current test when ffprobe fails.
QJsonObject probeMedia(const QString& path);

// Writes `image` as <name> (a PNG) into the folder $BRISANE_TEST_ARTIFACTS
// names, when it names one, so that a person can look at a test's picture.
// Answers the path written, or an empty string.
// `good` with one to `maxEdits` random byte changes, removals (of one to
// `maxRemoved` bytes) or insertions, drawn from `random`.
QByteArray mutateBytes(const QByteArray& good, QRandomGenerator& random, int maxEdits,
                       int maxRemoved);

QString writeArtifact(const QImage& image, const QString& name);

// Replaces the file's content with `size` random bytes (always the same ones).
bool overwriteWithGarbage(const QString& path, qint64 size);

}  // namespace testsupport
