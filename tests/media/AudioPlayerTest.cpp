#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <thread>

#include "TestSupport.h"
#include "media/AudioPlayer.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

// A movie whose position moves only when the test moves it.
class FakeMovie : public IMovie {
public:
    explicit FakeMovie(LMMediaTime length) : m_length(length) {}
    LMMediaTime duration() const override { return m_length; }
    void play() override { m_playing = true; }
    void pause() override { m_playing = false; }
    bool isPlay() const override { return m_playing; }
    LMMediaTime currentTime() const override { return m_time; }
    void setCurrentTime(LMMediaTime t) override { m_time = t; }
    void setPlayVolume(double v) override { volume = v; }

    double volume = -1.0;

private:
    LMMediaTime m_length;
    LMMediaTime m_time = 0;
    bool m_playing = false;
};

struct Item {
    std::shared_ptr<FakeMovie> movie;
    VCMovie::Ptr item;
};

Item makeItem(LMMediaTime start, LMMediaTime stop, LMMediaTime fadeIn = 0, LMMediaTime fadeOut = 0)
{
    auto movie = std::make_shared<FakeMovie>(stop + 10 * kSecond);
    auto item = VCMovie::movieWithMovie(movie, movie->duration());
    item->setTrimStart(start);
    item->setTrimStop(stop);
    item->setFadeIn(fadeIn);
    item->setFadeOut(fadeOut);
    return {movie, item};
}

}  // namespace

TEST(AudioPlayerTest, SeekChoosesTheItemAndBoundariesBelongToTheLaterOne)
{
    // 30 s (kept from 2 s on) and 20 s (kept from 5 s on), back to back.
    const Item a = makeItem(2 * kSecond, 32 * kSecond);
    const Item b = makeItem(5 * kSecond, 25 * kSecond);
    AudioPlayer player;
    player.updatePlayMovies({a.item, b.item});
    EXPECT_EQ(player.cur_movie(), nullptr);

    struct Case {
        double seconds;
        VCMovie::Ptr expected;
        LMMediaTime movieTime;
        LMMediaTime offset;
    };
    const QList<Case> cases{
        {0.0, a.item, 2 * kSecond, 0},
        {12.5, a.item, 14500000, 0},
        {30.0, b.item, 5 * kSecond, 30 * kSecond},
        {49.9, b.item, 24900000, 30 * kSecond},
        {50.0, nullptr, -1, 50 * kSecond},
        {80.0, nullptr, -1, 50 * kSecond},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        player.seekPlayTime(c.seconds);
        EXPECT_EQ(player.cur_movie(), c.expected);
        EXPECT_EQ(player.cur_movie_offset_time(), c.offset);
        if (c.expected) {
            EXPECT_EQ(c.expected->movie()->currentTime(), c.movieTime);
            EXPECT_NEAR(player.playTime(), c.seconds, 1e-6);
        } else {
            EXPECT_FALSE(player.isPlay());
            EXPECT_EQ(player.currentTime(), 50 * kSecond);
        }
    }
}

TEST(AudioPlayerTest, PlayingMovesOnToTheNextItemAndStopsPastTheEnd)
{
    const Item a = makeItem(0, 30 * kSecond);
    const Item b = makeItem(kSecond, 21 * kSecond);
    AudioPlayer player;
    player.updatePlayMovies({a.item, b.item});
    player.seekPlayTime(29.0);
    player.play();
    EXPECT_TRUE(a.movie->isPlay());

    a.movie->setCurrentTime(30 * kSecond);  // the first item reached its end
    player.updatePlayerPlayLoop();
    EXPECT_EQ(player.cur_movie(), b.item);
    EXPECT_FALSE(a.movie->isPlay());
    EXPECT_TRUE(b.movie->isPlay());
    EXPECT_EQ(b.movie->currentTime(), kSecond);
    EXPECT_EQ(player.currentTime(), 30 * kSecond);

    b.movie->setCurrentTime(21 * kSecond + 1000);
    player.updatePlayerPlayLoop();
    EXPECT_EQ(player.cur_movie(), nullptr);
    EXPECT_FALSE(player.isPlay());
    EXPECT_FALSE(b.movie->isPlay());
    EXPECT_EQ(player.currentTime(), 50 * kSecond);
}

TEST(AudioPlayerTest, FadeVolumeIsZeroOutsideTheRangeAndNeverDividesByZero)
{
    struct Case {
        const char* name;
        LMMediaTime fadeIn, fadeOut, time;
        double volume;
    };
    // Range [10 s, 20 s).
    const QList<Case> cases{
        {"middle", 2 * kSecond, 2 * kSecond, 15 * kSecond, 1.0},
        {"half way into the fade-in", 2 * kSecond, 0, 11 * kSecond, 0.5},
        {"half way into the fade-out", 0, 2 * kSecond, 19 * kSecond, 0.5},
        {"fade-in wins where both apply", 8 * kSecond, 8 * kSecond, 14 * kSecond, 0.5},
        {"no fade-out, inside", 0, 0, 20 * kSecond - 1, 1.0},
        {"past the end", 0, 0, 25 * kSecond, 0.0},
        {"before the start", 0, 0, 5 * kSecond, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Item item = makeItem(10 * kSecond, 20 * kSecond, c.fadeIn, c.fadeOut);
        EXPECT_NEAR(AudioPlayer::fadeVolume(*item.item, c.time), c.volume, 1e-9);
    }

    const Item faded = makeItem(0, 10 * kSecond, 0, 4 * kSecond);
    AudioPlayer player;
    player.updatePlayMovies({faded.item});
    player.seekPlayTime(9.0);
    player.updatePlayerPlayLoop();
    EXPECT_NEAR(faded.movie->volume, 0.25, 1e-9);
}

TEST(AudioPlayerTest, AnEmptyListPlaysSilenceForAHundredHours)
{
    AudioPlayer player;
    player.updatePlayMovies({});
    ASSERT_EQ(player.play_movies().size(), 1);
    EXPECT_EQ(player.play_movies().first()->trimDuration(), 360000 * kSecond);
    player.seekPlayTime(1234.5);
    ASSERT_NE(player.cur_movie(), nullptr);
    EXPECT_NEAR(player.playTime(), 1234.5, 1e-3);
    player.clearPlayer();
    EXPECT_TRUE(player.play_movies().isEmpty());
    EXPECT_EQ(player.cur_movie(), nullptr);
}

TEST(AudioPlayerTest, LoopRunsOnTheMainThreadWhilePlayingAndStopsWithThePlayer)
{
    const Item a = makeItem(0, 10 * kSecond, 0, 5 * kSecond);
    auto player = std::make_unique<AudioPlayer>();
    player->updatePlayMovies({a.item});
    player->seekPlayTime(7.5);
    // Asked for on another thread, the loop pass is posted to the main thread.
    std::thread([&] { player->updatePlayerPlayLoop(); }).join();
    EXPECT_EQ(a.movie->volume, -1.0);
    QCoreApplication::processEvents();
    EXPECT_NEAR(a.movie->volume, 0.5, 1e-9);

    player->play();
    a.movie->setCurrentTime(9 * kSecond);
    QElapsedTimer timer;
    timer.start();
    while (std::abs(a.movie->volume - 0.2) > 1e-9 && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_NEAR(a.movie->volume, 0.2, 1e-9);
    // Destroying the player stops its loop: nothing fires afterwards.
    player.reset();
    a.movie->setCurrentTime(8 * kSecond);
    QThread::msleep(120);
    QCoreApplication::processEvents();
    EXPECT_NEAR(a.movie->volume, 0.2, 1e-9);
}

TEST(AudioPlayerTest, RealMusicPlaysHeadlessAndTheClockAdvances)
{
    const auto dir = testsupport::makeTempDir();
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        tone, {"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-ac", "2"}));
    const auto item = VCMovie::movieWithPath(tone);
    ASSERT_NE(item, nullptr);
    AudioPlayer player;
    player.updatePlayMovies({item});
    player.seekPlayTime(1.0);
    player.play();
    EXPECT_TRUE(player.isPlay());
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    player.pause();
    EXPECT_NEAR(player.playTime(), 1.5, 0.2);
    EXPECT_FALSE(player.isPlay());
}
