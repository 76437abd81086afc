#include "app/files/FileMessages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

#include "app/files/WindowParameters.h"
#include "calibrator/Parameters.h"

namespace vadero {

namespace {

// The context of this file's texts in the translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vadero::FileMessages)
};

const WindowParameter* Holding(const std::vector<WindowParameter>& table, int address) {
    for (const WindowParameter& p : table)
        if (p.registers.Holds(address))
            return &p;
    return nullptr;
}

QString Named(const WindowParameter& p) {
    return p.page.isEmpty() ? p.caption : p.page + " › " + p.caption;
}

// What the parameter may hold, as the page shows it: its choices, or its
// limits.
QString Allowed(const Parameter& row, const WindowParameter& shown) {
    RegisterImage image{};
    TLCXParams scratch(image);
    const auto shownAs = [&](int word) {
        scratch.SetWord(row.first, std::uint16_t(word));
        return shown.show(scratch);
    };
    if (!row.choices.empty()) {
        QStringList choices;
        for (int code = 0; code <= int(row.high); ++code) choices << shownAs(code);
        return choices.join(", ");
    }
    // A word the page shows as it is (a time, a position): its limits too.
    if (row.integer && row.count == 1 && !row.raw && row.first != reg::kUserFormat)
        return Texts::tr("de %1 à %2").arg(shownAs(int(row.low)), shownAs(int(row.high)));
    const QLocale locale;
    QString limits =
        Texts::tr("de %1 à %2").arg(locale.toString(row.low), locale.toString(row.high));
    if (!row.unit.empty())
        limits += ' ' + QString::fromStdString(row.unit);
    return limits;
}

QString ParameterProblem(const char* sentence, const Parameter& row, const TLCXParams& params) {
    const std::vector<WindowParameter> table = WindowParameters();
    const WindowParameter* shown = Holding(table, row.first);
    if (shown == nullptr)  // every written register has its entry
        return QString::fromStdString(row.key);
    return Texts::tr(sentence).arg(Named(*shown), shown->show(params), Allowed(row, *shown));
}

QString FileName(const BackupProblem& problem) {
    return QFileInfo(QString::fromStdString(problem.path)).fileName();
}

}  // namespace

QString RefusalText(const BackupProblem& problem) {
    using Kind = BackupProblem::Kind;
    const QString detail = QString::fromStdString(problem.detail);
    switch (problem.kind) {
        case Kind::CannotRead:
            return Texts::tr("%1 ne peut pas être lu : %2").arg(FileName(problem), detail);
        case Kind::Directory:
            return Texts::tr("%1 est un dossier, pas un fichier de paramètres.")
                .arg(FileName(problem));
        case Kind::NotRegular:
            return Texts::tr("%1 n'est pas un fichier ordinaire.").arg(FileName(problem));
        case Kind::TooLarge:
            return Texts::tr("%1 est trop grand pour un fichier de paramètres.")
                .arg(FileName(problem));
        case Kind::Empty:
            return Texts::tr("%1 est vide.").arg(FileName(problem));
        case Kind::NotJson:
            return Texts::tr(
                       "Ce n'est pas un document JSON : le texte n'en suit plus la syntaxe à "
                       "l'octet %1.")
                .arg(problem.number);
        case Kind::DuplicateKey:
            return Texts::tr("La clé « %1 » figure deux fois dans un même objet.").arg(detail);
        case Kind::NoHolding:
            return Texts::tr(
                       "Ce n'est pas un fichier de paramètres : il n'a pas le tableau « holding » "
                       "des %1 registres.")
                .arg(kRegisterCount);
        case Kind::HoldingSize:
            return Texts::tr("Le tableau « holding » a %1 registres au lieu de %2.")
                .arg(problem.number)
                .arg(kRegisterCount);
        case Kind::NotNull:
            return Texts::tr("Le registre %1 n'est jamais lu ni écrit : il doit valoir null.")
                .arg(problem.number);
        case Kind::NotWord:
            return Texts::tr("Le registre %1 n'est pas un entier de 0 à 65535.")
                .arg(problem.number);
        case Kind::Impossible: {
            RegisterImage words = problem.words;
            const TLCXParams params(words);
            return ParameterProblem(
                QT_TRANSLATE_NOOP("vadero::FileMessages",
                                  "%1 vaut %2, ce qu'aucun calibrateur ne contient (valeurs "
                                  "possibles : %3)."),
                *problem.parameter, params);
        }
        case Kind::Disagrees:
            return Texts::tr(
                       "Le champ « %1 » ne correspond pas au tableau « holding », seul écrit dans "
                       "le calibrateur : corriger « holding ».")
                .arg(detail);
    }
    return {};
}

QStringList UnusualValues(const TLCXParams& params) {
    QStringList lines;
    for (const Parameter& row : Parameters()) {
        if (row.Usual(params))
            continue;
        const QString line = ParameterProblem(
            QT_TRANSLATE_NOOP("vadero::FileMessages",
                              "%1 vaut %2, au-delà de ce que la fenêtre écrit (%3) ; ouvert tel "
                              "quel."),
            row, params);
        // Two rows of one register (the user format) say it once.
        if (!lines.contains(line))
            lines << line;
    }
    return lines;
}

QString SystemReason(const std::string& why) {
    const std::size_t colon = why.rfind(": ");
    return QString::fromStdString(colon == std::string::npos ? why : why.substr(colon + 2));
}

}  // namespace vadero
