#pragma once
// What a page of the main window needs of the window around it.

#include <QString>
#include <functional>

#include "app/NumberField.h"
#include "calibrator/LCX.h"

namespace vadero {

class PageHost {
  public:
    // The calibrator component; its Params is the parameter set every page
    // shows and edits.
    virtual TLCX& LCX1() = 0;
    // Checks the change indicator "Changement".
    virtual void CheckChange() = 0;
    virtual bool ChangeChecked() const = 0;
    // Replaces the status line's text.
    virtual void SetStatus(const QString& text) = 0;
    // Asks "Vous devez d'abord transférer les nouveaux paramètres ?"; true on OK.
    virtual bool AskWriteAllFirst() = 0;
    // The complete write, as its foot button starts it.
    virtual void BtnWriteAllClick() = 0;
    // Starts a transfer of the page (a measurement, an output command) now,
    // or as soon as a measurement of the trend already on the line is answered.
    virtual void StartTransfer(std::function<void()> start) = 0;

    // What a numeric entry of a page took: its message on the status line
    // (a value taken as typed leaves no older message there), and
    // "Changement" checked when a value to be written changed.
    void Took(const Taking& taking) {
        if (!taking.message.isEmpty() || taking.changed)
            SetStatus(taking.message);
        if (taking.changed)
            CheckChange();
    }

  protected:
    ~PageHost() = default;
};

}  // namespace vadero
