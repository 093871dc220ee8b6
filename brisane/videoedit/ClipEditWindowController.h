#pragma once
// The chapter editor: a sheet on the main window that splits one imported
// source into chapters. It plays the whole source file, shows a marker for
// every chapter boundary on its timeline (ClipEditPlayerProgressView), lets
// the user add, select, move and delete markers, and writes the chapters
// back into the title list in one of two ways, each after a question:
//
// - Apply to Video: the chapters become the sub-clips of one merged clip.
// - Apply to Submenu: the chapters become separate clips of the title, which
//   the disc shows as the chapters of the title's sub-menu page.
//
// Both replace every clip that played the source before. Where the clip the
// sheet was opened from is reused for the first chapter it gets a fresh
// media item, which drops its video edits. ChapterApplyPlan says which
// chapter is made how and where the new clips go. Nothing is written before
// an apply; Cancel, Escape and closing the sheet write nothing.
//
// The markers are the start (0), the chapter boundaries and the end (the end
// of the source's last section), in ascending time (ClipMarkerRules). Only
// the chapter markers can be selected, stepped to with Previous and Next,
// moved or deleted. The apply buttons, and the applies themselves, refuse
// markers that do not make chapters of at least one second.
//
// The sheet is a window-modal dialog on the main window, made once and kept:
// showWindowWithMediaData() opens it and returns at once (open()). Controls
// show computed values by key: a change is announced through keys()
// (CommonFunctionThreads::flushObject) and the bound control re-reads the key
// on a later pass of the event loop, with its signals blocked.
//
// The title list it writes into (through ChapterListWriter) and the document
// host (the main window and the open project) are given when it is made; the
// question goes through the AlertService. Main thread only.

#include <QDialog>
#include <QImage>
#include <QList>
#include <QString>
#include <memory>

#include "common/PropertyNotifier.h"
#include "lumenta/IMovie.h"
#include "media/MoviePlayerDelegate.h"
#include "media/VCMovie.h"
#include "model/MediaData.h"
#include "shell/core/IClipEditWindowController.h"
#include "videoedit/ChapterListWriter.h"
#include "videoedit/core/ChapterApplyPlan.h"
#include "videoedit/core/ClipEditPlayerProgressDelegate.h"
#include "videoedit/core/ClipMarker.h"

class ClipEditBackgroundView;
class ClipEditMovieDisplayView;
class ClipEditPlayerProgressView;
class IDocumentHost;
class ListEditViewController;
class MoviePlayer;
class QAbstractButton;
class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class SectionDataResource;

class ClipEditWindowController : public QDialog,
                                 public IClipEditWindowController,
                                 public MoviePlayerDelegate,
                                 public ClipEditPlayerProgressDelegate {
    Q_OBJECT
public:
    using Markers = QList<ClipMarker::Ptr>;

    // `host` and `list` are not owned and outlive the sheet; either may be
    // null (no main window; no title list to write into).
    ClipEditWindowController(QWidget* parent, IDocumentHost* host, ListEditViewController* list);
    ~ClipEditWindowController() override;

    // --- Opening and closing ---
    using QWidget::window;
    QWidget* window() override { return this; }
    // Opens the sheet on the clip's source: the markers from its sections,
    // the whole file playing from 0. A clip without a section or a source,
    // and a merged clip (it plays its members), are refused (logged).
    void showWindowWithMediaData(const std::shared_ptr<MediaData>& media) override;
    // The clips that play the source's sections, in section order; a
    // section without one is skipped (logged).
    void updateOldMediaArrayWithResourse(const SectionDataResource& source);
    // The markers: 0, then each section's end, ascending.
    void updateClipMarkerArrayWithResourse(const SectionDataResource& source);
    // Closes the sheet; nothing is written.
    void cancelButtonAction();

    // --- State ---
    // The source being split; null while closed. Not owned.
    std::shared_ptr<SectionDataResource> sourceResource() const { return m_sourceResource.lock(); }
    // The clip the sheet was opened from; null while closed. Not owned.
    std::shared_ptr<MediaData> importMedia() const { return m_importMedia.lock(); }
    const MediaData::ClipList& oldMediaArray() const { return m_oldMediaArray; }
    Markers markerArray() const override { return m_markerArray; }
    MoviePlayer* player() const { return m_player; }
    ClipMarker::Ptr selectedMarker() const override { return m_selectedMarker; }
    // Selects a chapter marker (anything else clears the selection) and
    // announces the time field, its enabled state and Previous and Next.
    void setSelectedMarker(const ClipMarker::Ptr& marker) override;

    // --- Computed keys ---
    bool importMediaIsSubMedia() const;
    // The player's item (the whole source) and its movie.
    VCMovie::Ptr vcMovie() const;
    void setVcMovie(const VCMovie::Ptr& item);
    IMovie::Ptr movie() const;
    // "hh:mm:ss.mmm/hh:mm:ss" of the timeline's position and length.
    QString playTimeString() const;
    QImage playPauseImage() const;
    bool addMarkButtonEnable() const;
    // The selected marker's time; 0 without a selection.
    LMMediaTime selectedMarkerTime() const;
    // Moves the selected marker, held one second from its neighbours.
    void setSelectedMarkerTime(LMMediaTime time) override;
    bool selectedMarkTimeLabelEnable() const;
    bool preMarkerEnable() const;
    bool nextMarkerEnable() const;
    // Whether the markers make chapters an apply can write.
    bool applyButtonEnable() const;
    // The announcements the controls are bound to.
    PropertyNotifier& keys() { return m_keys; }

    void flushPreNextMarkerEnable();
    void flushPlayerStatusImage();
    void flushPlayerProgressTimeStr();
    void flushAddMarkButtonEnable();
    void flushSelectedMarkTimeLabel();
    void flushSelectedMarkTimeLabelEnable();
    void flushApplyButtonEnable();

    // --- Player and timeline ---
    void imageDidFlushInPlayer(MoviePlayer* player) override;
    // The timeline from the player (its position never past its length),
    // the labels and the picture again.
    void flushPlayerProgress();
    void flushPlayerImage();
    void seek(LMMediaTime time) override;
    void pause();
    void playOrPausePlayer();
    // The arrow keys: the playhead 0.05 s back / on, held to the movie.
    void moveLeft();
    void moveRight();

    // --- Markers ---
    // A marker at the playhead, selected; refused where Add is disabled.
    void addMarkButtonAction();
    // Deletes the selected chapter marker.
    void removeSelectedMarker();
    void preMarkerAction();
    void nextMarkerAction();
    // The time field finished an edit: it shows the marker's time again.
    void controlTextDidEndEditing();

    // --- Apply ---
    // Asks, then writes the chapters; true when they were written (and the
    // sheet closed).
    bool applyToVideoAction();
    bool applyToSubmenuAction();
    // The clip's picture from its first piece, or "DefaultImage"; pictures
    // of photo clips stay.
    static void resetMediaPreviewImage(const MediaData::Ptr& media)
    {
        ChapterListWriter::resetMediaPreviewImage(media);
    }
    // Drops the clip's trim segments.
    static void resetMediaTrim(const MediaData::Ptr& media);
    // The title list operations an apply uses (ChapterListWriter), around
    // the clip the sheet was opened from; without a title list they log and
    // do nothing.
    void insertMediaArrayToListTable(const MediaData::ClipList& clips);
    void mergeMediaArrayToListTable(const MediaData::ClipList& clips);
    void removeMediaArrayInListTable(const MediaData::ClipList& clips);
    void listTableReloadView();

    // --- The window's parts ---
    ClipEditMovieDisplayView* movieDisplayView() const { return m_movieDisplayView; }
    ClipEditPlayerProgressView* playerProgressView() const { return m_playerProgressView; }
    ClipEditBackgroundView* backgroundView() const { return m_backgroundView; }
    QAbstractButton* playPauseButton() const;
    QAbstractButton* preMarkerButton() const;
    QAbstractButton* nextMarkerButton() const;
    QAbstractButton* addMarkButton() const;
    QAbstractButton* applyToVideoButton() const;
    QAbstractButton* applyToSubmenuButton() const;
    QAbstractButton* cancelButton() const;
    QLineEdit* selectedMarkTimeField() const { return m_selectedMarkTimeField; }
    QLabel* playTimeLabel() const { return m_playTimeLabel; }
    // The Delete command; enabled exactly while a marker is selected.
    QAction* deleteAction() const { return m_deleteAction; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWindow();
    void bindControls();
    void announce(const QString& key);
    void showOnMainWindow();
    // The close sequence; runs once per opening, whoever has the focus.
    void windowWillClose();
    void fieldEditingFinished();
    void selectNeighbour(const ClipMarker::Ptr& marker);
    // The markers changed: the enabled states that depend on them.
    void flushMarkerDependents();
    bool applyChapters(ChapterApplyPlan::Kind kind);
    bool confirmApply(ChapterApplyPlan::Kind kind);

    IDocumentHost* const m_host;
    const ChapterListWriter m_writer;
    PropertyNotifier m_keys;
    MoviePlayer* m_player = nullptr;
    ClipEditBackgroundView* m_backgroundView = nullptr;
    ClipEditMovieDisplayView* m_movieDisplayView = nullptr;
    ClipEditPlayerProgressView* m_playerProgressView = nullptr;
    QToolButton* m_playPauseButton = nullptr;
    QLabel* m_playTimeLabel = nullptr;
    QPushButton* m_preMarkerButton = nullptr;
    QPushButton* m_nextMarkerButton = nullptr;
    QPushButton* m_addMarkButton = nullptr;
    QLineEdit* m_selectedMarkTimeField = nullptr;
    QPushButton* m_applyToVideoButton = nullptr;
    QPushButton* m_applyToSubmenuButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QAction* m_deleteAction = nullptr;

    std::weak_ptr<SectionDataResource> m_sourceResource;
    std::weak_ptr<MediaData> m_importMedia;
    MediaData::ClipList m_oldMediaArray;
    Markers m_markerArray;
    ClipMarker::Ptr m_selectedMarker;
};
