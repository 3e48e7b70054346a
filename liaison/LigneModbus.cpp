#include "liaison/LigneModbus.h"

#include <modbus.h>

#include <cerrno>
#include <thread>

using namespace DecodageModbus;

namespace {
// A frame's characters are 11 bits on the wire (start, 8 data, parity or a
// second stop, stop); above 19200 baud the silence is fixed at 1.75 ms.
std::chrono::microseconds SilenceRtu(int vitesse)
{
    if (vitesse > 19200)
        return std::chrono::microseconds(1750);
    return std::chrono::microseconds(static_cast<long long>(3.5 * 11 * 1000000.0 / vitesse) + 1);
}

// Errors that say the device, not the line, failed.
bool ErreurAppareil(int erreur)
{
    return erreur == ETIMEDOUT || (erreur > MODBUS_ENOBASE && erreur <= EMBBADSLAVE);
}
}

TLigneModbus::TLigneModbus(const TConfigReseau& config) : m_config(config)
{
    if (m_config.Type == TConfigReseau::TType::Rtu)
        m_silence = SilenceRtu(m_config.Vitesse);
}

TLigneModbus::~TLigneModbus()
{
    Fermer();
}

bool TLigneModbus::Ouvrir()
{
    Fermer();
    if (m_config.Type == TConfigReseau::TType::Rtu)
        m_ctx = modbus_new_rtu(m_config.Peripherique.toLocal8Bit().constData(), m_config.Vitesse, m_config.Parite, 8,
                               m_config.BitsDeStop);
    else
        m_ctx = modbus_new_tcp_pi(m_config.Hote.toLocal8Bit().constData(),
                                  QByteArray::number(m_config.Port).constData());
    if (!m_ctx)
        return false;
    // Also bounds a TCP connect: stopping never waits longer than this.
    modbus_set_response_timeout(m_ctx, 0, static_cast<std::uint32_t>(m_config.DelaiReponse) * 1000u);
    modbus_set_byte_timeout(m_ctx, 0, 50000);
    if (modbus_connect(m_ctx) == -1) {
        modbus_free(m_ctx);
        m_ctx = nullptr;
        return false;
    }
    modbus_flush(m_ctx);
    m_finPrecedente = std::chrono::steady_clock::now();
    return true;
}

void TLigneModbus::Fermer()
{
    if (!m_ctx)
        return;
    modbus_close(m_ctx);
    modbus_free(m_ctx);
    m_ctx = nullptr;
}

TLigneModbus::TTransaction TLigneModbus::Executer(const TRequete& requete, const std::uint16_t* valeurs)
{
    TTransaction t;
    if (!m_ctx) {
        t.Resultat = TResultat::LigneHS;
        return t;
    }
    std::this_thread::sleep_until(m_finPrecedente + m_silence);
    modbus_set_slave(m_ctx, requete.Unite);
    const std::vector<std::uint8_t> pdu = ConstruireRequete(requete, valeurs);
    int rc = modbus_send_raw_request(m_ctx, pdu.data(), static_cast<int>(pdu.size()));
    const bool rtu = m_config.Type == TConfigReseau::TType::Rtu;
    // The request's frame: its PDU with the unit, and the CRC.
    int octets = static_cast<int>(pdu.size()) + 2;
    if (rc == -1) {
        t.Resultat = ErreurAppareil(errno) ? TResultat::Echec : TResultat::LigneHS;
    } else {
        std::uint8_t reponse[MODBUS_MAX_ADU_LENGTH];
        rc = modbus_receive_confirmation(m_ctx, reponse);
        if (rc == -1) {
            t.Resultat = ErreurAppareil(errno) ? TResultat::Echec : TResultat::LigneHS;
        } else if (rc > 0) {
            octets += rc;
            const TReponse r = DecoderReponse(requete, reponse, rtu ? rc - 2 : rc, modbus_get_header_length(m_ctx));
            if (r.Issue == TIssue::Registres) {
                t.Resultat = TResultat::Reponse;
                t.Registres = r.Registres;
            } else if (r.Issue == TIssue::Exception) {
                t.Resultat = TResultat::Exception;
                t.CodeException = r.CodeException;
            }
        }
        // rc == 0: a frame for another unit, left as a failure.
    }
    if (t.Resultat != TResultat::Reponse && t.Resultat != TResultat::LigneHS)
        modbus_flush(m_ctx);
    m_finPrecedente = std::chrono::steady_clock::now();
    ++m_compteurs.Transactions;
    if (rtu)
        m_compteurs.PlancherUs += static_cast<std::uint64_t>(octets * 11 * 1000000.0 / m_config.Vitesse)
                                  + static_cast<std::uint64_t>(m_silence.count());
    return t;
}
