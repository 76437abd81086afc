#include "app/Forms.h"

namespace vadero {

ProgramForms::ProgramForms(const TransportEnv& transport, TimerFactory& timers)
    : Form1(transport, timers) {
    Form2.setObjectName("Form2");
    Form1.AttachDialogs(AboutBox, SelectForm);
}

}  // namespace vadero
