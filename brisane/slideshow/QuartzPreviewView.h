#pragma once
// One tile of the transition chooser: the still picture of a transition with
// its name under it. While the mouse is over the picture the chooser starts a
// preview: 30 times a second the tile moves its preview time on by 1/30 s
// times the class-wide preview speed, back to 0 past the transition's best
// duration, asks its delegate for the frame at that time and shows it in
// place of the still picture. The tile knows nothing of transitions.
//
// A tile with a title is 160 × 150 with the picture in the upper 75 % (cut to
// whole points) and the name centred below in 16-point grey 0.8; without a
// title it is 160 × 120, all picture. Geometry is kept y up (UpCoordinates).
// Main thread.

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>

class QuartzPreviewViewDelegate;

class QuartzPreviewView : public QWidget {
    Q_OBJECT
public:
    explicit QuartzPreviewView(const QRectF& frame, QWidget* parent = nullptr);
    ~QuartzPreviewView() override;

    static QSizeF viewSizeWithTitleOrNot(bool withTitle);
    // The preview speed of every tile (1.0 until set).
    static void updatePreviewSpeed(double speed);
    static double previewSpeed();
    // "Cube New.qtz" → "Cube New".
    static QString titleWithoutExtension(const QString& title);

    // Once, after the view is made: the title (none: a tile without a name),
    // the picture and name areas and the hover tracking.
    void initInterfaceWithTitle(const std::optional<QString>& title);
    void initImageAndNameRect();
    void adjustNameRect();

    QImage imgThumbnailImage() const { return m_thumbnail; }
    void setImgThumbnailImage(const QImage& image);
    QImage imgRenderingImage() const { return m_rendering; }
    void setImgRenderingImage(const QImage& image);
    std::optional<QString> strTitle() const { return m_title; }
    void setStrTitle(const std::optional<QString>& title);
    // The name as shown (the title without its extension); empty without one.
    QString abStrTitle() const { return m_shownTitle; }
    QFont titleFont() const { return m_titleFont; }
    double dBestDuration() const { return m_bestDuration; }
    void setDBestDuration(double seconds) { m_bestDuration = seconds; }
    QuartzPreviewViewDelegate* oDelegate() const { return m_delegate; }
    // Not owned.
    void setODelegate(QuartzPreviewViewDelegate* delegate) { m_delegate = delegate; }
    bool bWithTitle() const { return m_withTitle; }
    double dCurrentTime() const { return m_currentTime; }
    QRectF rctImageRect() const { return m_imageRect; }
    QRectF rctNameRect() const { return m_nameRect; }

    // Hover tracking over the picture area.
    void addTrackArea();
    void removeTrackArea();
    bool hasTrackArea() const { return m_tracking; }
    void mouseEntered();
    void mouseExited();

    void startPreviewing();
    void stopPreviewing();
    bool isPreviewing() const { return m_timer != nullptr; }
    // Starts the preview loop from 0 (again, when it runs).
    void addTimer();
    // Stops the loop; the still picture shows again.
    void removeTimer();
    // One tick of the loop.
    void updateRenderingImage();
    void checkTheTime();

    void didEnterQuartzPreview(QuartzPreviewView* view);
    void didExitQuartzPreview(QuartzPreviewView* view);
    void didChooseQuartzPreview(QuartzPreviewView* view);
    void makeQuartzRendererImageOf(QuartzPreviewView* view, double time);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void trackMouseAt(const QPointF& widgetPoint);

    QImage m_thumbnail;
    QImage m_rendering;
    std::optional<QString> m_title;
    QString m_shownTitle;
    QFont m_titleFont;
    double m_bestDuration = 0.0;
    QuartzPreviewViewDelegate* m_delegate = nullptr;
    bool m_withTitle = false;
    bool m_tracking = false;
    bool m_mouseInside = false;
    QTimer* m_timer = nullptr;  // owned; exists exactly while previewing
    double m_currentTime = 0.0;
    QRectF m_imageRect;
    QRectF m_nameRect;
};
