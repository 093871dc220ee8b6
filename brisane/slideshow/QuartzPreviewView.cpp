#include "slideshow/QuartzPreviewView.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "slideshow/core/QuartzPreviewViewDelegate.h"
#include "slideshow/core/UpCoordinates.h"

namespace {

double g_previewSpeed = 1.0;  // main thread only

constexpr double TitleRatio = 0.75;
constexpr double TitlePointSize = 16.0;
constexpr double TitleGrey = 0.8;
constexpr int TicksPerSecond = 30;

}  // namespace

QuartzPreviewView::QuartzPreviewView(const QRectF& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame.toRect());
    m_titleFont = QApplication::font();
    m_titleFont.setPixelSize(static_cast<int>(TitlePointSize));
}

QuartzPreviewView::~QuartzPreviewView()
{
    removeTrackArea();
    m_delegate = nullptr;
}

QSizeF QuartzPreviewView::viewSizeWithTitleOrNot(bool withTitle)
{
    return withTitle ? QSizeF(160, 150) : QSizeF(160, 120);
}

void QuartzPreviewView::updatePreviewSpeed(double speed)
{
    g_previewSpeed = speed;
}

double QuartzPreviewView::previewSpeed()
{
    return g_previewSpeed;
}

QString QuartzPreviewView::titleWithoutExtension(const QString& title)
{
    const qsizetype slash = title.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = title.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the last component names a hidden file, not an extension.
    if (dot <= slash + 1) {
        return title;
    }
    return title.left(dot);
}

void QuartzPreviewView::initInterfaceWithTitle(const std::optional<QString>& title)
{
    m_withTitle = title.has_value();
    setStrTitle(title);
    initImageAndNameRect();
    adjustNameRect();
    addTrackArea();
}

void QuartzPreviewView::initImageAndNameRect()
{
    const double ratio = m_withTitle ? TitleRatio : 1.0;
    const double x = 0;
    const double y = 0;
    const double w = width();
    const double h = height();
    const double ih = std::trunc(h * ratio);
    m_imageRect = QRectF(x, y + h - ih, w, ih);
    m_nameRect = QRectF(x, y, w, y + h - ih);
}

void QuartzPreviewView::adjustNameRect()
{
    if (m_shownTitle.isEmpty()) {
        m_nameRect = QRectF();
        return;
    }
    const QSizeF text = QFontMetricsF(m_titleFont).size(Qt::TextSingleLine, m_shownTitle);
    const QRectF area = m_nameRect;
    m_nameRect =
        QRectF(area.x() + (area.width() - text.width()) / 2.0,
               area.y() + (area.height() - text.height()) / 2.0, text.width(), text.height());
}

void QuartzPreviewView::setImgThumbnailImage(const QImage& image)
{
    m_thumbnail = image;
    update();
}

void QuartzPreviewView::setImgRenderingImage(const QImage& image)
{
    m_rendering = image;
    update();
}

void QuartzPreviewView::setStrTitle(const std::optional<QString>& title)
{
    m_title = title;
    m_shownTitle = title ? titleWithoutExtension(*title) : QString();
    update();
}

void QuartzPreviewView::addTrackArea()
{
    removeTrackArea();
    m_tracking = true;
    setMouseTracking(true);
    if (underMouse()) {
        trackMouseAt(mapFromGlobal(QCursor::pos()));
    }
}

void QuartzPreviewView::removeTrackArea()
{
    m_tracking = false;
    m_mouseInside = false;
    setMouseTracking(false);
}

void QuartzPreviewView::mouseEntered()
{
    didEnterQuartzPreview(this);
}

void QuartzPreviewView::mouseExited()
{
    didExitQuartzPreview(this);
}

void QuartzPreviewView::trackMouseAt(const QPointF& widgetPoint)
{
    if (!m_tracking) {
        return;
    }
    const bool inside = UpCoordinates::toWidget(m_imageRect, height()).contains(widgetPoint);
    if (inside == m_mouseInside) {
        return;
    }
    m_mouseInside = inside;
    if (inside) {
        mouseEntered();
    } else {
        mouseExited();
    }
}

void QuartzPreviewView::startPreviewing()
{
    if (!isPreviewing()) {
        addTimer();
    }
}

void QuartzPreviewView::stopPreviewing()
{
    if (isPreviewing()) {
        removeTimer();
    }
}

void QuartzPreviewView::addTimer()
{
    removeTimer();
    m_currentTime = 0.0;
    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(1000 / TicksPerSecond);
    connect(m_timer, &QTimer::timeout, this, &QuartzPreviewView::updateRenderingImage);
    m_timer->start();
}

void QuartzPreviewView::removeTimer()
{
    if (m_timer) {
        m_timer->stop();
        delete m_timer;
        m_timer = nullptr;
    }
    update();
}

void QuartzPreviewView::updateRenderingImage()
{
    m_currentTime += 1.0 / TicksPerSecond * g_previewSpeed;
    checkTheTime();
    makeQuartzRendererImageOf(this, m_currentTime);
}

void QuartzPreviewView::checkTheTime()
{
    if (m_currentTime > m_bestDuration) {
        m_currentTime = 0.0;
    }
}

void QuartzPreviewView::didEnterQuartzPreview(QuartzPreviewView* view)
{
    if (m_delegate) {
        m_delegate->didEnterQuartzPreview(view);
    }
}

void QuartzPreviewView::didExitQuartzPreview(QuartzPreviewView* view)
{
    if (m_delegate) {
        m_delegate->didExitQuartzPreview(view);
    }
}

void QuartzPreviewView::didChooseQuartzPreview(QuartzPreviewView* view)
{
    if (m_delegate) {
        m_delegate->didChooseQuartzPreview(view);
    }
}

void QuartzPreviewView::makeQuartzRendererImageOf(QuartzPreviewView* view, double time)
{
    if (m_delegate) {
        m_delegate->makeQuartzRendererImageOf(view, time);
    }
}

void QuartzPreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF picture = UpCoordinates::toWidget(m_imageRect, height());
    painter.fillRect(picture, Qt::black);
    const QImage& shown = isPreviewing() ? m_rendering : m_thumbnail;
    if (!shown.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(picture, shown);
    }
    if (!m_shownTitle.isEmpty()) {
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(m_titleFont);
        painter.setPen(QColor::fromRgbF(TitleGrey, TitleGrey, TitleGrey, 1.0));
        painter.drawText(UpCoordinates::toWidget(m_nameRect, height()),
                         Qt::AlignCenter | Qt::TextDontClip, m_shownTitle);
    }
}

void QuartzPreviewView::mousePressEvent(QMouseEvent* event)
{
    didChooseQuartzPreview(this);
    event->accept();
}

void QuartzPreviewView::mouseMoveEvent(QMouseEvent* event)
{
    trackMouseAt(event->position());
    QWidget::mouseMoveEvent(event);
}

void QuartzPreviewView::enterEvent(QEnterEvent* event)
{
    trackMouseAt(event->position());
    QWidget::enterEvent(event);
}

void QuartzPreviewView::leaveEvent(QEvent* event)
{
    if (m_tracking && m_mouseInside) {
        m_mouseInside = false;
        mouseExited();
    }
    QWidget::leaveEvent(event);
}
