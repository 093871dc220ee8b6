#pragma once
// An object whose computed properties others observe by key.
//
// A window controller derives from PropertyNotifier and announces that a
// property is about to change and has changed; observers (the controls bound
// to the property) re-read it when they get didChangeValue. The announcements
// are plain signals, so observers on the main thread connected to a notifier
// living there are called directly. CommonFunctionThreads::flushObject sends
// the pair with the did-change half always on the main thread.
//
// A notifier lives on the main thread; it may be announced from any thread.

#include <QObject>
#include <QString>
#include <functional>

class PropertyNotifier : public QObject {
    Q_OBJECT
public:
    explicit PropertyNotifier(QObject* parent = nullptr);
    ~PropertyNotifier() override;

    // Emits willChangeValue(key) on the calling thread.
    void willChangeValueForKey(const QString& key);
    // Emits didChangeValue(key) on the calling thread.
    void didChangeValueForKey(const QString& key);

    // Calls `refresh` on every did-change of `key`, as long as `context`
    // lives. The binding of one control to one property.
    QMetaObject::Connection observeKey(const QString& key, const QObject* context,
                                       std::function<void()> refresh);

signals:
    void willChangeValue(const QString& key);
    void didChangeValue(const QString& key);
};
