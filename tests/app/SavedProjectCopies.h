#pragma once
// Copies of a saved project folder for the tests that damage one: where a
// file of the project lies inside the folder, and a copy to damage.

#include <gtest/gtest.h>

#include <QString>

#include "TestSupport.h"

namespace testsupport {

// `path` inside the project folder `saved`, relative to it.
inline QString pathInSaved(const QString& saved, const QString& path)
{
    EXPECT_TRUE(path.startsWith(saved + "/")) << qPrintable(path);
    return path.mid(saved.size() + 1);
}

// A copy of the project folder `saved` (no links into it) named `name` in
// the folder `root`.
inline QString copyOfSaved(const QString& saved, const QString& root, const QString& name)
{
    const QString copy = root + "/" + name + ".brisane";
    EXPECT_EQ(runProgram("cp", {"-a", saved, copy}), 0);
    return copy;
}

}  // namespace testsupport
