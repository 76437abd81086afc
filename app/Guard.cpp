#include "app/Guard.h"

#include <QString>
#include <exception>

#include "app/Application.h"

namespace vadero {

void RunGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        Application::ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        Application::ShowException(Application::tr("Erreur inconnue"));
    }
}

}  // namespace vadero
