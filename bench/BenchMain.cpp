// The main of every benchmark executable: the widgets need a QApplication,
// made before Google Benchmark reads its own options.
#include "bench/BenchSupport.h"
#include "platform/WaylandDecorations.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    leaveDecorationsToCompositor(); // as the program's main does
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex File Renamer"));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    runTeardowns();
    return 0;
}
