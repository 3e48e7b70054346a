#pragma once
// Modbus RTU framing on a line shared by many unit identifiers: cuts the
// incoming bytes into requests, by the length the function code implies or,
// for other functions, by the silence that ends a frame; checks the CRC.
#include "simulateur/Reseau.h"

struct TRequeteRtu {
    int Unite = 0;
    TOctets Pdu;
    std::size_t Longueur = 0;  // the whole frame, for its wire time
};

class TDecoupeurRtu {
public:
    explicit TDecoupeurRtu(TInstant silenceMs) : m_silenceMs(silenceMs) {}

    // Bytes received at maintenant; the requests they complete, CRC checked
    // (a frame with a bad CRC is dropped, with whatever follows it up to the next silence).
    std::vector<TRequeteRtu> Recevoir(const std::uint8_t* octets, std::size_t n, TInstant maintenant);
    // At a silence, what is left either makes a frame (a function of unknown length) or is dropped.
    std::vector<TRequeteRtu> Attendre(TInstant maintenant);
    // When Attendre has something to do, or -1.
    TInstant Echeance() const;

private:
    bool Extraire(std::size_t longueur, std::vector<TRequeteRtu>& requetes);

    TInstant m_silenceMs;
    TOctets m_tampon;
    TInstant m_dernierOctet = 0;
    bool m_ignorer = false;  // after a bad frame, until the next silence
};

// A frame for the line: unit, PDU, CRC (low byte first).
TOctets TrameRtu(int unite, const TOctets& pdu);
