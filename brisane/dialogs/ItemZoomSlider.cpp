#include "dialogs/ItemZoomSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "dialogs/core/ItemZoomLimits.h"
#include "model/DVDPageItem.h"

ItemZoomSlider::ItemZoomSlider(float minZoom, float maxZoom, float zoomValue,
                               MenuEditorAccess editor, QWidget* parent)
    : QObject(parent), editor_(editor), minZoom_(minZoom), maxZoom_(maxZoom), zoomValue_(zoomValue)
{
    view_ = new QWidget(parent);
    view_->setObjectName(QStringLiteral("zoomControlView"));
    auto* row = new QHBoxLayout(view_);
    row->setContentsMargins(8, 4, 8, 4);
    slider_ = new QSlider(Qt::Horizontal, view_);
    auto* smaller = new QLabel(tr("Smaller"), view_);
    auto* larger = new QLabel(tr("Larger"), view_);
    row->addWidget(new QLabel(tr("Size:"), view_));
    row->addWidget(smaller);
    row->addWidget(slider_, 1);
    row->addWidget(larger);
    showState();
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        zoomValue_ = ItemZoomLimits::zoomAtSliderPosition(position);
        zoomChangedAction();
    });
}

void ItemZoomSlider::showState()
{
    const QSignalBlocker blocker(slider_);
    slider_->setRange(ItemZoomLimits::sliderPosition(minZoom_),
                      ItemZoomLimits::sliderPosition(maxZoom_));
    slider_->setValue(ItemZoomLimits::sliderPosition(zoomValue_));
}

void ItemZoomSlider::updateSelfZoomSlider(bool recordOldFrame)
{
    const auto item = editor_.currentItem();
    if (!item) {
        return;
    }
    const ZoomRange range =
        ItemZoomLimits::zoomRangeOfItem(item, editor_.menuCanvasRect(), editor_.sourceArray());
    minZoom_ = range.minZoom;
    maxZoom_ = range.maxZoom;
    zoomValue_ = 1.0f;
    if (recordOldFrame) {
        oldFrame_ = item->frame();
    }
    showState();
}

void ItemZoomSlider::setZoomValue(float zoom)
{
    zoomValue_ = zoom;
    {
        const QSignalBlocker blocker(slider_);
        slider_->setValue(ItemZoomLimits::sliderPosition(zoom));
    }
    zoomChangedAction();
}

void ItemZoomSlider::zoomChangedAction()
{
    const auto item = editor_.currentItem();
    if (!item || oldFrame_.isEmpty()) {
        return;
    }
    const QRectF frame = ItemZoomLimits::zoomedFrame(oldFrame_, zoomValue_);
    item->setFrame(frame);
    if (storesTitleOldFrame_) {
        item->setTitleOldFrame(frame);
    }
    editor_.updateItemControlViewFrame();
    editor_.displayCanvasView();
}
