#pragma once
// An image well: shows a picture fitted into its frame and takes a picture
// dropped on it (an image, or a file that reads as one). A dropped picture is
// emitted through imageDropped as it came; setImage from code emits nothing.
// Main thread.

#include <QFrame>
#include <QImage>

class ImageWell : public QFrame {
    Q_OBJECT
public:
    explicit ImageWell(QWidget* parent = nullptr);

    QImage image() const { return image_; }
    void setImage(const QImage& image);

    // The picture a drop carries: its image, or the first of its files that
    // reads as a picture; null for none.
    static QImage imageFromMimeData(const class QMimeData& data);

signals:
    void imageDropped(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QImage image_;
};
