// The first disc from a project model: a project built in code, its media
// side (a list page with a title of one clip, a title of two clips and a photo
// slideshow with music), its disc side rebuilt from it as the main window
// does (a menu page with music, text and buttons, and the chapter page of the
// two-clip title), the disc model built from that, every title and menu
// stream rendered through the converter in production's order, then spumux,
// dvdauthor and mkisofs through Corvane, and the result read back with
// libdvdread.
//
// When BRISANE_TEST_ARTIFACTS names a folder, the DVD folder and the image are
// left there as "first-disc.dvdmedia" and "first-disc.iso".

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QThread>
#include <cmath>

#include "../model/DVDResourceTestFixture.h"
#include "corvane/DVDFSMake.h"
#include "corvane/DVDImageMake.h"
#include "corvane/DVDLibrary.h"
#include "corvane/DVDMenuMake.h"
#include "corvane/DVDToolLocator.h"
#include "lumenta/LMDVD.h"
#include "lumenta/LMFFMovie.h"
#include "lumenta/LMFunctions.h"
#include "media/DVDChapterVideo.h"
#include "media/DVDMenuVideo.h"
#include "media/DVDTitleVideo.h"
#include "media/ImageAudioVideo.h"
#include "media/ImageRenderVideo.h"
#include "media/MediaItem.h"
#include "media/PhotoItem.h"
#include "media/RenderItem.h"
#include "media/SlideshowItem.h"
#include "media/VCMovie.h"
#include "media/VCVideoConverter.h"
#include "model/DVDPage.h"
#include "model/DVDPageData.h"
#include "model/DVDPageItem.h"
#include "model/DVDTitleData.h"
#include "model/DataResource.h"
#include "model/EffectTextImage.h"
#include "model/MediaData.h"
#include "model/MediaSectionItem.h"
#include "model/MusicData.h"
#include "model/SectionDataResource.h"
#include "shell/DiscModelBuilder.h"
#include "shell/DiscSideRebuild.h"

using namespace disctest;

namespace {

// --- Production, in the order the production workflow runs it ---

LMFFMovieFileOutputFormat movieOutputFormat(const DVDLibrary& disc)
{
    LMFFMovieFileOutputFormat format;
    lm_get_default_movie_file_ouput_format(&format);
    format.video_codec = lm_get_codec_id_by_name("mpeg2");
    format.video_bitrate = static_cast<int32_t>(disc.dvdBitrate() * 1000);
    format.audio_codec = lm_get_codec_id_by_name("ac3");
    format.audio_bitrate = 448000;
    format.sample_rate = 48000;
    format.aspect = disc.aspectType() == 1 ? 16.0f / 9.0f : 4.0f / 3.0f;
    format.width = disc.dvdVideoSize().width();
    format.height = disc.dvdVideoSize().height();
    format.frameTime = disc.dvdVideoTimebase().width();
    format.framerate = disc.dvdVideoTimebase().height();
    return format;
}

// Converts the items into `path` and waits for the job, keeping the main
// event loop running for its finish. False when the file was not written.
bool convertMovies(const QList<IMediaItem::Ptr>& items, const QString& path,
                   const LMFFMovieFileOutputFormat& format)
{
    QFile::remove(path);
    auto job = VCVideoConverter::create();
    job->setMovies(items);
    job->setPath(path);
    job->setMovieOutputFormat(format);
    job->updateConverterContent();
    job->startConvert();
    QElapsedTimer timer;
    timer.start();
    while (!job->isFinished() && !job->isCanceled() && timer.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    if (!job->isFinished() || !job->succeeded()) {
        ADD_FAILURE() << "conversion to " << qPrintable(path)
                      << " failed: " << qPrintable(job->errorText());
        return false;
    }
    return QFile::exists(path);
}

QList<IMediaItem::Ptr> items(const QList<VCMovie::Ptr>& movies)
{
    return {movies.begin(), movies.end()};
}

// A slideshow piece gets its music encoded first and carried beside its
// pictures; then the title's pieces are encoded together.
bool renderTitle(const brisane::DVDTitleVideo& title, qsizetype index, const QString& work,
                 const LMFFMovieFileOutputFormat& format)
{
    const QList<VCMovie::Ptr> pieces = title.vcmovies();
    int slideshows = 0;
    for (const VCMovie::Ptr& piece : pieces) {
        const auto slideshow = std::dynamic_pointer_cast<ImageRenderVideo>(piece->movie());
        if (!slideshow) {
            continue;
        }
        const QList<VCMovie::Ptr> music = slideshow->musicVcMovies();
        if (!music.isEmpty()) {
            const QString path =
                work + QString("/title_music_temp-%1-%2.dvd").arg(index).arg(slideshows);
            LMFFMovieFileOutputFormat musicFormat = format;
            musicFormat.frameTime = 0;
            if (!convertMovies(items(music), path, musicFormat)) {
                return false;
            }
            const VCMovie::Ptr sound = VCMovie::movieWithPath(path);
            EXPECT_TRUE(sound) << "slideshow music of title " << index;
            piece->setMovie(std::make_shared<ImageAudioVideo>(
                slideshow, sound ? sound->movie() : IMovie::Ptr()));
        }
        ++slideshows;
    }
    return convertMovies(items(pieces), work + QString("/title%1.dvd").arg(index), format);
}

// The page's music first (music only, cut to the menu length), then the page
// with that music as its sound, then the button subpictures.
bool renderMenu(const std::shared_ptr<DVDPage>& page, qsizetype index,
                const std::shared_ptr<DVDLibrary>& disc, const QString& work,
                const LMFFMovieFileOutputFormat& format)
{
    const DVDMenuVideo::Ptr menu = DVDMenuVideo::vcmovies(page).last();
    const QString musicPath = work + QString("/menu-music-temp-%1.dvd").arg(index);
    const QList<VCMovie::Ptr> music = menu->musicVcMovies();
    if (!music.isEmpty()) {
        LMFFMovieFileOutputFormat musicFormat = format;
        musicFormat.frameTime = 0;
        if (!convertMovies(items(music), musicPath, musicFormat)) {
            return false;
        }
        const VCMovie::Ptr sound = VCMovie::movieWithPath(musicPath);
        EXPECT_TRUE(sound) << "menu music " << index;
        menu->setAudioMovie(sound);
    }
    const QString stream = work + QString("/menu-temp-%1.dvd").arg(index);
    if (!convertMovies({menu}, stream, format)) {
        return false;
    }
    DVDMenuMake spumux;
    spumux.makeMenu(page, disc, work + QString("/menu%1.dvd").arg(index), stream, work);
    const bool made = spumux.start();
    QFile::remove(stream);
    QFile::remove(musicPath);
    return made;
}

// --- Reading the disc back ---

double secondsOf(const dvd_time_t& time)
{
    const auto bcd = [](uint8_t v) { return (v >> 4) * 10 + (v & 0x0f); };
    const double rate = (time.frame_u >> 6) == 1 ? 25.0 : 30000.0 / 1001.0;
    return bcd(time.hour) * 3600.0 + bcd(time.minute) * 60.0 + bcd(time.second) +
           bcd(time.frame_u & 0x3f) / rate;
}

using Buttons = QSet<QList<int>>;

// The button areas of the navigation packet at `sector` of the menu stream, as
// x0, y0, x1, y1.
Buttons buttonsAt(dvd_file_t* menus, uint32_t sector)
{
    Buttons buttons;
    unsigned char block[DVD_VIDEO_LB_LEN];
    if (DVDReadBlocks(menus, static_cast<int>(sector), 1, block) != 1) {
        return buttons;
    }
    const unsigned char* pci = block + 0x26;
    if (pci[0] == 0 && pci[1] == 0 && pci[2] == 1 && pci[3] == 0xbf && pci[6] == 0) {
        pci_t packet;
        navRead_PCI(&packet, const_cast<unsigned char*>(pci) + 7);
        for (int i = 0; i < (packet.hli.hl_gi.btn_ns & 0x3f); ++i) {
            const btni_t& b = packet.hli.btnit[i];
            buttons.insert({int(b.x_start), int(b.y_start), int(b.x_end), int(b.y_end)});
        }
    }
    return buttons;
}

struct ReadBack {
    QList<int> chapters;  // per title
    QList<double> titleSeconds;
    bool palWide = false;
    bool menusPalWide = false;
    QList<Buttons> menuButtons;  // per menu chain that has buttons
    QList<double> menuSeconds;   // per menu chain that has a stream
};

ReadBack readBack(const QString& path)
{
    ReadBack disc;
    dvd_reader_t* dvd = DVDOpen(QFile::encodeName(path).constData());
    if (!dvd) {
        ADD_FAILURE() << "libdvdread cannot open " << qPrintable(path);
        return disc;
    }
    if (ifo_handle_t* vmg = ifoOpen(dvd, 0)) {
        for (int i = 0; vmg->tt_srpt && i < vmg->tt_srpt->nr_of_srpts; ++i) {
            disc.chapters.append(vmg->tt_srpt->title[i].nr_of_ptts);
        }
        ifoClose(vmg);
    }
    if (ifo_handle_t* vts = ifoOpen(dvd, 1)) {
        const video_attr_t& video = vts->vtsi_mat->vts_video_attr;
        const video_attr_t& menu = vts->vtsi_mat->vtsm_video_attr;
        disc.palWide = video.video_format == 1 && video.display_aspect_ratio == 3;
        disc.menusPalWide = menu.video_format == 1 && menu.display_aspect_ratio == 3;
        dvd_file_t* menus = DVDOpenFile(dvd, 1, DVD_READ_MENU_VOBS);
        if (vts->pgci_ut && vts->pgci_ut->nr_of_lus > 0 && menus) {
            const pgcit_t* chains = vts->pgci_ut->lu[0].pgcit;
            for (int i = 0; i < chains->nr_of_pgci_srp; ++i) {
                const pgc_t* pgc = chains->pgci_srp[i].pgc;
                if (!pgc || pgc->nr_of_cells == 0 || !pgc->cell_playback) {
                    continue;
                }
                disc.menuSeconds.append(secondsOf(pgc->playback_time));
                disc.menuButtons.append(buttonsAt(menus, pgc->cell_playback[0].first_sector));
            }
        }
        if (menus) {
            DVDCloseFile(menus);
        }
        ifoClose(vts);
    }
    DVDClose(dvd);
    if (const LMDVD::Ptr titles = LMDVD::open(path)) {
        for (const Value& title : titles->titleSources()) {
            disc.titleSeconds.append(
                title.dictionary().value("duration").toDouble().value_or(-1.0));
        }
    }
    return disc;
}

// The button areas the spumux description gives the page, as x0, y0, x1, y1.
Buttons expectedButtons(const DVDPage& page, const DVDLibrary& disc)
{
    Buttons buttons;
    const double height = disc.dvdVideoSize().height();
    for (const auto& item : page.items()) {
        if (item->jump()) {
            const QRectF r =
                DVDMenuMake::scaleRect(item->frame(), page.menuSize(), disc.dvdVideoSize());
            buttons.insert(
                {int(r.x()), int(height - r.bottom()), int(r.right()), int(height - r.y())});
        }
    }
    return buttons;
}

// The mean loudness of a file's sound in dB (-91 for silence); 0 when unknown.
double meanVolume(const QString& path)
{
    QString out;
    testsupport::runProgram(
        "ffmpeg",
        {"-hide_banner", "-i", path, "-map", "0:a", "-af", "volumedetect", "-f", "null", "-"},
        &out);
    const qsizetype at = out.indexOf("mean_volume:");
    return at < 0 ? 0.0 : out.mid(at + 12).section(' ', 1, 1).toDouble();
}

// One frame of a stream as a picture.
QImage frameOf(const QString& path, int frame, const QString& png)
{
    testsupport::runProgram(
        "ffmpeg", {"-v", "error", "-y", "-i", path, "-vf", QString("select=eq(n\\,%1)").arg(frame),
                   "-frames:v", "1", png});
    return QImage(png);
}

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    bool ok = true;
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir()) {
            ok = QDir().mkpath(target) && ok;
        } else {
            QFile::remove(target);
            ok = QFile::copy(source, target) && ok;
        }
    }
    return ok;
}

// --- The model ---

class FirstDisc : public ::testing::Test {
protected:
    void SetUp() override
    {
        services = std::make_shared<DiscServices>();
        services->library = templateLibrary();
        ASSERT_FALSE(services->library->buttons().isEmpty());
        ModelServices::install(services);
        services->disc = std::make_shared<DVDResource>();
        services->disc->setDvdFormat(1);
        services->disc->setAspectType(1);
        DVDToolLocator::setToolFolder(QString());  // the real tools
    }
    void TearDown() override { ModelServices::install(nullptr); }

    // A clip of the source's section [from, to), as the title list imports it.
    static std::shared_ptr<MediaData> clip(const std::shared_ptr<SectionDataResource>& source,
                                           double from, double to)
    {
        const auto section = source->createMediaSectionItem();
        EXPECT_TRUE(section);
        if (!section) {
            return nullptr;
        }
        section->setStartTimeInMedia(seconds(from));
        section->setEndTimeInMedia(seconds(to));
        source->mediaSectionArray().append(section);
        auto made = section->createMediaData();
        EXPECT_TRUE(made);
        return made;
    }

    static std::shared_ptr<DVDTitleData> title(const std::shared_ptr<DVDPageData>& page,
                                               const QList<std::shared_ptr<MediaData>>& clips)
    {
        auto t = std::make_shared<DVDTitleData>();
        t->setMediaDataArray(clips);
        t->setSuperPage(page);
        for (const auto& c : clips) {
            c->setSuperTitleData(t);
        }
        auto titles = page->titleDataArray();
        titles.append(t);
        page->setTitleDataArray(titles);
        return t;
    }

    static double lengthOf(const MediaData& clip)
    {
        return lm_ff_time_to_double(
            brisane::DVDChapterVideo::durationForVcMovies(clip.segmentMovies()));
    }

    static std::shared_ptr<DVDPageItem> textItem(const QString& text, const QRectF& frame)
    {
        auto item = std::make_shared<DVDPageItem>();
        item->setType(2);
        auto source = std::make_shared<EffectTextImage>();
        source->setTextString(text);
        source->setMedia(item);
        item->setTextSource(source);
        item->setFrame(frame);
        EffectTextImage::updaeDVDPageItemFrameWhenSizeChanged(*source);
        return item;
    }

    std::shared_ptr<DiscServices> services;
};

TEST_F(FirstDisc, ProjectModelBecomesADiscThatReadsBack)
{
    QTemporaryDir dir = testsupport::makeTempDir();
    ASSERT_TRUE(dir.isValid());
    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));

    // Sources: two short clips and a tune.
    const QString one = dir.filePath("one.mp4");
    const QString two = dir.filePath("two.mp4");
    const QString tune = dir.filePath("tune.m4a");
    ASSERT_TRUE(testsupport::makeTestClip(one, 1.2, 160, 120));
    ASSERT_TRUE(testsupport::makeTestClip(two, 2.0, 160, 90));
    ASSERT_TRUE(testsupport::generateMedia(
        tune, {"-f", "lavfi", "-i", "sine=frequency=660:sample_rate=44100:duration=1.2"}));

    // Two photos with a short chime: the slideshow.
    const QString photos = dir.filePath("temp-photo");
    ASSERT_TRUE(QDir().mkpath(photos));
    PhotoItem::updateAppTempPath(photos);
    QStringList photoPaths;
    for (const QColor colour : {QColor(Qt::red), QColor(Qt::yellow)}) {
        QImage photo(320, 240, QImage::Format_RGB32);
        photo.fill(colour);
        photoPaths << dir.filePath(QString("photo-%1.png").arg(photoPaths.size()));
        ASSERT_TRUE(photo.save(photoPaths.last()));
    }
    const QString chime = dir.filePath("chime.wav");
    ASSERT_TRUE(testsupport::generateMedia(
        chime, {"-f", "lavfi", "-i", "sine=frequency=880:duration=1", "-ac", "2"}));

    // The media side: three sources, one list page of three titles.
    auto media = std::make_shared<DataResource>();
    const auto sourceOne = SectionDataResource::resourceWithPath(one);
    const auto sourceTwo = SectionDataResource::resourceWithPath(two);
    const auto slides = SectionDataResource::resourceWithImagePaths(photoPaths);
    ASSERT_TRUE(slides->imageSource());
    // 1.5 s is not a whole number of frames (the stream holds 38): the title
    // must still keep its whole length on the disc.
    slides->imageSource()->oSlideshowItem()->setDDuration(0.75);
    slides->imageSource()->oSlideshowItem()->setDBestDuration(0.75);
    slides->imageSource()->setAudioItems({MediaItem::mediaItemWithPath(chime)});
    for (const auto& source : {sourceOne, sourceTwo, slides}) {
        media->addSectionDataResourceToArray(source);
    }
    const auto first = clip(sourceOne, 0.0, 1.2);
    // Two clips cut from one file at 1 s: the titles of the chapter page.
    const auto secondA = clip(sourceTwo, 0.0, 1.0);
    const auto secondB = clip(sourceTwo, 1.0, 2.0);
    const auto third = clip(slides, 0.0, slides->imageSource()->slideshowDuration());
    ASSERT_TRUE(first && secondA && secondB && third);
    auto list = std::make_shared<DVDPageData>();
    media->addDvdPageToArray(list);
    const auto titleOne = title(list, {first});
    const auto titleTwo = title(list, {secondA, secondB});
    const auto titleThree = title(list, {third});

    // The disc side, rebuilt from the list as the main window does; then the
    // layout the menu editor would give it: frames, texts, lengths, music.
    services->disc->setShowPlayButton(true);
    DiscSideRebuild rebuild(media, services->disc);
    rebuild.flushDVDResourceBeforeEdit();
    const auto top = list->menuPage();
    ASSERT_TRUE(top);
    const auto itemOne = titleOne->menuItem();
    const auto itemTwo = titleTwo->menuItem();
    const auto itemThree = titleThree->menuItem();
    const auto chapters = itemTwo->subPage();
    ASSERT_TRUE(chapters);
    const auto chapterA = secondA->menuItem();
    const auto chapterB = secondB->menuItem();
    const QList<std::pair<std::shared_ptr<DVDPageItem>, QRectF>> frames{
        {itemOne, {50, 190, 230, 170}},    {itemTwo, {312, 190, 230, 170}},
        {itemThree, {574, 190, 230, 170}}, {chapterA, {120, 190, 240, 180}},
        {chapterB, {494, 190, 240, 180}},
    };
    for (const auto& [item, frame] : frames) {
        item->setFrame(frame);
        item->setHasShadow(false);
    }
    top->setItemArray(top->itemArray() +
                      DVDPage::ItemList{textItem("My First Disc", {377, 400, 100, 50})});
    chapters->setItemArray(chapters->itemArray() +
                           DVDPage::ItemList{textItem("Chapters", {377, 400, 100, 50})});
    rebuild.flushDVDResourceBeforeEdit();  // the texts stay, after the titles
    top->setMenuDuration(2.0);
    chapters->setMenuDuration(1.0);
    const auto music = MusicData::musicDataWithPath(tune);
    ASSERT_TRUE(music && music->vcmovie());
    music->vcmovie()->setFadeOut(seconds(0.3));
    top->setMusic(music);
    const auto topPlay = top->playButtonItem();
    EXPECT_EQ(top->itemArray().size(), 5);       // three titles, the text and play
    EXPECT_EQ(chapters->itemArray().size(), 5);  // two chapters, the text, back and play

    // The disc model, as the main window builds it: one title per playable
    // item, the top page's first, then the chapter page's.
    const auto disc = DiscModelBuilder(services->disc).getDVDObj();
    ASSERT_TRUE(disc);
    const QList<DVDLibrary::MenuPtr> menus = disc->menus();
    ASSERT_EQ(menus, (QList<DVDLibrary::MenuPtr>{top, chapters}));
    QList<std::shared_ptr<brisane::DVDTitleVideo>> titles;
    for (const auto& title : disc->titles()) {
        titles << std::dynamic_pointer_cast<brisane::DVDTitleVideo>(title);
        ASSERT_TRUE(titles.last());
        ASSERT_EQ(titles.last()->chapters().size(), 1);
    }
    ASSERT_EQ(titles.size(), 4);
    const QList<QList<std::shared_ptr<DVDMenuElement>>> leading{
        {topPlay, itemOne}, {itemThree}, {chapters->playButtonItem(), chapterA}, {chapterB}};
    for (qsizetype i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i]->chapters().first()->titles(), leading[i]) << "title " << i;
    }
    EXPECT_EQ(chapters->preButtonItem()->jumpMenu(), top);

    // Production: titles, then menus, then the DVD folder and the image.
    const LMFFMovieFileOutputFormat format = movieOutputFormat(*disc);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        ASSERT_TRUE(renderTitle(*titles[i], i, work, format)) << "title " << i;
    }
    EXPECT_GT(meanVolume(work + "/title1.dvd"), -40.0);  // the slideshow's music
    for (qsizetype k = 0; k < menus.size(); ++k) {
        ASSERT_TRUE(renderMenu(std::dynamic_pointer_cast<DVDPage>(menus[k]), k, disc, work, format))
            << "menu " << k;
    }
    DVDFSMake author;
    author.dvd(disc, work);
    ASSERT_TRUE(author.start());
    DVDImageMake image;
    image.volume("FIRST_DISC", work);
    ASSERT_TRUE(image.start());

    const QString folder = work + "/dvd.dvdmedia";
    const QString iso = work + "/dvd.iso";
    const QString artifacts = qEnvironmentVariable("BRISANE_TEST_ARTIFACTS");
    if (!artifacts.isEmpty()) {
        EXPECT_TRUE(copyTree(folder, artifacts + "/first-disc.dvdmedia"));
        QFile::remove(artifacts + "/first-disc.iso");
        EXPECT_TRUE(QFile::copy(iso, artifacts + "/first-disc.iso"));
    }

    // The first menu shows its titles' live video and plays its music.
    const QString menuStream = folder + "/VIDEO_TS/VTS_01_0.VOB";
    const QImage menuPicture = frameOf(menuStream, 30, dir.filePath("menu.png"));
    ASSERT_EQ(menuPicture.size(), QSize(720, 576));
    const QRectF titleArea = DVDMenuMake::scaleRect(itemOne->frame().adjusted(30, 30, -30, -30),
                                                    top->menuSize(), disc->dvdVideoSize());
    int lit = 0;
    for (int x = int(titleArea.left()); x < int(titleArea.right()); x += 8) {
        const QColor c = menuPicture.pixelColor(x, 576 - int(titleArea.center().y()));
        lit += std::max({c.red(), c.green(), c.blue()}) > 100 ? 1 : 0;
    }
    EXPECT_GT(lit, 5) << "the title picture is dark";
    EXPECT_GT(meanVolume(menuStream), -40.0);
    EXPECT_EQ(DVDMenuVideo::create(top)->musicVcMovies().size(), 2);  // 1.2 s, then 0.8 s
    if (!artifacts.isEmpty()) {
        menuPicture.save(artifacts + "/first-disc-menu.png");
    }

    const Buttons topButtons = expectedButtons(*top, *disc);
    const Buttons chapterButtons = expectedButtons(*chapters, *disc);
    EXPECT_EQ(topButtons.size(), 4);      // three titles and play
    EXPECT_EQ(chapterButtons.size(), 4);  // two chapters, back and play
    const double frame = 1.0 / 25.0;
    for (const QString& path : {folder, iso}) {
        SCOPED_TRACE(qPrintable(path));
        const ReadBack read = readBack(path);
        EXPECT_EQ(read.chapters, (QList<int>{1, 1, 1, 1}));
        EXPECT_TRUE(read.palWide);
        EXPECT_TRUE(read.menusPalWide);
        EXPECT_TRUE(read.menuButtons.contains(topButtons));
        EXPECT_TRUE(read.menuButtons.contains(chapterButtons));
        ASSERT_EQ(read.titleSeconds.size(), 4);
        EXPECT_NEAR(read.titleSeconds[0], lengthOf(*first), 2 * frame);
        EXPECT_NEAR(read.titleSeconds[1], lengthOf(*third), 2 * frame);
        EXPECT_NEAR(read.titleSeconds[2], lengthOf(*secondA), 2 * frame);
        EXPECT_NEAR(read.titleSeconds[3], lengthOf(*secondB), 2 * frame);
        QList<double> menuSeconds = read.menuSeconds;
        std::sort(menuSeconds.begin(), menuSeconds.end());
        ASSERT_GE(menuSeconds.size(), 2);
        EXPECT_NEAR(menuSeconds.last(), 2.0, 2 * frame);
        EXPECT_TRUE(std::any_of(menuSeconds.begin(), menuSeconds.end(),
                                [&](double s) { return std::fabs(s - 1.0) <= 2 * frame; }));
    }
}

}  // namespace
