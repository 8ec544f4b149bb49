#pragma once

// tolvex-rename run as the program it is, in a folder, with more variables
// in its environment: those of fault_shim.c (TOLVEX_FAULT_…) load it
// through LD_PRELOAD to put faults in its way.

#include <QByteArrayList>
#include <QProcess>
#include <QProcessEnvironment>

#include <utility>
#include <vector>

// Names as -0 reads them, each ended by a NUL: bytes, so that names that are
// not UTF-8 pass unchanged.
inline QByteArray nulSeparated(const QByteArrayList& names)
{
    QByteArray input;
    for (const QByteArray& name : names)
        input += name + '\0';
    return input;
}

struct ProgramResult {
    int exitCode = -1;
    bool crashed = false;
    QByteArray output;
    QByteArray errors;
};

inline ProgramResult runProgram(const QByteArray& folder, const QStringList& arguments, const QByteArray& input = {},
                                const std::vector<std::pair<QString, QString>>& variables = {})
{
    QProcess program;
    program.setWorkingDirectory(QString::fromLocal8Bit(folder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables) {
        environment.insert(name, value);
        if (name.startsWith(QLatin1String("TOLVEX_FAULT_")))
            environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TOLVEX_FAULT_SHIM));
    }
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOLVEX_RENAME_PATH), arguments);
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(60000))
        qFatal("tolvex-rename did not finish");
    return {program.exitCode(), program.exitStatus() == QProcess::CrashExit, program.readAllStandardOutput(),
            program.readAllStandardError()};
}
