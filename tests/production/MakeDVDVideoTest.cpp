// The rendering step's parts that need no project: the writer's record for
// each disc kind, the weights, the file names, an empty disc, and a title
// with nothing to play.

#include <gtest/gtest.h>
#include <QThread>

#include "ProductionThread.h"
#include "TestSupport.h"
#include "corvane/DVDLibrary.h"
#include "lumenta/LMFunctions.h"
#include "lumenta/LMMediaTime.h"
#include "media/VCMovie.h"
#include "production/MakeDVDVideo.h"

namespace {

struct FormatCase {
    const char* name;
    qint64 format;
    qint64 aspect;
    qint64 bitrate;
    LMFFMovieFileOutputFormat expected;
};

TEST(MakeDVDVideo, OutputFormatRecordFollowsTheDisc)
{
    LMFFMovieFileOutputFormat defaults;
    lm_get_default_movie_file_ouput_format(&defaults);
    const int32_t mpeg2 = lm_get_codec_id_by_name("mpeg2");
    const int32_t ac3 = lm_get_codec_id_by_name("ac3");
    ASSERT_NE(mpeg2, 0);
    ASSERT_NE(ac3, 0);
    const float wide = static_cast<float>(16.0 / 9.0);
    const float narrow = static_cast<float>(4.0 / 3.0);
    const FormatCase cases[] = {
        {"NTSC 4:3 6000",
         0,
         0,
         6000,
         {720, 480, mpeg2, 6000000, 30000, 1001, narrow, defaults.channel_layout, 48000, ac3,
          448000}},
        {"PAL 16:9 4000",
         1,
         1,
         4000,
         {720, 576, mpeg2, 4000000, 25, 1, wide, defaults.channel_layout, 48000, ac3, 448000}},
        // Only an aspect type of exactly 1 is wide.
        {"PAL aspect 2 8000",
         1,
         2,
         8000,
         {720, 576, mpeg2, 8000000, 25, 1, narrow, defaults.channel_layout, 48000, ac3, 448000}},
        // Any format but 1 is NTSC.
        {"format 7",
         7,
         1,
         500,
         {720, 480, mpeg2, 500000, 30000, 1001, wide, defaults.channel_layout, 48000, ac3, 448000}},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        DVDLibrary disc;
        disc.setFormat(c.format);
        disc.setAspectType(c.aspect);
        disc.setDvdBitrate(c.bitrate);
        const LMFFMovieFileOutputFormat f = MakeDVDVideo::movieOutputFormat(disc);
        const LMFFMovieFileOutputFormat& e = c.expected;
        EXPECT_EQ(f.width, e.width);
        EXPECT_EQ(f.height, e.height);
        EXPECT_EQ(f.video_codec, e.video_codec);
        EXPECT_EQ(f.video_bitrate, e.video_bitrate);
        EXPECT_EQ(f.framerate, e.framerate);
        EXPECT_EQ(f.frameTime, e.frameTime);
        EXPECT_EQ(f.aspect, e.aspect);
        EXPECT_EQ(f.channel_layout, e.channel_layout);
        EXPECT_EQ(f.sample_rate, e.sample_rate);
        EXPECT_EQ(f.audio_codec, e.audio_codec);
        EXPECT_EQ(f.audio_bitrate, e.audio_bitrate);

        const LMFFMovieFileOutputFormat music = MakeDVDVideo::musicOutputFormat(disc);
        EXPECT_EQ(music.frameTime, 0);
        EXPECT_EQ(music.framerate, e.framerate);
        EXPECT_EQ(music.sample_rate, 48000);
    }
}

TEST(MakeDVDVideo, WorkFileNames)
{
    EXPECT_EQ(MakeDVDVideo::titleFileName(3), "/title3.dvd");
    EXPECT_EQ(MakeDVDVideo::titleMusicFileName(2, 1), "/title_music_temp-2-1.dvd");
    EXPECT_EQ(MakeDVDVideo::menuMusicFileName(0), "/menu-music-temp-0.dvd");
    EXPECT_EQ(MakeDVDVideo::menuVideoFileName(1), "/menu-temp-1.dvd");
    EXPECT_EQ(MakeDVDVideo::menuFileName(1), "/menu1.dvd");
}

TEST(MakeDVDVideo, TitleWithoutPiecesIsOneSecondOfAnEmptyMovie)
{
    const QList<VCMovie::Ptr> movies = MakeDVDVideo::getMoviesFromTitle(nullptr);
    ASSERT_EQ(movies.size(), 1);
    EXPECT_EQ(movies[0]->trimDuration(), lm_default_time_base());
    EXPECT_FALSE(movies[0]->hasVideo());
    EXPECT_DOUBLE_EQ(MakeDVDVideo::lengthFromMovies(movies), 1.0);

    const LMMediaTime second = lm_default_time_base();
    auto a = VCMovie::movieWithEmptyFFMovie();
    a->setTrimStart(second);
    a->setTrimStop(3 * second + second / 2);
    auto b = VCMovie::movieWithEmptyFFMovie();
    b->setTrimStop(second / 4);
    EXPECT_DOUBLE_EQ(MakeDVDVideo::lengthFromMovies({a, b}), 2.75);
    EXPECT_DOUBLE_EQ(MakeDVDVideo::lengthFromMovies({}), 0.0);
}

TEST(MakeDVDVideo, EmptyDiscRendersNothingAndProgressDividesByOne)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    MakeDVDVideo render;
    EXPECT_EQ(render.progress(), 0.0);
    EXPECT_TRUE(render.makeDVDVideo(disc, dir.path()).isSucceeded());
    EXPECT_EQ(render.totalLength(), 0.0);
    EXPECT_EQ(render.progress(), 0.0);
    EXPECT_EQ(render.mostConcurrentConversions(), 0);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    EXPECT_TRUE(render.makeDVDVideo(nullptr, dir.path()).isFailed());
}

TEST(MakeDVDVideo, CancelBeforeTheRunStartsNothing)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    auto disc = std::make_shared<DVDLibrary>();
    disc->setTitles({nullptr});  // one title with nothing to play
    MakeDVDVideo render;
    render.cancel();
    EXPECT_TRUE(render.isCancelled());
    EXPECT_TRUE(render.makeDVDVideo(disc, dir.path()).isCancelled());
    EXPECT_DOUBLE_EQ(render.totalLength(), 1.0);
    EXPECT_EQ(render.mostConcurrentConversions(), 0);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// The converters report their finish on the main thread: a run there would
// wait for them for ever (or serve the event loop from inside production).
// It starts nothing and fails; on a thread of its own the same disc renders.
TEST(MakeDVDVideo, RunOnTheMainThreadStartsNothingAndFails)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    auto disc = std::make_shared<DVDLibrary>();
    disc->setNoMenu(true);
    disc->setTitles({nullptr});  // one title with nothing to play
    MakeDVDVideo onMain;
    const ProductionResult refused = onMain.makeDVDVideo(disc, dir.path());
    EXPECT_TRUE(refused.isFailed()) << qPrintable(refused.toString());
    EXPECT_EQ(onMain.mostConcurrentConversions(), 0);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    MakeDVDVideo offMain;
    const ProductionResult made = testsupport::renderOnProductionThread(offMain, disc, dir.path());
    EXPECT_TRUE(made.isSucceeded()) << qPrintable(made.toString());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"title0.dvd"});
}

TEST(MakeDVDVideo, ConcurrencyIsBounded)
{
    EXPECT_EQ(MakeDVDVideo::defaultConcurrentTitles(), std::max(QThread::idealThreadCount(), 1));
    MakeDVDVideo render;
    render.setMaximumConcurrentTitles(0);
    EXPECT_EQ(render.maximumConcurrentTitles(), 1);
    render.setMaximumConcurrentTitles(3);
    EXPECT_EQ(render.maximumConcurrentTitles(), 3);
}

TEST(MakeDVDVideo, TitlesSideBySideSharePlacesByLength)
{
    struct Case {
        const char* name;
        QList<double> lengths;
        int places;
        QList<int> expected;
    };
    const Case cases[] = {
        {"one long title takes every place", {300.0}, 8, {8}},
        {"three equal titles, the earlier first", {20.0, 20.0, 20.0}, 8, {3, 3, 2}},
        {"a long and a short title", {300.0, 20.0}, 8, {7, 1}},
        {"a place each before any by length", {20.0, 1.2}, 2, {1, 1}},
        {"more titles than places", {5.0, 5.0, 5.0}, 2, {1, 1, 1}},
        {"titles kept whole count nothing", {0.0, 60.0}, 4, {1, 3}},
        {"no titles", {}, 8, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeDVDVideo::placeShares(c.lengths, c.places), c.expected) << c.name;
    }
}

}  // namespace
