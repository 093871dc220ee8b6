#pragma once
// Binds a control of the video edit sheet to an announced key: `refresh`
// fills the control now and again after every announcement of the key, with
// the control's signals blocked, so filling it never writes back. The
// binding lasts as long as the control. Main thread.

#include <QString>
#include <functional>

class PropertyNotifier;
class QObject;

class KeyBinding {
public:
    KeyBinding() = delete;

    static void bind(PropertyNotifier& keys, const QString& key, QObject* control,
                     const std::function<void()>& refresh);
};
