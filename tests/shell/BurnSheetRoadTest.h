#pragma once
// The disc project fixture for the roads started from the burn settings
// sheet: the first-disc project as the services' media, and a sheet that
// sees a small estimate and plenty of free space.

#include <QFileInfo>
#include <QString>
#include <memory>
#include <optional>

#include "DiscProjectFixture.h"
#include "common/FileManagerExtention.h"
#include "shell/BurnDVDCtrl.h"
#include "shell/BurnSettingWindow.h"
#include "shell/MainWindowController.h"

namespace discproject {

class BurnSheetRoadTest : public DiscProjectTest {
protected:
    // The fixture's services with the project's media as the data resource.
    struct RoadServices : disctest::DiscServices {
        std::shared_ptr<DataResource> media;
        std::shared_ptr<DataResource> dateResource() const override { return media; }
    };

    // Hands `owner` road services in place of the fixture's (same library
    // and disc) as its open project and builds the first-disc project into
    // them.
    std::shared_ptr<RoadServices> installRoadProject(FirstDiscProject& project,
                                                     MainWindowController& owner)
    {
        auto mine = std::make_shared<RoadServices>();
        mine->library = services->library;
        mine->disc = services->disc;
        services = mine;
        owner.setOpenProject(mine);
        project = buildFirstDisc(folders.root());
        mine->media = project.media;
        return mine;
    }

    // Whether the burn's temporary DVD folder has gone.
    static bool tempDVDFolderGone()
    {
        return !QFileInfo::exists(
            FileManagerExtention::tempFileDirectory(BurnDVDCtrl::TmpDVDPathKey));
    }

    // A small estimate and plenty of free space, whatever the folder.
    static void giveRoom(BurnSettingWindow& sheet)
    {
        sheet.setEstimateFunction([] { return qint64(1000); });
        sheet.setFreeSpaceFunction([](const QString&) { return std::optional<qint64>(1LL << 40); });
    }
};

}  // namespace discproject
