#include "shell/ThemeExtention.h"

#include <QMainWindow>
#include <QVBoxLayout>

#include "shell/WndTitleBackView.h"

void ThemeExtention::changeTitleBarTheme(QMainWindow* window, WndTitleBackView* view)
{
    if (!window || !view || !window->centralWidget()) {
        return;
    }
    auto* layout = qobject_cast<QVBoxLayout*>(window->centralWidget()->layout());
    if (!layout) {
        return;
    }
    layout->insertWidget(0, view);
    view->update();
}
