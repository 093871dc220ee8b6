#pragma once
// The watermark picture well of the video edit sheet: shows the watermark
// picture fitted into a dark rounded well, and takes picture files dropped
// from the desktop. A drop is offered only while the watermark is on and of
// picture type (canUse), and not while another modal window or a sheet over
// the well's window is up; of the dropped files the first that loads as a
// picture is handed on (picturePathDropped), and a drop of no picture
// changes nothing. Main thread.

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <functional>

class MenuPictureShowView : public QWidget {
    Q_OBJECT
public:
    explicit MenuPictureShowView(QWidget* parent = nullptr);

    QImage showImage() const { return m_showImage; }
    // Stores the picture and redraws; null shows the empty well.
    void setShowImage(const QImage& image);

    // Whether the well takes drops now; without one it takes none.
    void setCanUse(std::function<bool()> canUse) { m_canUse = std::move(canUse); }
    bool videoEditCanUse() const { return m_canUse && m_canUse(); }
    // Whether a drag over the well may drop now.
    bool dragAllowed() const;
    // Hands on the first of the files that loads as a picture. True even when
    // none does (the drop is taken either way).
    bool performDragOperation(const QStringList& paths);

signals:
    void picturePathDropped(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QImage m_showImage;
    std::function<bool()> m_canUse;
};
