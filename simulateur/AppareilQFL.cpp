#include "simulateur/AppareilQFL.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint16_t VersionLogiciel = 7;
constexpr int PremierReglage = 100;
constexpr int RegistreCommande = 110;
constexpr int RegistreHorloge = 111;
constexpr int PremierResultat = 20;
constexpr int PremierQFL16 = 100;
constexpr int DernierQFL16 = 595;
constexpr int PremierDefaut = 600;
constexpr int NbDefauts = 10;
constexpr int TailleDefaut = 8;
constexpr std::uint16_t PasDeMesure = 65535;

struct TBornes {
    std::uint16_t Min, Max;
};
constexpr TBornes Bornes[TAppareilQFL::NbReglages] = {{1, 50000}, {1, 50000}, {1, 50000}, {10, 10000},
                                                      {1, 65534}, {1, 65534}, {1, 1000}};

} // namespace

TAppareilQFL::TAppareilQFL(int numero, TInstant dureeRechercheMs)
    : TAppareil(numero, 2, VersionLogiciel), m_dureeRecherche(dureeRechercheMs),
      m_reglages{1000, 1000, 300, 50, 100, 200, 230}
{
    // Before any search: nothing measured.
    for (int a = 23; a <= 41; a += 2)
        m_resultats[std::size_t(a)] = PasDeMesure;
}

bool TAppareilQFL::Entree(int adresse, std::uint16_t& valeur) const
{
    switch (adresse) {
    case 10: valeur = m_statut; return true;
    case 11: valeur = m_recherches; return true;
    case 12: valeur = std::uint16_t(m_unites & 0xFFFF); return true;
    case 13: valeur = std::uint16_t(m_unites >> 16); return true;
    default: break;
    }
    if ((adresse >= PremierResultat && adresse <= 41) || (adresse >= PremierQFL16 && adresse <= DernierQFL16) ||
        (adresse >= PremierDefaut && adresse < PremierDefaut + NbDefauts * TailleDefaut)) {
        valeur = m_resultats[std::size_t(adresse)];
        return true;
    }
    return false;
}

bool TAppareilQFL::Maintien(int adresse, std::uint16_t& valeur) const
{
    if (adresse >= PremierReglage && adresse < PremierReglage + NbReglages) {
        valeur = m_reglages[std::size_t(adresse - PremierReglage)];
        return true;
    }
    switch (adresse) {
    case RegistreCommande: valeur = 0; return true;
    case RegistreHorloge: valeur = Haut(Horloge()); return true;
    case RegistreHorloge + 1: valeur = Bas(Horloge()); return true;
    default: return false;
    }
}

std::uint8_t TAppareilQFL::Ecrire(int adresse, const std::vector<std::uint16_t>& valeurs, bool seul)
{
    const int fin = adresse + int(valeurs.size());
    for (int a = adresse; a < fin; ++a)
        if (!(a >= PremierReglage && a < PremierReglage + NbReglages) && a != RegistreCommande && a != RegistreHorloge &&
            a != RegistreHorloge + 1)
            return ExceptionAdresse;
    // The clock's two halves go together, in one function 16.
    const bool horloge = adresse <= RegistreHorloge + 1 && fin > RegistreHorloge;
    if (horloge && (seul || adresse > RegistreHorloge || fin < RegistreHorloge + 2))
        return ExceptionAdresse;
    bool recherche = false;
    for (int a = adresse; a < fin; ++a) {
        const std::uint16_t v = valeurs[std::size_t(a - adresse)];
        if (a < PremierReglage + NbReglages) {
            const TBornes& b = Bornes[a - PremierReglage];
            if (v < b.Min || v > b.Max)
                return ExceptionValeur;
        } else if (a == RegistreCommande) {
            if (v < 1 || v > 2)
                return ExceptionValeur;
            recherche = v == 1;
        }
    }
    if (recherche && m_finRecherche >= 0)
        return ExceptionOccupe;
    for (int a = adresse; a < fin; ++a) {
        const std::uint16_t v = valeurs[std::size_t(a - adresse)];
        if (a < PremierReglage + NbReglages) {
            m_reglages[std::size_t(a - PremierReglage)] = v;
        } else if (a == RegistreCommande && v == 1) {
            m_finRecherche = m_maintenant + m_dureeRecherche;
            m_statut |= BitRecherche;
        } else if (a == RegistreHorloge) {
            RegleHorloge(std::uint32_t(v) << 16 | valeurs[std::size_t(a + 1 - adresse)]);
        }
        // Command 2 (reset min/max) keeps nothing this simulation shows.
    }
    return ExceptionAucune;
}

void TAppareilQFL::Evoluer(TInstant maintenant)
{
    m_maintenant = maintenant;
    if (m_finRecherche >= 0 && maintenant >= m_finRecherche)
        Terminer();
}

void TAppareilQFL::Terminer()
{
    m_finRecherche = -1;
    const std::uint32_t date = Horloge();
    const int tension = m_reglages[6];
    const auto& f = m_fuite;
    const bool trouve = f.Depart > 0 && (f.Unite == 0 || (m_unites >> (f.Unite - 1) & 1));
    // The fault current the voltage drives through the fault, 0.01 mA.
    const std::uint16_t courant =
        trouve ? std::uint16_t(std::min<long>(65535, f.KOhm == 0 ? 65535 : long(tension) * 100 / f.KOhm)) : 0;
    const std::uint16_t resistance = trouve ? std::uint16_t(f.KOhm) : PasDeMesure;

    std::fill(m_resultats.begin() + PremierResultat, m_resultats.begin() + PremierDefaut, 0);
    m_resultats[20] = Haut(date);
    m_resultats[21] = Bas(date);
    for (int a = 23; a <= 41; a += 2)
        m_resultats[std::size_t(a)] = PasDeMesure;
    // The whole fault current flows back through the transformer.
    m_resultats[22] = courant;
    m_resultats[23] = resistance;
    if (trouve && f.Unite == 0) {
        // Feeder 1 is the transformer, 2 the limiter, then feeders 3 to 10.
        const int a = f.Depart == 1 ? 22 : f.Depart == 2 ? 24 : 26 + 2 * (f.Depart - 3);
        m_resultats[std::size_t(a)] = courant;
        m_resultats[std::size_t(a + 1)] = resistance;
    } else if (trouve) {
        m_resultats[std::size_t(PremierQFL16 + 16 * (f.Unite - 1) + (f.Depart - 1))] = courant;
    }
    if (trouve) {
        auto liste = m_resultats.begin() + PremierDefaut;
        std::copy_backward(liste, liste + (NbDefauts - 1) * TailleDefaut, liste + NbDefauts * TailleDefaut);
        const std::uint16_t defaut[TailleDefaut] = {std::uint16_t(f.Depart), std::uint16_t(f.Unite), resistance, courant,
                                                    Haut(date), Bas(date), std::uint16_t(f.Conducteur), 0};
        std::copy(defaut, defaut + TailleDefaut, liste);
    }
    m_statut = std::uint16_t((m_statut & ~(BitRecherche | BitTrouve)) | (trouve ? BitTrouve : 0));
    ++m_recherches;
}

bool TAppareilQFL::RegleDefaut(const std::string& nom, bool actif)
{
    if (nom != "appareil")
        return false;
    m_statut = actif ? std::uint16_t(m_statut | BitDefaut) : std::uint16_t(m_statut & ~BitDefaut);
    return true;
}

bool TAppareilQFL::RegleFuite(int depart, int unite, int conducteur, int kOhm)
{
    // The QFL8's own feeders are 1 to 10, a QFL16's 1 to 16.
    if (depart < 0 || depart > (unite == 0 ? 10 : 16) || unite < 0 || unite > 31 || conducteur < 0 || conducteur > 5 ||
        kOhm < 0 || kOhm > 65534)
        return false;
    m_fuite = {depart, unite, conducteur, kOhm};
    return true;
}

bool TAppareilQFL::RegleDureeRecherche(TInstant ms)
{
    if (ms < 0)
        return false;
    m_dureeRecherche = ms;
    return true;
}

bool TAppareilQFL::RegleUnites(std::uint32_t masque)
{
    m_unites = masque & 0x7FFFFFFF;
    return true;
}

std::string TAppareilQFL::Etat() const
{
    char ligne[200];
    std::snprintf(ligne, sizeof ligne,
                  "QFL8 %d: statut 0x%04x, recherches %u, unites 0x%08x, fuite depart %d unite %d conducteur %d %d kOhm, battement %u",
                  Numero(), m_statut, m_recherches, m_unites, m_fuite.Depart, m_fuite.Unite, m_fuite.Conducteur, m_fuite.KOhm,
                  Battement());
    return ligne;
}
