#pragma once
// A small authored disc of two one-second titles, made with the real tools:
// the DVD folder "<work>/dvd" and its image "<work>/disc.iso".

#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QStandardPaths>

#include "TestSupport.h"
#include "corvane/DVDToolTask.h"

namespace twotitledisc {

// Runs a tool found on PATH to its end; true on exit status 0.
inline bool runTool(const QString& tool, const QStringList& arguments, const QString& folder)
{
    const QString path = QStandardPaths::findExecutable(tool);
    EXPECT_FALSE(path.isEmpty()) << tool.toStdString() << " is needed";
    DVDToolTask task;
    task.setLaunchPath(path);
    task.setArguments(arguments);
    task.setCurrentDirectoryPath(folder);
    QProcessEnvironment environment;
    environment.insert("VIDEO_FORMAT", "PAL");
    task.setEnvironment(environment);
    return task.launchAndWait() == DVDToolTask::Outcome::Succeeded;
}

// Makes "<work>/dvd" and "<work>/disc.iso"; false (with a failure) when a tool fails.
inline bool makeTwoTitleDisc(const QString& work)
{
    for (const char* name : {"a.mpg", "b.mpg"}) {
        if (!testsupport::generateMedia(
                work + "/" + name,
                {"-f", "lavfi", "-i", "testsrc=size=720x576:rate=25", "-f", "lavfi", "-i",
                 "anullsrc=r=48000:cl=stereo", "-t", "1", "-target", "pal-dvd", "-b:v", "1500k"})) {
            return false;
        }
    }
    const bool authored =
        runTool("dvdauthor", {"-o", "dvd", "-t", "a.mpg"}, work) &&
        runTool("dvdauthor", {"-o", "dvd", "-t", "b.mpg"}, work) &&
        runTool("dvdauthor", {"-o", "dvd", "-T"}, work) &&
        runTool("mkisofs", {"-quiet", "-dvd-video", "-o", "disc.iso", "dvd"}, work);
    EXPECT_TRUE(authored) << "dvdauthor or mkisofs failed";
    return authored;
}

}  // namespace twotitledisc
