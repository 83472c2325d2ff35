// Time the program memory viewer takes to open on the extended memory's 3472 steps and show the
// last of them, offscreen; it should stay well under a second. A table that builds its rows
// one widget at a time, or measures every row, shows here.
//
//   viewer_bench [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "viewer/view.h"

using namespace orrindale;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir folder;
    Services services;
    services.ProgramFolder = folder.path() + "/";
    ViewerMemory memory;
    memory.On = true;
    memory.Read = [] { return std::vector<TKeyCode>(ViewTable::kExpandedSteps, 046); };
    for (int run = 1; run <= runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        TviewFM view(services, memory, true);
        view.show();
        view.Grid()->scrollToBottom();
        QCoreApplication::processEvents();
        std::printf("run %d: the expanded viewer opened in %lld ms\n", run,
                    static_cast<long long>(clock.elapsed()));
    }
    return 0;
}
