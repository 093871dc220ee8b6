#include "StandInTool.h"

#include <QFile>

#include "TestSupport.h"

namespace testsupport {

StandInTool::StandInTool(const QString& tool, const QString& body)
    : m_dir(makeTempDir()), m_oldPath(qgetenv("PATH"))
{
    QFile script(m_dir.filePath(tool));
    if (!m_dir.isValid() || !script.open(QIODevice::WriteOnly)) {
        return;
    }
    script.write("#!/bin/sh\n" + body.toUtf8() + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(m_dir.path()) + ":" + m_oldPath);
    m_valid = true;
}

StandInTool::~StandInTool()
{
    qputenv("PATH", m_oldPath);
}

}  // namespace testsupport
