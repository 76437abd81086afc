#include "app/check/LoopCheckDialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/NumberEntry.h"
#include "app/check/CheckFields.h"
#include "app/check/CheckTexts.h"
#include "app/check/ErrorPlot.h"
#include "app/check/PointTable.h"
#include "app/files/FileMessages.h"
#include "report/RecordFiles.h"

namespace vadero {

namespace {

constexpr double kLargestReading = 1e9;

QPushButton* Button(const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

LoopCheckDialog::LoopCheckDialog(PageHost& host, LoopCheckWindow window, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Fields(new CheckFields),
      BtnStart(Button(tr("Démarrer"), "BtnStart")),
      BtnStop(Button(tr("Arrêter"), "BtnStop")),
      BtnSave(Button(tr("Enregistrer le rapport"), "BtnSave")),
      LblVerdict(new QLabel),
      LblStatus(new QLabel),
      Table(new PointTable),
      Plot(new ErrorPlot(runner_.Record())),
      host_(host),
      window_(std::move(window)),
      runner_(host.LCX1(),
              [&host](std::function<void()> start) { host.StartTransfer(std::move(start)); }) {
    setObjectName(QStringLiteral("LoopCheckDialog"));
    setWindowTitle(tr("Vérification de boucle"));
    LblVerdict->setObjectName(QStringLiteral("LblVerdict"));
    QFont large = LblVerdict->font();
    large.setPointSize(large.pointSize() + 6);
    large.setBold(true);
    LblVerdict->setFont(large);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setWordWrap(true);
    LblStatus->setMinimumHeight(2 * LblStatus->fontMetrics().lineSpacing());
    LblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnStart);
    buttons->addWidget(BtnStop);
    buttons->addWidget(BtnSave);
    buttons->addStretch();
    buttons->addWidget(LblVerdict);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Fields);
    layout->addLayout(buttons);
    layout->addWidget(Table, 1);
    layout->addWidget(Plot, 1);
    layout->addWidget(LblStatus);
    resize(720, 700);

    Fields->OnMessage = [this](const QString& text) { Say(text); };
    runner_.OnChanged = [this] { ShowRun(); };
    connect(BtnStart, &QPushButton::clicked, this, Guarded([this] { BtnStartClick(); }));
    connect(BtnStop, &QPushButton::clicked, this, Guarded([this] { BtnStopClick(); }));
    connect(BtnSave, &QPushButton::clicked, this, Guarded([this] { BtnSaveClick(); }));
    BtnStop->setEnabled(false);
    BtnSave->setEnabled(false);
}

LoopCheckDialog::~LoopCheckDialog() {
    // The session may outlive the dialog by a little: nothing reaches it.
    runner_.OnChanged = nullptr;
    Fields->OnMessage = nullptr;
    Table->EndAsking();
}

void LoopCheckDialog::Say(const QString& text) {
    LblStatus->setText(text);
}

void LoopCheckDialog::BtnStartClick() {
    if (runner_.Running())
        return;
    QString refusal;
    const std::optional<check::Settings> settings = Fields->Settings(refusal);
    if (!settings)
        return Say(refusal);
    if (!window_.ready())
        return Say(
            tr("Aucun calibrateur lu : le connecter et attendre la fin de la lecture "
               "complète. Rien n'est envoyé."));
    // The check runs with the calibrator's parameters, not edits still to write.
    if (host_.ChangeChecked()) {
        if (host_.AskWriteAllFirst())
            host_.BtnWriteAllClick();
        return;
    }
    if (!UnsavedMayGo(tr("Le rapport de la vérification précédente n'a pas été enregistré.")))
        return;
    TLCX& lcx = host_.LCX1();
    auto plan = check::TryPlanPoints(*settings, lcx.Params());
    if (const auto* refused = std::get_if<check::PlanRefusal>(&plan))
        return Say(PlanRefusalText(*refused) + " " + tr("Rien n'est envoyé."));
    check::Record record;
    record.settings = *settings;
    record.plan = std::get<check::PointPlan>(std::move(plan));
    record.calibrator = SeenOf(lcx);
    record.tool = std::string("vadero ") + VADERO_VERSION;
    Table->ShowPlan(record);
    saved_ = false;
    held_ = true;
    window_.hold(true);
    runner_.Begin(std::move(record));
}

void LoopCheckDialog::BtnStopClick() {
    // A reading being typed is taken first, as leaving its cell would.
    if (NumberEntry* entry = Table->Asked())
        entry->Take();
    runner_.Stop();
}

void LoopCheckDialog::ShowRun() {
    const check::Record& r = runner_.Record();
    const bool running = runner_.Running();
    const LoopCheckRunner::Phase phase = runner_.CurrentPhase();
    Table->ShowTaken(r);
    const bool readBack =
        phase == LoopCheckRunner::Phase::Reading || phase == LoopCheckRunner::Phase::Dwell;
    if (r.settings.mode == check::Mode::Source && runner_.Current() && readBack)
        Table->ShowGenerated(int(r.points.size()), Value3(runner_.Generated()));
    if (phase == LoopCheckRunner::Phase::Reading)
        AskReading();
    else
        Table->EndAsking();
    Plot->update();
    LblStatus->setText(RunText(runner_));
    const check::Verdict verdict = r.Result();
    const bool judged = phase == LoopCheckRunner::Phase::Done || verdict == check::Verdict::Fail;
    LblVerdict->setText(judged ? VerdictText(verdict) : QString());
    LblVerdict->setStyleSheet(verdict == check::Verdict::Pass   ? "color: #1a8033"
                              : verdict == check::Verdict::Fail ? "color: #bf1a1a"
                                                                : "color: #cc7300");
    Fields->setEnabled(!running);
    BtnStart->setEnabled(!running);
    BtnStop->setEnabled(running && phase != LoopCheckRunner::Phase::Lowering);
    BtnSave->setEnabled(phase == LoopCheckRunner::Phase::Done);
    if (!running && std::exchange(held_, false))
        window_.hold(false);
}

void LoopCheckDialog::AskReading() {
    const check::PlannedPoint* point = runner_.Current();
    if (point == nullptr)
        return;
    const check::Settings& s = runner_.Record().settings;
    const int row = int(runner_.Record().points.size());
    NumberField field;
    field.what = s.mode == check::Mode::Source ? tr("la lecture du point %1").arg(point->number)
                                               : tr("l'entrée du point %1").arg(point->number);
    field.unit = QString::fromStdString(s.instrument.unit);
    field.min = -kLargestReading;
    field.max = kLargestReading;
    field.show = [](double v) { return ReadingText(v); };
    field.held = [this] { return reading_; };
    field.store = [this](double v) { reading_ = v; };
    NumberEntry& entry = Table->AskReading(row, std::move(field));
    entry.OnTaken = Guarded([this](const Taking& taking) {
        if (taking.taken && reading_)
            runner_.Reading(*std::exchange(reading_, std::nullopt));
        // Refused, limited or rounded: said above what the run asks next.
        if (!taking.message.isEmpty())
            Say(taking.message + "\n" + RunText(runner_));
    });
}

bool LoopCheckDialog::BtnSaveClick() {
    if (runner_.CurrentPhase() != LoopCheckRunner::Phase::Done)
        return false;
    FileChoice choice{tr("Enregistrer le rapport dans le dossier"), QString(),
                      folder_.isEmpty() ? QDir::homePath() : folder_, false};
    choice.folder = true;
    const QString folder = window_.chooseFile(this, choice);
    if (folder.isEmpty())
        return false;
    folder_ = folder;
    const report::WrittenRecord written =
        report::WriteRecordFiles(runner_.Record(), folder.toStdString());
    if (!written.error.empty()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        tr("Le rapport n'a pas été enregistré dans %1 :\n%2")
                            .arg(folder, SystemReason(written.error)),
                        QMessageBox::Ok, this);
        window_.runModal(box);
        return false;
    }
    saved_ = true;
    Say(tr("Rapport enregistré dans %1 : %2 (JSON, CSV et PDF)")
            .arg(folder,
                 QFileInfo(QString::fromStdString(written.files.front())).completeBaseName()));
    return true;
}

bool LoopCheckDialog::UnsavedMayGo(const QString& question) {
    if (saved_ || runner_.Record().points.empty())
        return true;
    QMessageBox box(QMessageBox::Warning, windowTitle(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("QuestionUnsavedRecord"));
    box.button(QMessageBox::Save)->setText(tr("Enregistrer"));
    box.button(QMessageBox::Discard)->setText(tr("Abandonner"));
    box.button(QMessageBox::Cancel)->setText(tr("Annuler"));
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (window_.runModal(box)) {
        case QMessageBox::Save:
            return BtnSaveClick();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

bool LoopCheckDialog::AllowClose() {
    if (runner_.Running()) {
        show();
        raise();
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        tr("Une vérification de boucle est en cours : l'arrêter d'abord."),
                        QMessageBox::Ok, this);
        window_.runModal(box);
        return false;
    }
    return UnsavedMayGo(tr("Le rapport de la vérification de boucle n'a pas été enregistré."));
}

void LoopCheckDialog::closeEvent(QCloseEvent* event) {
    // Closed during a run: the run stops as "Arrêter" stops it; its record stays here.
    BtnStopClick();
    QWidget::closeEvent(event);
}

}  // namespace vadero
