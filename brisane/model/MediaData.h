#pragma once
// A clip of a DVD title: it plays one section of an imported source through a
// media item (VCMovie) that carries the user's edits. Clips can be merged
// into a group clip whose members play one after another (one level deep).
//
// The media item is not archived: a loaded project rebuilds it from the
// source's copy (loadVCMovieFromProject) and puts the edits back from the
// edit-attribute snapshot (movieAttributes), which is taken each time the
// clip is archived. A clip without a media item keeps its snapshot as it is.
//
// The clip's subtitle travels with the project like its source: the snapshot
// holds the subtitle file as a project source under "subtitleFile" (the copy
// in the project folder, see DVDFileSource) and its text encoding under
// "subtitleEncoding"; a load opens that copy again. A snapshot without them
// (a clip without subtitle, or a project saved before subtitles were kept)
// leaves the clip without subtitle.
//
// Archive keys, in order: "superTitleData", "isImageData",
// "imageDataDuration", "path", "name", "previewImage", "sectionItem",
// "hasSubMedia", "subMediaArray", "isSubMedia", "superMediaData", "isTitle",
// "menuItem", "movieAttributes", "audioTreamTag".
//
// `superTitleData` and `superMediaData` are back links that do not own; the
// clip's section is owned by its source. The clip answers the disc side as a
// MenuClip: its preview, its members and its trimmed pieces.

#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <memory>

#include "media/VCMovie.h"
#include "model/MediaRowView.h"
#include "model/MenuClip.h"
#include "model/RowPointer.h"
#include "platform/CodingBase.h"

class DVDFileSource;
class DVDPageItem;
class DVDTitleData;
class MediaSectionItem;

class MediaData : public CodingBase, public MenuClip {
public:
    using Ptr = std::shared_ptr<MediaData>;
    using ClipList = QList<Ptr>;

    // --- Media item ---
    // Rebuilds the media item from the section's source for a disc whose menu
    // canvas is `canvas`, then applies the snapshot; the item keeps the
    // canvas as its output size whatever the snapshot says. Run once per clip
    // after a project is opened, with the canvas of the opened disc.
    void loadVCMovieFromProject(const QSizeF& canvas);
    // The same for a new disc's canvas (16:9).
    void loadVCMovieFromProject();
    // Rebuilds the media item from the section's source, output size `canvas`.
    void loadVCMovie(const QSizeF& canvas);
    // Takes the snapshot from the media item; nothing without a media item.
    void newMediaEditDic();
    // Applies the snapshot to the media item (see MediaEditSnapshot), and
    // selects the audio stream audioTreamTag names on its movie (99, and an
    // index the movie does not have, leave the movie's choice). The
    // snapshot's subtitle file is opened again (its reason logged when it
    // cannot be shown).
    void updateMovieAttributesToMovie();
    // The subtitle file of the media item as a project source: the same
    // source as long as the item names the same file (so that a source
    // pointed at its copy by a save keeps it), a new one for another file,
    // null without subtitle. Without a media item, the snapshot's source.
    std::shared_ptr<DVDFileSource> subtitleFileSource() const;
    // A clip whose chosen subtitle file is gone (deleted or moved before a
    // save) while its media item still shows the subtitle keeps it: the
    // save writes the project's copy from the text the item holds, in
    // UTF-8. keepSubtitleText() tells whether that is so and, when it is,
    // sets the item to read its subtitle in UTF-8 from then on (run it
    // before the clip is archived, so that its snapshot says so);
    // saveSubtitleTextAtPath() then writes the copy into `projectFolder`
    // (see DVDFileSource) and answers whether it was written.
    bool keepSubtitleText();
    bool saveSubtitleTextAtPath(const QString& projectFolder) const;
    // The media item's movie; null while there is none.
    IMovie::Ptr ffmovie() const;
    // The media item's kept pieces placed at source times: without trim
    // segments one piece over the whole section; with segments each segment
    // shifted by the section's start (segments count from it).
    QList<VCMovie::Ptr> segmentMovies() const;

    // --- Thumbnails ---
    // The item's picture at trimStart + the smaller of 5.5 s and half its
    // length, fitted into 480 x 320 when larger.
    static QImage thumbnailForVcMovie(const VCMovie& item);
    // The same for a whole movie.
    static QImage thumbnailForMovie(const IMovie::Ptr& movie);

    // --- Moving ---
    // A new clip for a move: the same media item (so the edits go along), the
    // members, the flags and back links; a clip without members also takes
    // over the section. Not copied: the snapshot, the audio stream choice
    // (99), isTitle, the chapter button and the row view.
    static Ptr copyMediaFromMedia(const MediaData& clip);
    // Files each member of the clip under it.
    static void copyMediaEditEndWithMedia(const Ptr& clip);
    // Files the clip directly under a title (not a member of a group).
    void flushSuperTitleData(const std::shared_ptr<DVDTitleData>& title);
    // Files the clip as a member of a group (its own members are dropped).
    void flushSuperMediaData(const Ptr& group);

    // --- MenuClip ---
    QImage previewImage() const override { return m_previewImage; }
    bool hasSubMedia() const override { return m_hasSubMedia; }
    QList<std::shared_ptr<MenuClip>> subMenuClips() const override;
    QList<SegmentsMovie::Piece> segmentPieces() const override;

    // --- Properties ---
    std::shared_ptr<DVDTitleData> superTitleData() const { return m_superTitleData.lock(); }
    void setSuperTitleData(const std::shared_ptr<DVDTitleData>& title) { m_superTitleData = title; }
    bool isImageData() const { return m_isImageData; }
    void setIsImageData(bool on) { m_isImageData = on; }
    // Seconds.
    double imageDataDuration() const { return m_imageDataDuration; }
    void setImageDataDuration(double seconds) { m_imageDataDuration = seconds; }
    QString path() const { return m_path; }
    void setPath(const QString& path) { m_path = path; }
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    void setPreviewImage(const QImage& image) { m_previewImage = image; }
    VCMovie::Ptr vcmovie() const { return m_vcmovie; }
    void setVcmovie(const VCMovie::Ptr& item) { m_vcmovie = item; }
    Value::Dictionary movieAttributes() const { return m_movieAttributes; }
    void setMovieAttributes(const Value::Dictionary& snapshot) { m_movieAttributes = snapshot; }
    std::shared_ptr<MediaSectionItem> sectionItem() const { return m_sectionItem; }
    void setSectionItem(const std::shared_ptr<MediaSectionItem>& section)
    {
        m_sectionItem = section;
    }
    // Why the clip's source file cannot be played in the opened project
    // (missing, unreadable, damaged); empty when it can. Its row shows it.
    // Not archived.
    QString missingSource() const { return m_missingSource; }
    void setMissingSource(const QString& reason) { m_missingSource = reason; }
    // The clip's row in the title list; not owned, not archived; null once
    // the row is destroyed.
    MediaRowView* mediaDataView() const { return m_mediaDataView.get(); }
    void setMediaDataView(MediaRowView* view) { m_mediaDataView.reset(view); }
    void setHasSubMedia(bool on) { m_hasSubMedia = on; }
    const ClipList& subMediaArray() const { return m_subMediaArray; }
    ClipList& subMediaArray() { return m_subMediaArray; }
    void setSubMediaArray(const ClipList& members) { m_subMediaArray = members; }
    bool isSubMedia() const { return m_isSubMedia; }
    void setIsSubMedia(bool on) { m_isSubMedia = on; }
    Ptr superMediaData() const { return m_superMediaData.lock(); }
    void setSuperMediaData(const Ptr& group) { m_superMediaData = group; }
    // The chosen audio stream, or 99 for the default (stream 0).
    qint64 audioTreamTag() const { return m_audioTreamTag; }
    void setAudioTreamTag(qint64 tag) { m_audioTreamTag = tag; }
    bool isTitle() const { return m_isTitle; }
    void setIsTitle(bool on) { m_isTitle = on; }
    std::shared_ptr<DVDPageItem> menuItem() const { return m_menuItem; }
    void setMenuItem(const std::shared_ptr<DVDPageItem>& item);

    // Takes the snapshot, then writes the keys.
    void encodeWithCoder(KeyedArchiver& coder) const override;
    // Reads the keys, then becomes its section's clip again.
    bool initWithCoder(KeyedUnarchiver& coder) override;
    QStringList allCoderKeys() const override;
    const PropertyTable& propertyTable() const override { return properties(); }
    static const PropertyTable& properties();

    static inline const QString SubtitleFileKey = QStringLiteral("subtitleFile");
    static inline const QString SubtitleEncodingKey = QStringLiteral("subtitleEncoding");

private:
    void takeSnapshot() const;
    // Opens the snapshot's subtitle file on the media item again.
    void reopenSubtitle();

    std::weak_ptr<DVDTitleData> m_superTitleData;
    bool m_isImageData = false;
    double m_imageDataDuration = 0.0;
    QString m_path;
    QString m_name;
    QImage m_previewImage;
    VCMovie::Ptr m_vcmovie;
    // Refreshed by every archiving of the clip, hence mutable.
    mutable Value::Dictionary m_movieAttributes;
    // The subtitle file as a project source, and the item's path it was made
    // for; refreshed by subtitleFileSource(), hence mutable.
    mutable std::shared_ptr<DVDFileSource> m_subtitleSource;
    mutable QString m_subtitleSourceFor;
    std::shared_ptr<MediaSectionItem> m_sectionItem;
    QString m_missingSource;
    RowPointer<MediaRowView> m_mediaDataView;
    bool m_hasSubMedia = false;
    ClipList m_subMediaArray;
    bool m_isSubMedia = false;
    std::weak_ptr<MediaData> m_superMediaData;
    qint64 m_audioTreamTag = 99;
    bool m_isTitle = false;
    std::shared_ptr<DVDPageItem> m_menuItem;
};
