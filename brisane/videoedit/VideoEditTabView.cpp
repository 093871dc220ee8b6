#include "videoedit/VideoEditTabView.h"

#include <QMouseEvent>

VideoEditTabView::VideoEditTabView(QWidget* parent) : QStackedWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

int VideoEditTabView::addTab(QWidget* page, const QString& identifier)
{
    m_identifiers.append(identifier);
    return addWidget(page);
}

QString VideoEditTabView::currentIdentifier() const
{
    const int index = currentIndex();
    return index >= 0 && index < m_identifiers.size() ? m_identifiers.at(index) : QString();
}

bool VideoEditTabView::selectTabViewItemWithIdentifier(const QString& identifier)
{
    const int index = static_cast<int>(m_identifiers.indexOf(identifier));
    if (index < 0) {
        return false;
    }
    setCurrentIndex(index);
    return true;
}

void VideoEditTabView::mousePressEvent(QMouseEvent* event)
{
    QStackedWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
}
