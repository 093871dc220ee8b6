#include "listedit/TitleDataView.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include "common/CommonFunction.h"
#include "common/NamedImage.h"
#include "model/DVDTitleData.h"
#include "model/MediaData.h"

namespace {

constexpr double TitleIndent = 70.0;
constexpr double CornerRadius = 3.0;

}  // namespace

TitleDataView::TitleDataView(QWidget* parent, ListTableView* list)
    : ListDataRowView(parent, list),
      m_image(NamedImage::imageNamed(QStringLiteral("TitleImage"))),
      m_titleName(makeLabel(true)),
      m_titleChapter(makeLabel(true)),
      m_titleTime(makeLabel(false))
{
}

std::shared_ptr<Object> TitleDataView::modelObject() const
{
    return m_title.lock();
}

void TitleDataView::initAllTitleControls()
{
    m_titleName->setGeometry(nameRect(size()).toRect());
    m_titleChapter->setGeometry(chapterRect(size()).toRect());
    m_titleTime->setGeometry(timeRect(size()).toRect());
    const auto title = m_title.lock();
    m_titleName->setText(title ? title->name() : QString());
    m_titleChapter->setText(chapterText(title ? title->mediaDataArray().size() : 0));
    m_titleTime->setText(totalTimeInTitle());
    update();
}

void TitleDataView::flushTitleAllTimeAfterVideoEdit()
{
    m_titleTime->setText(totalTimeInTitle());
    update();
}

double TitleDataView::totalSecondsInTitle(const DVDTitleData& title) const
{
    double seconds = 0.0;
    for (const auto& media : title.mediaDataArray()) {
        if (media->hasSubMedia()) {
            for (const auto& member : media->subMediaArray()) {
                seconds += measuredSeconds(member);
            }
        } else {
            seconds += measuredSeconds(media);
        }
    }
    return seconds;
}

QString TitleDataView::totalTimeInTitle() const
{
    const auto title = m_title.lock();
    const double seconds = title ? totalSecondsInTitle(*title) : 0.0;
    return CommonFunction::timeStrFromSecond(static_cast<float>(seconds));
}

QString TitleDataView::chapterText(qsizetype count)
{
    return QStringLiteral("%1 Chapters").arg(count);
}

QRectF TitleDataView::panelRect(const QSizeF& size)
{
    return QRectF(TitleIndent, 0.0, size.width() - TitleIndent - 5.0, 35.0);
}

QRectF TitleDataView::imageRect(const QSizeF& size)
{
    return flipRect(QRectF(TitleIndent + 5.0, (size.height() - 25.0) / 2.0, 25.0, 25.0),
                    size.height());
}

QRectF TitleDataView::nameRect(const QSizeF& size)
{
    return flipRect(QRectF(imageRect(size).right() + 10.0, 0.0, 300.0, 25.0), size.height());
}

QRectF TitleDataView::chapterRect(const QSizeF& size)
{
    return flipRect(QRectF(nameRect(size).right() + 10.0, 0.0, 200.0, 25.0), size.height());
}

QRectF TitleDataView::timeRect(const QSizeF& size)
{
    return flipRect(QRectF(chapterRect(size).right() + 10.0, 0.0, 100.0, 25.0), size.height());
}

void TitleDataView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = flipRect(panelRect(size()), height());
    QPainterPath path;
    path.addRoundedRect(panel, CornerRadius, CornerRadius);
    painter.fillPath(path, grey(0.1));
    painter.setPen(QPen(grey(0.03), 1.0));
    painter.drawRoundedRect(panel.adjusted(0.5, 0.5, -0.5, -0.5), CornerRadius, CornerRadius);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawSelected(painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_image.isNull()) {
        painter.drawImage(imageRect(size()), m_image);
    }
}
