#include "simulateur/TrameRtu.h"

#include "simulateur/Crc16.h"

#include <modbus/modbus.h>

namespace {

// The length of a request of this function, 0 when unknown or not yet known.
std::size_t LongueurAttendue(const TOctets& t)
{
    if (t.size() < 2)
        return 0;
    switch (t[1]) {
    case MODBUS_FC_READ_COILS:
    case MODBUS_FC_READ_DISCRETE_INPUTS:
    case MODBUS_FC_READ_HOLDING_REGISTERS:
    case MODBUS_FC_READ_INPUT_REGISTERS:
    case MODBUS_FC_WRITE_SINGLE_COIL:
    case MODBUS_FC_WRITE_SINGLE_REGISTER:
        return 8;
    case MODBUS_FC_WRITE_MULTIPLE_COILS:
    case MODBUS_FC_WRITE_MULTIPLE_REGISTERS:
        return t.size() < 7 ? 0 : 9 + std::size_t(t[6]);
    default:
        return 0;
    }
}

bool CrcJuste(const TOctets& t, std::size_t n)
{
    if (n < 4)
        return false;
    const std::uint16_t crc = Crc16Modbus(t.data(), n - 2);
    return t[n - 2] == (crc & 0xFF) && t[n - 1] == (crc >> 8);
}

} // namespace

TOctets TrameRtu(int unite, const TOctets& pdu)
{
    TOctets t;
    t.reserve(pdu.size() + 3);
    t.push_back(std::uint8_t(unite));
    for (std::uint8_t o : pdu)
        t.push_back(o);
    const std::uint16_t crc = Crc16Modbus(t.data(), t.size());
    t.push_back(std::uint8_t(crc & 0xFF));
    t.push_back(std::uint8_t(crc >> 8));
    return t;
}

bool TDecoupeurRtu::Extraire(std::size_t longueur, std::vector<TRequeteRtu>& requetes)
{
    if (!CrcJuste(m_tampon, longueur)) {
        m_tampon.clear();
        m_ignorer = true;
        return false;
    }
    requetes.push_back({m_tampon[0], TOctets(m_tampon.begin() + 1, m_tampon.begin() + std::ptrdiff_t(longueur) - 2), longueur});
    m_tampon.erase(m_tampon.begin(), m_tampon.begin() + std::ptrdiff_t(longueur));
    return true;
}

std::vector<TRequeteRtu> TDecoupeurRtu::Recevoir(const std::uint8_t* octets, std::size_t n, TInstant maintenant)
{
    std::vector<TRequeteRtu> requetes = Attendre(maintenant);
    m_dernierOctet = maintenant;
    if (m_ignorer)
        return requetes;
    m_tampon.insert(m_tampon.end(), octets, octets + n);
    for (;;) {
        const std::size_t longueur = LongueurAttendue(m_tampon);
        if (longueur == 0 || m_tampon.size() < longueur || longueur > MODBUS_RTU_MAX_ADU_LENGTH)
            break;
        if (!Extraire(longueur, requetes))
            break;
    }
    if (m_tampon.size() > MODBUS_RTU_MAX_ADU_LENGTH) {
        m_tampon.clear();
        m_ignorer = true;
    }
    return requetes;
}

std::vector<TRequeteRtu> TDecoupeurRtu::Attendre(TInstant maintenant)
{
    std::vector<TRequeteRtu> requetes;
    if (maintenant - m_dernierOctet < m_silenceMs)
        return requetes;
    m_ignorer = false;
    // A function whose length we cannot tell ends with the silence.
    if (!m_tampon.empty() && LongueurAttendue(m_tampon) == 0)
        Extraire(m_tampon.size(), requetes);
    m_tampon.clear();
    m_ignorer = false;
    return requetes;
}

TInstant TDecoupeurRtu::Echeance() const
{
    return m_tampon.empty() && !m_ignorer ? -1 : m_dernierOctet + m_silenceMs;
}
