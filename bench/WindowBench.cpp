// The window as the program runs it (reader thread, Qt dispatcher, QTimer)
// against a real-time emulated calibrator, offscreen:
// - the program's start to the first paint, next to a program that shows a
//   bare QWidget of the same size, and one that shows a single label on it
//   (the font database's start-up, which every window with text pays; each a
//   child process of this one); and the window's construction to its first
//   paint in this process;
// - the GUI thread's longest block in one session tick during a read-all, with
//   the calibrator present and with it unplugged.
// Figures are printed, nothing is asserted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Forms.h"
#include "app/QtEnv.h"
#include "app/traffic/TrafficWindow.h"
#include "emulator/EmulatorHid.h"
#include "widgets/Fonts.h"
#include "widgets/Led.h"

namespace vadero {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Notes the first paint event of the widget it watches.
class PaintProbe : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

bool WaitFor(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Timers that note how long each tick keeps the GUI thread.
class TimedTimerFactory : public TimerFactory {
  public:
    double longestMs = 0;
    void Reset() { longestMs = 0; }

    std::unique_ptr<Timer> CreateTimer() override {
        return std::make_unique<TimedTimer>(inner_.CreateTimer(), *this);
    }

  private:
    class TimedTimer : public Timer {
      public:
        TimedTimer(std::unique_ptr<Timer> inner, TimedTimerFactory& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        void Start(std::chrono::milliseconds interval, std::function<void()> tick) override {
            inner_->Start(interval, [this, tick = std::move(tick)] {
                const auto start = Clock::now();
                tick();
                owner_.longestMs = std::max(owner_.longestMs, MsSince(start));
            });
        }
        void Stop() override { inner_->Stop(); }

      private:
        std::unique_ptr<Timer> inner_;
        TimedTimerFactory& owner_;
    };
    QtTimerFactory inner_;
};

struct Surroundings {
    emu::EmulatorHid hid{emu::EmulatorHid::Time::Real};
    QtDispatcher dispatcher;
    TimedTimerFactory timers;
    TransportEnv transport{hid, dispatcher, ReaderMode::Threaded};
    Surroundings() { hid.AddDevice(); }
};

// Construction (when make runs) to the first paint of the shown widget.
double FirstPaintMs(const std::function<QWidget&()>& make) {
    const auto start = Clock::now();
    QWidget& widget = make();
    PaintProbe probe;
    widget.installEventFilter(&probe);
    widget.show();
    WaitFor([&] { return probe.painted; }, 10000);
    const double ms = MsSince(start);
    widget.removeEventFilter(&probe);
    return ms;
}

std::unique_ptr<QWidget> BareWidget(bool labelled = false) {
    auto widget = std::make_unique<QWidget>();
    widget->setFixedSize(TForm1::kClientWidth, TForm1::kClientHeight);
    if (labelled)
        (new QLabel("Connexion", widget.get()))->setFont(QFont("MS Sans Serif", 8));
    return widget;
}

// The child process: a program that shows `what` and says when it painted.
int ShowAndReport(int argc, char** argv, const std::string& what) {
    Application app(argc, argv);
    InstallFontSubstitutes();
    Surroundings env;
    std::unique_ptr<QWidget> bare;
    std::unique_ptr<ProgramForms> forms;
    FirstPaintMs([&]() -> QWidget& {
        if (what == "bare" || what == "label")
            return *(bare = BareWidget(what == "label"));
        forms = std::make_unique<ProgramForms>(env.transport, env.timers);
        return forms->Form1;
    });
    std::puts("painted");
    std::fflush(stdout);
    std::_Exit(0);  // the parent's figure ends at the line above
}

// Spawning to the child's first paint.
double ProgramStartMs(const std::string& what) {
    const std::string command = "/proc/" + std::to_string(QCoreApplication::applicationPid()) +
                                "/exe --first-paint " + what;
    const auto start = Clock::now();
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return -1;
    char line[64] = {};
    const bool painted = std::fgets(line, sizeof line, child) != nullptr;
    const double ms = MsSince(start);
    ::pclose(child);
    return painted && std::strncmp(line, "painted", 7) == 0 ? ms : -1;
}

void FirstPaint(Surroundings& env) {
    std::vector<double> bare, window, started, bareStarted, labelStarted;
    for (int run = 0; run < 6; ++run) {  // the first of each warms up
        std::unique_ptr<QWidget> widget;
        const double b = FirstPaintMs([&]() -> QWidget& { return *(widget = BareWidget()); });
        widget.reset();
        std::unique_ptr<ProgramForms> forms;
        const double f = FirstPaintMs([&]() -> QWidget& {
            forms = std::make_unique<ProgramForms>(env.transport, env.timers);
            return forms->Form1;
        });
        forms.reset();
        const double sb = ProgramStartMs("bare");
        const double sl = ProgramStartMs("label");
        const double sf = ProgramStartMs("vadero");
        if (run == 0)
            continue;
        bare.push_back(b);
        window.push_back(f);
        bareStarted.push_back(sb);
        labelStarted.push_back(sl);
        started.push_back(sf);
    }
    std::printf(
        "construction to first paint (median of %zu): bare QWidget %.1f ms, vadero %.1f ms\n",
        bare.size(), Median(bare), Median(window));
    const double b = Median(bareStarted), l = Median(labelStarted), w = Median(started);
    std::printf(
        "program start to first paint (median of %zu): bare QWidget %.1f ms, with a label %.1f ms,"
        " vadero %.1f ms, ratio %.2f (goal <= 1.5), %.2f to the labelled one\n",
        started.size(), b, l, w, w / b, w / l);
}

void TickBlocks(Surroundings& env) {
    ProgramForms forms(env.transport, env.timers);
    TForm1& form = forms.Form1;
    form.RunModal = [](QDialog&) { return int(QMessageBox::Ok); };
    int completed = 0, timedOut = 0;
    QObject::connect(&form, &TForm1::readAllCompleted, [&] { ++completed; });
    QObject::connect(&form, &TForm1::timedOut, [&] { ++timedOut; });
    form.show();

    env.timers.Reset();
    form.BtnScanClick();  // the connection starts the first read-all
    bool ok = WaitFor([&] { return completed == 1; }, 15000);
    form.BtnReadAllClick();
    ok = ok && WaitFor([&] { return completed == 2; }, 15000);
    std::printf("longest tick, read-all with the calibrator present: %.2f ms (goal <= 10)%s\n",
                env.timers.longestMs, ok ? "" : "  [read-all did not complete]");

    env.hid.Device(1).Unplug();
    ok = WaitFor([&] { return !form.LedConnect->LedStatus(); }, 5000);
    env.timers.Reset();
    form.BtnReadAllClick();
    ok = ok && WaitFor([&] { return timedOut == 1; }, 15000);
    std::printf("longest tick, read-all with the calibrator unplugged: %.2f ms (goal <= 5)%s\n",
                env.timers.longestMs, ok ? "" : "  [no time-out]");
    form.close();
}

// The GUI thread's cost of a frame in the traffic window, shown and listing,
// past its limit so that the oldest frames are dropped on the way.
void TrafficPerFrame(Surroundings& env) {
    ProgramForms forms(env.transport, env.timers);
    TrafficWindow& traffic = *forms.Form1.Trafic;
    traffic.show();
    QApplication::processEvents();
    constexpr int kFrames = 3 * TrafficLog::kCapacity;
    const std::string text = "RX : 64 03 18 00 00 00 01 00 00 00 00 41 45 00 00 00 00 00 00 ";
    QElapsedTimer clock;
    clock.start();
    for (int k = 0; k < kFrames; ++k) {
        traffic.Log().Add(k % 2 == 0, text);
        if (k % 64 == 0)
            QApplication::processEvents();  // a tick's worth of frames, then the event loop
    }
    QApplication::processEvents();
    std::printf("traffic window, GUI thread per frame (%d frames, list full): %.2f us\n", kFrames,
                double(clock.nsecsElapsed()) / 1000.0 / kFrames);
    traffic.close();
}

}  // namespace
}  // namespace vadero

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--first-paint") == 0)
        return vadero::ShowAndReport(argc, argv, argv[2]);
    vadero::Application app(argc, argv);
    vadero::InstallFontSubstitutes();
    vadero::Surroundings env;
    vadero::FirstPaint(env);
    vadero::TickBlocks(env);
    vadero::TrafficPerFrame(env);
    return 0;
}
