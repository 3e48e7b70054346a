#include "liaison/Liaison.h"

#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "liaison/LigneModbus.h"

#include <QDateTime>
#include <algorithm>
#include <chrono>
#include <cstdlib>

using namespace DecodageModbus;
using TChangement = TSuiviAppareil::TChangement;

namespace {
std::int64_t MaintenantMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A device clock further than this from the station's is set.
constexpr std::int64_t EcartHorlogeMaxS = 2;
}

TLiaison::TLiaison(const TConfigReseau& config, TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
                   QObject* parent)
    : QObject(parent), m_config(config), m_verrou(verrou), m_donnees(donnees)
{
    Initialiser();
}

TLiaison::TLiaison(const TConfigReseau& config, TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
                   Tableau1<TDonneesQFL, NbSources>& donneesQFL, QObject* parent)
    : QObject(parent), m_config(config), m_verrou(verrou), m_donnees(donnees), m_qfl(&donneesQFL)
{
    Initialiser();
}

void TLiaison::Initialiser()
{
    for (int n : m_config.RechercheAuto)
        DefinirRechercheAuto(n, true);
    const auto ajouter = [&](int n, bool sonde) {
        TAppareil a;
        a.Numero = n;
        a.Suivi = TSuiviAppareil(sonde);
        a.QFL = EstQFL(n);
        m_appareils.push_back(std::move(a));
    };
    const auto polle = [&](int n) { return EstKMT(n) || (m_qfl && EstQFL(n)); };
    if (m_config.ListeDonnee) {
        for (int n : m_config.Appareils)
            if (polle(n))
                ajouter(n, false);
    } else {
        for (int n = PremierKMT; n <= DernierQFL; ++n)
            if (polle(n))
                ajouter(n, true);
    }
    // Source by source (KMT k, then QFL8 k + 32): a QFL8's large reads fall
    // between KMT readings rather than after all of them.
    std::stable_sort(m_appareils.begin(), m_appareils.end(), [](const TAppareil& x, const TAppareil& y) {
        return (x.Numero - 1) % DecalageQFL < (y.Numero - 1) % DecalageQFL;
    });
}

TLiaison::~TLiaison()
{
    Arreter();
}

void TLiaison::Demarrer()
{
    if (m_fil.joinable())
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_arret = false;
    }
    m_fil = std::thread([this] { Boucle(); });
}

void TLiaison::Arreter()
{
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_arret = true;
    }
    m_reveil.notify_all();
    if (m_fil.joinable())
        m_fil.join();
    // Commands still queued will never be sent: say so.
    std::deque<TCommande> restantes;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        restantes.swap(m_commandes);
    }
    for (const TCommande& c : restantes)
        Refuser(c, TIssue::Arretee);
}

bool TLiaison::ArretDemande()
{
    std::lock_guard<std::mutex> g(m_mutex);
    return m_arret;
}

bool TLiaison::Attendre(std::int64_t jusqua, bool reveilParCommande)
{
    std::unique_lock<std::mutex> g(m_mutex);
    const auto echeance = std::chrono::steady_clock::time_point(std::chrono::milliseconds(jusqua));
    m_reveil.wait_until(g, echeance, [&] { return m_arret || (reveilParCommande && !m_commandes.empty()); });
    return !m_arret;
}

std::uint64_t TLiaison::Mettre(TCommande c)
{
    {
        std::lock_guard<std::mutex> g(m_mutex);
        c.Id = m_prochainId++;
        m_commandes.push_back(c);
    }
    m_reveil.notify_all();
    return c.Id;
}

void TLiaison::Publier(std::vector<TEntreeLog> entrees, const TResultat* resultat)
{
    if (entrees.empty() && !resultat)
        return;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_entrees.insert(m_entrees.end(), entrees.begin(), entrees.end());
        if (resultat)
            m_resultats.push_back(*resultat);
    }
    if (!m_signalEnAttente.exchange(true))
        emit Disponible();
}

TLiaison::TStatistiquesCycle TLiaison::Statistiques() const
{
    std::lock_guard<std::mutex> g(m_mutexStatistiques);
    return m_statistiques;
}

std::vector<TEntreeLog> TLiaison::PrendreEntrees()
{
    std::lock_guard<std::mutex> g(m_mutex);
    m_signalEnAttente = false;
    std::vector<TEntreeLog> v(m_entrees.begin(), m_entrees.end());
    m_entrees.clear();
    return v;
}

std::vector<TLiaison::TResultat> TLiaison::PrendreResultats()
{
    std::lock_guard<std::mutex> g(m_mutex);
    m_signalEnAttente = false;
    std::vector<TResultat> v(m_resultats.begin(), m_resultats.end());
    m_resultats.clear();
    return v;
}

void TLiaison::Refuser(const TCommande& c, TIssue issue)
{
    const TResultat r{c.Id, c.Appareil, c.Genre, c.Valeur, issue, 0, c.Reglage};
    Publier({}, &r);
}

std::uint64_t TLiaison::Acquitter(int appareil, TAcquit quoi, const QString& utilisateur)
{
    const int valeur = static_cast<int>(quoi);
    if (!EstKMT(appareil) || valeur < 1 || valeur > 3)
        return 0;
    // The operator's request is journalled for the horn and the alarm.
    if (quoi != TAcquit::PreAlarme) {
        const std::uint8_t code =
            quoi == TAcquit::Klaxon ? CodeJournal::DemandeAcquitKlaxon : CodeJournal::DemandeAcquitAlarme;
        Publier({EntreeLiaison(code, DateVeilleur::Maintenant(), appareil, 0, 1, 0, 0, utilisateur)});
    }
    return Mettre(TCommande{0, appareil, TGenreCommande::Acquitter, static_cast<std::uint16_t>(valeur)});
}

TLiaison::TDemandeSeuil TLiaison::DemanderSeuil(int appareil, int seuil, bool appliquerAuxSuivants,
                                                const QString& utilisateur)
{
    TDemandeSeuil demande;
    if (!EstKMT(appareil) || !SeuilValide(seuil))
        return demande;
    demande.Acceptee = true;
    std::vector<std::pair<int, std::uint16_t>> cibles;  // device, threshold in force
    {
        TLectureDonnees lecture(m_verrou);
        cibles.emplace_back(appareil, m_donnees[appareil].RSeuil);
        if (appliquerAuxSuivants)
            for (int n = appareil + 1; n <= DernierKMT; ++n)
                if (m_donnees[n].Present && m_donnees[n].EtatCom == ComEnLigne)
                    cibles.emplace_back(n, m_donnees[n].RSeuil);
    }
    const double maintenant = DateVeilleur::Maintenant();
    for (const auto& [n, ancien] : cibles) {
        Publier({EntreeLiaison(CodeJournal::SeuilDemande, maintenant, n, 0, 1, seuil, ancien, utilisateur)});
        demande.Ids.push_back(Mettre(TCommande{0, n, TGenreCommande::Seuil, static_cast<std::uint16_t>(seuil)}));
    }
    return demande;
}

namespace {
// Journal codes of each QFL8 setting: request, confirmation; 0 for the
// settings journalled under one code with their name.
struct TJournalReglage {
    std::uint8_t Demande;
    std::uint8_t Confirme;
    const char* Nom;
};
constexpr TJournalReglage JournalReglages[NbReglagesQFL] = {
    {CodeJournal::DemandeITransfoQFL, CodeJournal::ITransfoQFL, "I transfo"},
    {CodeJournal::DemandeILimiteurQFL, CodeJournal::ILimiteurQFL, "I limiteur"},
    {CodeJournal::DemandeIDepartsQFL, CodeJournal::IDepartsQFL, "I départs"},
    {CodeJournal::DemandeRSeuilQFL, CodeJournal::RSeuilQFL, "R seuil"},
    {CodeJournal::ReglageQFL, CodeJournal::ReglageQFL, "R1"},
    {CodeJournal::ReglageQFL, CodeJournal::ReglageQFL, "R2"},
    {CodeJournal::ReglageQFL, CodeJournal::ReglageQFL, "Tension"},
};
}

TLiaison::TDemandeSeuil TLiaison::DemanderReglageQFL(int appareil, int reglage, int valeur,
                                                     bool appliquerAuxSuivants, const QString& utilisateur)
{
    TDemandeSeuil demande;
    if (!m_qfl || !EstQFL(appareil) || !ReglageQFLValide(reglage, valeur))
        return demande;
    demande.Acceptee = true;
    std::vector<std::pair<int, std::uint16_t>> cibles;  // device, value in force
    {
        TLectureDonnees lecture(m_verrou);
        const auto& q = *m_qfl;
        cibles.emplace_back(appareil, q[appareil - DecalageQFL].Reglages[std::size_t(reglage)]);
        if (appliquerAuxSuivants)
            for (int n = appareil + 1; n <= DernierQFL; ++n)
                if (q[n - DecalageQFL].Present && q[n - DecalageQFL].EtatCom == ComEnLigne)
                    cibles.emplace_back(n, q[n - DecalageQFL].Reglages[std::size_t(reglage)]);
    }
    const TJournalReglage& j = JournalReglages[reglage];
    const bool nomme = j.Demande == CodeJournal::ReglageQFL;
    // Settings without a code of their own carry their name before the user's.
    const QString infos = nomme ? QString::fromUtf8(j.Nom) + QStringLiteral(" - ") + utilisateur : utilisateur;
    const double maintenant = DateVeilleur::Maintenant();
    for (const auto& [n, ancien] : cibles) {
        Publier({EntreeLiaison(j.Demande, maintenant, n, nomme ? 1 : 0, 1, valeur, ancien, infos)});
        demande.Ids.push_back(
            Mettre(TCommande{0, n, TGenreCommande::ReglageQFL, static_cast<std::uint16_t>(valeur), reglage}));
    }
    return demande;
}

std::uint64_t TLiaison::LancerRecherche(int appareil, const QString& utilisateur)
{
    if (!m_qfl || !EstQFL(appareil))
        return 0;
    Publier({EntreeLiaison(CodeJournal::DemandeRecherche, DateVeilleur::Maintenant(), appareil, 0, 1, 0, 0,
                           utilisateur)});
    return Mettre(TCommande{0, appareil, TGenreCommande::RechercheQFL, DecodageQFL::CommandeRecherche, -1});
}

std::uint64_t TLiaison::RAZMinMax(int appareil, const QString& utilisateur)
{
    if (!m_qfl || !EstQFL(appareil))
        return 0;
    Publier({EntreeLiaison(CodeJournal::DemandeRAZMinMax, DateVeilleur::Maintenant(), appareil, 0, 1, 0, 0,
                           utilisateur)});
    return Mettre(TCommande{0, appareil, TGenreCommande::RAZMinMaxQFL, DecodageQFL::CommandeRAZMinMax, -1});
}

void TLiaison::DefinirRechercheAuto(int kmt, bool active)
{
    if (!EstKMT(kmt))
        return;
    const std::uint32_t bit = 1u << (kmt - 1);
    if (active)
        m_rechercheAuto.fetch_or(bit);
    else
        m_rechercheAuto.fetch_and(~bit);
}

bool TLiaison::RechercheAuto(int kmt) const
{
    return EstKMT(kmt) && (m_rechercheAuto.load() >> (kmt - 1) & 1u);
}

TLiaison::TAppareil* TLiaison::Trouver(int numero)
{
    for (TAppareil& a : m_appareils)
        if (a.Numero == numero)
            return &a;
    return nullptr;
}

// ---- Worker ----

void TLiaison::Boucle()
{
    m_ligne = std::make_unique<TLigneModbus>(m_config);
    while (!ArretDemande()) {
        const std::int64_t maintenant = MaintenantMs();
        if (!m_ligne->Ouverte()) {
            if (maintenant >= m_prochaineOuverture) {
                m_ligneOuverte = m_ligne->Ouvrir();
                if (!m_ligneOuverte)
                    m_prochaineOuverture = maintenant + DelaiReouvertureMs;
            }
            if (!m_ligne->Ouverte()) {
                std::deque<TCommande> enAttente;
                {
                    std::lock_guard<std::mutex> g(m_mutex);
                    enAttente.swap(m_commandes);
                }
                for (const TCommande& c : enAttente)
                    Refuser(c, TIssue::HorsLigne);
                Attendre(std::min(m_prochaineOuverture, MaintenantMs() + 100), true);
                continue;
            }
        }
        const std::int64_t debut = MaintenantMs();
        Cycle();
        Attendre(debut + CycleMinMs, true);
    }
    m_ligne.reset();
    m_ligneOuverte = false;
}

void TLiaison::Cycle()
{
    const auto debut = std::chrono::steady_clock::now();
    const TLigneModbus::TCompteurs avant = m_ligne->Compteurs();
    m_morceauxCycle = 0;
    std::deque<TCommande> commandes;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        commandes.swap(m_commandes);
    }
    // Commands first, each before its device's reading; those for a device
    // that is not online are answered at once.
    for (TAppareil& a : m_appareils) {
        if (ArretDemande() || !m_ligne->Ouverte())
            break;
        for (auto it = commandes.begin(); it != commandes.end();) {
            if (it->Appareil != a.Numero) {
                ++it;
                continue;
            }
            if (a.Suivi.EnLigne())
                Executer(a, *it);
            else
                Refuser(*it, TIssue::HorsLigne);
            it = commandes.erase(it);
            if (!m_ligne->Ouverte())
                break;
        }
        if (!a.Suivi.EnLigne() || !m_ligne->Ouverte())
            continue;
        if (a.HorlogeAVerifier)
            VerifierHorloge(a);
        if (a.Suivi.EnLigne() && m_ligne->Ouverte() && !ArretDemande())
            Interroger(a);
    }
    for (const TCommande& c : commandes)
        Refuser(c, ArretDemande() ? TIssue::Arretee : TIssue::HorsLigne);

    // Devices that are not online: those whose time has come are tried until
    // one fails, so that a silent one costs the cycle one delay at most; the
    // numbers probed without a list, one per cycle.
    std::vector<TAppareil*> dus;
    const std::int64_t maintenant = MaintenantMs();
    for (TAppareil& a : m_appareils)
        if (a.Suivi.EssaiDu(maintenant))
            dus.push_back(&a);
    std::stable_sort(dus.begin(), dus.end(),
                     [](const TAppareil* x, const TAppareil* y) { return x->Suivi.ProchainEssai() < y->Suivi.ProchainEssai(); });
    for (TAppareil* a : dus) {
        if (ArretDemande() || !m_ligne->Ouverte())
            break;
        const bool repondu = Interroger(*a);
        if (!repondu || !m_config.ListeDonnee)
            break;
    }

    if (m_ligne->Ouverte()) {
        const TLigneModbus::TCompteurs apres = m_ligne->Compteurs();
        std::lock_guard<std::mutex> g(m_mutexStatistiques);
        m_statistiques.DureeUs =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - debut).count();
        m_statistiques.PlancherUs = static_cast<std::int64_t>(apres.PlancherUs - avant.PlancherUs);
        m_statistiques.Transactions = static_cast<int>(apres.Transactions - avant.Transactions);
        ++m_statistiques.Cycles;
    }
}

void TLiaison::Perdu(TAppareil& a)
{
    const double maintenant = DateVeilleur::Maintenant();
    {
        TEcritureDonnees ecriture(m_verrou);
        if (a.QFL) {
            TDonneesQFL& q = (*m_qfl)[a.Numero - DecalageQFL];
            if (q.EtatCom != ComPerdue) {
                q.EtatCom = ComPerdue;
                q.DHEtatCom = maintenant;
            }
        } else {
            DefinirEtatCom(m_donnees[a.Numero], ComPerdue, maintenant);
        }
    }
    // What it says when it answers again is read afresh.
    a.CompteurConnu = false;
    a.Morceaux.clear();
    Publier({EntreeLiaison(CodeJournal::Perdu, maintenant, a.Numero, 0, 1)});
}

void TLiaison::NoterEchec(TAppareil& a)
{
    if (a.Suivi.Echec(MaintenantMs()) == TChangement::Perdu)
        Perdu(a);
}

void TLiaison::LignePerdue()
{
    m_ligne->Fermer();
    m_ligneOuverte = false;
    m_prochaineOuverture = MaintenantMs() + DelaiReouvertureMs;
    // Nothing is known of the devices while the line is gone.
    for (TAppareil& a : m_appareils)
        if (a.Suivi.LigneFermee(MaintenantMs()) == TChangement::Perdu)
            Perdu(a);
}

std::vector<std::uint16_t> TLiaison::LireKMT(TAppareil& a, TLigneModbus::TResultat& resultat)
{
    return LireEtat(a, NbRegistresKMT, resultat);
}

std::vector<std::uint16_t> TLiaison::LireEtat(TAppareil& a, int nombre, TLigneModbus::TResultat& resultat)
{
    const auto unite = static_cast<std::uint8_t>(a.Numero);
    const auto total = static_cast<std::uint16_t>(nombre);
    if (!a.LectureEnDeux) {
        TLigneModbus::TTransaction t = m_ligne->Executer({unite, FonctionLireEntrees, 0, total, 0});
        resultat = t.Resultat;
        if (t.Resultat != TLigneModbus::TResultat::Exception || t.CodeException != ExceptionAdresse)
            return t.Registres;
        // Registers 4..9 hold nothing: a device may refuse to read them.
        a.LectureEnDeux = true;
    }
    TLigneModbus::TTransaction identification = m_ligne->Executer({unite, FonctionLireEntrees, 0, 4, 0});
    resultat = identification.Resultat;
    if (resultat != TLigneModbus::TResultat::Reponse)
        return {};
    TLigneModbus::TTransaction mesures = m_ligne->Executer({unite, FonctionLireEntrees, 10, static_cast<std::uint16_t>(total - 10), 0});
    resultat = mesures.Resultat;
    if (resultat != TLigneModbus::TResultat::Reponse)
        return {};
    std::vector<std::uint16_t> registres(total, 0);
    std::copy(identification.Registres.begin(), identification.Registres.end(), registres.begin());
    std::copy(mesures.Registres.begin(), mesures.Registres.end(), registres.begin() + 10);
    return registres;
}

bool TLiaison::Interroger(TAppareil& a)
{
    return a.QFL ? InterrogerQFL(a) : InterrogerKMT(a);
}

bool TLiaison::InterrogerKMT(TAppareil& a)
{
    TLigneModbus::TResultat resultat = TLigneModbus::TResultat::Echec;
    const std::vector<std::uint16_t> registres = LireKMT(a, resultat);
    if (resultat == TLigneModbus::TResultat::LigneHS) {
        LignePerdue();
        return false;
    }
    TLectureKMT lecture;
    if (resultat != TLigneModbus::TResultat::Reponse
        || !DecoderKMT(registres.data(), static_cast<int>(registres.size()), lecture)) {
        NoterEchec(a);
        return false;
    }
    const std::int64_t ms = MaintenantMs();
    const TChangement changement = a.Suivi.Reponse(ms, lecture.Battement);
    if (changement == TChangement::Perdu) {
        Perdu(a);
        return true;
    }
    if (!a.Suivi.EnLigne())
        return true;  // still frozen

    const double maintenant = DateVeilleur::Maintenant();
    std::vector<TEntreeLog> entrees;
    if (changement == TChangement::Retrouve) {
        entrees.push_back(EntreeLiaison(CodeJournal::Retrouve, maintenant, a.Numero, 0, 1));
        a.HorlogeAVerifier = true;
    }
    const std::vector<TEntreeLog> transitions = TransitionsKMT(a.Numero, a.Observe, lecture, maintenant);
    entrees.insert(entrees.end(), transitions.begin(), transitions.end());
    {
        TEcritureDonnees ecriture(m_verrou);
        TDonneesKMT& d = m_donnees[a.Numero];
        AppliquerLectureKMT(d, lecture);
        DefinirEtatCom(d, ComEnLigne, maintenant);
        if (d.Present && ms >= a.ProchainEchantillon) {
            AjouterEchantillonKMT(d, maintenant);
            // Keeps the 2 s rhythm unless the device was away for longer.
            a.ProchainEchantillon = (a.ProchainEchantillon == 0 || ms - a.ProchainEchantillon > PeriodeHistoriqueMs)
                                        ? ms + PeriodeHistoriqueMs
                                        : a.ProchainEchantillon + PeriodeHistoriqueMs;
        }
    }
    a.Observe = TEtatObserveKMT{true, lecture.Etat, lecture.Compteur};
    a.Lecture = lecture;
    const bool alarme = std::any_of(transitions.begin(), transitions.end(),
                                    [](const TEntreeLog& e) { return e.Code == CodeJournal::DebutAlarme; });
    Publier(std::move(entrees));
    if (alarme && RechercheAuto(a.Numero))
        RechercheAutomatique(a.Numero);
    return true;
}

void TLiaison::RechercheAutomatique(int kmt)
{
    const int qfl = kmt + DecalageQFL;
    const TAppareil* cible = Trouver(qfl);
    // Only a locator that is there can search.
    if (!m_qfl || !cible || !cible->Suivi.EnLigne())
        return;
    Publier({EntreeLiaison(CodeJournal::DemandeRecherche, DateVeilleur::Maintenant(), qfl, 0, 1, 0, 0,
                           UtilisateurAutomatique())});
    Mettre(TCommande{0, qfl, TGenreCommande::RechercheQFL, DecodageQFL::CommandeRecherche, -1});
}

bool TLiaison::InterrogerQFL(TAppareil& a)
{
    using namespace DecodageQFL;
    TLigneModbus::TResultat resultat = TLigneModbus::TResultat::Echec;
    const std::vector<std::uint16_t> registres = LireEtat(a, NbRegistresEtat, resultat);
    if (resultat == TLigneModbus::TResultat::LigneHS) {
        LignePerdue();
        return false;
    }
    TEtatQFL etat;
    if (resultat != TLigneModbus::TResultat::Reponse
        || !DecoderEtat(registres.data(), static_cast<int>(registres.size()), etat)) {
        NoterEchec(a);
        return false;
    }
    const TChangement changement = a.Suivi.Reponse(MaintenantMs(), etat.Battement);
    if (changement == TChangement::Perdu) {
        Perdu(a);
        return true;
    }
    if (!a.Suivi.EnLigne())
        return true;

    const double maintenant = DateVeilleur::Maintenant();
    if (changement == TChangement::Retrouve) {
        Publier({EntreeLiaison(CodeJournal::Retrouve, maintenant, a.Numero, 0, 1)});
        a.HorlogeAVerifier = true;
        a.ProchainsReglages = 0;
        a.CompteurConnu = false;
    }
    // A search ended (or one was never read): fetch it, from the start if it
    // ends again meanwhile.
    bool resultatsPerimes = false;
    if (!a.CompteurConnu || etat.Compteur != a.CompteurVise) {
        resultatsPerimes = a.CompteurConnu;
        a.CompteurConnu = true;
        a.CompteurVise = etat.Compteur;
        a.Morceaux = MorceauxRecherche();
        a.MorceauSuivant = 0;
        if (!a.Tampon)
            a.Tampon = std::make_unique<TRechercheQFL>();
        *a.Tampon = TRechercheQFL{};
    }
    {
        TEcritureDonnees ecriture(m_verrou);
        TDonneesQFL& q = (*m_qfl)[a.Numero - DecalageQFL];
        AppliquerEtat(q, etat);
        // The counter and the status word already speak of the new search:
        // the previous one's results must not be read beside them.
        if (resultatsPerimes)
            q.ResultatsConnus = false;
        if (q.EtatCom != ComEnLigne) {
            q.EtatCom = ComEnLigne;
            q.DHEtatCom = maintenant;
        }
    }
    if (MaintenantMs() >= a.ProchainsReglages && !LireReglages(a))
        return true;
    if (a.Suivi.EnLigne() && !a.Morceaux.empty() && m_morceauxCycle < MorceauxParCycle)
        LireMorceau(a);
    return true;
}

bool TLiaison::LireReglages(TAppareil& a)
{
    const TLigneModbus::TTransaction t = m_ligne->Executer(
        {static_cast<std::uint8_t>(a.Numero), FonctionLireMaintien, DecodageQFL::RegistreReglages, NbReglagesQFL, 0});
    if (t.Resultat == TLigneModbus::TResultat::LigneHS) {
        LignePerdue();
        return false;
    }
    if (t.Resultat == TLigneModbus::TResultat::Echec) {
        NoterEchec(a);  // tried again at the next poll
        return a.Suivi.EnLigne();
    }
    if (t.Resultat == TLigneModbus::TResultat::Exception) {
        // Refused: not asked again at every poll.
        a.ProchainsReglages = MaintenantMs() + PeriodeReglagesMs;
        return true;
    }
    a.ProchainsReglages = MaintenantMs() + PeriodeReglagesMs;
    TEcritureDonnees ecriture(m_verrou);
    TDonneesQFL& q = (*m_qfl)[a.Numero - DecalageQFL];
    std::copy(t.Registres.begin(), t.Registres.end(), q.Reglages.begin());
    q.ReglagesConnus = true;
    return true;
}

bool TLiaison::LireMorceau(TAppareil& a)
{
    ++m_morceauxCycle;
    const DecodageQFL::TMorceau m = a.Morceaux[a.MorceauSuivant];
    const TLigneModbus::TTransaction t =
        m_ligne->Executer({static_cast<std::uint8_t>(a.Numero), FonctionLireEntrees, m.Adresse, m.Nombre, 0});
    switch (t.Resultat) {
    case TLigneModbus::TResultat::LigneHS:
        LignePerdue();
        return false;
    case TLigneModbus::TResultat::Echec:
        NoterEchec(a);  // the same piece again at the next poll
        return false;
    case TLigneModbus::TResultat::Exception:
        // A device that does not map these registers has no results to give.
        a.Morceaux.clear();
        return false;
    case TLigneModbus::TResultat::Reponse:
        break;
    }
    DecodageQFL::AppliquerMorceau(m.Adresse, t.Registres, *a.Tampon);
    if (++a.MorceauSuivant < a.Morceaux.size())
        return true;
    a.Morceaux.clear();
    TEcritureDonnees ecriture(m_verrou);
    TDonneesQFL& q = (*m_qfl)[a.Numero - DecalageQFL];
    q.Recherche = *a.Tampon;
    q.ResultatsConnus = true;
    return true;
}

void TLiaison::VerifierHorloge(TAppareil& a)
{
    a.HorlogeAVerifier = false;
    const auto unite = static_cast<std::uint8_t>(a.Numero);
    const std::uint16_t registre = a.QFL ? DecodageQFL::RegistreHorloge : RegistreHorlogeKMT;
    const std::uint8_t codeDemande = a.QFL ? CodeJournal::HorlogeDemandeeQFL : CodeJournal::HorlogeDemandee;
    const std::uint8_t codeConfirme = a.QFL ? CodeJournal::HorlogeConfirmeeQFL : CodeJournal::HorlogeConfirmee;
    TLigneModbus::TTransaction t = m_ligne->Executer({unite, FonctionLireMaintien, registre, 2, 0});
    if (t.Resultat == TLigneModbus::TResultat::LigneHS) {
        LignePerdue();
        return;
    }
    if (t.Resultat == TLigneModbus::TResultat::Echec) {
        NoterEchec(a);
        return;
    }
    if (t.Resultat != TLigneModbus::TResultat::Reponse)
        return;  // refused: the device keeps its clock
    const std::int64_t station = QDateTime::currentSecsSinceEpoch();
    const std::int64_t appareil = Mot32(t.Registres[0], t.Registres[1]);
    if (std::llabs(station - appareil) <= EcartHorlogeMaxS)
        return;
    Publier({EntreeLiaison(codeDemande, DateVeilleur::Maintenant(), a.Numero, 0, 1)});
    const auto secondes = static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
    const std::uint16_t valeurs[2] = {static_cast<std::uint16_t>(secondes >> 16),
                                      static_cast<std::uint16_t>(secondes & 0xFFFF)};
    t = m_ligne->Executer({unite, FonctionEcrirePlusieurs, registre, 2, 0}, valeurs);
    if (t.Resultat == TLigneModbus::TResultat::LigneHS)
        LignePerdue();
    else if (t.Resultat == TLigneModbus::TResultat::Echec)
        NoterEchec(a);
    else if (t.Resultat == TLigneModbus::TResultat::Reponse)
        Publier({EntreeLiaison(codeConfirme, DateVeilleur::Maintenant(), a.Numero, 0, 1)});
}

void TLiaison::Executer(TAppareil& a, const TCommande& c)
{
    TRequete requete{static_cast<std::uint8_t>(a.Numero), FonctionEcrireUn, RegistreCommandeKMT, 1, c.Valeur};
    std::uint16_t ancien = a.Lecture.RSeuil;
    switch (c.Genre) {
    case TGenreCommande::Acquitter:
        break;
    case TGenreCommande::Seuil: {
        requete.Adresse = RegistreSeuilKMT;
        TEcritureDonnees ecriture(m_verrou);
        m_donnees[a.Numero].NvSeuil = c.Valeur;
        ancien = m_donnees[a.Numero].RSeuil;
        break;
    }
    case TGenreCommande::ReglageQFL: {
        requete.Adresse = static_cast<std::uint16_t>(DecodageQFL::RegistreReglages + c.Reglage);
        TLectureDonnees lecture(m_verrou);
        ancien = (*m_qfl)[a.Numero - DecalageQFL].Reglages[std::size_t(c.Reglage)];
        break;
    }
    case TGenreCommande::RechercheQFL:
    case TGenreCommande::RAZMinMaxQFL:
        requete.Adresse = DecodageQFL::RegistreCommande;
        break;
    }
    const TLigneModbus::TTransaction t = m_ligne->Executer(requete);
    TResultat r{c.Id, c.Appareil, c.Genre, c.Valeur, TIssue::Reussie, 0, c.Reglage};
    std::vector<TEntreeLog> entrees;
    switch (t.Resultat) {
    case TLigneModbus::TResultat::Reponse:
        if (c.Genre == TGenreCommande::Seuil) {
            entrees.push_back(EntreeLiaison(CodeJournal::SeuilConfirme, DateVeilleur::Maintenant(), a.Numero, 0, 1,
                                            c.Valeur, ancien));
        } else if (c.Genre == TGenreCommande::ReglageQFL) {
            const TJournalReglage& j = JournalReglages[c.Reglage];
            const bool nomme = j.Confirme == CodeJournal::ReglageQFL;
            entrees.push_back(EntreeLiaison(j.Confirme, DateVeilleur::Maintenant(), a.Numero, 0, 1, c.Valeur, ancien,
                                            nomme ? QString::fromUtf8(j.Nom) : QString()));
            TEcritureDonnees ecriture(m_verrou);
            (*m_qfl)[a.Numero - DecalageQFL].Reglages[std::size_t(c.Reglage)] = c.Valeur;
            a.ProchainsReglages = 0;
        } else if (c.Genre == TGenreCommande::RechercheQFL) {
            // Shown at once; the device's status word says when it ends.
            TEcritureDonnees ecriture(m_verrou);
            (*m_qfl)[a.Numero - DecalageQFL].RechercheEnCours = true;
        }
        break;
    case TLigneModbus::TResultat::Exception:
        // A refused command says nothing against the device's health.
        r.Issue = TIssue::Exception;
        r.CodeException = t.CodeException;
        break;
    case TLigneModbus::TResultat::Echec:
        r.Issue = TIssue::SansReponse;
        NoterEchec(a);
        break;
    case TLigneModbus::TResultat::LigneHS:
        r.Issue = TIssue::HorsLigne;
        LignePerdue();
        break;
    }
    Publier(std::move(entrees), &r);
}
