#pragma once
// One line to the devices (a serial port in RTU, or a gateway in TCP) through
// libmodbus. Used by one thread only: the worker that owns it.
#include "liaison/ConfigReseau.h"
#include "liaison/DecodageModbus.h"

#include <chrono>
#include <cstdint>
#include <vector>

struct _modbus;

class TLigneModbus {
public:
    enum class TResultat : std::uint8_t {
        Reponse,     // a valid reply (registers for a read)
        Exception,   // the device refused
        Echec,       // silence, bad CRC, short, garbled or foreign reply
        LigneHS,     // the port or the connection itself failed: reopen it
    };
    struct TTransaction {
        TResultat Resultat = TResultat::Echec;
        int CodeException = 0;
        std::vector<std::uint16_t> Registres;
    };

    explicit TLigneModbus(const TConfigReseau& config);
    ~TLigneModbus();
    TLigneModbus(const TLigneModbus&) = delete;
    TLigneModbus& operator=(const TLigneModbus&) = delete;

    bool Ouvrir();
    void Fermer();
    bool Ouverte() const { return m_ctx != nullptr; }

    // One request and its reply, at least 3.5 characters of silence after the
    // previous one; the line is flushed after any failure.
    TTransaction Executer(const DecodageModbus::TRequete& requete, const std::uint16_t* valeurs = nullptr);

    // Transactions so far and their wire time at the line's speed (bytes of
    // request and reply, 11 bits each, plus the silence owed before each):
    // the shortest time they could have taken. RTU only; TCP counts 0 us.
    struct TCompteurs {
        std::uint64_t Transactions = 0;
        std::uint64_t PlancherUs = 0;
    };
    TCompteurs Compteurs() const { return m_compteurs; }

    // Silence owed between two frames.
    std::chrono::microseconds Silence() const { return m_silence; }

private:
    TConfigReseau m_config;
    _modbus* m_ctx = nullptr;
    std::chrono::microseconds m_silence{0};
    std::chrono::steady_clock::time_point m_finPrecedente{};
    TCompteurs m_compteurs;
};
