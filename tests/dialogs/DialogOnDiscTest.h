#pragma once
// The dialog fixture for the tests that take the edited page to a disc: an
// NTSC 4:3 disc and the real authoring tools.

#include <QString>

#include "DialogTestFixture.h"
#include "corvane/DVDToolLocator.h"

namespace dialogtest {

class DialogOnDiscTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        disc().setDvdFormat(1);
        disc().setAspectType(1);
        DVDToolLocator::setToolFolder(QString());
    }
};

}  // namespace dialogtest
