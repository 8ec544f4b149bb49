#include "cli/CommandLine.h"
#include "cli/LargeHeapPages.h"
#include "runs/RenameRun.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

int main(int argc, char* argv[])
{
    useLargeHeapPages();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvex-rename"));
    // A reader that goes away (| head) must not end the program between a
    // rename and its record: writing then fails, and the run says so.
    std::signal(SIGPIPE, SIG_IGN);
    // Nor a limit on the size of files (a journal grown past it): the write
    // then fails, and the run says so.
    std::signal(SIGXFSZ, SIG_IGN);
    const ParsedCommandLine parsed = parseCommandLine(argc, argv);
    if (const auto* text = std::get_if<ShowText>(&parsed)) {
        std::fputs(text->text.c_str(), stdout);
        return std::fflush(stdout) == 0 ? AllDone : SomeFailed;
    }
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "tolvex-rename: %s\nTry tolvex-rename --help.\n", error->message.c_str());
        return BadUsage;
    }
    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    return runRename(std::get<Invocation>(parsed), stdin, stdout, stderr);
}
