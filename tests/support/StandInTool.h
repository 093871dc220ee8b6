#pragma once
// A shell script that stands in for a command-line tool: written into a
// fresh folder that is put first on PATH while the object lives, so that a
// program looking the tool up on PATH starts the script instead. The script
// runs in the folder the caller starts it in.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class StandInTool {
public:
    // `body` is the script after its "#!/bin/sh" line.
    StandInTool(const QString& tool, const QString& body);
    ~StandInTool();
    StandInTool(const StandInTool&) = delete;
    StandInTool& operator=(const StandInTool&) = delete;

    bool isValid() const { return m_valid; }
    QString folder() const { return m_dir.path(); }
    // A file inside the script's folder, for the script to leave traces in.
    QString tracePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    bool m_valid = false;
};

}  // namespace testsupport
