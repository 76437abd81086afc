#pragma once
// The bilingual text set: a French and an English text, of which the display
// language's one is shown. The display language is French whatever is written.

#include <QObject>
#include <QString>
#include <cstdint>

#include "widgets/WidgetEvents.h"

namespace vadero {

enum class TLangue : std::uint8_t { Anglais = 0, Francais = 1 };

// The language last written to any text set; only the Langue writer reads it.
extern TLangue LangueCourante;
// True while a captioned control refreshes the other controls of its parent.
extern bool RefreshingSiblings;

class TMultiLangue : public QObject {
    Q_OBJECT

  public:
    explicit TMultiLangue(QObject* parent = nullptr) : QObject(parent) {}

    QString Texte_Francais;
    QString Texte_Anglais;
    // Raised when a write of Langue changes LangueCourante; the owner sets it.
    WidgetNotifyEvent OnChangeLangue;

    TLangue Langue() const { return TLangue::Francais; }
    // Records v process-wide; the set itself keeps no language.
    void SetLangue(TLangue v);
    // The text of the language that Langue reads.
    const QString& Texte() const;
};

}  // namespace vadero
