#pragma once
// The threading, timing and window half of the common functions: the property
// refresh every window uses, work on a background thread, timing aids,
// bringing a window forward and the mouse position in a view.
//
// Stateless apart from the counters of timeProfileBlock.

#include <QPointF>
#include <QString>
#include <functional>
#include <memory>
#include <thread>

class PropertyNotifier;
class QWidget;

class CommonFunctionThreads {
public:
    CommonFunctionThreads() = delete;

    // Announces that the object's property `key` changed: will-change at once
    // on the calling thread, did-change queued to the main thread without
    // waiting, so it arrives on a later pass of the main event loop, also when
    // called there. Callable from any thread; the object lives on the main
    // thread. Nothing is sent for a null object or when no application runs.
    static void flushObject(PropertyNotifier* object, const QString& key);

    // Runs the member function of the object on a newly spawned thread; the
    // object is kept alive until it has run. Nothing reports completion.
    template <typename T>
    static void object(const std::shared_ptr<T>& object, void (T::*selector)())
    {
        if (!object || !selector) {
            return;
        }
        std::thread([object, selector] { (object.get()->*selector)(); }).detach();
    }

    // Runs the block and logs the seconds it took ("%f").
    static void timeBlock(const std::function<void()>& block);
    // Runs the block and adds its duration to process-wide totals; when more
    // than 5 seconds have passed since the last report (the first call always
    // reports) logs "%f %f %f %d": average seconds per call, calls per second,
    // seconds since the last report and the number of calls, then starts over.
    static void timeProfileBlock(const std::function<void()>& block);

    // Shows the window and brings it forward. Windows are never restored by
    // the system here, so there is nothing to switch off.
    static void showWindowNib(QWidget* window);
    // The current mouse position in the view's own coordinates.
    static QPointF eventMousePointInView(const QWidget* view);
};
