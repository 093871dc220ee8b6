#pragma once
// The harmless stand-in for a menu dialog that the program does not have
// yet. One class answers all five dialog roles: it opens nothing, writes one
// log line naming the dialog and the call for every operation it is asked to
// do, and answers the zoom limits of an item from the open project's canvas
// (the document host's, not owned; null: none).
//
// Its window is a plain, never shown widget, so that centring and placing it
// beside an item change nothing on screen. Main thread.

#include <QString>
#include <memory>

#include "shell/core/IBackgroundMusicWindowController.h"
#include "shell/core/IBackgroundPictureWindowController.h"
#include "shell/core/IButtonEditWindowController.h"
#include "shell/core/IPlayModeWindowController.h"
#include "shell/core/ITitleTextEditWindowController.h"

class IDocumentHost;
class QWidget;

class MenuDialogStandIn : public IBackgroundMusicWindowController,
                          public IBackgroundPictureWindowController,
                          public IPlayModeWindowController,
                          public ITitleTextEditWindowController,
                          public IButtonEditWindowController {
public:
    // `name` names the dialog in the log ("BackgroundMusicWindowController").
    MenuDialogStandIn(const QString& name, IDocumentHost* host);
    ~MenuDialogStandIn() override;

    QString name() const { return name_; }

    QWidget* window() override;
    void showWindowInModel() override;
    void addTextMediaAction() override;
    void updateWndSettingWhenEditTitleMedia() override;
    void showStaticTextEditWindow() override;
    QWidget* staticTextEditWindow() override;
    // 30 over the item's width (1 without an item or width).
    float getMinZoomWithMedia(const std::shared_ptr<DVDPageItem>& item) override;
    // The largest factor keeping the item inside the canvas (1 without an
    // item or a disc side).
    float getMaxZoomWithMedia(const std::shared_ptr<DVDPageItem>& item) override;
    void updateButtonAttributes() override;

private:
    void logCall(const char* call) const;

    QString name_;
    IDocumentHost* const m_host;
    std::unique_ptr<QWidget> window_;
    std::unique_ptr<QWidget> staticTextWindow_;
};
