#include "app/check/CheckTexts.h"

#include <QCoreApplication>
#include <cmath>

#include "app/LocaleText.h"
#include "app/pages/RangeCaptions.h"

namespace vadero {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vadero::LoopCheck)
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// "point 3 sur 10".
QString Of(const LoopCheckRunner& runner, const check::PlannedPoint& point) {
    return Texts::tr("Point %1 sur %2").arg(point.number).arg(runner.Record().plan.points.size());
}

QString Running(const LoopCheckRunner& runner) {
    const check::Record& r = runner.Record();
    const check::Loop& loop = r.plan.loop;
    if (runner.CurrentPhase() == LoopCheckRunner::Phase::Lowering)
        return Texts::tr("Retour de la sortie à %1 %2, la valeur basse de la boucle")
            .arg(Value3(loop.lower), Q(loop.unit));
    const check::PlannedPoint* p = runner.Current();
    if (p == nullptr)
        return {};
    const QString unit = Q(r.settings.instrument.unit);
    const QString tag = Q(r.settings.tag);
    const bool source = r.settings.mode == check::Mode::Source;
    switch (runner.CurrentPhase()) {
        case LoopCheckRunner::Phase::Reading:
            return source ? Texts::tr(
                                "%1 : %2 %3 générés ; taper la lecture de %4 (%5) dans sa "
                                "ligne, puis Entrée")
                                .arg(Of(runner, *p), Value3(runner.Generated()), Q(loop.unit), tag,
                                     unit)
                          : Texts::tr(
                                "%1 : appliquer %2 %3 à %4 ; taper l'entrée appliquée (%3) "
                                "dans sa ligne, puis Entrée")
                                .arg(Of(runner, *p), Value3(p->instrument), unit, tag);
        case LoopCheckRunner::Phase::Dwell:
            return Texts::tr("%1 : stabilisation, encore %2 s")
                .arg(Of(runner, *p))
                .arg(std::lround(runner.DwellTicksLeft() *
                                 std::chrono::duration<double>(TCustomLCX::kTick).count()));
        default:
            break;
    }
    if (!source)
        return Texts::tr("%1 : mesure %2 sur %3")
            .arg(Of(runner, *p))
            .arg(runner.SamplesTaken() + 1)
            .arg(r.settings.samples);
    return Texts::tr("%1 : génération de %2 %3")
        .arg(Of(runner, *p), Value3(p->loopValue), Q(loop.unit));
}

QString HowItEnded(const LoopCheckRunner& runner) {
    const check::Record& r = runner.Record();
    const int taken = int(r.points.size());
    const int planned = int(r.plan.points.size());
    int within = 0;
    for (const check::PointResult& p : r.points) within += p.pass ? 1 : 0;
    switch (runner.Ending()) {
        case LoopCheckRunner::End::Complete:
            return Texts::tr("Vérification terminée : %1 points sur %2 dans la tolérance.")
                .arg(within)
                .arg(planned);
        case LoopCheckRunner::End::Stopped:
            return Texts::tr("Vérification arrêtée : %1 points relevés sur %2.")
                .arg(taken)
                .arg(planned);
        case LoopCheckRunner::End::NoAnswer:
            return Texts::tr(
                       "Pas de réponse du calibrateur : vérification incomplète, %1 points "
                       "relevés sur %2.")
                .arg(taken)
                .arg(planned);
        case LoopCheckRunner::End::Disconnected:
            return Texts::tr(
                       "Calibrateur déconnecté : vérification incomplète, %1 points relevés "
                       "sur %2.")
                .arg(taken)
                .arg(planned);
        case LoopCheckRunner::End::Mismatch:
            return Texts::tr(
                       "Le calibrateur tient la valeur brute %1 au lieu des %2 envoyés : "
                       "vérification incomplète.")
                .arg(runner.HeldRaw())
                .arg(runner.CommandedRaw());
        case LoopCheckRunner::End::Replaced:
            return Texts::tr(
                "Un autre transfert a pris la place de celui de la vérification : "
                "vérification incomplète.");
    }
    return {};
}

}  // namespace

QString PlanRefusalText(const check::PlanRefusal& r) {
    const bool source = r.mode == check::Mode::Source;
    if (r.kind == check::PlanRefusal::Kind::Range) {
        const QString needed = RangeCaption(r.neededRange);
        return (source ? Texts::tr("Une vérification en source d'une boucle %1 se fait dans la "
                                   "gamme « %2 », et le calibrateur est en « %3 » : choisir « %2 » "
                                   "sur la page « Principal » et l'écrire d'abord.")
                       : Texts::tr("Une vérification en mesure d'une boucle %1 se fait dans la "
                                   "gamme « %2 », et le calibrateur est en « %3 » : choisir « %2 » "
                                   "sur la page « Principal » et l'écrire d'abord."))
            .arg(Q(r.loop.Name()), needed, RangeCaption(r.range));
    }
    return (source ? Texts::tr("Le point %1 % vaut %2 %3, hors des %4 à %5 %3 que le calibrateur "
                               "génère en « %6 ».")
                   : Texts::tr("Le point %1 % vaut %2 %3, hors des %4 à %5 %3 que le calibrateur "
                               "mesure en « %6 »."))
        .arg(ShowNumber(r.point.percent, "#0.00"), Value3(r.point.loopValue), Q(r.loop.unit),
             Value3(r.lower), Value3(r.upper), RangeCaption(r.range));
}

QString RunText(const LoopCheckRunner& runner) {
    if (runner.CurrentPhase() != LoopCheckRunner::Phase::Done)
        return Running(runner);
    QString text = HowItEnded(runner);
    const check::Record& r = runner.Record();
    if (r.settings.mode == check::Mode::Source)
        text += runner.Lowered()
                    ? Texts::tr(" La sortie est à %1 %2, la valeur basse de la boucle.")
                          .arg(Value3(r.plan.loop.lower), Q(r.plan.loop.unit))
                    : Texts::tr(
                          " La sortie n'a pas pu être ramenée à la valeur "
                          "basse de la boucle.");
    return text;
}

QString VerdictText(check::Verdict verdict) {
    switch (verdict) {
        case check::Verdict::Pass:
            return Texts::tr("CONFORME");
        case check::Verdict::Fail:
            return Texts::tr("NON CONFORME");
        case check::Verdict::Incomplete:
            break;
    }
    return Texts::tr("INCOMPLET");
}

QString DirectionText(check::Direction direction) {
    return direction == check::Direction::Up ? Texts::tr("montée") : Texts::tr("descente");
}

QString ResultText(const check::PointResult& p) {
    if (p.state == 1)
        return QStringLiteral("Dep+");
    if (p.state == 2)
        return QStringLiteral("Dep-");
    return p.pass ? Texts::tr("conforme") : Texts::tr("HORS TOL.");
}

QString Value3(double value) {
    return ShowNumber(value, "#0.000").trimmed();
}

QString SignedError(double error) {
    const QString text = ShowNumber(error, "#0.000").trimmed();
    return text.startsWith('-') ? text : "+" + text;
}

QString ReadingText(double value) {
    return ShowNumber(value, "#0.####").trimmed();
}

}  // namespace vadero
