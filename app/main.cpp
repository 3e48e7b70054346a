// The station: supervises the devices from the current folder, where it keeps
// "Config.set" and "Log.dat". One station per folder.
#include "app/CycleStation.h"
#include "app/FormVeilleur.h"
#include "data/ConfigSet.h"
#include "platform/Application.h"
#include "platform/SignauxArret.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

const char* const Programme = "Veilleur";
constexpr int SortieDejaLancee = 1;
constexpr int SortieUsage = 2;

const char* const Aide =
    "Usage: Veilleur [OPTION]...\n"
    "Supervisor station for the insulation monitors of an isolated (IT) electrical network:\n"
    "a full-screen window with a button per device coloured by its alarm state, an audible\n"
    "alarm, the device screens and the event journal. It keeps \"Config.set\" and \"Log.dat\"\n"
    "in the current folder; the veilleur launcher starts it in its data folder.\n"
    "Only one station runs in a folder: a second start there says so and ends.\n"
    "\n"
    "Options:\n"
    "  -h, --help       show this help and exit\n"
    "  -V, --version    show the version and exit\n"
    "\n"
    "Qt's display options (-platform, -display, -style...) are passed on to Qt.\n"
    "\n"
    "Exit status: 0 after a normal stop, 1 when a station already runs in the folder,\n"
    "2 on a usage error.\n";

// Qt's own options that QApplication takes out of the arguments: the first
// list takes a value.
bool OptionDeQt(std::string_view option, bool& avecValeur)
{
    static constexpr std::string_view AvecValeur[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                                      "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                                                      "geometry", "name", "title", "style", "stylesheet", "session"};
    static constexpr std::string_view Seules[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};
    if (option.starts_with("--"))
        option.remove_prefix(2);
    else if (option.starts_with('-'))
        option.remove_prefix(1);
    else
        return false;
    const std::size_t egal = option.find('=');
    const bool valeurJointe = egal != std::string_view::npos;
    option = option.substr(0, egal);
    for (std::string_view o : AvecValeur)
        if (o == option) {
            avecValeur = !valeurJointe;
            return true;
        }
    avecValeur = false;
    for (std::string_view o : Seules)
        if (o == option && !valeurJointe)
            return true;
    return false;
}

// Answers --help and --version, refuses anything else but Qt's options;
// before any window or folder is touched. -1 when the station may start.
int LireOptions(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "-h" || a == "--help") {
            std::fputs(Aide, stdout);
            return std::fflush(stdout) == 0 ? 0 : SortieUsage;
        }
        if (a == "-V" || a == "--version") {
            std::printf("%s (Orvane.PC) %s\n", Programme, VEILLEUR_VERSION_TEXTE);
            return std::fflush(stdout) == 0 ? 0 : SortieUsage;
        }
    }
    for (int i = 1; i < argc; ++i) {
        bool avecValeur = false;
        if (OptionDeQt(argv[i], avecValeur)) {
            if (avecValeur && ++i >= argc) {
                std::fprintf(stderr, "%s: option \"%s\" needs a value; see %s --help.\n", Programme, argv[i - 1], Programme);
                return SortieUsage;
            }
            continue;
        }
        std::fprintf(stderr, "%s: unknown %s \"%s\"; see %s --help.\n", Programme,
                     argv[i][0] == '-' ? "option" : "argument", argv[i], Programme);
        return SortieUsage;
    }
    return -1;
}

// The display's end: Qt says so, then ends the process without returning to
// the event loop. The journal is closed in between.
TFormVeilleur* g_fenetre = nullptr;
QtMessageHandler g_gestionnairePrecedent = nullptr;

void GestionnaireMessages(QtMsgType type, const QMessageLogContext& contexte, const QString& message)
{
    if (g_gestionnairePrecedent)
        g_gestionnairePrecedent(type, contexte, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (g_fenetre && message.startsWith(QLatin1String("The X11 connection broke"))) {
        TFormVeilleur* fenetre = std::exchange(g_fenetre, nullptr);
        fenetre->TerminerSansAffichage(QString::fromLatin1(CycleStation::RaisonAffichagePerdu));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (const int fin = LireOptions(argc, argv); fin >= 0)
        return fin;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane.PC"));
    PreparerApplication();

    // Two stations in one folder would overwrite each other's settings and
    // journal the same alarms twice. Held until the process ends; a lock left
    // by a station that crashed names a process that is gone, and is taken over.
    // Never stale by age: a station runs for months.
    QLockFile verrou(QDir::current().absoluteFilePath(QString::fromLatin1(NomFichierConfig) + QStringLiteral(".lock")));
    verrou.setStaleLockTime(0);
    if (!verrou.tryLock()) {
        if (verrou.error() == QLockFile::LockFailedError) {
            qint64 pid = 0;
            QString machine, nom;
            verrou.getLockInfo(&pid, &machine, &nom);
            const QString phrase = QStringLiteral("A station already runs in %1 (process %2); only one station may use a folder.")
                                       .arg(QDir::toNativeSeparators(QDir::currentPath()))
                                       .arg(pid);
            std::fprintf(stderr, "%s: %c%s\n", Programme, phrase.front().toLower().toLatin1(),
                         phrase.mid(1).toLocal8Bit().constData());
            // Started from a desktop menu, the operator sees no terminal. Nobody
            // sees an off-screen display.
            if (QGuiApplication::platformName() != QLatin1String("offscreen"))
                QMessageBox::warning(nullptr, QStringLiteral("Orvane.PC"), phrase);
            return SortieDejaLancee;
        }
        // A read-only folder, say: supervising matters more than the guard.
        std::fprintf(stderr, "%s: warning: cannot make the lock file %s; another station could start in this folder.\n",
                     Programme, verrou.fileName().toLocal8Bit().constData());
    }

    TFormVeilleur fenetre;
    // Cover the screen even where no window manager honours the full-screen
    // request (a bare X server, a kiosk session).
    if (const QScreen* ecran = QGuiApplication::primaryScreen())
        fenetre.setGeometry(ecran->geometry());
    fenetre.showFullScreen();

    // A log-out, "systemctl stop" or Ctrl+C end the station as its close
    // button does, without the alarm question: nobody is there to answer.
    TSignauxArret signaux([&fenetre](int signal) { fenetre.Arreter(CycleStation::RaisonSignal(signal)); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &fenetre,
                     [&fenetre] { fenetre.Arreter(QString::fromLatin1(CycleStation::RaisonFinApplication)); });
    g_fenetre = &fenetre;
    g_gestionnairePrecedent = qInstallMessageHandler(GestionnaireMessages);
    fenetre.Demarrer();
    const int fin = application.exec();
    g_fenetre = nullptr;
    return fin;
}
