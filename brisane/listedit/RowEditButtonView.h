#pragma once
// A small picture button on a clip row of the title list. The picture is
// drawn 5 points inside the button's bounds and fills them while the pointer
// is over it. A press selects the row's clip as a press on the row does but
// tells the list it came from a button, so that it starts no drag; the
// button acts only when a press that began on it is released over it.
//
// ClipMarkEditView and VideoEditBtnView differ in their picture, tooltip and
// action. The row makes (as their parent), places, shows and hides its
// buttons; the editors a button opens are the row's list editor's. Main
// thread only.

#include <QWidget>
#include <memory>

class IDocumentHost;
class MediaData;
class MediaDataView;
class ListTableView;

class RowEditButtonView : public QWidget {
    Q_OBJECT
public:
    std::shared_ptr<MediaData> media() const { return m_media.lock(); }
    void setMedia(const std::shared_ptr<MediaData>& media) { m_media = media; }
    bool isMouseEntered() const { return m_isMouseEntered; }
    void setIsMouseEntered(bool entered);
    bool selfMouseDown() const { return m_selfMouseDown; }

    // The picture's rectangle: the bounds inset by 5, or the whole bounds
    // while hovered.
    static QRectF pictureRect(const QRectF& bounds, bool hovered);

    // The list the row stands in, or null.
    ListTableView* listTableView() const;
    // The document host of the row's list editor, or null.
    IDocumentHost* documentHost() const;

protected:
    RowEditButtonView(const QString& imageName, const QString& tooltip, MediaDataView* row);

    // Opens the editor of the button's clip.
    virtual void act(const std::shared_ptr<MediaData>& media) = 0;
    MediaDataView* row() const { return m_row; }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    MediaDataView* const m_row;  // the parent, not owned
    QString m_imageName;
    std::weak_ptr<MediaData> m_media;
    bool m_isMouseEntered = false;
    bool m_selfMouseDown = false;
};
