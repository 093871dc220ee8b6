#include "slideshow/BusyWindowController.h"

#include <QCoreApplication>
#include <QPalette>
#include <QPointer>
#include <QVBoxLayout>

#include "common/MainThread.h"

BusyWindowController* BusyWindowController::sharedBusyWindowController()
{
    // A window can only be made on the main thread; the instance lives until
    // the application quits and is made again should a window have taken it
    // down with it.
    static QPointer<BusyWindowController> shared;
    MainThread::call([] {
        if (!shared) {
            shared = new BusyWindowController();
            QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                             shared.data(), &QObject::deleteLater);
        }
    });
    return shared;
}

BusyWindowController::BusyWindowController()
{
    loadWindow();
}

void BusyWindowController::loadWindow()
{
    auto* layout = new QVBoxLayout(window());
    layout->setContentsMargins(20, 20, 20, 20);
    m_progress = new QProgressBar(window());
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 1);
    m_progress->setFixedWidth(220);
    layout->addWidget(m_progress);
    awakeFromNib();
}

void BusyWindowController::awakeFromNib()
{
    QPalette palette = window()->palette();
    palette.setColor(QPalette::Window, QColor::fromRgbF(0.25, 0.25, 0.25, 1.0));
    window()->setPalette(palette);
    window()->setAutoFillBackground(true);
    window()->setWindowFlag(Qt::FramelessWindowHint);
}

void BusyWindowController::startShowingBusyWindow(QWidget* window)
{
    QPointer<QWidget> target(window);
    MainThread::call([this, target] { startAnmationBusy(target); });
}

void BusyWindowController::endShowingBusyWindow()
{
    MainThread::call([this] { stopAnmationBusy(); });
}

void BusyWindowController::startAnmationBusy(QWidget* sheeted)
{
    if (remakeWindowIfGone()) {
        loadWindow();
    }
    window()->hide();
    setWndSheetedWindow(sheeted);
    beginSheet();
    m_progress->setRange(0, 0);  // a range of nothing animates
}

void BusyWindowController::stopAnmationBusy()
{
    if (!window() || !m_progress) {
        return;
    }
    m_progress->setRange(0, 1);
    endSheet();
    // Off the window again, so that closing that window cannot take the
    // shared sheet down with it.
    setWndSheetedWindow(nullptr);
}

bool BusyWindowController::isAnimating() const
{
    return window() && m_progress && window()->isVisible() && m_progress->maximum() == 0;
}
