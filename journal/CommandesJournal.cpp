#include "journal/CommandesJournal.h"

#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "journal/ExportEnBlocs.h"
#include "journal/ExportJournal.h"
#include "journal/LecteurJournal.h"
#include "journal/SourcesJournal.h"
#include "journal/SuiviJournal.h"
#include "journal/TendanceJournal.h"
#include "journal/VerificationJournal.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace CommandesJournal {
namespace {

const char* const Programme = "veilleur-journal";

// Usage and file errors: one sentence on stderr, exit status 2.
struct EUsage {
    QString Texte;
};

int Erreur(const QString& phrase)
{
    std::fprintf(stderr, "%s\n", phrase.toLocal8Bit().constData());
    return SortieErreur;
}

// Text to standard output (buffered by stdio); false when it could not take it all.
bool Ecrire(const char* octets, std::size_t n)
{
    return std::fwrite(octets, 1, n, stdout) == n;
}

bool Ecrire(const std::string& texte)
{
    return Ecrire(texte.data(), texte.size());
}

// After the last Ecrire: false when anything written earlier was lost.
bool Terminer(bool ecrit)
{
    return std::fflush(stdout) == 0 && ecrit;
}

int ErreurSortie()
{
    return Erreur(QStringLiteral("%1: cannot write to standard output: %2.")
                      .arg(QLatin1String(Programme), QString::fromLocal8Bit(std::strerror(errno))));
}

// --- Options shared by several commands ---

const QCommandLineOption OptionFormat({QStringLiteral("format")}, QStringLiteral("csv (default) or json (JSON Lines)."),
                                      QStringLiteral("format"), QStringLiteral("csv"));
const QCommandLineOption OptionLangue({QStringLiteral("langue")},
                                      QStringLiteral("Language of the event names: fr (default), en or es."),
                                      QStringLiteral("langue"), QStringLiteral("fr"));
const QCommandLineOption OptionCode({QStringLiteral("code")}, QStringLiteral("Only entries with this event code."), QStringLiteral("N"));
const QCommandLineOption OptionOrigine({QStringLiteral("origine")}, QStringLiteral("Only entries of this device number."),
                                       QStringLiteral("N"));

struct TCommande {
    QString Nom;
    QString Description;
    QList<QCommandLineOption> Options;
};

// Parses the arguments after the command name; throws EUsage.
void Analyser(QCommandLineParser& analyseur, const TCommande& commande, const QStringList& arguments, bool& aide)
{
    analyseur.setApplicationDescription(commande.Description);
    analyseur.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption optionAide({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    analyseur.addOption(optionAide);
    analyseur.addOptions(commande.Options);
    analyseur.addPositionalArgument(QStringLiteral("fichier"), QStringLiteral("The journal (default: Log.dat in the current folder, else in the station's data folder)."),
                                    QStringLiteral("[fichier]"));
    if (!analyseur.parse(QStringList{QString::fromLatin1(Programme) + u' ' + commande.Nom} + arguments))
    {
        QString raison = analyseur.errorText();
        while (raison.endsWith(u'.'))
            raison.chop(1);
        throw EUsage{QStringLiteral("%1 %2: %3.").arg(QLatin1String(Programme), commande.Nom, raison)};
    }
    aide = analyseur.isSet(optionAide);
    if (analyseur.positionalArguments().size() > 1)
        throw EUsage{QStringLiteral("%1 %2: one file only, not \"%3\".")
                         .arg(QLatin1String(Programme), commande.Nom, analyseur.positionalArguments().join(u' '))};
}

// The data folder of the installed station, as its launcher chooses it.
QString DossierStation()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    const QString donnees = QDir::isAbsolutePath(xdg) ? xdg : qEnvironmentVariable("HOME") + QStringLiteral("/.local/share");
    return QDir::cleanPath(donnees + QStringLiteral("/veilleur"));
}

// The journal named, else "Log.dat" of the current folder, else that of the
// installed station, which is said: an auditor must know what was read.
QString Fichier(const QCommandLineParser& analyseur)
{
    const QStringList p = analyseur.positionalArguments();
    if (!p.isEmpty())
        return p.first();
    const QString ici = QString::fromLatin1(NomFichierLog);
    if (QFileInfo(ici).exists() || QFileInfo(ici).isSymLink())
        return ici;
    const QString station = DossierStation() + u'/' + ici;
    std::fprintf(stderr, "%s: no %s in the current folder; reading %s\n", Programme, NomFichierLog,
                 station.toLocal8Bit().constData());
    return station;
}

EUsage Invalide(const QString& option, const QString& valeur, const QString& attendu)
{
    return EUsage{QStringLiteral("%1: invalid value \"%2\" for --%3 (%4).").arg(QLatin1String(Programme), valeur, option, attendu)};
}

int Entier(const QCommandLineParser& analyseur, const QCommandLineOption& option, int min, int max)
{
    const QString texte = analyseur.value(option);
    bool ok = false;
    const int v = texte.toInt(&ok);
    if (!ok || v < min || v > max)
        throw Invalide(option.names().first(), texte, QStringLiteral("a whole number from %1 to %2").arg(min).arg(max));
    return v;
}

TFormatExport Format(const QCommandLineParser& analyseur)
{
    const QString f = analyseur.value(OptionFormat);
    if (f == u"csv")
        return TFormatExport::Csv;
    if (f == u"json")
        return TFormatExport::Json;
    throw Invalide(QStringLiteral("format"), f, QStringLiteral("csv or json"));
}

TLangue Langue(const QCommandLineParser& analyseur)
{
    const QString l = analyseur.value(OptionLangue);
    if (l == u"fr")
        return LangueFrancais;
    if (l == u"en")
        return LangueAnglais;
    if (l == u"es")
        return LangueEspagnol;
    throw Invalide(QStringLiteral("langue"), l, QStringLiteral("fr, en or es"));
}

// An ISO 8601 date or date-time as a day count. A date alone stands for its
// midnight, or with finDeJour for the next midnight (so that --jusqua takes
// the whole day in).
double DateIso(const QString& option, const QString& texte, bool finDeJour)
{
    // QDate also reads the date part of a date-time: a date alone has no time part.
    const QDate jour = texte.size() == 10 ? QDate::fromString(texte, Qt::ISODate) : QDate();
    if (jour.isValid())
        return DateVeilleur::DepuisDateTime(QDateTime(finDeJour ? jour.addDays(1) : jour, QTime(0, 0)));
    QDateTime moment = QDateTime::fromString(texte, Qt::ISODateWithMs);
    if (!moment.isValid())
        throw Invalide(option, texte, QStringLiteral("an ISO date such as 2026-12-08 or 2026-12-08T14:30:00"));
    double jours = DateVeilleur::DepuisDateTime(moment);
    if (finDeJour)
        jours += 1.0 / 86400000.0;  // the millisecond named is kept
    return jours;
}

// A duration such as 24h, 90m, 7d or 3600s, in days; a bare number is hours.
double Duree(const QString& option, const QString& texte)
{
    static const QRegularExpression forme(QStringLiteral("^([0-9]+(?:\\.[0-9]+)?)([smhd]?)$"));
    const QRegularExpressionMatch m = forme.match(texte);
    const double valeur = m.hasMatch() ? m.captured(1).toDouble() : 0;
    if (!m.hasMatch() || valeur <= 0)
        throw Invalide(option, texte, QStringLiteral("a duration such as 24h, 90m, 7d or 3600s"));
    const QString unite = m.captured(2);
    const double parJour = unite == u"s" ? 86400.0 : unite == u"m" ? 1440.0 : unite == u"d" ? 1.0 : 24.0;
    return valeur / parJour;
}

// --- Commands ---

const TCommande CommandeExport{
    QStringLiteral("export"),
    QStringLiteral("Writes every entry of the journal, oldest first, as CSV (RFC 4180, UTF-8, a header row) "
                   "or JSON Lines: index, code, event name, ISO date, day count, origin, the two attributes, "
                   "the extra information and the three values; then the source name of the origin when the station's "
                   "Config.set is beside the journal."),
    {OptionFormat, OptionLangue,
     QCommandLineOption({QStringLiteral("depuis")}, QStringLiteral("Only entries dated from this ISO date or date-time."),
                        QStringLiteral("date")),
     QCommandLineOption({QStringLiteral("jusqua")}, QStringLiteral("Only entries dated up to this ISO date (the whole day) or date-time."),
                        QStringLiteral("date")),
     OptionOrigine, OptionCode,
     QCommandLineOption({QStringLiteral("age-max")},
                        QStringLiteral("Leaves out entries more than this many days old, as the station's event list does (it uses 360)."),
                        QStringLiteral("jours"))}};

int Exporter(const QCommandLineParser& a)
{
    const TExportJournal format(Format(a), Langue(a));
    TFiltreJournal filtre;
    if (a.isSet(QStringLiteral("depuis"))) {
        filtre.AvecDepuis = true;
        filtre.Depuis = DateIso(QStringLiteral("depuis"), a.value(QStringLiteral("depuis")), false);
    }
    if (a.isSet(QStringLiteral("jusqua"))) {
        filtre.AvecJusqua = true;
        filtre.Jusqua = DateIso(QStringLiteral("jusqua"), a.value(QStringLiteral("jusqua")), true);
    }
    if (a.isSet(OptionOrigine))
        filtre.Origine = Entier(a, OptionOrigine, 0, 255);
    if (a.isSet(OptionCode))
        filtre.Code = Entier(a, OptionCode, 0, 255);
    if (a.isSet(QStringLiteral("age-max"))) {
        bool ok = false;
        filtre.AgeMaxJours = a.value(QStringLiteral("age-max")).toDouble(&ok);
        if (!ok || !(filtre.AgeMaxJours >= 0) || std::isinf(filtre.AgeMaxJours))
            throw Invalide(QStringLiteral("age-max"), a.value(QStringLiteral("age-max")), QStringLiteral("a number of days"));
        filtre.AvecAgeMax = true;
        filtre.Maintenant = DateVeilleur::Maintenant();
    }

    TLecteurJournal lecteur(Fichier(a));
    if (!lecteur.Ouvrir())
        return Erreur(lecteur.Erreur());
    std::string entete;
    format.EnTete(entete);
    // The source names, when the station's configuration is beside its journal.
    std::optional<TSourcesJournal> sources = TSourcesJournal::Charger(lecteur.Chemin());
    if (sources) {
        sources->PreparerExport(format.Format());
        sources->CompleterEnTete(entete);
    }
    TExportEnBlocs exportation(format, filtre, 0, sources ? &*sources : nullptr);
    const TExportEnBlocs::TResultat resultat = Ecrire(entete)
        ? exportation.Exporter(lecteur, [](const char* octets, std::size_t n) { return Ecrire(octets, n); })
        : TExportEnBlocs::TResultat::ErreurEcriture;
    if (!Terminer(resultat != TExportEnBlocs::TResultat::ErreurEcriture))
        return ErreurSortie();
    if (resultat == TExportEnBlocs::TResultat::ErreurLecture)
        return Erreur(lecteur.Erreur());
    if (exportation.OctetsRestants() > 0)
        std::fprintf(stderr, "%s: warning: the last %lld bytes of \"%s\" are not a whole record and were left out.\n",
                     Programme, static_cast<long long>(exportation.OctetsRestants()), lecteur.Chemin().toLocal8Bit().constData());
    return SortieSucces;
}

const TCommande CommandeVerifier{
    QStringLiteral("verifier"),
    QStringLiteral("Checks the journal: record count, a partial trailing record, codes above 37, text lengths above 52, "
                   "dates that are not a number, before 1990 or more than a day in the future, and dates going backwards. "
                   "Exit status 1 when anything was found."),
    {}};

int Verifier(const QCommandLineParser& a)
{
    TLecteurJournal lecteur(Fichier(a));
    if (!lecteur.Ouvrir())
        return Erreur(lecteur.Erreur());
    TVerificationJournal verification(DateVeilleur::Maintenant());
    qint64 n = 0;
    std::string rapport;
    bool ecrit = true;
    const bool lu = lecteur.Parcourir([&](const TEntreeLog& e, qint64 index) {
        verification.Examiner(e, index, rapport);
        if (!rapport.empty()) {
            ecrit = Ecrire(rapport) && ecrit;
            rapport.clear();
        }
        n = index + 1;
    });
    if (!lu) {
        Terminer(ecrit);
        return Erreur(lecteur.Erreur());
    }
    verification.Terminer(n, lecteur.OctetsRestants(), rapport);
    if (!Terminer(Ecrire(rapport) && ecrit))
        return ErreurSortie();
    return verification.NbProblemes() > 0 ? SortieDommages : SortieSucces;
}

const TCommande CommandeTendance{
    QStringLiteral("tendance"),
    QStringLiteral("For each device, over a window ending at the latest date: its source name (from the Config.set beside "
                   "the journal), the number of entries, first and last dates, the lowest insulation resistance and the "
                   "latest alarm threshold; the date when the resistance first fell below the threshold in the window or, "
                   "when it has not, with at least 10 entries since the last clock change or gap and the resistance "
                   "falling, its least-squares slope in kOhm per hour and an estimate of when it will reach the "
                   "threshold. Clock changes and gaps in the window are named."),
    {QCommandLineOption({QStringLiteral("fenetre")}, QStringLiteral("Length of the window: 24h (default), 90m, 7d, 3600s..."),
                        QStringLiteral("duree"), QStringLiteral("24h")),
     OptionOrigine}};

int Tendance(const QCommandLineParser& a)
{
    const double fenetre = Duree(QStringLiteral("fenetre"), a.value(QStringLiteral("fenetre")));
    const int origine = a.isSet(OptionOrigine) ? Entier(a, OptionOrigine, 0, 255) : -1;
    TLecteurJournal lecteur(Fichier(a));
    if (!lecteur.Ouvrir())
        return Erreur(lecteur.Erreur());
    std::string texte;
    if (!TendanceJournal::Rapport(lecteur, fenetre, a.value(QStringLiteral("fenetre")).toStdString(), origine, texte,
                                  TSourcesJournal::Charger(lecteur.Chemin())))
        return Erreur(lecteur.Erreur());
    return Terminer(Ecrire(texte)) ? SortieSucces : ErreurSortie();
}

const TCommande CommandeSuivre{
    QStringLiteral("suivre"),
    QStringLiteral("Prints the last entries of the journal, then each new entry as the station appends it, until "
                   "interrupted. Each read waits briefly for the station's named event and signals it again afterwards; "
                   "the file is never kept open between reads."),
    {OptionFormat, OptionLangue,
     QCommandLineOption({QStringLiteral("depuis-fin")}, QStringLiteral("Prints only the entries appended from now on.")),
     QCommandLineOption({QStringLiteral("nombre")}, QStringLiteral("How many existing entries to print first (default 10)."),
                        QStringLiteral("N"), QStringLiteral("10")),
     QCommandLineOption({QStringLiteral("evenement")},
                        QStringLiteral("Name of the named event guarding the journal (default EventAccesLogTermine)."),
                        QStringLiteral("nom"), QString::fromLatin1(NomEvenementAccesLog))}};

// SIGINT and SIGTERM end the event loop instead of the process, so that no
// read is cut short with the named event taken.
int SignalArret[2] = {-1, -1};

void SurSignal(int)
{
    const char octet = 1;
    [[maybe_unused]] const auto r = ::write(SignalArret[1], &octet, 1);
}

int Suivre(const QCommandLineParser& a)
{
    const TExportJournal format(Format(a), Langue(a));
    qint64 queue = 0;
    if (!a.isSet(QStringLiteral("depuis-fin"))) {
        bool ok = false;
        queue = a.value(QStringLiteral("nombre")).toLongLong(&ok);
        if (!ok || queue < 0)
            throw Invalide(QStringLiteral("nombre"), a.value(QStringLiteral("nombre")), QStringLiteral("a whole number, 0 or more"));
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalArret) != 0)
        return Erreur(QStringLiteral("%1: cannot set up signal handling: %2.")
                          .arg(QLatin1String(Programme), QString::fromLocal8Bit(std::strerror(errno))));
    QSocketNotifier arret(SignalArret[0], QSocketNotifier::Read);
    QObject::connect(&arret, &QSocketNotifier::activated, QCoreApplication::instance(), &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = SurSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    TSuiviJournal suivi(Fichier(a), a.value(QStringLiteral("evenement")), format, stdout, stderr);
    if (!suivi.Demarrer(queue))
        return SortieErreur;
    QCoreApplication::exec();
    return SortieSucces;
}

QString AideGenerale()
{
    return QStringLiteral(
        "Usage: veilleur-journal COMMAND [OPTION]... [FILE]\n"
        "  or:  veilleur-journal --help | --version\n"
        "Reads the supervisor station's event journal \"Log.dat\" for audits and other systems;\n"
        "never writes it. FILE defaults to Log.dat in the current folder, else to the one in the\n"
        "installed station's data folder ($XDG_DATA_HOME/veilleur or ~/.local/share/veilleur),\n"
        "which is then named on standard error.\n\n"
        "Commands:\n"
        "  export     every entry as CSV or JSON Lines, with filters\n"
        "  suivre     prints new entries as the station appends them\n"
        "  verifier   checks the journal for damage (exit status 1 when found)\n"
        "  tendance   each device's lowest insulation resistance, its threshold, and when it\n"
        "             was or will be reached, over a window\n\n"
        "Options:\n"
        "  -h, --help       show this help and exit\n"
        "  -V, --version    show the version and exit\n\n"
        "veilleur-journal COMMAND --help describes each command and its options.\n\n"
        "Exit status: 0 done, 1 damage found, 2 usage or file error.\n");
}

} // namespace

int Executer(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return Erreur(QStringLiteral("%1: a command is needed (export, suivre, verifier or tendance); see %1 --help.")
                          .arg(QLatin1String(Programme)));
    const QString nom = arguments.takeFirst();
    if (nom == u"--help" || nom == u"-h" || nom == u"help") {
        std::fputs(AideGenerale().toLocal8Bit().constData(), stdout);
        return Terminer(true) ? SortieSucces : ErreurSortie();
    }
    if (nom == u"--version" || nom == u"-V") {
        std::printf("%s (Orvane.PC) %s\n", Programme, VEILLEUR_VERSION_TEXTE);
        return Terminer(true) ? SortieSucces : ErreurSortie();
    }
    struct TEntree {
        const TCommande& Commande;
        int (*Action)(const QCommandLineParser&);
    };
    const TEntree commandes[] = {{CommandeExport, Exporter}, {CommandeSuivre, Suivre},
                                 {CommandeVerifier, Verifier}, {CommandeTendance, Tendance}};
    for (const TEntree& c : commandes) {
        if (c.Commande.Nom != nom)
            continue;
        try {
            QCommandLineParser analyseur;
            bool aide = false;
            Analyser(analyseur, c.Commande, arguments, aide);
            if (aide) {
                // The parser names the program by its path; name the command instead.
                QString texte = analyseur.helpText();
                const qsizetype options = texte.indexOf(QLatin1String(" [options]"));
                if (texte.startsWith(QLatin1String("Usage: ")) && options > 0)
                    texte.replace(7, options - 7, QLatin1String(Programme) + u' ' + c.Commande.Nom);
                std::fputs(texte.toLocal8Bit().constData(), stdout);
                return SortieSucces;
            }
            return c.Action(analyseur);
        } catch (const EUsage& e) {
            return Erreur(e.Texte);
        }
    }
    if (nom.startsWith(u'-'))
        return Erreur(QStringLiteral("%1: unknown option \"%2\"; see %1 --help.").arg(QLatin1String(Programme), nom));
    return Erreur(QStringLiteral("%1: unknown command \"%2\"; the commands are export, suivre, verifier and tendance.")
                      .arg(QLatin1String(Programme), nom));
}

} // namespace CommandesJournal
