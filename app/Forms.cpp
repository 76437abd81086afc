#include "app/Forms.h"

namespace vadero {

TProgramForms::TProgramForms(const TransportEnv& transport, TimerFactory& timers)
    : Form1(transport, timers) {
    Form2.setObjectName("Form2");
    Form1.AttachDialogs(AboutBox, SelectForm);
}

}  // namespace vadero
