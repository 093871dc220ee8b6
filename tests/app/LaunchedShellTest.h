#pragma once
// The program's own parts installed as main() installs them and the shell
// launched on them (without a document), for the tests that drive the
// program's own main window.

#include <gtest/gtest.h>

#include <memory>

#include "ShellLaunch.h"
#include "app/ApplicationParts.h"
#include "listedit/ListEditViewController.h"
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

    std::unique_ptr<testsupport::ShellLaunch> shell;
};
