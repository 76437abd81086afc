// vadero-demo: the configuration window with emulated calibrators attached,
// and a panel that plays the calibrator's part.
#include <QCommandLineParser>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/Application.h"
#include "app/Forms.h"
#include "app/QtEnv.h"
#include "app/StartOptions.h"
#include "app/demo/DemoPanel.h"
#include "app/demo/DemoWindows.h"
#include "app/demo/QuitOnSignals.h"
#include "app/demo/Screenshots.h"
#include "emulator/BankJson.h"
#include "emulator/EmulatorHid.h"
#include "emulator/StateFile.h"
#include "widgets/Fonts.h"

namespace {

constexpr int kMaxDevices = 8;

}  // namespace

int main(int argc, char** argv) {
    // Answered before the toolkit starts, which needs a display.
    const vadero::StartRequest start = vadero::ReadStartOptions(
        {argv, argv + argc},
        {"vadero-demo",
         "The VADERO window with emulated LCX3 calibrators attached.",
         {{"devices", "N", "number of emulated calibrators (1 to 8)"},
          {"screenshots", "DIR", "write PNG pictures of the windows to DIR, then exit"},
          {"emulator-state", "FILE", "keep calibrator 1's registers in FILE between runs"},
          vadero::LanguageOption()}});
    if (vadero::AnswerStart(start))
        return start.code;
    // Before any thread starts: Ctrl-C and SIGTERM end the loop, and the state is still saved.
    vadero::QuitOnSignals quitOnSignals;
    vadero::Application app(argc, argv, vadero::StartLanguage(start));
    vadero::Application::setApplicationName("VADERO");
    vadero::InstallFontSubstitutes();

    QCommandLineParser parser;
    parser.setApplicationDescription("The VADERO window with emulated LCX3 calibrators attached.");
    parser.addHelpOption();
    const QCommandLineOption devicesOption("devices", "Number of emulated calibrators (1 to 8).",
                                           "N", "1");
    const QCommandLineOption screenshotsOption(
        "screenshots", "Write PNG pictures of the window and dialogs to DIR, then exit.", "DIR");
    const QCommandLineOption stateOption(
        "emulator-state", "The first calibrator's registers, read from FILE and saved at exit.",
        "FILE");
    const QCommandLineOption langOption("lang", "The window's language.", "fr|en");
    parser.addOption(devicesOption);
    parser.addOption(screenshotsOption);
    parser.addOption(stateOption);
    parser.addOption(langOption);
    parser.process(app);

    bool ok = false;
    const int devices = parser.value(devicesOption).toInt(&ok);
    if (!ok || devices < 1 || devices > kMaxDevices) {
        std::fprintf(stderr, "vadero-demo: --devices takes a number from 1 to %d\n", kMaxDevices);
        return 2;
    }

    vadero::emu::EmulatorHid hid(vadero::emu::EmulatorHid::Time::Real);
    for (int k = 0; k < devices; ++k) hid.AddDevice();
    std::unique_ptr<vadero::emu::StateFile> state;
    if (parser.isSet(stateOption)) {
        try {
            state = std::make_unique<vadero::emu::StateFile>(
                hid.Device(1), parser.value(stateOption).toStdString());
            state->Save();  // a file that cannot be written is refused before any work
        } catch (const vadero::emu::BankFileError& e) {
            std::fprintf(stderr, "vadero-demo: emulator state: %s\n", e.what());
            return 2;
        }
    }
    vadero::QtDispatcher dispatcher;
    vadero::QtTimerFactory timers;
    vadero::ProgramForms forms(vadero::TransportEnv{hid, dispatcher, vadero::ReaderMode::Threaded},
                               timers);
    vadero::DemoPanel panel(hid);
    panel.setAttribute(Qt::WA_QuitOnClose, false);
    vadero::ShowBeside(forms.Form1, panel);

    std::unique_ptr<vadero::ScreenshotRun> screenshots;
    if (parser.isSet(screenshotsOption)) {
        screenshots = std::make_unique<vadero::ScreenshotRun>(
            forms, hid, panel, QDir(parser.value(screenshotsOption)));
        screenshots->Start();
        // The first calibrator is opened directly: no dialog in the picture run.
        QTimer::singleShot(0, &forms.Form1, [&forms] { forms.Form1.LCX1().OpenDevice(1); });
    } else {
        QTimer::singleShot(0, &forms.Form1, [&forms] { forms.Form1.BtnScanClick(); });
    }
    quitOnSignals.Watch(0);
    int code = app.exec();
    if (state) {
        // The reader stopped first: no request still on the line changes the bank after it.
        forms.Form1.LCX1().CloseDevice();
        try {
            state->Save();
        } catch (const vadero::emu::BankFileError& e) {
            std::fprintf(stderr, "vadero-demo: emulator state not saved: %s\n", e.what());
            code = code == 0 ? 1 : code;
        }
    }
    return code;
}
