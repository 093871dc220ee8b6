#include "shell/WndTitleBackView.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

namespace {

QColor grey(double level)
{
    return QColor::fromRgbF(level, level, level, 1.0);
}

}  // namespace

WndTitleBackView::WndTitleBackView(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(TitleHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_titleFont = font();
    m_titleFont.setPixelSize(13);
}

QString WndTitleBackView::drawnTitle() const
{
    const QWidget* top = window();
    if (!top || top == this) {
        return {};
    }
    QString title = top->windowTitle();
    title.replace(QStringLiteral("[*]"), top->isWindowModified() ? QStringLiteral("*") : QString());
    return title;
}

bool WndTitleBackView::windowBackgoundDrawWindowTitle() const
{
    const QWidget* top = window();
    return top && top != this && top->property(DrawsTitleProperty).toBool();
}

void WndTitleBackView::paintEvent(QPaintEvent*)
{
    // Follows the window's title and edited mark.
    if (window() != m_watched && window() != this) {
        if (m_watched) {
            m_watched->removeEventFilter(this);
        }
        m_watched = window();
        m_watched->installEventFilter(this);
    }
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, grey(0.2));
    gradient.setColorAt(1, grey(0.25));
    painter.fillRect(rect(), gradient);
    if (windowBackgoundDrawWindowTitle()) {
        drawTitle(painter);
    }
}

bool WndTitleBackView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched &&
        (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ModifiedChange)) {
        update();
    }
    return QWidget::eventFilter(watched, event);
}

void WndTitleBackView::drawTitle(QPainter& painter)
{
    const QString title = drawnTitle();
    if (title.isEmpty()) {
        return;
    }
    painter.setFont(m_titleFont);
    const QFontMetrics metrics(m_titleFont);
    const QRect band(0, 0, width(), TitleHeight);
    const QRect text = metrics.boundingRect(band, Qt::AlignCenter, title);
    // A soft dark shadow half a point down and right, then the title.
    painter.setPen(QColor::fromRgbF(0.03, 0.03, 0.03, 0.8));
    painter.drawText(text.translated(1, 1), Qt::AlignCenter, title);
    painter.setPen(grey(0.8));
    painter.drawText(text, Qt::AlignCenter, title);
}
