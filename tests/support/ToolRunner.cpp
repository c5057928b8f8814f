// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ToolRunner.h"

#include <QProcess>
#include <QStringList>

ToolResult runTool(const std::vector<std::string>& args, const std::string& program) {
    QProcess p;
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    p.start(program.empty() ? QStringLiteral(QV_BIN_DIR "/quorvex-tool")
                            : QString::fromStdString(program),
            list);
    ToolResult r;
    if (!p.waitForFinished(60000)) return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}
