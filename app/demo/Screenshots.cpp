#include "app/demo/Screenshots.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

#include "app/NumberEntry.h"
#include "app/PageControl.h"
#include "app/check/CheckFields.h"
#include "app/check/LoopCheckDialog.h"
#include "app/check/PointTable.h"
#include "app/files/ParameterFile.h"
#include "app/traffic/TrafficWindow.h"
#include "app/trend/TrendWindow.h"
#include "calibrator/RegisterMap.h"

namespace vadero {

namespace {

void Settle() {
    for (int k = 0; k < 3; ++k) QApplication::processEvents();
}

const char* const kPageFiles[] = {"01-connexion", "02-principal", "03-echelle-utilisateur",
                                  "04-memoires",  "05-rampe",     "06-divers"};

}  // namespace

ScreenshotRun::ScreenshotRun(ProgramForms& forms, emu::EmulatorHid& hid, DemoPanel& panel,
                             const QDir& dir)
    : forms_(forms), hid_(hid), panel_(panel), dir_(dir) {
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this,
            [this] { Finish(1, "the picture run did not end within its time limit"); });
}

void ScreenshotRun::Start() {
    if (!dir_.mkpath(".")) {
        Finish(1, "cannot create " + dir_.path());
        return;
    }
    connect(&forms_.Form1, &TForm1::readAllCompleted, this, [this] {
        if (started_)
            return;
        started_ = true;
        watch_.stop();
        QTimer::singleShot(0, this, [this] { TakeAll(); });
    });
    limit_.start(kTimeLimitMs);
    // The traffic window is open from the start, to be seen half-way through
    // the first read.
    forms_.Form1.ActTraficClick();
    connect(&watch_, &QTimer::timeout, this, [this] { WatchTraffic(); });
    watch_.start(50);
}

void ScreenshotRun::WatchTraffic() {
    TForm1& form = forms_.Form1;
    if (trafficTaken_ || form.ProgressBar->value() < 40)
        return;
    trafficTaken_ = true;
    Save(*form.Trafic, "11-trafic-pendant-lecture");
    form.Trafic->hide();
}

bool ScreenshotRun::Save(QWidget& widget, const QString& name) {
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

void ScreenshotRun::TakeAll() {
    limit_.start(kTrendMs + kTimeLimitMs);
    TForm1& form = forms_.Form1;
    if (!trafficTaken_) {
        std::fprintf(stderr, "vadero-demo: the read ended before the traffic picture\n");
        failed_ = true;
    }
    for (int page = 0; page < form.PageControl1->count(); ++page) {
        form.PageControl1->setCurrentIndex(page);
        Save(form, kPageFiles[page]);
    }
    form.PageControl1->setCurrentIndex(1);
    MenuPicture();

    while (hid_.DeviceCount() < 2) hid_.AddDevice();
    form.FillSelectForm(form.LCX1().DeviceCount());
    forms_.SelectForm.show();
    Save(forms_.SelectForm, "07-selection");
    forms_.SelectForm.hide();

    forms_.AboutBox.show();
    Save(forms_.AboutBox, "08-a-propos");
    forms_.AboutBox.hide();

    ComparePicture();
    LoopCheckPicture([this] { WritePicture(); });
}

void ScreenshotRun::MenuPicture() {
    TForm1& form = forms_.Form1;
    QMenu& menu = *form.MenuFichier;
    const QRect item = form.MenuBar1->actionGeometry(menu.menuAction());
    menu.popup(form.MenuBar1->mapToGlobal(item.bottomLeft()));
    Settle();
    // The menu is a window of its own: drawn onto the main window's picture.
    QPixmap picture = form.grab();
    QPainter(&picture).drawPixmap(form.MenuBar1->mapTo(&form, item.bottomLeft()), menu.grab());
    menu.hide();
    const QString path = dir_.filePath("12-menu-fichier.png");
    if (!picture.save(path)) {
        std::fprintf(stderr, "vadero-demo: cannot write %s\n", qPrintable(path));
        failed_ = true;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void ScreenshotRun::ComparePicture() {
    TForm1& form = forms_.Form1;
    const QTemporaryDir scratch;
    const QString path = scratch.filePath("parametres-lcx3.json");
    // A file whose filter, one memory and the ramp's delay differ from the pages.
    RegisterImage image = form.LCX1().Master().HoldingRegisters;
    TLCXParams file(image);
    file.SetFilter(file.Filter() == 4 ? 6 : 4);
    file.SetMemory(Memory420mA, 2, file.Memory(Memory420mA, 2) + 800);
    file.SetRampDelay(file.RampDelay() == 10 ? 20 : 10);
    const std::string why = WriteParameterFile(path.toStdString(), file);
    if (!scratch.isValid() || !why.empty()) {
        std::fprintf(stderr, "vadero-demo: cannot write the file to compare: %s\n", why.c_str());
        failed_ = true;
        return;
    }
    const ChooseFileFn choose = form.ChooseFile;
    const std::function<int(QDialog&)> run = form.RunModal;
    form.ChooseFile = [path](QWidget*, const FileChoice&) { return QString(path); };
    form.RunModal = [this](QDialog& dialog) {
        dialog.show();
        Save(dialog, "13-comparaison");
        dialog.hide();
        return int(QDialog::Accepted);
    };
    form.ActComparerClick();
    form.ChooseFile = choose;
    form.RunModal = run;
}

void ScreenshotRun::LoopCheckPicture(const std::function<void()>& then) {
    TForm1& form = forms_.Form1;
    form.ActBoucleClick();
    LoopCheckDialog& dialog = *form.Boucle;
    CheckFields& fields = *dialog.Fields;
    fields.EdTag->setText("TT-101");
    fields.EdUpper->setText("150");
    fields.EdUnit->setText("degC");
    fields.EdTechnician->setText("J. Dupont");
    dialog.BtnStartClick();
    // The technician's readings, the third out of tolerance.
    auto* const typist = new QTimer(this);
    connect(typist, &QTimer::timeout, this,
            [this, &dialog, typist, then,
             readings = QStringList{"0.1", "37.6", "75.5", "112.4", "150"}]() mutable {
                if (NumberEntry* entry = dialog.Table->Asked(); entry && !readings.empty()) {
                    entry->setText(readings.takeFirst());
                    entry->Take();
                } else if (!dialog.Running()) {
                    typist->stop();
                    typist->deleteLater();
                    Save(dialog, "18-verification-de-boucle");
                    dialog.hide();
                    then();
                }
            });
    typist->start(100);
}

void ScreenshotRun::WritePicture() {
    TForm1& form = forms_.Form1;
    emu::EmulatedLcx3& device = hid_.Device(1);
    // Another filter, written as "Ecriture complète" does: the traffic lists
    // the write's blocks and the panel marks what the calibrator stored.
    TLCXParams& params = form.LCX1().Params();
    params.SetFilter(params.Filter() == 5 ? 6 : 5);
    const std::uint32_t lastBlock = device.WriteCount(kWriteAllBlocks.back().first);
    form.Trafic->Log().Clear();
    form.ActTraficClick();
    form.BtnWriteAllClick();
    auto* const wait = new QTimer(this);
    connect(wait, &QTimer::timeout, this, [this, &form, &device, wait, lastBlock] {
        if (device.WriteCount(kWriteAllBlocks.back().first) == lastBlock ||
            form.StatusText() != TForm1::tr("Ecriture des paramètres terminée"))
            return;
        delete wait;
        panel_.Refresh();
        Save(panel_, "15-registres-apres-ecriture");
        Save(*form.Trafic, "16-trafic-ecriture");
        form.Trafic->hide();
        TrendPicture();
    });
    wait->start(50);
}

void ScreenshotRun::DesktopPicture(const QString& name) {
    Settle();
    const QScreen* screen = forms_.Form1.screen();
    const QRect area = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    QPixmap desktop(area.size() * ratio);
    desktop.setDevicePixelRatio(ratio);
    desktop.fill(QColor(0x3A, 0x6E, 0xA5));
    QPainter painter(&desktop);
    // In the order they were opened: whatever covers another shows over it.
    QList<QWidget*> windows{&forms_.Form1, &panel_, forms_.Form1.Tendance, forms_.Form1.Trafic};
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!windows.contains(w) && !qobject_cast<QMenu*>(w))
            windows << w;
    for (QWidget* w : windows) {
        if (!w->isVisible())
            continue;
        const QRect frame = w->frameGeometry().translated(-area.topLeft());
        painter.drawPixmap(frame.topLeft(), w->grab());
        painter.setPen(Qt::black);
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
    painter.end();
    const QString path = dir_.filePath(name + ".png");
    if (!desktop.save(path)) {
        std::fprintf(stderr, "vadero-demo: cannot write %s\n", qPrintable(path));
        failed_ = true;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

void ScreenshotRun::TrendPicture() {
    // The calibrator is put in "Mesure courant" and read again, so that the
    // trend follows the loop's signal, which drifts slowly as a transmitter's
    // would while its process settles.
    hid_.Device(1).SetHolding(1, 3);
    hid_.Device(1).SetMeasuredInput(kTrendStart);
    auto* const drift = new QTimer(this);
    connect(drift, &QTimer::timeout, this, [this, step = 0]() mutable {
        ++step;
        const double wave = std::sin(step / 9.0) * 1400 + step * 40;
        hid_.Device(1).SetMeasuredInput(static_cast<std::int16_t>(kTrendStart + wave));
    });
    TForm1& form = forms_.Form1;
    auto* const once = new QObject(this);
    connect(&form, &TForm1::readAllCompleted, once, [this, &form, drift, once] {
        delete once;
        drift->start(1000);
        form.ActTendanceClick();
        QTimer::singleShot(kTrendMs, this, [this, &form, drift] {
            drift->stop();
            Save(*form.Tendance, "14-tendance");
            form.ActTraficClick();
            DesktopPicture("17-bureau");
            form.Trafic->hide();
            form.Tendance->hide();
            TimeOutPicture();
        });
    });
    form.BtnReadAllClick();
}

void ScreenshotRun::TimeOutPicture() {
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

void ScreenshotRun::Finish(int code, const QString& reason) {
    limit_.stop();
    if (!reason.isEmpty())
        std::fprintf(stderr, "vadero-demo: %s\n", qPrintable(reason));
    QApplication::exit(code);
}

}  // namespace vadero
