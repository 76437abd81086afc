#pragma once
// The program's forms, created in this order: the main window, a scratch
// form that is never shown, the About box and the device choice dialog.

#include <QWidget>

#include "app/About.h"
#include "app/Main.h"
#include "app/Select.h"

namespace vadero {

class ProgramForms {
  public:
    ProgramForms(const TransportEnv& transport, TimerFactory& timers);

    TForm1 Form1;
    QWidget Form2;
    TAboutBox AboutBox;
    TSelectForm SelectForm;
};

}  // namespace vadero
