// Pace of the plotter's motion: the pen is sent across the whole sheet, (0, 0) to (7500, 5000)
// with the pen down, on the real window (offscreen), once with ordinary repaints and once with
// every repaint made slower than a frame, as on a slow machine. The motion is paced by its clock,
// not by how many repaints get done, so both moves should take the same time:
// 7500 / plotSpeed frames of 20 ms. Beside the time, the process's CPU time over the wall time
// of the move shows that no core spins while the pen travels.
//
//   plotter_bench [slow repaint ms] [plotSpeed] [--check]
//
// With --check the exit status is 1 when the two times differ by more than a factor of 1.2 or
// the ordinary move takes 30% of a core or more.
#include <sys/resource.h>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "common/programfiles.h"
#include "plotter/plotart.h"
#include "plotter/plotwindow.h"

using namespace orrindale;

namespace {

// Holds every repaint of the window back for a while before it is done.
class SlowPaint : public QObject {
public:
    explicit SlowPaint(int milliseconds) : ms_(milliseconds) {}
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (ms_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms_));
        }
        return false;
    }

private:
    int ms_;
};

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool WriteBody(const QString& path) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!plotart::Body().save(&buffer, "PNG")) return false;
    for (char& c : png)
        c = static_cast<char>(c ^ 0xB7);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(png) == png.size();
}

struct Result {
    double wall = 0, cpu = 0;
    int paints = 0;
};

Result FullSheetMove(const QString& folder, int paintMs, int speed) {
    Services services;
    services.ProgramFolder = folder;
    TplotFM window(services, {[] { return true; }, nullptr, nullptr, nullptr, nullptr});
    window.LoadPicture();
    SlowPaint slow(paintMs);
    window.installEventFilter(&slow);
    window.show();
    PlotterModel& model = window.Model();
    // Zeros at the sheet's corner and no trim, so (7500, 5000) is the far corner.
    for (int knob = 1; knob <= 4; ++knob)
        model.SetKnob(knob, knob <= 2 ? 0 : 125);
    model.plotSpeed = speed;
    model.SetMode(true, false);
    model.Finish();
    model.PlotterCommand(2, 0, 0, 0, false, false); // lowers the pen where it stands
    QCoreApplication::processEvents();
    slow.paints = 0;
    QElapsedTimer wall;
    const double cpu0 = CpuSeconds();
    wall.start();
    model.PlotterCommand(2, 0, plot::kMaxX, plot::kMaxY, false, false);
    while (model.moving)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Result r;
    r.wall = wall.nsecsElapsed() / 1e9;
    r.cpu = CpuSeconds() - cpu0;
    r.paints = slow.paints;
    if (model.penX != plot::kMaxX || model.penY != plot::kMaxY)
        std::fprintf(stderr, "the pen stopped at (%d, %d)\n", model.penX, model.penY);
    return r;
}

void Print(const char* name, const Result& r) {
    std::printf("%-22s %6.3f s  %4d repaints  CPU %5.3f s = %5.1f%% of a core\n", name, r.wall,
                r.paints, r.cpu, 100.0 * r.cpu / r.wall);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool check = false;
    int numbers[2] = {35, plot::kDefaultSpeed}, n = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0)
            check = true;
        else if (n < 2)
            numbers[n++] = std::atoi(argv[i]);
    }
    const int slowMs = numbers[0], speed = numbers[1];
    if (speed <= 0 || slowMs < 0) {
        std::fprintf(stderr, "usage: plotter_bench [slow repaint ms] [plotSpeed] [--check]\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    if (!WriteBody(folder + files::kPlotterPicture)) return 2;
    const double expected = double(plot::kMaxX) / speed * TplotFM::kFrameMs / 1000.0;
    std::printf("full-sheet move at plotSpeed %d: %.0f frames of %d ms = %.3f s expected\n", speed,
                double(plot::kMaxX) / speed, TplotFM::kFrameMs, expected);
    const Result fast = FullSheetMove(folder, 0, speed);
    Print("ordinary repaints", fast);
    char name[40];
    std::snprintf(name, sizeof name, "repaints of %d ms", slowMs);
    const Result slow = FullSheetMove(folder, slowMs, speed);
    Print(name, slow);
    const double ratio = std::max(fast.wall, slow.wall) / std::min(fast.wall, slow.wall);
    const double load = fast.cpu / fast.wall;
    std::printf("time ratio %.3f (limit 1.2), ordinary move %.1f%% of a core (limit 30%%)\n", ratio,
                100.0 * load);
    return check && (ratio > 1.2 || load >= 0.3) ? 1 : 0;
}
