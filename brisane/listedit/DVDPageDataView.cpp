#include "listedit/DVDPageDataView.h"

#include <QPainter>

#include "common/ControllerFunctionImages.h"
#include "common/NamedImage.h"
#include "listedit/ListEditViewController.h"
#include "model/DVDPageData.h"

namespace {

constexpr int PageTextSize = 18;
constexpr double PageTextGrey = 0.7;

}  // namespace

DVDPageDataView::DVDPageDataView(QWidget* parent, ListTableView* list)
    : ListDataRowView(parent, list),
      m_image(NamedImage::imageNamed(QStringLiteral("Page_arrow_image")))
{
}

QString DVDPageDataView::pageNameText(const QString& name, bool current)
{
    return current ? QStringLiteral("%1  -  ( current page )").arg(name) : name;
}

QString DVDPageDataView::displayedName() const
{
    return m_page ? pageNameText(m_page->name(), isCurrentPage()) : QString();
}

QString DVDPageDataView::titleCountsText(qsizetype count)
{
    return QStringLiteral("%1 Title").arg(count);
}

QRectF DVDPageDataView::imageRect(const QSizeF& size)
{
    return flipRect(QRectF(15.0, (size.height() - 25.0) / 2.0, 25.0, 25.0), size.height());
}

QRectF DVDPageDataView::pageNameRect(const QSizeF& size)
{
    return QRectF(imageRect(size).right() + 10.0, 0.0, 300.0, size.height());
}

QRectF DVDPageDataView::titleCountsRect(const QSizeF& size)
{
    return QRectF(pageNameRect(size).right(), 0.0, 200.0, size.height());
}

std::shared_ptr<Object> DVDPageDataView::modelObject() const
{
    return m_page ? m_page->weak_from_this().lock() : nullptr;
}

void DVDPageDataView::afterSelect()
{
    if (ListEditViewController* list = controller()) {
        if (auto page = std::dynamic_pointer_cast<DVDPageData>(modelObject())) {
            list->setCurrentDVDPage(page);
        }
    }
}

bool DVDPageDataView::isCurrentPage() const
{
    const ListEditViewController* list = controller();
    return list && m_page && list->currentDVDPage().get() == m_page;
}

void DVDPageDataView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const double w = width();
    const double h = height();
    // Two hairlines along the lower edge.
    painter.setPen(QPen(grey(0.13), 1.0));
    painter.drawLine(QLineF(0.0, h - 0.5, w, h - 0.5));
    painter.setPen(QPen(grey(0.03), 1.0));
    painter.drawLine(QLineF(0.0, h - 1.5, w, h - 1.5));
    drawSelected(painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!m_image.isNull()) {
        painter.drawImage(imageRect(size()), m_image);
    }
    if (!m_page) {
        return;
    }
    painter.save();
    ControllerFunctionImages::drawTitleAtRect(painter, pageNameRect(size()), displayedName(),
                                              PageTextSize, grey(PageTextGrey));
    ControllerFunctionImages::drawTitleAtRect(painter, titleCountsRect(size()),
                                              titleCountsText(m_page->titleDataArray().size()),
                                              PageTextSize, grey(PageTextGrey));
    painter.restore();
}
