#pragma once
// The row of one clip in the title list: a video clip, a picture clip (a
// photo slideshow), a merged clip or a member of a merged clip. It shows the
// clip's preview with a dark glow, its name (cut at the end when long), its
// playing length and, by the clip's kind, the chapter-edit and video-edit
// buttons. After an edit it refreshes its length and its title's total. A
// clip whose source file is missing or unreadable is marked.
//
// The row points at its clip without owning it; the list keeps the row
// while the clip lives. Main thread only.

#include "listedit/ListDataRowView.h"
#include "model/MediaRowView.h"

class ClipMarkEditView;
class MediaData;
class VideoEditBtnView;

class MediaDataView : public ListDataRowView, public MediaRowView {
    Q_OBJECT
public:
    // A row standing in `parent`, belonging to `list` (null: to no list).
    explicit MediaDataView(QWidget* parent = nullptr, ListTableView* list = nullptr);

    std::shared_ptr<MediaData> media() const { return m_media.lock(); }
    void setMedia(const std::shared_ptr<MediaData>& media) { m_media = media; }
    QLabel* mediaName() const { return m_mediaName; }
    QLabel* mediaTime() const { return m_mediaTime; }
    // Null before the first refresh.
    ClipMarkEditView* clipMarkEditView() const { return m_clipMarkEditView; }
    VideoEditBtnView* videoEditBtnView() const { return m_videoEditBtnView; }

    // Frames, name, length and buttons from the clip.
    void initAllMediaControls();
    // --- MediaRowView ---
    // Recomputes the length label; a clip of a title, and a merged clip,
    // then refresh their title's total. The video editor calls it when its
    // sheet closes.
    void updateMediaTimeAfterVideoEdit() override;
    // Whether the clip can be edited alone: it is not a merged clip.
    bool canDoVideoEdit() const;
    // Whether the row marks its clip's source as missing: the name in red
    // followed by "file missing", the picture crossed out, the reason as
    // the row's tool tip.
    bool isSourceMissingShown() const;

    // The seconds the row shows for the clip: a picture clip its slideshow
    // length (a merged clip of pictures the sum of its members, each by its
    // kind), any other clip what the main window measures.
    double mediaSeconds(const std::shared_ptr<MediaData>& media) const;

    // Rectangles in a row of `size` with the content at `indent` (widget
    // coordinates).
    static QRectF imageRect(const QSizeF& size, double indent);
    static QRectF nameRect(const QSizeF& size, double indent);
    static QRectF timeRect(const QSizeF& size, double indent);
    static QRectF clipMarkEditRect(const QSizeF& size, double indent);
    static QRectF videoEditBtnRect(const QSizeF& size, double indent);

    quint64 typeCode() const override { return 1; }
    std::shared_ptr<Object> modelObject() const override;
    double indent() const override;
    void initAllControls() override { initAllMediaControls(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setNameText();

    std::weak_ptr<MediaData> m_media;
    QLabel* m_mediaName;
    QLabel* m_mediaTime;
    ClipMarkEditView* m_clipMarkEditView = nullptr;
    VideoEditBtnView* m_videoEditBtnView = nullptr;
};
