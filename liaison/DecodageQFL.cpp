#include "liaison/DecodageQFL.h"

#include "liaison/DecodageModbus.h"

#include <algorithm>

namespace DecodageQFL {

bool DecoderEtat(const std::uint16_t* r, int nombre, TEtatQFL& etat)
{
    if (!r || nombre < NbRegistresEtat || r[0] != DecodageModbus::GenreQFL8)
        return false;
    etat.Genre = r[0];
    etat.VLogiciel = static_cast<std::uint8_t>(r[2] & 0xFF);
    etat.Battement = r[3];
    etat.Etat = r[10];
    etat.Compteur = r[11];
    etat.Unites = (static_cast<std::uint32_t>(r[13] & 0x7FFF) << 16) | r[12];
    return true;
}

std::vector<TMorceau> MorceauxRecherche()
{
    std::vector<TMorceau> m{{PremierResultat, NbResultats}, {PremierDefaut, NbRegistresDefauts}};
    for (int debut = 0; debut < NbQFL16; debut += MaxParLecture)
        m.push_back({static_cast<std::uint16_t>(PremierQFL16 + debut),
                     static_cast<std::uint16_t>(std::min(MaxParLecture, NbQFL16 - debut))});
    return m;
}

void AppliquerMorceau(std::uint16_t adresse, const std::vector<std::uint16_t>& registres, TRechercheQFL& rc)
{
    for (std::size_t i = 0; i < registres.size(); ++i) {
        const int a = adresse + static_cast<int>(i);
        const std::uint16_t v = registres[i];
        if (a >= PremierQFL16 && a < PremierQFL16 + NbQFL16) {
            const int k = a - PremierQFL16;
            rc.IQFL16[std::size_t(k / NbDepartsQFL16)][std::size_t(k % NbDepartsQFL16)] = v;
        } else if (a >= PremierDefaut && a < PremierDefaut + NbRegistresDefauts) {
            TDefautQFL& d = rc.Defauts[std::size_t((a - PremierDefaut) / TailleDefaut)];
            switch ((a - PremierDefaut) % TailleDefaut) {
            case 0: d.Depart = v; break;
            case 1: d.Unite = v; break;
            case 2: d.R = v; break;
            case 3: d.I = v; break;
            case 5:  // the date, high word first
                d.Date = i > 0 ? DecodageModbus::DateAppareilVersJours(DecodageModbus::Mot32(registres[i - 1], v)) : 0;
                break;
            case 6: d.Conducteur = static_cast<std::uint8_t>(std::min<int>(v, 255)); break;
            default: break;
            }
        } else if (a >= PremierResultat && a < PremierResultat + NbResultats) {
            switch (a) {
            case 20: break;
            case 21: rc.Date = i > 0 ? DecodageModbus::DateAppareilVersJours(DecodageModbus::Mot32(registres[i - 1], v)) : 0; break;
            case 22: rc.ITransfo = v; break;
            case 23: rc.RTransfo = v; break;
            case 24: rc.ILimiteur = v; break;
            case 25: rc.RLimiteur = v; break;
            default: {
                const int k = (a - 26) / 2;
                if ((a - 26) % 2 == 0)
                    rc.IDeparts[std::size_t(k)] = v;
                else
                    rc.RDeparts[std::size_t(k)] = v;
            }
            }
        }
    }
}

void AppliquerEtat(TDonneesQFL& d, const TEtatQFL& e)
{
    d.Present = true;
    d.VLogiciel = e.VLogiciel;
    d.Etat = e.Etat;
    d.RechercheEnCours = e.Etat & BitRecherche;
    d.DefautTrouve = e.Etat & BitTrouve;
    d.DefautAppareil = e.Etat & BitDefaut;
    d.Unites = e.Unites;
    d.CompteurRecherches = e.Compteur;
}

} // namespace DecodageQFL
