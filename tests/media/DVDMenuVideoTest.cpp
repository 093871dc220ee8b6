// A menu page as a movie and a media item: its length, its music copies for
// production, the frames it draws, its audio, and the preview music kept in
// step with the menu clock.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QThread>
#include <cmath>

#include "TestSupport.h"
#include "lumenta/LMFunctions.h"
#include "media/VCVideoConverter.h"

#include "corvane/DVDMenuElement.h"
#include "lumenta/IFrameProvider.h"
#include "lumenta/LMDrawContext.h"
#include "lumenta/LMFFMovie.h"
#include "media/DVDMenuVideo.h"
#include "media/MenuElementClock.h"

namespace {

constexpr LMMediaTime kSecond = 1000000;

LMMediaTime seconds(double s)
{
    return static_cast<LMMediaTime>(std::llround(s * kSecond));
}

// A movie that only keeps a clock and notes what it is told.
class ClockMovie : public IMovie {
public:
    LMMediaTime duration() const override { return 3600 * kSecond; }
    LMMediaTime currentTime() const override { return now; }
    void setCurrentTime(LMMediaTime t) override
    {
        now = t;
        ++seeks;
    }
    void setPlayVolume(double v) override { volume = v; }
    void play() override { playing = true; }
    void pause() override { playing = false; }
    void stop() override { playing = false; }
    bool isPlay() const override { return playing; }
    void setDisableVideo(bool v) override { videoDisabled = v; }
    bool readSample(uint8_t* buffer, int nbStream, int frames) override
    {
        lastStream = nbStream;
        return IMovie::readSample(buffer, nbStream, frames);
    }

    LMMediaTime now = 0;
    int seeks = 0;
    double volume = -1.0;
    bool playing = false;
    bool videoDisabled = false;
    int lastStream = -1;
};

// The media side's music as the menu reads it: its item under "vcmovie".
class Music : public Object {
public:
    VCMovie::Ptr vcmovie() const { return item; }
    void setVcmovie(const VCMovie::Ptr& v) { item = v; }
    const PropertyTable& propertyTable() const override
    {
        static const PropertyTable table =
            PropertyTable(Object::properties()).add("vcmovie", &Music::vcmovie, &Music::setVcmovie);
        return table;
    }
    VCMovie::Ptr item;
};

// An element that follows the menu clock.
class ClockElement : public DVDMenuElement, public MenuElementClock {
public:
    double rotation() const override { return 0; }
    int level() const override { return 1; }
    bool isValid() const override { return true; }
    bool highlightModeEmptyInDVD() const override { return false; }
    bool isStaticItem() const override { return false; }
    bool isTextItem() const override { return false; }
    bool isButtonItem() const override { return false; }
    QRectF frame() const override { return {}; }
    QImage imageAtTime(qint64) override { return {}; }
    ObjectPtr jump() const override { return {}; }
    std::optional<Shadow> shadow() const override { return std::nullopt; }
    double roundValue() const override { return 0; }
    void setCurrentTime(qint64 time) override { lastTime = time; }
    void setExportMovie(bool on) override { exporting = on; }
    void flushOperation() override { ++flushes; }

    qint64 lastTime = -1;
    bool exporting = false;
    int flushes = 0;
};

// A 16:9 page whose picture has a red top-left and a blue bottom-right quarter.
class Page : public DVDMenuPage {
public:
    std::shared_ptr<DVDMenuElement> parent() const override { return nullptr; }
    double duration() const override { return length; }
    qint64 aspectType() const override { return 1; }
    QSizeF menuSize() const override { return {854, 480}; }
    QImage imageAtTime(qint64 time) override
    {
        lastTime = time;
        QImage image(854, 480, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.fillRect(0, 0, 427, 240, Qt::red);
        painter.fillRect(427, 240, 427, 240, Qt::blue);
        return image;
    }
    QList<std::shared_ptr<DVDMenuElement>> items() const override { return elements; }

    ObjectPtr music() const { return m_music; }
    void setMusic(const ObjectPtr& music) { m_music = music; }
    const PropertyTable& propertyTable() const override
    {
        static const PropertyTable table =
            PropertyTable(Object::properties()).add("music", &Page::music, &Page::setMusic);
        return table;
    }

    double length = 15.0;
    qint64 lastTime = -1;
    QList<std::shared_ptr<DVDMenuElement>> elements;

private:
    ObjectPtr m_music;
};

// Music of `length` seconds from `start` in a file-like clock movie.
std::shared_ptr<Music> music(double length, double start = 0.0)
{
    auto m = std::make_shared<Music>();
    m->item = VCMovie::movieWithMovie(std::make_shared<ClockMovie>(), seconds(start + length));
    m->item->setTrimStart(seconds(start));
    return m;
}

class RecordingProvider : public IFrameProvider {
public:
    bool wantsMediaImage() const override { return wants; }
    void mediaImage(IMovie*, const QImage& image) override { raw << image; }
    void mediaEffectImage(IMovie*, const QImage& image) override { edited << image; }
    void fillImageBufferWithBlock(const std::function<void(LMDrawContext&)>& block) override
    {
        blocks.push_back(block);
    }
    bool wants = false;
    QList<QImage> raw;
    QList<QImage> edited;
    std::vector<std::function<void(LMDrawContext&)>> blocks;
};

struct Menu {
    std::shared_ptr<Page> page = std::make_shared<Page>();
    DVDMenuVideo::Ptr source = DVDMenuVideo::create(page);
};

TEST(DVDMenuVideo, IsItsOwnMovieAndItemOfThePageLength)
{
    Menu menu;
    const DVDMenuVideo::Ptr& source = menu.source;
    EXPECT_EQ(source->movie().get(), static_cast<IMovie*>(source.get()));
    EXPECT_EQ(source->trimStart(), 0);
    EXPECT_EQ(source->trimDuration(), 15 * kSecond);
    EXPECT_EQ(source->trimStop(), 15 * kSecond);
    EXPECT_EQ(source->fadeIn(), 0);
    EXPECT_EQ(source->fadeOut(), 0);
    const auto pieces = source->validVCMovies();
    ASSERT_EQ(pieces.size(), 1);
    EXPECT_EQ(pieces.first().get(), static_cast<IMediaItem*>(source.get()));
    EXPECT_EQ(source->videoOutputSize(), QSizeF(854, 480));
    // Seen through either interface it always has a picture and a sound.
    const IMediaItem& item = *source;
    const IMovie& movie = *source;
    EXPECT_TRUE(item.hasAudio() && item.hasVideo());
    EXPECT_TRUE(movie.hasAudio() && movie.hasVideo());
    EXPECT_EQ(movie.currentVideoMediaMaxTime(), 3600 * kSecond);
    EXPECT_TRUE(movie.watermark().isNull());
    // The silent clock: a movie without streams.
    auto silent = std::dynamic_pointer_cast<LMFFMovie>(source->audio());
    ASSERT_TRUE(silent);
    EXPECT_FALSE(silent->hasAudio() || silent->hasVideo());
}

TEST(DVDMenuVideo, EveryCallMakesANewSource)
{
    auto page = std::make_shared<Page>();
    const auto first = DVDMenuVideo::vcmovies(page);
    const auto second = DVDMenuVideo::vcmovies(page);
    ASSERT_EQ(first.size(), 1);
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(first.first(), second.first());
    EXPECT_EQ(first.first()->menu(), page);
    EXPECT_NE(first.first()->audioMovie(), second.first()->audioMovie());
}

TEST(DVDMenuVideo, MenusWithoutALengthStillPlay)
{
    const struct {
        double pageSeconds;
        double menuSeconds;
    } cases[] = {{15.0, 15.0}, {2.5, 2.5}, {0.0, 15.0}, {-3.0, 15.0},
                 {NAN, 15.0},  {0.4, 1.0}, {1.0, 1.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pageSeconds);
        Menu menu;
        menu.page->length = c.pageSeconds;
        EXPECT_EQ(menu.source->trimDuration(), seconds(c.menuSeconds));
        EXPECT_EQ(menu.source->duration(), seconds(c.menuSeconds));
    }
}

TEST(DVDMenuVideo, MusicIsRepeatedAndCutToTheMenuLength)
{
    const struct {
        double music;
        QList<double> copies;  // kept lengths
    } cases[] = {
        {10.0, {10.0, 5.0}}, {7.4, {7.4, 7.4}}, {0.4, {}}, {0.5, {}}, {20.0, {15.0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.music);
        Menu menu;
        auto m = music(c.music, 1.0);
        m->item->setFadeIn(seconds(0.5));
        m->item->setFadeOut(seconds(1.0));
        menu.page->setMusic(m);
        const auto copies = menu.source->musicVcMovies();
        ASSERT_EQ(copies.size(), c.copies.size());
        for (int i = 0; i < copies.size(); ++i) {
            EXPECT_NE(copies[i], m->item);
            EXPECT_EQ(copies[i]->movie(), m->item->movie());
            EXPECT_EQ(copies[i]->trimStart(), seconds(1.0));
            EXPECT_EQ(copies[i]->trimDuration(), seconds(c.copies[i]));
            EXPECT_EQ(copies[i]->fadeIn(), seconds(0.5));
            EXPECT_EQ(copies[i]->fadeOut(), seconds(1.0));
        }
    }
    Menu silent;
    EXPECT_TRUE(silent.source->musicVcMovies().isEmpty());
    silent.page->setMusic(std::make_shared<Object>());  // not a music
    EXPECT_TRUE(silent.source->musicVcMovies().isEmpty());
    EXPECT_FALSE(silent.source->updatePlayerPlaySegment(true));
}

TEST(DVDMenuVideo, ExportFrameFillsWhateverContextItIsGiven)
{
    Menu menu;
    RecordingProvider provider;
    menu.source->decodeImageAtTime(3 * kSecond, &provider, true);
    ASSERT_EQ(provider.blocks.size(), 1u);
    EXPECT_TRUE(provider.edited.isEmpty());
    for (const QSize size : {QSize(720, 576), QSize(720, 480), QSize(100, 50)}) {
        SCOPED_TRACE(size.width());
        LMDrawContext context(size.width(), size.height());
        context.image().fill(Qt::green);  // an older frame
        provider.blocks.front()(context);
        EXPECT_EQ(menu.page->lastTime, 3 * kSecond);
        const QImage& image = context.image();
        EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(size.width() - 2, size.height() - 2), QColor(Qt::blue));
        EXPECT_EQ(image.pixelColor(size.width() - 2, 1), QColor(Qt::white));
    }
}

TEST(DVDMenuVideo, PreviewFrameGoesToBothCallbacksWhenWanted)
{
    Menu menu;
    RecordingProvider provider;
    menu.source->decodeImageAtTime(kSecond, &provider);
    ASSERT_EQ(provider.edited.size(), 1);
    EXPECT_TRUE(provider.raw.isEmpty());
    EXPECT_EQ(provider.edited.first().size(), QSize(854, 480));
    provider.wants = true;
    menu.source->decodeImageAtTime(kSecond, &provider);
    EXPECT_EQ(provider.raw.size(), 1);
    EXPECT_EQ(provider.edited.size(), 2);
    EXPECT_TRUE(provider.blocks.empty());
}

TEST(DVDMenuVideo, SoundAndClockComeFromTheAudioMovie)
{
    Menu menu;
    auto clock = std::make_shared<ClockMovie>();
    menu.source->setAudioMovie(VCMovie::movieWithMovie(clock, 15 * kSecond));
    auto element = std::make_shared<ClockElement>();
    menu.page->elements = {element};

    menu.source->setDisableVideo(false);
    EXPECT_TRUE(clock->videoDisabled);

    LMFFAudioFormat format;
    format.sample_rate = 48000;
    menu.source->configOutputFormat(format);
    EXPECT_EQ(clock->outputAudioFormat().sample_rate, 48000);
    std::vector<uint8_t> buffer(16 * 1024);
    menu.source->readSample(buffer.data(), 3, 256);
    EXPECT_EQ(clock->lastStream, 0);

    menu.source->setCurrentTime(4 * kSecond);
    EXPECT_EQ(menu.source->currentTime(), 4 * kSecond);
    EXPECT_EQ(element->lastTime, 4 * kSecond);
    menu.source->setExportMovie(true);
    EXPECT_TRUE(element->exporting);
    menu.source->flushOperation();
    EXPECT_EQ(element->flushes, 1);

    // Production may find no music file: the menu keeps a silent clock.
    menu.source->setAudioMovie(nullptr);
    ASSERT_TRUE(menu.source->audioMovie());
    EXPECT_TRUE(std::dynamic_pointer_cast<LMFFMovie>(menu.source->audio()));
}

struct Preview {
    Menu menu;
    std::shared_ptr<ClockMovie> clock = std::make_shared<ClockMovie>();
    std::shared_ptr<Music> tune;
    ClockMovie* player = nullptr;

    explicit Preview(double musicSeconds, double musicStart = 1.0)
    {
        menu.source->setAudioMovie(VCMovie::movieWithMovie(clock, 15 * kSecond));
        tune = music(musicSeconds, musicStart);
        menu.page->setMusic(tune);
        player = static_cast<ClockMovie*>(tune->item->movie().get());
    }
    void at(double menuSeconds, double musicSeconds)
    {
        clock->now = seconds(menuSeconds);
        player->now = seconds(musicSeconds);
        player->seeks = 0;
    }
};

TEST(DVDMenuVideo, PreviewMusicFollowsTheMenuClock)
{
    Preview preview(10.0);  // music from 1 s to 11 s of its file
    DVDMenuVideo& source = *preview.menu.source;

    preview.at(12.0, 7.0);
    EXPECT_TRUE(source.updatePlayerPlaySegment(true));
    EXPECT_EQ(preview.player->now, seconds(3.0));  // 2 s into the music
    EXPECT_EQ(preview.player->seeks, 1);

    preview.at(12.1, 3.05);  // 0.05 s off: left alone
    EXPECT_TRUE(source.updatePlayerPlaySegment(false));
    EXPECT_EQ(preview.player->seeks, 0);

    preview.at(12.1, 3.5);  // 0.4 s off: brought back
    source.updatePlayerPlaySegment();
    EXPECT_EQ(preview.player->seeks, 1);
    EXPECT_EQ(preview.player->now, seconds(3.1));

    preview.at(12.1, 3.05);  // forced: always placed
    source.updatePlayerPlaySegment(true);
    EXPECT_EQ(preview.player->seeks, 1);
}

TEST(DVDMenuVideo, PreviewMusicFadesAtItsEnds)
{
    const struct {
        const char* name;
        double fadeIn, fadeOut, menuTime, volume;
    } cases[] = {
        {"in the fade-in", 2.0, 0.0, 1.0, 0.5},
        {"past the fade-in", 2.0, 0.0, 3.0, 1.0},
        {"fade-in of the second round", 2.0, 0.0, 11.5, 0.75},
        {"before the music's end", 0.0, 3.0, 8.5, 0.5},
        {"before the menu's end", 0.0, 3.0, 13.5, 0.5},
        {"no fades", 0.0, 0.0, 9.99, 1.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Preview preview(10.0);
        preview.tune->item->setFadeIn(seconds(c.fadeIn));
        preview.tune->item->setFadeOut(seconds(c.fadeOut));
        preview.at(c.menuTime, 0.0);
        ASSERT_TRUE(preview.menu.source->updatePlayerPlaySegment(false));
        EXPECT_NEAR(preview.player->volume, c.volume, 1e-6);
    }
}

TEST(DVDMenuVideo, PlayStartsTheMusicOnlyWhenThereIsSome)
{
    Preview preview(10.0);
    preview.at(0.0, 5.0);
    preview.menu.source->play();
    EXPECT_TRUE(preview.clock->playing);
    EXPECT_TRUE(preview.menu.source->isPlay());
    EXPECT_TRUE(preview.player->playing);
    EXPECT_EQ(preview.player->now, seconds(1.0));
    preview.menu.source->pause();
    EXPECT_FALSE(preview.clock->playing || preview.player->playing);

    Preview shortMusic(0.5);
    shortMusic.menu.source->play();
    EXPECT_TRUE(shortMusic.clock->playing);
    EXPECT_FALSE(shortMusic.player->playing);
    shortMusic.menu.source->stop();
    EXPECT_FALSE(shortMusic.menu.source->isPlay());
}

// A PAL 16:9 DVD stream.
LMFFMovieFileOutputFormat dvdFormat()
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.width = 720;
    format.height = 576;
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = 4000000;
    format.framerate = 25;
    format.frameTime = 1;
    format.aspect = 16.0f / 9.0f;
    format.sample_rate = 48000;
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    return format;
}

TEST(DVDMenuVideo, MenuTooShortStillBecomesAStreamWithFrames)
{
    auto dir = testsupport::makeTempDir();
    const QString path = dir.filePath("menu-temp-0.dvd");
    Menu menu;
    menu.page->length = 0.2;
    auto job = VCVideoConverter::create();
    job->setMovies({menu.source});
    job->setPath(path);
    job->setMovieOutputFormat(dvdFormat());
    job->updateConverterContent();
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (!job->isFinished() && timer.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    ASSERT_TRUE(job->isFinished() && job->succeeded()) << qPrintable(job->errorText());
    QString out;
    ASSERT_EQ(testsupport::runProgram(
                  "ffprobe",
                  {"-v", "error", "-select_streams", "v:0", "-count_frames", "-show_entries",
                   "stream=nb_read_frames", "-of", "default=nw=1:nk=1", path},
                  &out),
              0);
    EXPECT_NEAR(out.trimmed().toInt(), 25, 2);  // one second of PAL frames
    EXPECT_GT(menu.page->lastTime, 0);          // the page was drawn along the clock
}

}  // namespace
