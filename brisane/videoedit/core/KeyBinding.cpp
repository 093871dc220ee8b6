#include "videoedit/core/KeyBinding.h"

#include <QSignalBlocker>

#include "common/PropertyNotifier.h"

void KeyBinding::bind(PropertyNotifier& keys, const QString& key, QObject* control,
                      const std::function<void()>& refresh)
{
    const auto blocked = [control, refresh] {
        const QSignalBlocker blocker(control);
        refresh();
    };
    keys.observeKey(key, control, blocked);
    blocked();
}
