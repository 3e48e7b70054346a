// Renders, off-screen, the station's main window with every screen (every tab
// of the tabbed ones) in each of the three languages, after enough
// demonstration ticks for a full history, a pre-alarm and an alarm; then the
// overview with those alarms and the KMT history with both cursors moved.
// Usage: veilleur-galerie <folder for the PNG files>
#include "app/FormVeilleur.h"
#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "data/VerrouDonnees.h"
#include "platform/Application.h"
#include "platform/EvenementNomme.h"
#include "platform/MessagesFenetre.h"
#include "platform/RapportErreurs.h"
#include "screens/CadreEnhanced.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

class TSonMuet : public TSon {
public:
    void Tonalite(int, int) override {}
    void SonParDefaut() override {}
};

struct TEcranGalerie {
    int numero;
    int appareil;
    const char* nom;
};

constexpr TEcranGalerie Ecrans[] = {
    {EcranAccueil, 0, "accueil"},       {EcranSession, 0, "session"},   {EcranVueDEnsemble, 0, "vue-d-ensemble"},
    {EcranJournal, 0, "journal"},       {EcranNotices, 0, "notices"},   {EcranConfiguration, 0, "configuration"},
    {EcranKMT, 26, "kmt"},              {EcranQFL, 58, "qfl"},          {EcranRecherche, 58, "recherche"},
};
const char* const CodesLangues[] = {"fr", "en", "es"};
const char* const BoutonsLangues[] = {"SpeedButtonFr", "SpeedButtonEn", "SpeedButtonSp"};

class TGalerie {
public:
    TGalerie(TFormVeilleur& fenetre, const QString& dossier) : m_fenetre(fenetre), m_dossier(dossier) {}

    void Montrer(int ecran, int appareil)
    {
        EnvoyerEcran(&m_fenetre, ecran, appareil);
        m_fenetre.TimerMonitoringDataTimer();
        QCoreApplication::processEvents();
    }

    bool Enregistrer(const QString& nom)
    {
        QCoreApplication::processEvents();
        const QString chemin = QDir(m_dossier).filePath(nom + QStringLiteral(".png"));
        const bool ok = m_fenetre.ZoneClient()->grab().save(chemin);
        std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(chemin));
        m_echecs += ok ? 0 : 1;
        return ok;
    }

    // The screen, and each tab of each tab control it holds.
    void EnregistrerEcran(const QString& nom)
    {
        TFrameEnhanced* ecran = m_fenetre.EcranCourant();
        const auto onglets = ecran ? ecran->findChildren<QTabWidget*>() : QList<QTabWidget*>();
        if (onglets.isEmpty()) {
            Enregistrer(nom);
            return;
        }
        for (QTabWidget* pages : onglets) {
            for (int i = 0; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                Enregistrer(QStringLiteral("%1-%2").arg(nom).arg(i + 1));
            }
            pages->setCurrentIndex(0);
        }
    }

    int Echecs() const { return m_echecs; }

private:
    TFormVeilleur& m_fenetre;
    QString m_dossier;
    int m_echecs = 0;
};

// The journal's entries, written within a few milliseconds, spread one second
// apart and ending now.
void EtalerJournal(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadWrite))
        return;
    QByteArray octets = fichier.readAll();
    const qsizetype n = octets.size() / TailleEntreeLog;
    const double maintenant = DateVeilleur::Maintenant();
    for (qsizetype i = 0; i < n; ++i) {
        auto* entree = reinterpret_cast<TEntreeLog*>(octets.data() + i * TailleEntreeLog);
        entree->DateHeure = maintenant - double(n - 1 - i) / 86400.0;
    }
    fichier.seek(0);
    fichier.write(octets);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane.PC"));
    PreparerApplication();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder for the PNG files>\n", argv[0]);
        return 2;
    }
    const QString sortie = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(sortie)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(sortie));
        return 2;
    }
    // The station keeps its files in the current folder: a scratch one here.
    QTemporaryDir travail;
    if (!travail.isValid() || !QDir::setCurrent(travail.path()))
        return 2;
    TRapportErreurs::Instance().DefinirAfficheur([](const QString& texte) {
        std::fprintf(stderr, "error: %s\n", qPrintable(texte));
    });
    // A few source names, as a commissioning engineer would have typed them.
    const char* const noms[][2] = {{"1", "Tableau général TGBT"}, {"2", "Bloc opératoire 1"},
                                   {"3", "Bloc opératoire 2"},    {"12", "Réanimation"},
                                   {"26", "Salle de réveil"}};
    for (const auto& nom : noms)
        EcrireChaine(ConfigSet.NomsSources[std::atoi(nom[0])], QString::fromUtf8(nom[1]));
    EnregistrerConfig();
    const QString nomEvenement = QStringLiteral("/VeilleurGalerie%1").arg(getpid());
    int echecs = 0;
    {
        TFormVeilleur fenetre(std::make_unique<TSonMuet>(), nomEvenement);
        for (QTimer* timer : fenetre.findChildren<QTimer*>())
            timer->stop();
        fenetre.show();
        // A full history, device 26 in alarm and device 12 in pre-alarm only.
        auto& donnees = fenetre.DonneesKMT();
        do {
            fenetre.TimerDemoTimer();
        } while (fenetre.CompteurDemo() <= NbMaxMesures || !donnees[12].PreAlarme || donnees[12].Alarme
                 || !donnees[26].Alarme);
        {
            // The ticks ran within a few milliseconds: spread the samples two
            // seconds apart, ending now, as the station's timer would have.
            TEcritureDonnees ecriture(fenetre.VerrouDonnees());
            const double maintenant = DateVeilleur::Maintenant();
            for (int appareil : {12, 26}) {
                TDonneesKMT& r = donnees[appareil];
                for (int k = 1; k <= r.NbMesures; ++k)
                    r.HistDate[k] = maintenant - (r.NbMesures - k) * 2.0 / 86400.0;
            }
        }
        EtalerJournal(QString::fromLatin1(NomFichierLog));
        fenetre.TimerMonitoringDataTimer();

        TGalerie galerie(fenetre, sortie);
        for (int langue = 0; langue < NbLangues; ++langue) {
            if (auto* bouton = fenetre.findChild<QAbstractButton*>(QString::fromLatin1(BoutonsLangues[langue])))
                bouton->click();
            for (const TEcranGalerie& ecran : Ecrans) {
                galerie.Montrer(ecran.numero, ecran.appareil);
                galerie.EnregistrerEcran(QStringLiteral("%1-%2").arg(QLatin1String(CodesLangues[langue]),
                                                                     QLatin1String(ecran.nom)));
            }
        }

        // The pictures of the README, in English.
        fenetre.findChild<QAbstractButton*>(QStringLiteral("SpeedButtonEn"))->click();
        galerie.Montrer(EcranVueDEnsemble, 0);
        galerie.Enregistrer(QStringLiteral("fenetre-alarmes"));
        galerie.Montrer(EcranKMT, 26);
        if (auto* pages = fenetre.EcranCourant()->findChild<QTabWidget*>())
            pages->setCurrentIndex(2);
        if (auto* barre = fenetre.EcranCourant()->findChild<QScrollBar*>(QStringLiteral("ScrollBar1")))
            barre->setValue(250);
        if (auto* barre = fenetre.EcranCourant()->findChild<QScrollBar*>(QStringLiteral("ScrollBar2")))
            barre->setValue(820);
        galerie.Enregistrer(QStringLiteral("kmt-historique-reperes"));
        echecs = galerie.Echecs();
    }
    TEvenementNomme::Supprimer(nomEvenement);
    return echecs == 0 ? 0 : 1;
}
