#include "listedit/MediaDataView.h"

#include <QLabel>
#include <QPainter>

#include "common/CommonFunction.h"
#include "listedit/ClipMarkEditView.h"
#include "listedit/VideoEditBtnView.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"

namespace {

constexpr double GlowRadius = 4.0;
const QColor MissingColor(220, 40, 40);
const QString MissingText = QStringLiteral("file missing");

// A black glow around `rect`: the rectangle's shape blurred by `radius`
// (three box passes each way), drawn under the picture.
void drawGlow(QPainter& painter, const QRectF& rect, double radius)
{
    const int pad = static_cast<int>(radius * 2);
    const QSize size(static_cast<int>(rect.width()) + 2 * pad,
                     static_cast<int>(rect.height()) + 2 * pad);
    if (size.isEmpty()) {
        return;
    }
    std::vector<float> alpha(static_cast<size_t>(size.width() * size.height()), 0.0f);
    for (int y = pad; y < size.height() - pad; ++y) {
        for (int x = pad; x < size.width() - pad; ++x) {
            alpha[static_cast<size_t>(y * size.width() + x)] = 1.0f;
        }
    }
    const int box = std::max(1, static_cast<int>(radius / 2));
    const auto pass = [&](bool horizontal) {
        const int lines = horizontal ? size.height() : size.width();
        const int length = horizontal ? size.width() : size.height();
        std::vector<float> line(static_cast<size_t>(length));
        for (int l = 0; l < lines; ++l) {
            const auto at = [&](int i) -> float& {
                return horizontal ? alpha[static_cast<size_t>(l * size.width() + i)]
                                  : alpha[static_cast<size_t>(i * size.width() + l)];
            };
            for (int i = 0; i < length; ++i) {
                float sum = 0.0f;
                for (int k = -box; k <= box; ++k) {
                    const int j = i + k;
                    sum += (j >= 0 && j < length) ? at(j) : 0.0f;
                }
                line[static_cast<size_t>(i)] = sum / static_cast<float>(2 * box + 1);
            }
            for (int i = 0; i < length; ++i) {
                at(i) = line[static_cast<size_t>(i)];
            }
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(true);
        pass(false);
    }
    QImage glow(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(glow.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int a =
                qBound(0, qRound(alpha[static_cast<size_t>(y * size.width() + x)] * 255), 255);
            line[x] = qRgba(0, 0, 0, a);
        }
    }
    painter.drawImage(QPointF(rect.x() - pad, rect.y() - pad), glow);
}

}  // namespace

MediaDataView::MediaDataView(QWidget* parent, ListTableView* list)
    : ListDataRowView(parent, list), m_mediaName(makeLabel(true)), m_mediaTime(makeLabel(false))
{
}

std::shared_ptr<Object> MediaDataView::modelObject() const
{
    return m_media.lock();
}

double MediaDataView::indent() const
{
    const auto clip = m_media.lock();
    return ListTableLayout::indent(clip && clip->isSubMedia() ? ListTableLayout::RowKind::SubClip
                                                              : ListTableLayout::RowKind::Clip);
}

bool MediaDataView::canDoVideoEdit() const
{
    const auto clip = m_media.lock();
    return clip && !clip->hasSubMedia();
}

void MediaDataView::initAllMediaControls()
{
    const auto clip = m_media.lock();
    if (!m_clipMarkEditView) {
        m_clipMarkEditView = new ClipMarkEditView(this);
        m_clipMarkEditView->setMedia(clip);
        m_videoEditBtnView = new VideoEditBtnView(this);
        m_videoEditBtnView->setMedia(clip);
    }
    const double left = indent();
    m_mediaName->setGeometry(nameRect(size(), left).toRect());
    m_mediaTime->setGeometry(timeRect(size(), left).toRect());
    m_clipMarkEditView->setGeometry(clipMarkEditRect(size(), left).toRect());
    m_videoEditBtnView->setGeometry(videoEditBtnRect(size(), left).toRect());
    setNameText();
    updateMediaTimeAfterVideoEdit();
    const bool editable = canDoVideoEdit();
    m_clipMarkEditView->setVisible(editable && clip && !clip->isImageData());
    m_videoEditBtnView->setVisible(editable);
    update();
}

void MediaDataView::setNameText()
{
    const auto clip = m_media.lock();
    const QString name = clip ? clip->name() : QString();
    const bool missing = isSourceMissingShown();
    QString shown = missing ? QStringLiteral("%1 - %2").arg(name, MissingText) : name;
    m_mediaName->setText(
        m_mediaName->fontMetrics().elidedText(shown, Qt::ElideRight, m_mediaName->width()));
    QPalette palette = m_mediaName->palette();
    const QColor text = missing ? MissingColor : grey(0.8);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    m_mediaName->setPalette(palette);
    const QString reason = missing ? clip->missingSource() : QString();
    m_mediaName->setToolTip(reason);
    setToolTip(reason);
}

bool MediaDataView::isSourceMissingShown() const
{
    const auto clip = m_media.lock();
    return clip && !clip->missingSource().isEmpty();
}

double MediaDataView::mediaSeconds(const std::shared_ptr<MediaData>& media) const
{
    if (media->isImageData() && media->hasSubMedia()) {
        double seconds = 0.0;
        for (const auto& member : media->subMediaArray()) {
            seconds +=
                member->isImageData() ? member->imageDataDuration() : measuredSeconds(member);
        }
        return seconds;
    }
    if (media->isImageData()) {
        return media->imageDataDuration();
    }
    return measuredSeconds(media);
}

void MediaDataView::updateMediaTimeAfterVideoEdit()
{
    const auto clip = m_media.lock();
    if (!clip) {
        return;
    }
    m_mediaTime->setText(CommonFunction::timeStrFromSecond(static_cast<float>(mediaSeconds(clip))));
    // A member has no title of its own; its merged clip's row, which the
    // video editor refreshes too, passes the change on.
    if (clip->isSubMedia()) {
        return;
    }
    if (const auto title = clip->superTitleData()) {
        if (TitleRowView* row = title->titleDataView()) {
            row->flushTitleAllTimeAfterVideoEdit();
        }
    }
}

QRectF MediaDataView::imageRect(const QSizeF& size, double indent)
{
    const double h = size.height();
    return flipRect(QRectF(indent + 5.0, 3.0, (h - 10.0) / 3.0 * 4.0, h - 6.0), h);
}

QRectF MediaDataView::nameRect(const QSizeF& size, double indent)
{
    const double h = size.height();
    return flipRect(QRectF(imageRect(size, indent).right() + 10.0, h - 30.0, 300.0, 20.0), h);
}

QRectF MediaDataView::timeRect(const QSizeF& size, double indent)
{
    const double h = size.height();
    return flipRect(QRectF(imageRect(size, indent).right() + 13.0, 5.0, 300.0, 20.0), h);
}

QRectF MediaDataView::clipMarkEditRect(const QSizeF& size, double indent)
{
    // Laid out for a row of the list's narrowest width, then kept that far
    // from the row's right edge in a wider row.
    const double h = size.height();
    const double follow = std::max(0.0, size.width() - ListTableLayout::MinimumRowWidth);
    return flipRect(
        QRectF(nameRect(size, indent).right() + 200.0 + follow, 7.5, h - 15.0, h - 15.0), h);
}

QRectF MediaDataView::videoEditBtnRect(const QSizeF& size, double indent)
{
    const double h = size.height();
    return flipRect(QRectF(clipMarkEditRect(size, indent).right() + 100.0, 7.5, h - 15.0, h - 15.0),
                    h);
}

void MediaDataView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawSelected(painter);
    const auto clip = m_media.lock();
    if (!clip) {
        return;
    }
    const QRectF picture = imageRect(size(), indent());
    if (!clip->previewImage().isNull()) {
        painter.save();
        drawGlow(painter, picture, GlowRadius);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(picture, clip->previewImage());
        painter.restore();
    }
    if (isSourceMissingShown()) {
        // Crossed out in red: the clip's file cannot be played.
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(MissingColor, 3.0));
        painter.drawRect(picture.adjusted(1.5, 1.5, -1.5, -1.5));
        painter.drawLine(picture.topLeft(), picture.bottomRight());
        painter.drawLine(picture.topRight(), picture.bottomLeft());
        painter.restore();
    }
}

void MediaDataView::resizeEvent(QResizeEvent* event)
{
    ListDataRowView::resizeEvent(event);
    if (m_clipMarkEditView) {
        const double left = indent();
        m_clipMarkEditView->setGeometry(clipMarkEditRect(size(), left).toRect());
        m_videoEditBtnView->setGeometry(videoEditBtnRect(size(), left).toRect());
        setNameText();
    }
}
