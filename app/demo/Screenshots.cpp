#include "app/demo/Screenshots.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "app/PageControl.h"

namespace vadero {

namespace {

void Settle() {
    for (int k = 0; k < 3; ++k) QApplication::processEvents();
}

const char* const kPageFiles[] = {"01-connexion",  "02-principal", "03-echelle-utilisateur",
                                  "04-memoires",   "05-rampe",     "06-divers"};

}  // namespace

TScreenshotRun::TScreenshotRun(TProgramForms& forms, emu::EmulatorHid& hid, TDemoPanel& panel,
                               const QDir& dir)
    : forms_(forms), hid_(hid), panel_(panel), dir_(dir) {
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this,
            [this] { Finish(1, "no complete read within the time limit"); });
}

void TScreenshotRun::Start() {
    if (!dir_.mkpath(".")) {
        Finish(1, "cannot create " + dir_.path());
        return;
    }
    connect(&forms_.Form1, &TForm1::readAllCompleted, this, [this] {
        if (started_) return;
        started_ = true;
        QTimer::singleShot(0, this, [this] { TakeAll(); });
    });
    limit_.start(kTimeLimitMs);
}

bool TScreenshotRun::Save(QWidget& widget, const QString& name) {
    Settle();
    const QString path = dir_.filePath(name + ".png");
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "vadero-demo: cannot write %s\n", qPrintable(path));
        failed_ = true;
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void TScreenshotRun::TakeAll() {
    TForm1& form = forms_.Form1;
    for (int page = 0; page < form.PageControl1->count(); ++page) {
        form.PageControl1->setCurrentIndex(page);
        Save(form, kPageFiles[page]);
    }
    form.PageControl1->setCurrentIndex(1);

    while (hid_.DeviceCount() < 2) hid_.AddDevice();
    form.FillSelectForm(form.LCX1().DeviceCount());
    forms_.SelectForm.show();
    Save(forms_.SelectForm, "07-selection");
    forms_.SelectForm.hide();

    forms_.AboutBox.show();
    Save(forms_.AboutBox, "08-a-propos");
    forms_.AboutBox.hide();

    TimeOutPicture();
}

void TScreenshotRun::TimeOutPicture() {
    TForm1& form = forms_.Form1;
    form.RunModal = [this](QDialog& dialog) {
        dialog.show();
        Save(dialog, "09-allumer-le-calibrateur");
        dialog.hide();
        QTimer::singleShot(0, this, [this] {
            hid_.Device(1).PowerOn();
            panel_.Refresh();
            Save(panel_, "10-panneau");
            Finish(failed_ ? 1 : 0);
        });
        return int(QMessageBox::Ok);
    };
    hid_.Device(1).PowerOff();
    form.BtnReadAllClick();
}

void TScreenshotRun::Finish(int code, const QString& reason) {
    limit_.stop();
    if (!reason.isEmpty()) std::fprintf(stderr, "vadero-demo: %s\n", qPrintable(reason));
    QApplication::exit(code);
}

}  // namespace vadero
