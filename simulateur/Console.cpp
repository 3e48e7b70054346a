#include "simulateur/Console.h"

#include <charconv>
#include <functional>
#include <sstream>

namespace {

bool Entier(const std::string& texte, long long min, long long max, long long& valeur)
{
    const char* fin = texte.data() + texte.size();
    const auto r = std::from_chars(texte.data(), fin, valeur);
    return r.ec == std::errc() && r.ptr == fin && valeur >= min && valeur <= max;
}

bool Reel(const std::string& texte, double min, double max, double& valeur)
{
    const char* fin = texte.data() + texte.size();
    const auto r = std::from_chars(texte.data(), fin, valeur);
    return r.ec == std::errc() && r.ptr == fin && valeur >= min && valeur <= max;
}

bool Interrupteur(const std::string& texte, bool& actif)
{
    if (texte == "on" || texte == "1") {
        actif = true;
        return true;
    }
    if (texte == "off" || texte == "0") {
        actif = false;
        return true;
    }
    return false;
}

} // namespace

bool ListeNumeros(const std::string& texte, std::vector<int>& numeros)
{
    numeros.clear();
    std::stringstream flux(texte);
    std::string morceau;
    while (std::getline(flux, morceau, ',')) {
        const std::size_t tiret = morceau.find('-');
        long long debut = 0;
        long long fin = 0;
        if (tiret == std::string::npos) {
            if (!Entier(morceau, 0, 255, debut))
                return false;
            fin = debut;
        } else if (!Entier(morceau.substr(0, tiret), 0, 255, debut) || !Entier(morceau.substr(tiret + 1), 0, 255, fin) ||
                   fin < debut) {
            return false;
        }
        for (long long n = debut; n <= fin; ++n)
            numeros.push_back(int(n));
    }
    return !numeros.empty();
}

const char* TConsole::Aide()
{
    return "Commands (standard input, or a scenario line after its time):\n"
           "  r LIST KOHM               base insulation resistance of KMTs (65535: no measurement)\n"
           "  seuil LIST KOHM           alarm threshold of KMTs (10-10000)\n"
           "  derive LIST PERCENT       spread of the wander of R around its base (0: steady)\n"
           "  defaut LIST NAME on|off   autotest, dc+, dc- (KMT) or appareil (QFL8)\n"
           "  muet LIST / repond LIST   the devices stop answering / answer again\n"
           "  fige LIST / libere LIST   the heartbeat stops / moves again\n"
           "  corrompre crc|unite N     the next N replies get a bad CRC / another unit identifier\n"
           "  retard MS [N]             delays the next N replies (all when N is left out) by MS; retard 0 ends it\n"
           "  fuite LIST FEEDER UNIT CONDUCTOR KOHM\n"
           "                            the fault the next QFL8 searches find: feeder 1-16, QFL16 unit\n"
           "                            (0: the QFL8 itself), conductor 0 N, 1 L1, 2 L2, 3 L3, 4 DC+, 5 DC-\n"
           "  fuite LIST aucune         the next searches find nothing\n"
           "  unites LIST UNITS|aucune  QFL16 units connected to QFL8s (e.g. 1-4,9)\n"
           "  duree-recherche [LIST] MS how long a QFL8 search takes\n"
           "  etat [LIST]               prints the state of the devices\n"
           "  aide                      prints this list\n"
           "  quitter                   stops the simulator\n"
           "LIST: numbers and ranges such as 1-8,12, or tous.\n";
}

TConsole::TResultat TConsole::Executer(const std::string& ligne, std::string& sortie, std::string& erreur)
{
    std::istringstream flux(ligne);
    std::vector<std::string> mots;
    for (std::string mot; flux >> mot;)
        mots.push_back(mot);
    if (mots.empty() || mots[0][0] == '#')
        return TResultat::Fait;
    const std::string& nom = mots[0];
    const auto echec = [&](const std::string& raison) {
        erreur = "\"" + ligne + "\": " + raison + ".";
        return TResultat::Erreur;
    };
    const auto nombreMots = [&](std::size_t min, std::size_t max) { return mots.size() >= min && mots.size() <= max; };

    // Applies regle to each device of the list; fails when one is not simulated or refuses.
    const auto pourChacun = [&](const std::string& liste, const std::function<bool(TAppareil&)>& regle,
                                const std::string& refus) {
        std::vector<int> numeros;
        if (liste == "tous")
            numeros = m_reseau.Numeros();
        else if (!ListeNumeros(liste, numeros))
            return echec("\"" + liste + "\" is not a list of device numbers");
        for (int n : numeros) {
            TAppareil* a = m_reseau.Appareil(n);
            if (!a)
                return echec("device " + std::to_string(n) + " is not simulated");
            if (!regle(*a))
                return echec(refus);
        }
        return TResultat::Fait;
    };

    long long entier = 0;
    double reel = 0;
    bool actif = false;
    if (nom == "quitter" && nombreMots(1, 1))
        return TResultat::Quitter;
    if (nom == "aide" && nombreMots(1, 1)) {
        sortie = Aide();
        return TResultat::Fait;
    }
    if (nom == "r" && nombreMots(3, 3)) {
        if (!Entier(mots[2], 0, 65535, entier))
            return echec("a resistance is 0 to 65535 kOhm");
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleR(int(entier)); }, "only a KMT has a resistance");
    }
    if (nom == "seuil" && nombreMots(3, 3)) {
        if (!Entier(mots[2], 0, 65535, entier))
            return echec("a threshold is a whole number of kOhm");
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleSeuil(int(entier)); },
                          "a KMT threshold is 10 to 10000 kOhm");
    }
    if (nom == "derive" && nombreMots(3, 3)) {
        if (!Reel(mots[2], 0, 100, reel))
            return echec("the wander is 0 to 100 percent");
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleDerive(reel / 100); }, "only a KMT wanders");
    }
    if (nom == "defaut" && nombreMots(4, 4)) {
        if (!Interrupteur(mots[3], actif))
            return echec("a fault is on or off");
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleDefaut(mots[2], actif); },
                          "the faults are autotest, dc+, dc- (KMT) and appareil (QFL8)");
    }
    if ((nom == "muet" || nom == "repond") && nombreMots(2, 2)) {
        return pourChacun(mots[1], [&](TAppareil& a) {
            m_reseau.RendreMuet(a.Numero(), nom == "muet");
            return true;
        }, "");
    }
    if ((nom == "fige" || nom == "libere") && nombreMots(2, 2)) {
        return pourChacun(mots[1], [&](TAppareil& a) {
            a.FigerBattement(nom == "fige");
            return true;
        }, "");
    }
    if (nom == "corrompre" && nombreMots(3, 3) && (mots[1] == "crc" || mots[1] == "unite")) {
        if (!Entier(mots[2], 0, 1000000, entier))
            return echec("the number of replies is a whole number");
        (mots[1] == "crc" ? m_perturbations.CrcFaux : m_perturbations.UniteFausse) = int(entier);
        return TResultat::Fait;
    }
    if (nom == "retard" && nombreMots(2, 3)) {
        long long n = -1;
        if (!Entier(mots[1], 0, 3600000, entier) || (mots.size() == 3 && !Entier(mots[2], 0, 1000000, n)))
            return echec("a delay is 0 to 3600000 ms, for a whole number of replies");
        m_perturbations.RetardMs = entier;
        m_perturbations.RetardsRestants = entier == 0 ? 0 : int(n);
        return TResultat::Fait;
    }
    if (nom == "fuite" && mots.size() == 3 && mots[2] == "aucune")
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleFuite(0, 0, 0, 0); }, "only a QFL8 searches");
    if (nom == "fuite" && nombreMots(6, 6)) {
        long long depart = 0, unite = 0, conducteur = 0;
        if (!Entier(mots[2], 1, 16, depart) || !Entier(mots[3], 0, 31, unite) || !Entier(mots[4], 0, 5, conducteur) ||
            !Entier(mots[5], 0, 65534, entier))
            return echec("a fault is a feeder 1-16, a unit 0-31, a conductor 0-5 and a resistance 0-65534 kOhm");
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleFuite(int(depart), int(unite), int(conducteur), int(entier)); },
                          "only a QFL8 searches (and its own feeders are 1 to 10)");
    }
    if (nom == "unites" && nombreMots(3, 3)) {
        std::uint32_t masque = 0;
        std::vector<int> unites;
        if (mots[2] != "aucune") {
            if (!ListeNumeros(mots[2], unites))
                return echec("units are numbers and ranges from 1 to 31");
            for (int u : unites) {
                if (u < 1 || u > 31)
                    return echec("units are numbers and ranges from 1 to 31");
                masque |= 1u << (u - 1);
            }
        }
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleUnites(masque); }, "only a QFL8 has QFL16 units");
    }
    if (nom == "duree-recherche" && nombreMots(2, 3)) {
        if (!Entier(mots.back(), 0, 3600000, entier))
            return echec("a search takes 0 to 3600000 ms");
        if (mots.size() == 2) {
            for (int n : m_reseau.Numeros())
                m_reseau.Appareil(n)->RegleDureeRecherche(entier);
            return TResultat::Fait;
        }
        return pourChacun(mots[1], [&](TAppareil& a) { return a.RegleDureeRecherche(entier); }, "only a QFL8 searches");
    }
    if (nom == "etat" && nombreMots(1, 2)) {
        std::string texte;
        const TResultat r = pourChacun(mots.size() == 2 ? mots[1] : "tous", [&](TAppareil& a) {
            texte += a.Etat() + "\n";
            return true;
        }, "");
        sortie = texte;
        return r;
    }
    return echec("unknown command or wrong number of words (see aide)");
}
