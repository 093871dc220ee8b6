#include "common/widgets/ContextClickFilter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "common/widgets/ViewExtention.h"

ContextClickFilter::ContextClickFilter(QObject* parent) : QObject(parent) {}

bool ContextClickFilter::install()
{
    auto* app = QCoreApplication::instance();
    if (!app) {
        return false;
    }
    if (!app->findChild<ContextClickFilter*>(QString(), Qt::FindDirectChildrenOnly)) {
        app->installEventFilter(new ContextClickFilter(app));
    }
    return true;
}

bool ContextClickFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType()) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    return ViewExtention::showContextMenu(widget, mouse->globalPosition().toPoint(),
                                          mouse->modifiers());
}
