// The layer over real lines, with real threads and timers: the project's
// simulator on a pseudo-terminal, and independent devices (pymodbus) over TCP.
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "liaison/Liaison.h"
#include "liaison/LigneModbus.h"
#include "support/OutilsTest.h"
#include "support/ProgrammeTest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace DecodageModbus;
using TIssueCommande = TLiaison::TIssue;

namespace {

// What the user-interface thread of the station keeps: the records, the lock,
// and everything the layer handed over, in order.
struct TStation {
    TVerrouDonnees Verrou;
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> Donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::unique_ptr<Tableau1<TDonneesQFL, NbSources>> QFL;  // with fault locators only
    std::unique_ptr<TLiaison> Liaison;
    std::vector<TEntreeLog> Entrees;
    std::vector<TLiaison::TResultat> Resultats;

    explicit TStation(const TConfigReseau& config, bool avecQFL = false)
    {
        if (avecQFL) {
            QFL = std::make_unique<Tableau1<TDonneesQFL, NbSources>>();
            Liaison = std::make_unique<TLiaison>(config, Verrou, *Donnees, *QFL);
        } else {
            Liaison = std::make_unique<TLiaison>(config, Verrou, *Donnees);
        }
        QObject::connect(Liaison.get(), &TLiaison::Disponible, [this] { Drainer(); });
        Liaison->Demarrer();
    }
    void Drainer()
    {
        for (const TEntreeLog& e : Liaison->PrendreEntrees())
            Entrees.push_back(e);
        for (const auto& r : Liaison->PrendreResultats())
            Resultats.push_back(r);
    }
    int Nombre(int code, int appareil) const
    {
        return static_cast<int>(std::count_if(Entrees.begin(), Entrees.end(), [&](const TEntreeLog& e) {
            return e.Code == code && e.Origine == appareil;
        }));
    }
    template <typename F>
    auto Lire(int appareil, F f)
    {
        TLectureDonnees lecture(Verrou);
        return f((*Donnees)[appareil]);
    }
    TDonneesQFL LireQFL(int appareil)
    {
        TLectureDonnees lecture(Verrou);
        return (*QFL)[appareil - DecalageQFL];
    }
    std::vector<TEntreeLog> De(int code, int appareil) const
    {
        std::vector<TEntreeLog> v;
        std::copy_if(Entrees.begin(), Entrees.end(), std::back_inserter(v),
                     [&](const TEntreeLog& e) { return e.Code == code && e.Origine == appareil; });
        return v;
    }
    bool Attendre(const std::function<bool()>& condition, int ms = 8000)
    {
        return QTest::qWaitFor(condition, ms);
    }
    const TLiaison::TResultat* Resultat(std::uint64_t id) const
    {
        for (const auto& r : Resultats)
            if (r.Id == id)
                return &r;
        return nullptr;
    }
};

int PortLibre()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t l = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &l);
    ::close(s);
    return ntohs(a.sin_port);
}

QStringList ArgumentsSimulateur(const QString& lien, const char* kmt)
{
    return {QStringLiteral("--pty"), lien, QStringLiteral("--kmt"), QLatin1String(kmt), QStringLiteral("--demarrage-ms"),
            QStringLiteral("0"), QStringLiteral("--derive"), QStringLiteral("0")};
}

TConfigReseau ConfigPty(const QString& lien, std::vector<int> liste)
{
    TConfigReseau c;
    c.Peripherique = lien;
    c.DelaiReponse = 100;
    c.Appareils = std::move(liste);
    c.ListeDonnee = true;
    return c;
}

bool EnLigne(TStation& s, std::initializer_list<int> appareils)
{
    for (int n : appareils)
        if (s.Lire(n, [](const TDonneesKMT& d) { return d.EtatCom; }) != ComEnLigne)
            return false;
    return true;
}

} // namespace

TEST(LiaisonReseau, SimulatorCommandsTransientsCorruptionAndReplug)
{
    TDossierTemporaire dossier;
    const QString lien = dossier.Chemin(QStringLiteral("ligne"));
    TProgramme simulateur;
    simulateur.Lancer(QStringLiteral(VEILLEUR_SIMULATEUR), ArgumentsSimulateur(lien, "3,5,6,9"));
    simulateur.Dire("seuil tous 100");
    simulateur.Dire("r tous 800");

    // A refused value comes back as an exception, and the line goes on.
    {
        TConfigReseau c = ConfigPty(lien, {});
        TLigneModbus ligne(c);
        ASSERT_TRUE(ligne.Ouvrir());
        auto t = ligne.Executer({5, FonctionEcrireUn, RegistreSeuilKMT, 1, 5});
        EXPECT_EQ(t.Resultat, TLigneModbus::TResultat::Exception);
        EXPECT_EQ(t.CodeException, ExceptionValeur);
        t = ligne.Executer({5, FonctionEcrireUn, RegistreCommandeKMT, 1, 9});
        EXPECT_EQ(t.CodeException, ExceptionValeur);
        t = ligne.Executer({5, FonctionLireEntrees, 0, 4, 0});
        ASSERT_EQ(t.Resultat, TLigneModbus::TResultat::Reponse);
        EXPECT_EQ(t.Registres[0], GenreKMT);
        EXPECT_EQ(ligne.Executer({4, FonctionLireEntrees, 0, 4, 0}).Resultat,
                  TLigneModbus::TResultat::Echec);
    }

    TStation s(ConfigPty(lien, {3, 5, 6, 9, 10}));
    ASSERT_TRUE(s.Attendre([&] { return EnLigne(s, {3, 5, 6, 9}); }));
    ASSERT_TRUE(s.Attendre([&] { return s.Lire(9, [](const TDonneesKMT& d) { return d.NbMesures >= 2; }); }));
    for (int n : {3, 5, 6, 9})
        EXPECT_EQ(s.Nombre(2, n), 1) << n;
    EXPECT_EQ(s.Lire(5, [](const TDonneesKMT& d) { return d.RIsolement; }), 800);
    EXPECT_TRUE(s.Lire(5, [](const TDonneesKMT& d) { return d.Present && d.AutoTest && d.DCPlus && d.DCMoins; }));
    EXPECT_EQ(s.Lire(10, [](const TDonneesKMT& d) { return d.EtatCom; }), ComJamais);

    // Acknowledge round trip: alarm and horn start, the operator silences the
    // horn, the device confirms it.
    simulateur.Dire("r 5 50");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(9, 5) == 1; }));
    EXPECT_EQ(s.Nombre(7, 5), 1);
    EXPECT_EQ(s.Nombre(8, 5), 1);
    const std::uint64_t id = s.Liaison->Acquitter(5, TLiaison::TAcquit::Klaxon, QStringLiteral("Dupont"));
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(15, 5) == 1; }));
    ASSERT_NE(s.Resultat(id), nullptr);
    EXPECT_EQ(s.Resultat(id)->Issue, TIssueCommande::Reussie);
    ASSERT_EQ(s.Nombre(19, 5), 1);
    const auto demande = std::find_if(s.Entrees.begin(), s.Entrees.end(), [](const TEntreeLog& e) { return e.Code == 19; });
    EXPECT_EQ(LireChaine(demande->InfosCompl), QStringLiteral("Dupont"));
    EXPECT_TRUE(s.Lire(5, [](const TDonneesKMT& d) { return d.KlaxonAcquitte && !d.Klaxon && d.Alarme; }));
    EXPECT_GT(s.Lire(5, [](const TDonneesKMT& d) { return d.DHDerniereAlarme; }), 40000.0);

    // A threshold out of range is not sent; in range, with "apply to following",
    // it goes to 5 and to the present KMTs above it, never to 3 nor to silent 10.
    EXPECT_FALSE(s.Liaison->DemanderSeuil(5, 10001, true, QStringLiteral("Dupont")).Acceptee);
    const TLiaison::TDemandeSeuil seuil = s.Liaison->DemanderSeuil(5, 250, true, QStringLiteral("Dupont"));
    ASSERT_TRUE(seuil.Acceptee);
    EXPECT_EQ(seuil.Ids.size(), 3u);
    ASSERT_TRUE(s.Attendre([&] {
        return s.Nombre(21, 5) + s.Nombre(21, 6) + s.Nombre(21, 9) == 3
               && s.Lire(9, [](const TDonneesKMT& d) { return d.RSeuil; }) == 250;
    }));
    for (std::uint64_t i : seuil.Ids) {
        ASSERT_NE(s.Resultat(i), nullptr);
        EXPECT_EQ(s.Resultat(i)->Issue, TIssueCommande::Reussie);
    }
    for (int n : {5, 6, 9}) {
        EXPECT_EQ(s.Nombre(22, n), 1);
        EXPECT_EQ(s.Lire(n, [](const TDonneesKMT& d) { return d.NvSeuil; }), 250);
    }
    EXPECT_EQ(s.Lire(3, [](const TDonneesKMT& d) { return d.RSeuil; }), 100);
    EXPECT_EQ(s.Lire(3, [](const TDonneesKMT& d) { return d.NvSeuil; }), 0);

    // A pre-alarm that starts and ends between two polls.
    simulateur.Dire("r 6 400\nr 6 900");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(6, 6) == 1; }));
    EXPECT_EQ(s.Nombre(7, 6), 0);

    // Two garbled replies lose nobody; twelve in a row lose every device once,
    // and each comes back.
    simulateur.Dire("corrompre crc 2");
    QTest::qWait(1500);
    for (int n : {3, 5, 6, 9})
        EXPECT_EQ(s.Nombre(3, n), 0) << n;
    simulateur.Dire("corrompre unite 12");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(2, 3) == 2 && s.Nombre(2, 9) == 2; }, 15000));
    for (int n : {3, 5, 6, 9})
        EXPECT_EQ(s.Nombre(3, n), 1) << n;

    // Unplugged: every device lost once, the line reopened when it returns.
    simulateur.Tuer();
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(3, 9) == 2; }));
    for (int n : {3, 5, 6, 9})
        EXPECT_EQ(s.Nombre(3, n), 2) << n;
    EXPECT_FALSE(s.Liaison->LigneOuverte());
    EXPECT_EQ(s.Lire(6, [](const TDonneesKMT& d) { return d.EtatCom; }), ComPerdue);
    // A command meanwhile is answered at once, not kept.
    const std::uint64_t horsLigne = s.Liaison->Acquitter(6, TLiaison::TAcquit::PreAlarme, {});
    ASSERT_TRUE(s.Attendre([&] { return s.Resultat(horsLigne) != nullptr; }, 3000));
    EXPECT_EQ(s.Resultat(horsLigne)->Issue, TIssueCommande::HorsLigne);
    QFile::remove(lien);
    simulateur.Lancer(QStringLiteral(VEILLEUR_SIMULATEUR), ArgumentsSimulateur(lien, "3,5,6,9"));
    ASSERT_TRUE(s.Attendre([&] { return EnLigne(s, {3, 5, 6, 9}); }, 10000));
    for (int n : {3, 5, 6, 9})
        EXPECT_EQ(s.Nombre(2, n), 3) << n;

    // Entries came in the order observed: the request before its confirmation.
    const auto position = [&](int code, int appareil) {
        return std::find_if(s.Entrees.begin(), s.Entrees.end(),
                            [&](const TEntreeLog& e) { return e.Code == code && e.Origine == appareil; });
    };
    EXPECT_LT(position(19, 5), position(15, 5));
    EXPECT_LT(position(22, 9), position(21, 9));

    // Every device silent: stopping still takes less than a second.
    simulateur.Dire("muet tous");
    for (int essai = 0; essai < 3; ++essai) {
        QTest::qWait(130 + 70 * essai);
        QElapsedTimer chrono;
        chrono.start();
        s.Liaison->Arreter();
        EXPECT_LT(chrono.elapsed(), 1000);
        s.Liaison->Demarrer();
    }
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(3, 9) == 3; }));
    QElapsedTimer chrono;
    chrono.start();
    s.Liaison.reset();
    EXPECT_LT(chrono.elapsed(), 1000);
}

TEST(LiaisonReseau, IndependentDeviceOverTcp)
{
    const int port = PortLibre();
    const QString script = QStringLiteral(VEILLEUR_DOSSIER_TESTS "/appareil_independant.py");
    const QStringList arguments{script, QString::number(port), QStringLiteral("5,7")};
    TProgramme appareil;
    appareil.Lancer(QStringLiteral("/usr/bin/python3"), arguments);

    TConfigReseau c;
    c.Type = TConfigReseau::TType::Tcp;
    c.Hote = QStringLiteral("127.0.0.1");
    c.Port = port;
    c.DelaiReponse = 100;
    c.Appareils = {5, 7, 9};
    c.ListeDonnee = true;
    TStation s(c);
    ASSERT_TRUE(s.Attendre([&] { return EnLigne(s, {5, 7}); }));
    // Devices that start with their clock at zero get it set once.
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(23, 5) == 1 && s.Nombre(23, 7) == 1; }));
    EXPECT_EQ(s.Nombre(24, 5), 1);
    // Not measuring yet: online, identified, but not present and no 65535 anywhere.
    EXPECT_EQ(s.Lire(5, [](const TDonneesKMT& d) { return d.VLogiciel; }), 42);
    EXPECT_EQ(s.Lire(5, [](const TDonneesKMT& d) { return d.RSeuil; }), 100);
    EXPECT_FALSE(s.Lire(5, [](const TDonneesKMT& d) { return d.Present; }));
    EXPECT_EQ(s.Lire(5, [](const TDonneesKMT& d) { return d.RIsolement + d.RMin + d.NbMesures; }), 0);

    appareil.Dire("r 5 150\nr 7 800");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(7, 5) == 1; }));
    const auto preAlarme = std::find_if(s.Entrees.begin(), s.Entrees.end(), [](const TEntreeLog& e) { return e.Code == 7; });
    EXPECT_EQ(preAlarme->Valeur1, 150);
    EXPECT_EQ(preAlarme->Valeur2, 100);
    EXPECT_EQ(preAlarme->Attribut2, 1);
    EXPECT_TRUE(s.Lire(5, [](const TDonneesKMT& d) { return d.Present && d.PreAlarme && !d.Alarme; }));

    appareil.Dire("r 5 50");
    ASSERT_TRUE(s.Attendre([&] { return s.Lire(5, [](const TDonneesKMT& d) { return d.Klaxon; }); }));
    // The alarm's date, two registers high word first, read as now.
    const double date = s.Lire(5, [](const TDonneesKMT& d) { return d.DHDerniereAlarme; });
    EXPECT_NEAR(date, DateVeilleur::Maintenant(), 10.0 / 86400);
    const std::uint64_t id = s.Liaison->Acquitter(5, TLiaison::TAcquit::Alarme, QStringLiteral("Durand"));
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(14, 5) == 1; }));
    EXPECT_EQ(s.Resultat(id)->Issue, TIssueCommande::Reussie);
    EXPECT_TRUE(s.Lire(5, [](const TDonneesKMT& d) { return d.AlarmeAcquittee && d.Klaxon; }));

    const auto seuil = s.Liaison->DemanderSeuil(5, 30, true, QStringLiteral("Durand"));
    ASSERT_EQ(seuil.Ids.size(), 2u);
    ASSERT_TRUE(s.Attendre([&] { return s.Lire(7, [](const TDonneesKMT& d) { return d.RSeuil; }) == 30; }));
    // Above its new threshold: the alarm ends, the pre-alarm (below twice the threshold) stays.
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(6, 5) == 1; }));
    EXPECT_TRUE(s.Lire(5, [](const TDonneesKMT& d) { return d.PreAlarme && !d.Alarme; }));

    appareil.Dire("defaut 7 4 1");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(11, 7) == 1; }));
    EXPECT_FALSE(s.Lire(7, [](const TDonneesKMT& d) { return d.DCPlus; }));

    // A frozen heartbeat (a gateway answering from a stale cache) is a lost device.
    appareil.Dire("fige 7");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(3, 7) == 1; }, 14000));
    EXPECT_EQ(s.Nombre(3, 5), 0);

    // The gateway goes away and comes back on the same port.
    appareil.Tuer();
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(3, 5) == 1; }));
    appareil.Lancer(QStringLiteral("/usr/bin/python3"), arguments);
    ASSERT_TRUE(s.Attendre([&] { return EnLigne(s, {5, 7}); }, 10000));
    EXPECT_EQ(s.Nombre(2, 7), 2);
    EXPECT_EQ(s.Lire(9, [](const TDonneesKMT& d) { return d.EtatCom; }), ComJamais);
    EXPECT_EQ(s.Nombre(2, 9) + s.Nombre(3, 9), 0);
}

TEST(LiaisonReseau, IndependentQFL8OverTcp)
{
    const int port = PortLibre();
    TProgramme appareil;
    appareil.Lancer(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(VEILLEUR_DOSSIER_TESTS "/appareil_independant.py"), QString::number(port),
                     QStringLiteral("5,37,40")});
    appareil.Dire("unites 37 1-3,17,31\nunites 40 4\nfuite 37 5 2 1 150\nduree 37 3");

    TConfigReseau c;
    c.Type = TConfigReseau::TType::Tcp;
    c.Hote = QStringLiteral("127.0.0.1");
    c.Port = port;
    c.DelaiReponse = 100;
    c.Appareils = {5, 37, 39, 40};
    c.ListeDonnee = true;
    TStation s(c, true);
    const auto enLigne = [&](int n) { return s.LireQFL(n).EtatCom == ComEnLigne; };
    ASSERT_TRUE(s.Attendre([&] {
        return EnLigne(s, {5}) && enLigne(37) && enLigne(40) && s.LireQFL(37).ResultatsConnus
               && s.LireQFL(40).ReglagesConnus && s.Nombre(34, 37) == 1 && s.Nombre(34, 40) == 1;
    }));
    // Online once, their clocks (at zero at power-up) set once: asked, then confirmed.
    for (int n : {37, 40}) {
        EXPECT_EQ(s.Nombre(2, n), 1) << n;
        EXPECT_EQ(s.Nombre(35, n), 1) << n;
    }
    EXPECT_EQ(s.LireQFL(39).EtatCom, ComJamais);

    // Settings in register order, the connected units of both words, nothing searched yet.
    TDonneesQFL q = s.LireQFL(37);
    EXPECT_EQ(q.VLogiciel, 17);
    EXPECT_EQ(q.Reglages, (std::array<std::uint16_t, NbReglagesQFL>{1000, 1100, 500, 100, 120, 240, 230}));
    EXPECT_EQ(q.Unites, 0x40010007u);
    EXPECT_EQ(s.LireQFL(40).Unites, 0x8u);
    EXPECT_FALSE(q.RechercheEnCours || q.DefautTrouve || q.DefautAppareil);
    EXPECT_EQ(q.Recherche.Date, 0.0);
    EXPECT_EQ(q.Recherche.RTransfo, RQFLNonMesuree);
    EXPECT_EQ(q.Recherche.RDeparts[7], RQFLNonMesuree);
    EXPECT_EQ(q.Recherche.Defauts[0].Depart, 0);

    // Out of range: refused here, neither journalled nor sent.
    EXPECT_FALSE(s.Liaison->DemanderReglageQFL(37, ReglageTension, 1001, true, QStringLiteral("Durand")).Acceptee);
    EXPECT_FALSE(s.Liaison->DemanderReglageQFL(37, ReglageRSeuilKMT, 9, true, QStringLiteral("Durand")).Acceptee);
    EXPECT_FALSE(s.Liaison->DemanderReglageQFL(37, ReglageITransfo, 0, true, QStringLiteral("Durand")).Acceptee);

    // I feeders on 37 and the locators above it that are there: 40, not silent 39.
    const auto departs = s.Liaison->DemanderReglageQFL(37, ReglageIDeparts, 777, true, QStringLiteral("Durand"));
    ASSERT_TRUE(departs.Acceptee);
    ASSERT_EQ(departs.Ids.size(), 2u);
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(29, 37) == 1 && s.Nombre(29, 40) == 1; }));
    for (std::uint64_t id : departs.Ids) {
        ASSERT_NE(s.Resultat(id), nullptr);
        EXPECT_EQ(s.Resultat(id)->Issue, TIssueCommande::Reussie);
    }
    for (int n : {37, 40}) {
        ASSERT_EQ(s.Nombre(33, n), 1) << n;
        EXPECT_EQ(s.De(33, n)[0].Valeur1, 777);
        EXPECT_EQ(s.De(29, n)[0].Valeur2, 500);   // the value it replaced
        EXPECT_EQ(appareil.Demander("reglages " + QByteArray::number(n)), "1000 1100 777 100 120 240 230") << n;
    }
    EXPECT_EQ(s.Nombre(33, 39), 0);
    // The refused values never reached the device: one write each, the one above.
    EXPECT_EQ(appareil.Demander("ecritures 37"), "1 0");

    // A search from start to results; a second one while it runs is refused busy.
    const std::uint16_t compteur = s.LireQFL(37).CompteurRecherches;
    const std::uint64_t id = s.Liaison->LancerRecherche(37, QStringLiteral("Durand"));
    ASSERT_TRUE(s.Attendre([&] { return s.Resultat(id) != nullptr; }));
    EXPECT_EQ(s.Resultat(id)->Issue, TIssueCommande::Reussie);
    // Seen running by the device's own status word, not only the layer's note.
    ASSERT_TRUE(s.Attendre([&] { return (s.LireQFL(37).Etat & 1) != 0; }, 2000));
    const std::uint64_t occupe = s.Liaison->LancerRecherche(37, QStringLiteral("Martin"));
    ASSERT_TRUE(s.Attendre([&] { return s.Resultat(occupe) != nullptr; }));
    EXPECT_EQ(s.Resultat(occupe)->Issue, TIssueCommande::Exception);
    EXPECT_EQ(s.Resultat(occupe)->CodeException, DecodageModbus::ExceptionOccupe);
    ASSERT_EQ(s.Nombre(37, 37), 2);
    EXPECT_EQ(LireChaine(s.De(37, 37)[1].InfosCompl), QStringLiteral("Martin"));
    ASSERT_TRUE(s.Attendre([&] {
        const TDonneesQFL d = s.LireQFL(37);
        return !d.RechercheEnCours && d.CompteurRecherches == std::uint16_t(compteur + 1) && d.Recherche.Date > 0;
    }));
    q = s.LireQFL(37);
    EXPECT_TRUE(q.DefautTrouve);
    EXPECT_NEAR(q.Recherche.Date, DateVeilleur::Maintenant(), 10.0 / 86400);
    EXPECT_EQ(q.Recherche.ITransfo, 230 * 100 / 150);
    EXPECT_EQ(q.Recherche.RTransfo, 150);
    EXPECT_EQ(q.Recherche.RLimiteur, RQFLNonMesuree);
    int total = 0;
    for (const auto& unite : q.Recherche.IQFL16)
        for (std::uint16_t i : unite)
            total += i;
    EXPECT_EQ(q.Recherche.IQFL16[1][4], 153);   // unit 2, feeder 5, and nowhere else
    EXPECT_EQ(total, 153);
    ASSERT_NE(DefautDerniereRecherche(q), nullptr);
    const TDefautQFL premier = *DefautDerniereRecherche(q);
    EXPECT_EQ(premier, (TDefautQFL{5, 2, 150, 153, q.Recherche.Date, 1}));
    EXPECT_EQ(q.Recherche.Defauts[1].Depart, 0);

    // KMT 5's alarm starts a search on QFL8 37, which now finds a DC- fault on
    // its own feeder 4: the newest fault first, the previous one next.
    appareil.Dire("fuite 37 4 0 5 400\nduree 37 0.5");
    s.Liaison->DefinirRechercheAuto(5, true);
    appareil.Dire("r 5 50");
    ASSERT_TRUE(s.Attendre([&] { return s.Nombre(8, 5) == 1 && s.Nombre(37, 37) == 3; }));
    EXPECT_EQ(LireChaine(s.De(37, 37)[2].InfosCompl), TLiaison::UtilisateurAutomatique());
    ASSERT_TRUE(s.Attendre([&] {
        const TDonneesQFL d = s.LireQFL(37);
        return d.CompteurRecherches == std::uint16_t(compteur + 2) && d.Recherche.Defauts[1].Depart != 0;
    }));
    q = s.LireQFL(37);
    EXPECT_EQ(q.Recherche.IDeparts[1], 230 * 100 / 400);
    EXPECT_EQ(q.Recherche.RDeparts[1], 400);
    EXPECT_EQ(q.Recherche.IQFL16[1][4], 0);
    EXPECT_EQ(q.Recherche.Defauts[0].Conducteur, 5);
    EXPECT_EQ(q.Recherche.Defauts[0].Unite, 0);
    EXPECT_EQ(q.Recherche.Defauts[1], premier);
    EXPECT_GE(q.Recherche.Defauts[0].Date, q.Recherche.Defauts[1].Date);

    // Min/max reset reaches 40 alone; its device fault shows.
    const std::uint64_t raz = s.Liaison->RAZMinMax(40, QStringLiteral("Durand"));
    appareil.Dire("panne 40 1");
    ASSERT_TRUE(s.Attendre([&] { return s.Resultat(raz) != nullptr && s.LireQFL(40).DefautAppareil; }));
    EXPECT_EQ(s.Resultat(raz)->Issue, TIssueCommande::Reussie);
    EXPECT_EQ(s.Nombre(36, 40), 1);
    EXPECT_EQ(appareil.Demander("ecritures 40"), "1 1");
    EXPECT_EQ(appareil.Demander("ecritures 37"), "1 0");
    EXPECT_EQ(s.Nombre(3, 37) + s.Nombre(3, 40) + s.Nombre(3, 5), 0);
}
