#include "simulateur/AppareilKMT.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr std::uint16_t VersionLogiciel = 14;
constexpr int SeuilMin = 10;
constexpr int SeuilMax = 10000;
constexpr int RegistreSeuil = 100;
constexpr int RegistreCommande = 101;
constexpr int RegistreHorloge = 102;
} // namespace

TAppareilKMT::TAppareilKMT(int numero, TInstant demarrageMs, std::uint32_t graine)
    : TAppareil(numero, 1, VersionLogiciel), m_finDemarrage(demarrageMs), m_hasard(graine + std::uint32_t(numero))
{
}

std::uint16_t TAppareilKMT::R() const
{
    if (!m_mesure || m_base >= PasDeMesure)
        return PasDeMesure;
    return std::uint16_t(std::clamp(std::lround(m_r), 0L, 65534L));
}

bool TAppareilKMT::Entree(int adresse, std::uint16_t& valeur) const
{
    switch (adresse) {
    case 10: valeur = m_statut; return true;
    case 11: valeur = R(); return true;
    case 12: valeur = m_rMin; return true;
    case 13: valeur = m_seuil; return true;
    case 14: valeur = Haut(m_dateAlarme); return true;
    case 15: valeur = Bas(m_dateAlarme); return true;
    case 16: valeur = m_compteur; return true;
    default: return false;
    }
}

bool TAppareilKMT::Maintien(int adresse, std::uint16_t& valeur) const
{
    switch (adresse) {
    case RegistreSeuil: valeur = m_seuil; return true;
    case RegistreCommande: valeur = 0; return true;
    case RegistreHorloge: valeur = Haut(Horloge()); return true;
    case RegistreHorloge + 1: valeur = Bas(Horloge()); return true;
    default: return false;
    }
}

std::uint8_t TAppareilKMT::Ecrire(int adresse, const std::vector<std::uint16_t>& valeurs, bool seul)
{
    const int fin = adresse + int(valeurs.size());
    if (adresse < RegistreSeuil || fin > RegistreHorloge + 2)
        return ExceptionAdresse;
    // The clock's two halves go together, in one function 16.
    const bool touteHorloge = adresse <= RegistreHorloge && fin >= RegistreHorloge + 2;
    if (fin > RegistreHorloge && (!touteHorloge || seul))
        return ExceptionAdresse;
    for (int a = adresse; a < fin; ++a) {
        const std::uint16_t v = valeurs[std::size_t(a - adresse)];
        if (a == RegistreSeuil && (v < SeuilMin || v > SeuilMax))
            return ExceptionValeur;
        if (a == RegistreCommande && (v < 1 || v > 3))
            return ExceptionValeur;
    }
    for (int a = adresse; a < fin; ++a) {
        const std::uint16_t v = valeurs[std::size_t(a - adresse)];
        if (a == RegistreSeuil)
            RegleSeuil(v);
        else if (a == RegistreCommande)
            Commande(v);
        else if (a == RegistreHorloge)
            RegleHorloge(std::uint32_t(v) << 16 | valeurs[std::size_t(a + 1 - adresse)]);
    }
    return ExceptionAucune;
}

void TAppareilKMT::Commande(std::uint16_t commande)
{
    // Acknowledging what is not on does nothing.
    std::uint16_t s = m_statut;
    if (commande == 1 && (s & BitPreAlarme))
        s |= BitPreAlarmeAcquittee;
    else if (commande == 2 && (s & BitAlarme))
        s |= BitAlarmeAcquittee;
    else if (commande == 3 && (s & BitKlaxon))
        s = std::uint16_t((s & ~BitKlaxon) | BitKlaxonAcquitte);
    ChangerStatut(s);
}

void TAppareilKMT::MettreAJourStatut()
{
    const std::uint16_t r = R();
    const bool mesure = r != PasDeMesure;
    const bool preAlarme = mesure && r < 2 * int(m_seuil);
    const bool alarme = mesure && r < m_seuil;
    std::uint16_t s = m_statut;
    if (alarme && !(s & BitAlarme)) {
        s = std::uint16_t(s | BitKlaxon);
        m_dateAlarme = Horloge();
    }
    if (!alarme)
        s = std::uint16_t(s & ~(BitAlarmeAcquittee | BitKlaxon | BitKlaxonAcquitte));
    if (!preAlarme)
        s = std::uint16_t(s & ~BitPreAlarmeAcquittee);
    s = std::uint16_t((s & ~(BitPreAlarme | BitAlarme | BitAutoTest | BitDCPlus | BitDCMoins)) | m_defauts |
                      (preAlarme ? BitPreAlarme : 0) | (alarme ? BitAlarme : 0));
    ChangerStatut(s);
}

void TAppareilKMT::ChangerStatut(std::uint16_t nouveau)
{
    if (nouveau == m_statut)
        return;
    m_statut = nouveau;
    ++m_compteur;
}

void TAppareilKMT::Evoluer(TInstant maintenant)
{
    if (!m_mesure && maintenant >= m_finDemarrage) {
        m_mesure = true;
        m_prochainPas = maintenant;
    }
    if (!m_mesure)
        return;
    // One step a second: a random walk pulled back towards the base value.
    while (maintenant >= m_prochainPas) {
        if (m_base < PasDeMesure && m_derive > 0) {
            std::normal_distribution<double> pas(0.0, m_derive * m_base * 0.5);
            m_r += pas(m_hasard) + (m_base - m_r) * 0.25;
            m_r = std::clamp(m_r, 0.0, 65534.0);
        }
        m_prochainPas += 1000;
    }
    if (R() != PasDeMesure)
        m_rMin = std::min(m_rMin, R());
    MettreAJourStatut();
}

bool TAppareilKMT::RegleR(int kOhm)
{
    if (kOhm < 0 || kOhm > PasDeMesure)
        return false;
    m_base = m_r = kOhm;
    if (R() != PasDeMesure)
        m_rMin = std::min(m_rMin, R());
    MettreAJourStatut();
    return true;
}

bool TAppareilKMT::RegleSeuil(int kOhm)
{
    if (kOhm < SeuilMin || kOhm > SeuilMax)
        return false;
    m_seuil = std::uint16_t(kOhm);
    MettreAJourStatut();
    return true;
}

bool TAppareilKMT::RegleDerive(double fraction)
{
    if (!(fraction >= 0 && fraction <= 1))
        return false;
    m_derive = fraction;
    return true;
}

bool TAppareilKMT::RegleDefaut(const std::string& nom, bool actif)
{
    std::uint16_t bit = 0;
    if (nom == "autotest")
        bit = BitAutoTest;
    else if (nom == "dc+")
        bit = BitDCPlus;
    else if (nom == "dc-")
        bit = BitDCMoins;
    else
        return false;
    m_defauts = actif ? std::uint16_t(m_defauts | bit) : std::uint16_t(m_defauts & ~bit);
    MettreAJourStatut();
    return true;
}

std::string TAppareilKMT::Etat() const
{
    char ligne[200];
    std::snprintf(ligne, sizeof ligne, "KMT %d: R %u kOhm, RMin %u, seuil %u, statut 0x%04x, evenements %u, derniere alarme %u, battement %u",
                  Numero(), R(), m_rMin, m_seuil, m_statut, m_compteur, m_dateAlarme, Battement());
    return ligne;
}
