#include "widgets/MultiLangue.h"

namespace vadero {

TLangue LangueCourante = TLangue::Anglais;
bool RefreshingSiblings = false;

void TMultiLangue::SetLangue(TLangue v) {
    if (v == LangueCourante) {
        return;
    }
    LangueCourante = v;
    if (OnChangeLangue) {
        OnChangeLangue(this);
    }
}

const QString& TMultiLangue::Texte() const {
    return Langue() == TLangue::Francais ? Texte_Francais : Texte_Anglais;
}

}  // namespace vadero
