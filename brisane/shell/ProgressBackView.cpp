#include "shell/ProgressBackView.h"

#include <QPainter>

#include "common/NamedImage.h"

ProgressBackView::ProgressBackView(QWidget* parent) : QWidget(parent) {}

void ProgressBackView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Places are measured from the bottom edge, y up.
    const auto drawAt = [&](const QString& name, double x, double yUp) {
        const QImage image = NamedImage::imageNamed(name);
        if (!image.isNull()) {
            painter.drawImage(QPointF(x, height() - yUp - image.height()), image);
        }
    };
    const QImage strip = NamedImage::imageNamed(QStringLiteral("TimelineBack.png"));
    if (!strip.isNull()) {
        painter.drawImage(QRectF(0, height() - 26 - strip.height(), width(), strip.height()),
                          strip);
    }
    drawAt(QStringLiteral("PlayBtn2.png"), 220, 32);
    drawAt(QStringLiteral("ChapterImage.png"), 110, 1);
    drawAt(QStringLiteral("ChapterImage2.png"), 310, 1);
    drawAt(QStringLiteral("ChapterImage2.png"), 610, 1);
}
