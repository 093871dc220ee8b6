#pragma once
// Shared helpers of the title list tests: the project services of the model
// tests with recording main-window fakes installed, rows that record what the
// list's core tells them, a list edit controller whose open panel the test
// answers, and waiting on the event loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "../model/DataResourceTestFixture.h"
#include "RecordingControllers.h"
#include "RecordingServices.h"
#include "listedit/ListEditViewController.h"
#include "listedit/ListTableView.h"
#include "listedit/MediaOpenPanel.h"
#include "model/DVDPageData.h"
#include "model/ListRowView.h"
#include "model/MediaRowView.h"
#include "model/PageRowView.h"
#include "model/TitleRowView.h"

namespace listtest {

// A clip or title row of the list as the core sees it.
class FakeRow : public MediaRowView, public TitleRowView {
public:
    int removed = 0;
    int refreshed = 0;
    void removeFromSuperview() override { ++removed; }
    void initAllControls() override { ++refreshed; }
    void updateMediaTimeAfterVideoEdit() override {}
    void flushTitleAllTimeAfterVideoEdit() override {}
};

class FakePageRow : public PageRowView, public ListRowView {
public:
    int removed = 0;
    void setPage(DVDPageData*) override {}
    void removeFromSuperview() override { ++removed; }
    void initAllControls() override {}
};

// Runs the event loop until `done` answers true or `ms` have passed.
inline bool waitFor(const std::function<bool()>& done, int ms = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets queued did-change announcements arrive.
inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
    }
}

// Project services, the recording main window, recorded alerts and a shown
// host window for the controller. The controller is made on demand so that a test can set
// the project up first.
class ListEditTest : public mediatest::OpenProjectTest {
protected:
    void SetUp() override
    {
        OpenProjectTest::SetUp();
        host()->setOpenProject(services);
    }
    void TearDown() override
    {
        controller.reset();
        OpenProjectTest::TearDown();
    }

    ListEditViewController& makeController()
    {
        window.resize(900, 600);
        window.show();
        controller = std::make_unique<ListEditViewController>(&window, host());
        controller->view()->setGeometry(window.rect());
        controller->view()->show();
        controller->setOpenPanel([this](const MediaOpenPanel::Request& request, QWidget* parent,
                                        const MediaOpenPanel::Completion& completion) {
            requests.append(request);
            panelParents.append(parent);
            completion(panelAnswer);
        });
        return *controller;
    }

    std::shared_ptr<DataResource> project() const { return services->media; }
    // The main window the controller is made with; it works on `services`.
    virtual testsupport::RecordingMainWindowController* host() { return installed.mainController; }
    QStringList& calls() { return installed.mainController->calls; }

    // Alerts the list shows (refused files).
    QStringList alertTexts() const
    {
        QStringList texts;
        for (const auto& shown : alertServices.alerts->alerts) {
            texts << shown.content.message + " " + shown.content.informativeText;
        }
        return texts;
    }

    testsupport::InstalledControllers installed;
    testsupport::InstalledServices alertServices;
    QWidget window;
    std::unique_ptr<ListEditViewController> controller;
    QStringList panelAnswer;
    QList<MediaOpenPanel::Request> requests;
    QList<QWidget*> panelParents;
};

}  // namespace listtest
