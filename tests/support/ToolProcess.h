#pragma once

// One of the program's command-line tools run as a script runs it.

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace bandora::test {

struct ToolRun {
    int status = -1; // -1: crashed or hung
    QString out;
    QString err;
};

inline ToolRun RunTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(QDir(QStringLiteral(BANDORA_BIN_DIR)).filePath(tool), args);
    ToolRun run;
    if (!p.waitForFinished(60000))
        return run;
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

} // namespace bandora::test
