#include "simulateur/Reseau.h"

#include <modbus/modbus.h>

namespace {

int Mot(const TOctets& o, std::size_t i)
{
    return o[i] << 8 | o[i + 1];
}

void AjouterMot(TOctets& o, unsigned v)
{
    o.push_back(std::uint8_t(v >> 8));
    o.push_back(std::uint8_t(v));
}

TOctets Exception(std::uint8_t fonction, std::uint8_t code)
{
    return {std::uint8_t(fonction | 0x80), code};
}

} // namespace

void TReseau::Ajouter(std::unique_ptr<TAppareil> appareil)
{
    const int n = appareil->Numero();
    m_appareils[n] = std::move(appareil);
}

TAppareil* TReseau::Appareil(int numero) const
{
    const auto it = m_appareils.find(numero);
    return it == m_appareils.end() ? nullptr : it->second.get();
}

std::vector<int> TReseau::Numeros() const
{
    std::vector<int> n;
    for (const auto& [numero, appareil] : m_appareils)
        n.push_back(numero);
    return n;
}

void TReseau::RendreMuet(int numero, bool muet)
{
    if (muet)
        m_muets.insert(numero);
    else
        m_muets.erase(numero);
}

void TReseau::Avancer(TInstant maintenant)
{
    for (auto& [numero, appareil] : m_appareils)
        appareil->Avancer(maintenant);
}

std::optional<TOctets> TReseau::Traiter(int unite, const TOctets& requete)
{
    TAppareil* appareil = Appareil(unite);
    if (!appareil || m_muets.count(unite) || requete.empty())
        return std::nullopt;
    const std::uint8_t fonction = requete[0];
    switch (fonction) {
    case MODBUS_FC_READ_HOLDING_REGISTERS:
    case MODBUS_FC_READ_INPUT_REGISTERS: {
        if (requete.size() != 5)
            return Exception(fonction, ExceptionValeur);
        const int adresse = Mot(requete, 1);
        const int n = Mot(requete, 3);
        if (n < 1 || n > MODBUS_MAX_READ_REGISTERS)
            return Exception(fonction, ExceptionValeur);
        std::vector<std::uint16_t> valeurs;
        const std::uint8_t code = fonction == MODBUS_FC_READ_INPUT_REGISTERS ? appareil->LireEntrees(adresse, n, valeurs)
                                                                             : appareil->LireMaintien(adresse, n, valeurs);
        if (code != ExceptionAucune)
            return Exception(fonction, code);
        TOctets reponse{fonction, std::uint8_t(2 * n)};
        for (std::uint16_t v : valeurs)
            AjouterMot(reponse, v);
        return reponse;
    }
    case MODBUS_FC_WRITE_SINGLE_REGISTER: {
        if (requete.size() != 5)
            return Exception(fonction, ExceptionValeur);
        const std::uint8_t code = appareil->Ecrire(Mot(requete, 1), {std::uint16_t(Mot(requete, 3))}, true);
        if (code != ExceptionAucune)
            return Exception(fonction, code);
        return requete;  // the echo of the request
    }
    case MODBUS_FC_WRITE_MULTIPLE_REGISTERS: {
        if (requete.size() < 6)
            return Exception(fonction, ExceptionValeur);
        const int adresse = Mot(requete, 1);
        const int n = Mot(requete, 3);
        const std::size_t octets = requete[5];
        if (n < 1 || n > MODBUS_MAX_WRITE_REGISTERS || octets != std::size_t(2 * n) || requete.size() != 6 + octets)
            return Exception(fonction, ExceptionValeur);
        std::vector<std::uint16_t> valeurs;
        for (int i = 0; i < n; ++i)
            valeurs.push_back(std::uint16_t(Mot(requete, 6 + 2 * std::size_t(i))));
        const std::uint8_t code = appareil->Ecrire(adresse, valeurs, false);
        if (code != ExceptionAucune)
            return Exception(fonction, code);
        return TOctets(requete.begin(), requete.begin() + 5);
    }
    default:
        return Exception(fonction, ExceptionFonction);
    }
}
