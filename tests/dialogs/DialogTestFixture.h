#pragma once
// Shared set-up of the menu item dialog tests: the menu editor's test set-up
// (the open project's disc side, handed to the main window, with the real
// template library, the shell's recording fakes), with the real menu editor
// made again after the program's item dialogs were installed, so its title
// and button dialogs are the real ones. Adds helpers that select an item and
// reach the two dialogs.

#include <QDialog>
#include <QDir>
#include <QImage>

#include "../menuedit/MenuEditTestFixture.h"
#include "RecordingServices.h"
#include "TestSupport.h"
#include "common/widgets/AlertService.h"
#include "dialogs/ButtonEditWindowController.h"
#include "dialogs/ItemDialogFactory.h"
#include "dialogs/TextStylePanel.h"
#include "dialogs/TitleTextEditWindowController.h"

namespace dialogtest {

class DialogTest : public menutest::MenuEditorTest {
protected:
    void SetUp() override
    {
        menutest::MenuEditorTest::SetUp();
        installMenuDialogs();
        auto made = std::make_unique<MenuEditViewController>(nullptr, &main());
        controller = made.get();
        main().setMenuEditController(std::move(made));
        controller->view()->resize(1000, 600);
        controller->view()->show();
        alerts = std::make_shared<testsupport::RecordingAlertService>();
        AlertService::install(alerts);
        menutest::processEvents();
    }

    void TearDown() override
    {
        AlertService::install(nullptr);
        menutest::MenuEditorTest::TearDown();
    }

    TitleTextEditWindowController& titleDialog()
    {
        auto* dialog =
            dynamic_cast<TitleTextEditWindowController*>(controller->titleTextEditController());
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    ButtonEditWindowController& buttonDialog()
    {
        auto* dialog =
            dynamic_cast<ButtonEditWindowController*>(controller->buttonEditController());
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    // A page holding `items`, shown in the editor.
    std::shared_ptr<DVDPage> openPage(const QList<std::shared_ptr<DVDPageItem>>& items)
    {
        auto page = topPage();
        page->setItemArray(items);
        open({page});
        return page;
    }

    // A text title (type 4) with its own text.
    static std::shared_ptr<DVDPageItem> textTitle(const QRectF& frame, const QString& string)
    {
        auto made = item(4, frame);
        auto text = std::make_shared<EffectTextImage>();
        text->setTextString(string);
        text->setMedia(made);
        made->setTextSource(text);
        made->setTitleUseType(2);
        return made;
    }

    std::shared_ptr<testsupport::RecordingAlertService> alerts;
};

}  // namespace dialogtest
