#include "common/widgets/CommonFunctionViews.h"

#include <QWidget>

void CommonFunctionViews::setFullSubview(QWidget* view, QWidget* superview)
{
    if (!view) {
        return;
    }
    if (!superview) {
        view->setGeometry(QRect());
        return;
    }
    // Reparenting hides a widget; only one hidden on purpose stays so.
    const bool hiddenOnPurpose =
        view->isHidden() && view->testAttribute(Qt::WA_WState_ExplicitShowHide);
    if (view->parentWidget() != superview) {
        view->setParent(superview);
    }
    view->setGeometry(superview->rect());
    if (!hiddenOnPurpose) {
        view->show();
    }
}
