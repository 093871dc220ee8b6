#pragma once
// The trim page of the video edit sheet: the pieces of the clip that are
// kept (TrimSegmentRules: at most five, each at least a second, in order and
// apart), added at the playhead, selected on the sheet's timeline, moved by
// their start and end fields, deleted, all removed at once, and previewed
// (the player plays only the pieces). The pieces live on the clip's movie.
// The page announces, on the sheet's keys, what its controls are bound to:
// "previewTrimEnable", "addTrimEnable", "trimCountLessThanFive",
// "deleteTrimButtonEnable", "selectedStartTime", "selectedEndTime" and
// "trimDuration".
//
// Without a clip every getter answers a neutral value and every action does
// nothing. Main thread.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "lumenta/LMMediaTime.h"

class MovieTrimItem;
class QAbstractButton;
class QLineEdit;
class QToolButton;
class VideoEditWindowController;

class VideoEditTrimTab : public QWidget {
    Q_OBJECT
public:
    // The sheet outlives the page (the page is one of its pages).
    VideoEditTrimTab(VideoEditWindowController& sheet, QWidget* parent);

    QLineEdit* trimStartField() const { return m_trimStartField; }
    QLineEdit* trimEndFiled() const { return m_trimEndFiled; }
    QAbstractButton* addTrimButton() const;
    QAbstractButton* deleteTrimButton() const;
    QAbstractButton* previewTrimButton() const;
    QAbstractButton* resetTrimButton() const;
    // Binds the page's controls to their keys.
    void bindControls();

    // Whether the player plays only the pieces.
    bool isPlayTrim() const { return m_isPlayTrim; }
    // Whether the last edit of a field moved its end far enough to seek.
    bool doSeek() const { return m_doSeek; }
    // The player plays the whole clip again.
    void stopPlayingTrims();

    bool trimCountLessThanFive() const;
    bool deleteTrimButtonEnable() const;
    bool previewTrimEnable() const;
    bool addTrimEnable() const;
    // The selected piece's start and end (media time); 0 without one.
    LMMediaTime selectedStartTime() const;
    void setSelectedStartTime(LMMediaTime time);
    LMMediaTime selectedEndTime() const;
    void setSelectedEndTime(LMMediaTime time);
    LMMediaTime trimDuration() const;
    std::shared_ptr<MovieTrimItem> selectedTrimItem() const;
    void addTrimAction();
    void deleteTrimAction();
    // The Preview button: plays only the kept pieces, or stops doing so.
    void playTrimAction();
    // Removes every piece: the whole clip plays again.
    void resetTrimAction();
    // Announces the selected piece's times; a selection past the last piece
    // is cleared.
    void flushProgressTimeLabel();
    // The start or end field finished an edit.
    void controlTextDidEndEditing(QLineEdit* field);
    void flushSelectedTrimStartStop();
    void flushTrimAttribute();

private:
    void fieldEditingFinished(QLineEdit* field);
    std::shared_ptr<MovieTrimItem> trimAt(int index) const;
    void announce(const QString& key);

    VideoEditWindowController& m_sheet;
    QLineEdit* m_trimStartField = nullptr;
    QLineEdit* m_trimEndFiled = nullptr;
    QPointer<QLineEdit> m_lastTimeField;
    QToolButton* m_addTrimButton = nullptr;
    QToolButton* m_deleteTrimButton = nullptr;
    QToolButton* m_previewTrimButton = nullptr;
    QToolButton* m_resetTrimButton = nullptr;
    bool m_doSeek = false;
    bool m_isPlayTrim = false;
};
