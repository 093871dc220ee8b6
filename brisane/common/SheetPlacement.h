#pragma once
// Sheets and dialogs open centred on the window they belong to, every time
// they open: an application-wide filter moves each dialog with a parent
// over the middle of its parent's window just before it is shown, kept on
// that window's screen. Main thread.

#include <QObject>
#include <QRect>

class QWidget;

class SheetPlacement : public QObject {
    Q_OBJECT
public:
    // Installs the filter on the application (once).
    static void install();

    // The frame of a `size` window centred on `owner`, moved inside
    // `screen` where it would leave it.
    static QRect centredFrame(const QRect& owner, const QSize& size, const QRect& screen);
    // Moves `dialog` to the centre of its parent's window; nothing for a
    // window without a parent.
    static void centre(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
