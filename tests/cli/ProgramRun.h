#pragma once

// tolvex-rename run as the program it is, in a folder, with faults put in
// its way through LD_PRELOAD when asked (see fault_shim.c).

#include <QProcess>
#include <QProcessEnvironment>

#include <utility>
#include <vector>

struct ProgramResult {
    int exitCode = -1;
    bool crashed = false;
    QByteArray output;
    QByteArray errors;
};

inline ProgramResult runProgram(const QByteArray& folder, const QStringList& arguments, const QByteArray& input = {},
                                const std::vector<std::pair<QString, QString>>& faults = {})
{
    QProcess program;
    program.setWorkingDirectory(QString::fromLocal8Bit(folder));
    if (!faults.empty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TOLVEX_FAULT_SHIM));
        for (const auto& [name, value] : faults)
            environment.insert(name, value);
        program.setProcessEnvironment(environment);
    }
    program.start(QStringLiteral(TOLVEX_RENAME_PATH), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000))
        qFatal("tolvex-rename did not finish");
    return {program.exitCode(), program.exitStatus() == QProcess::CrashExit, program.readAllStandardOutput(),
            program.readAllStandardError()};
}
