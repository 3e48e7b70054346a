#include "app/GenerateurDemo.h"

#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"

#include <algorithm>
#include <cmath>
#include <cstring>

std::int32_t TAleatoire::Random(std::int32_t n)
{
    m_graine = m_graine * 134775813u + 1u;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(m_graine) * static_cast<std::uint32_t>(n)) >> 32);
}

TGenerateurDemo::TGenerateurDemo(TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
                                 std::int32_t& compteur, EnvoiLog envoi, Horloge horloge, Horloge horlogeMonotone)
    : m_verrou(verrou), m_donnees(donnees), m_compteur(compteur), m_envoi(std::move(envoi)),
      m_horloge(horloge ? std::move(horloge) : Horloge([] { return DateVeilleur::Maintenant(); })),
      m_horlogeMonotone(horlogeMonotone ? std::move(horlogeMonotone) : Horloge(InstantMonotone))
{
}

namespace {
// Halves go to the even neighbour (the default rounding mode).
long Arrondi(double x)
{
    return std::lrint(std::nearbyint(x));
}

// Clears the flag even when a log send throws.
class TDrapeau {
public:
    explicit TDrapeau(bool& drapeau) : m_drapeau(drapeau) { m_drapeau = true; }
    ~TDrapeau() { m_drapeau = false; }
private:
    bool& m_drapeau;
};
}

void TGenerateurDemo::Tick()
{
    TDrapeau enCours(m_tickEnCours);
    TEcritureDonnees ecriture(m_verrou);
    for (const TAcquit& a : m_acquits)
        AppliquerAcquit(a.Appareil, a.Quoi);
    m_acquits.clear();
    DecalerHistorique(m_donnees[AppareilLent]);
    DecalerHistorique(m_donnees[AppareilRapide]);

    const std::int32_t s = m_compteur;
    // Device 12 drifts slowly with large noise, device 26 falls fast with small
    // noise; 12 draws first.
    const int bruitLent = m_aleatoire.Random(100) - 50;
    ProduireEchantillon(AppareilLent, 300.0 - s / 10.0, bruitLent, 100.0 + 3.0 * std::sin(s / 5.6));
    const int bruitRapide = m_aleatoire.Random(10) - 5;
    ProduireEchantillon(AppareilRapide, 360.0 - s, bruitRapide, 100.0 + 6.0 * std::sin(s / 50.0));
    ++m_compteur;
}

void TGenerateurDemo::ProduireEchantillon(int appareil, double base, int bruit, double seuil)
{
    TDonneesKMT& r = m_donnees[appareil];
    const double maintenant = m_horloge();
    r.Present = true;
    ++r.NbMesures;
    const int k = r.NbMesures;
    r.HistDate[k] = maintenant;
    r.HistMonotone[k] = m_horlogeMonotone();
    r.HistRIsolement[k] = static_cast<std::uint16_t>(std::max<long>(Arrondi(base), Plancher) + bruit);
    r.HistRSeuil[k] = static_cast<std::uint16_t>(Arrondi(seuil));
    r.RSeuil = r.HistRSeuil[k];
    r.RIsolement = r.HistRIsolement[k];
    r.PreAlarme = r.RIsolement < 2u * r.RSeuil;
    r.Alarme = r.RIsolement < r.RSeuil;
    if (r.Alarme)
        r.DHDerniereAlarme = maintenant;
    // An acknowledgement lasts as long as its condition.
    if (!r.PreAlarme)
        r.PreAlarmeAcquittee = false;
    if (!r.Alarme)
        r.AlarmeAcquittee = false;
    if (r.PreAlarme && m_envoi) {
        TEntreeLog entree;
        std::memset(static_cast<void*>(&entree), 0, sizeof(entree));
        entree.Code = 7;  // pre-alarm KMT
        entree.DateHeure = maintenant;
        entree.Origine = static_cast<std::uint8_t>(appareil);
        entree.Attribut1 = 0;
        entree.Attribut2 = 1;
        entree.Valeur1 = r.RIsolement;
        entree.Valeur2 = r.RSeuil;
        m_envoi(entree);
    }
}

bool TGenerateurDemo::PeutTourner() const
{
    return !m_tickEnCours && !m_verrou.LectureEnCoursIci();
}

bool TGenerateurDemo::Demander()
{
    // A tick already waiting stands for this one too.
    m_enAttente = true;
    return !Reprendre();
}

bool TGenerateurDemo::Reprendre()
{
    // Loops only for a tick asked for while this one was running.
    while (m_enAttente && PeutTourner()) {
        m_enAttente = false;
        Tick();
    }
    return m_enAttente;
}

void TGenerateurDemo::Acquitter(int appareil, TAcquitAppareil quoi)
{
    if (appareil != AppareilLent && appareil != AppareilRapide)
        return;
    if (m_verrou.LectureEnCoursIci() || m_tickEnCours) {
        m_acquits.push_back({appareil, quoi});
        return;
    }
    TEcritureDonnees ecriture(m_verrou);
    AppliquerAcquit(appareil, quoi);
}

void TGenerateurDemo::AppliquerAcquit(int appareil, TAcquitAppareil quoi)
{
    TDonneesKMT& r = m_donnees[appareil];
    switch (quoi) {
    case TAcquitAppareil::PreAlarme:
        if (r.PreAlarme)
            r.PreAlarmeAcquittee = true;
        break;
    case TAcquitAppareil::Alarme:
        if (r.Alarme)
            r.AlarmeAcquittee = true;
        break;
    case TAcquitAppareil::Klaxon:
        // Silencing the horn: it stops and stays acknowledged.
        if (r.Klaxon) {
            r.Klaxon = false;
            r.KlaxonAcquitte = true;
        }
        break;
    }
}
