// vadero: the configuration window on the kernel's hidraw nodes.
#include "app/Application.h"
#include "app/Forms.h"
#include "app/QtEnv.h"
#include "app/StartOptions.h"
#include "transport/hidraw/HidrawLayer.h"
#include "widgets/Fonts.h"

int main(int argc, char** argv) {
    // Answered before the toolkit starts, which needs a display.
    const vadero::StartRequest start = vadero::ReadStartOptions(
        {argv, argv + argc}, {"vadero",
                              "The configuration window of the LCX3 loop calibrator.",
                              {vadero::LanguageOption()}});
    if (vadero::AnswerStart(start))
        return start.code;
    vadero::Application app(argc, argv, vadero::StartLanguage(start));
    QGuiApplication::setDesktopFileName(QStringLiteral("vadero"));
    vadero::InstallFontSubstitutes();
    vadero::HidrawLayer hid;
    vadero::QtDispatcher dispatcher;
    vadero::QtTimerFactory timers;
    vadero::ProgramForms forms(vadero::TransportEnv{hid, dispatcher, vadero::ReaderMode::Threaded},
                               timers);
    forms.Form1.show();
    return app.exec();
}
