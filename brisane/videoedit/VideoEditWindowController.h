#pragma once
// The video edit sheet: edits one clip of the title list while it plays.
// There is no Apply and no Cancel; every control writes straight into the
// clip's media item (VCMovie) or its movie, and the picture shows the result
// at once. Closing only tells the main window and the clip's rows that the
// clip changed, and always marks the project as edited.
//
// The sheet is a window-modal dialog on the main window, made once and kept:
// updateWindowWithMedia() opens it on a clip and returns at once (open()).
// Its five pages are chosen by a segmented control, in this order: "trim",
// "crop", "watermark", "subtitle", "audio". The trim page keeps the clip's
// segments (see VEPlayerProgressBarView and TrimSegmentRules); the crop and
// watermark pages are VideoEditCropTab and VideoEditWatermarkTab.
//
// Controls show computed values by key: a change is announced through
// keys() (CommonFunctionThreads::flushObject) and the bound control re-reads
// the key on a later pass of the event loop, with its signals blocked, so
// filling the sheet never writes back into the clip.
//
// The clip's rows in the title list are refreshed through their MediaRowView
// role; a clip without a row (or whose row has gone) is skipped.
// The main window is the document host given when the sheet is made;
// without one the sheet still works and only those calls are skipped.
//
// Main thread only.

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "common/PropertyNotifier.h"
#include "lumenta/IMovie.h"
#include "media/MoviePlayerDelegate.h"
#include "media/VCMovie.h"
#include "shell/core/IVideoEditWindowController.h"
#include "videoedit/VideoEditTrimTab.h"
#include "videoedit/core/VEPlayerCropViewDelegate.h"
#include "videoedit/core/VEPlayerProgressBarDelegate.h"

class IDocumentHost;
class MediaData;
class MediaRowView;
class MovieTrimItem;
class QAbstractButton;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QToolButton;
class FontColorPanelRouter;
class VEMoviePlayerDisplayView;
class VEPlayerCropView;
class VEPlayerProgressBarView;
class VideoEditPlayer;
class VideoEditTabView;
class VideoEditAudioTab;
class VideoEditSubtitleTab;
class VideoEditCropTab;
class VideoEditWatermarkTab;

class VideoEditWindowController : public QDialog,
                                  public IVideoEditWindowController,
                                  public MoviePlayerDelegate,
                                  public VEPlayerProgressBarDelegate,
                                  public VEPlayerCropViewDelegate {
    Q_OBJECT
public:
    // The pages' identifiers, in the order of the segmented control.
    static const QStringList& tabIdentifiers();

    // `host` is not owned and outlives the sheet; null: no main window.
    VideoEditWindowController(QWidget* parent, IDocumentHost* host);
    ~VideoEditWindowController() override;

    // --- Opening and closing ---
    using QWidget::window;
    QWidget* window() override { return this; }
    // Opens the sheet on the clip: its item's range becomes the clip's
    // section, the trim page shows with no segment selected, and the clip
    // plays from its start. A clip without a media item or a section is
    // refused (logged).
    void updateWindowWithMedia(const std::shared_ptr<MediaData>& media) override;
    // The Done button: closes the sheet (see finished()).
    void doneVideoEdit();

    // --- State ---
    std::shared_ptr<MediaData> media() const override { return m_media; }
    LMMediaTime importMovieStart() const override { return m_importMovieStart; }
    LMMediaTime importMovieStop() const override { return m_importMovieStop; }
    VideoEditPlayer* player() const { return m_player; }
    // The player's item and its movie; null while closed.
    VCMovie::Ptr vcMovie() const;
    IMovie::Ptr movie() const;
    // Gives the player the item on the item's own range; null clears it.
    void setVcMovie(const VCMovie::Ptr& item);
    // The source picture before rotation, and the encoded picture, in pixels.
    QSizeF validOriginVideoSize() const;
    QSizeF validVideoOutputSize() const;
    bool isPlayTrim() const { return m_trimTab->isPlayTrim(); }
    bool doSeek() const { return m_trimTab->doSeek(); }
    float volume() const { return m_volume; }
    // Held to 0 .. 3; announces "volume".
    void setVolume(float volume);
    // The announcements the controls are bound to.
    PropertyNotifier& keys() { return m_keys; }

    // --- The window's parts ---
    VEPlayerProgressBarView* playerProgressBarView() const { return m_playerProgressBarView; }
    VEMoviePlayerDisplayView* originPlayerView() const { return m_originPlayerView; }
    VEMoviePlayerDisplayView* effectPlayerView() const { return m_effectPlayerView; }
    VEPlayerCropView* playerCropView() const { return m_playerCropView; }
    VideoEditTabView* tabview() const { return m_tabview; }
    QButtonGroup* editSegment() const { return m_editSegment; }
    QWidget* pictureArea() const { return m_pictureArea; }
    QLineEdit* trimStartField() const { return m_trimTab->trimStartField(); }
    QLineEdit* trimEndFiled() const { return m_trimTab->trimEndFiled(); }
    QAbstractButton* addTrimButton() const { return m_trimTab->addTrimButton(); }
    QAbstractButton* deleteTrimButton() const { return m_trimTab->deleteTrimButton(); }
    QAbstractButton* previewTrimButton() const { return m_trimTab->previewTrimButton(); }
    QAbstractButton* resetTrimButton() const { return m_trimTab->resetTrimButton(); }
    QAbstractButton* playPauseButton() const;
    QAbstractButton* doneButton() const;
    QLabel* currentTimeLabel() const { return m_currentTimeLabel; }
    QLabel* currentLeftTimeLabel() const { return m_currentLeftTimeLabel; }
    // The Delete command; enabled exactly while a segment is selected.
    QAction* deleteAction() const { return m_deleteAction; }
    // The trim, subtitle and audio pages.
    VideoEditTrimTab* trimTab() const { return m_trimTab; }
    VideoEditSubtitleTab* subtitleTab() const { return m_subtitleTab; }
    VideoEditAudioTab* audioTab() const { return m_audioTab; }
    // The crop and watermark pages, and the font and colour panels whose
    // choices reach only the active page's route.
    VideoEditCropTab* cropTab() const { return m_cropTab; }
    VideoEditWatermarkTab* watermarkTab() const { return m_watermarkTab; }
    FontColorPanelRouter* fontColorPanels() const { return m_fontColorPanels; }

    // --- Playing ---
    void playOrPausePlayer();
    void seek(LMMediaTime time) override;
    void pause() override;
    void flushPlayerImage();
    void imageDidFlushInPlayer(MoviePlayer* player) override;
    // The timeline from the player (its position never past its length),
    // the labels, the play pictures and both pictures again.
    void flushPlayerProgress() override;
    // Announces the time labels and the enabled states of the trim buttons.
    void flushPlayerProgressTimeStr();
    // Announces "playPreviewImage" and "playPauseImage".
    void flushPlayerStatusImage();
    QString currentTimeStr() const;
    QString currentLeftTimeStr() const;
    QImage playPauseImage() const;
    QImage playPreviewImage() const;

    // --- Pages and pictures ---
    bool currentEditTypeIsString(const QString& identifier) const;
    bool isEditWaterMark() const override;
    // Segment 0 to 3 choose "trim", "crop", "watermark", "subtitle"; any other
    // value "audio".
    void segmentSelectChanged(int segment);
    // Lays the pictures out for the current page, then places the overlay.
    void updateForTabViewSelectedItem();
    void updatePlayCropViewPlace();
    QRectF mediaCropToCropViewWithFrame(const QRectF& rect, bool forWaterMark) const;
    QRectF cropViewRectToMediaCrop(const QRectF& rect, bool forWaterMark) const;
    void playerCropDidChanged(VEPlayerCropView* view) override;

    // --- Trim segments (the trim page, VideoEditTrimTab) ---
    bool trimCountLessThanFive() const { return m_trimTab->trimCountLessThanFive(); }
    bool deleteTrimButtonEnable() const { return m_trimTab->deleteTrimButtonEnable(); }
    bool previewTrimEnable() const { return m_trimTab->previewTrimEnable(); }
    bool addTrimEnable() const { return m_trimTab->addTrimEnable(); }
    LMMediaTime selectedStartTime() const { return m_trimTab->selectedStartTime(); }
    void setSelectedStartTime(LMMediaTime time) { m_trimTab->setSelectedStartTime(time); }
    LMMediaTime selectedEndTime() const { return m_trimTab->selectedEndTime(); }
    void setSelectedEndTime(LMMediaTime time) { m_trimTab->setSelectedEndTime(time); }
    LMMediaTime trimDuration() const { return m_trimTab->trimDuration(); }
    std::shared_ptr<MovieTrimItem> selectedTrimItem() const
    {
        return m_trimTab->selectedTrimItem();
    }
    void addTrimAction() { m_trimTab->addTrimAction(); }
    void deleteTrimAction() { m_trimTab->deleteTrimAction(); }
    void playTrimAction() { m_trimTab->playTrimAction(); }
    void resetTrimAction() { m_trimTab->resetTrimAction(); }
    void flushProgressTimeLabel() override { m_trimTab->flushProgressTimeLabel(); }
    void controlTextDidEndEditing(QLineEdit* field) { m_trimTab->controlTextDidEndEditing(field); }
    void flushSelectedTrimStartStop() { m_trimTab->flushSelectedTrimStartStop(); }
    void flushTrimAttribute() { m_trimTab->flushTrimAttribute(); }
    // Announces every key of the clip's edits.
    void flushMovieAttribute();

    // Refreshes a clip row's time after an edit; null is skipped.
    static void updateMediaTimeAfterVideoEdit(MediaRowView* row);

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void bindControls();
    void announce(const QString& key);
    void showOnMainWindow();
    // The close sequence; runs once per opening, whoever has the focus.
    void windowWillClose();

    PropertyNotifier m_keys;
    IDocumentHost* const m_host;
    VideoEditPlayer* m_player = nullptr;
    VEPlayerProgressBarView* m_playerProgressBarView = nullptr;
    VEMoviePlayerDisplayView* m_originPlayerView = nullptr;
    VEMoviePlayerDisplayView* m_effectPlayerView = nullptr;
    VEPlayerCropView* m_playerCropView = nullptr;
    VideoEditTabView* m_tabview = nullptr;
    QButtonGroup* m_editSegment = nullptr;
    QWidget* m_pictureArea = nullptr;
    VideoEditTrimTab* m_trimTab = nullptr;
    QToolButton* m_playPauseButton = nullptr;
    QAbstractButton* m_doneButton = nullptr;
    QLabel* m_currentTimeLabel = nullptr;
    QLabel* m_currentLeftTimeLabel = nullptr;
    QAction* m_deleteAction = nullptr;
    VideoEditSubtitleTab* m_subtitleTab = nullptr;
    VideoEditAudioTab* m_audioTab = nullptr;
    VideoEditCropTab* m_cropTab = nullptr;
    VideoEditWatermarkTab* m_watermarkTab = nullptr;
    FontColorPanelRouter* m_fontColorPanels = nullptr;

    std::shared_ptr<MediaData> m_media;
    LMMediaTime m_importMovieStart = 0;
    LMMediaTime m_importMovieStop = 0;
    float m_volume = 1.0f;
};
