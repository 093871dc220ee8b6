#pragma once
// The program's own parts installed as main() installs them and the shell
// launched on them (without a document), for the tests that drive the
// program's own main window.

#include <gtest/gtest.h>

#include <QStringList>
#include <QTest>

#include <memory>

#include "ShellLaunch.h"
#include "app/ApplicationParts.h"
#include "listedit/ListEditViewController.h"
#include "model/DVDPageData.h"
#include "shell/ControllerFunction.h"

class LaunchedShellTest : public testing::Test {
protected:
    void SetUp() override
    {
        ApplicationParts::install();
        shell = std::make_unique<testsupport::ShellLaunch>(false);
    }
    void TearDown() override { shell.reset(); }

    ListEditViewController* listEditor() const
    {
        return dynamic_cast<ListEditViewController*>(ControllerFunction::listEditController());
    }

    // Answers the next open panel with `paths`, runs the import `action`
    // and waits until the current page holds `titles` titles and the import
    // has ended.
    void import(const QStringList& paths, void (ListEditViewController::*action)(),
                qsizetype titles)
    {
        listEditor()->setOpenPanel([paths](const MediaOpenPanel::Request&, QWidget*,
                                           MediaOpenPanel::Completion done) { done(paths); });
        (listEditor()->*action)();
        const auto page = listEditor()->currentDVDPage();
        ASSERT_TRUE(page);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return page->titleDataArray().size() == titles; }, 60000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !listEditor()->isImporting(); }, 10000));
    }

    std::unique_ptr<testsupport::ShellLaunch> shell;
};
