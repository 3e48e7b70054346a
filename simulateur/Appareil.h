#pragma once
// One simulated device as the bus sees it: its registers, read and written by
// number, and its own life (heartbeat, clock, measurements) moved on by Avancer.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// Milliseconds since the simulator started (steady clock).
using TInstant = std::int64_t;

// Modbus exception codes a device answers with; 0 = no exception.
enum : std::uint8_t {
    ExceptionAucune = 0,
    ExceptionFonction = 1,
    ExceptionAdresse = 2,
    ExceptionValeur = 3,
    ExceptionOccupe = 6,
};

class TAppareil {
public:
    TAppareil(int numero, std::uint16_t genre, std::uint16_t versionLogiciel);
    virtual ~TAppareil() = default;
    TAppareil(const TAppareil&) = delete;
    TAppareil& operator=(const TAppareil&) = delete;

    int Numero() const { return m_numero; }
    std::uint16_t Genre() const { return m_genre; }

    // Reads n input (function 04) or holding (function 03) registers from
    // adresse; an exception code when one of them is not in the map.
    std::uint8_t LireEntrees(int adresse, int n, std::vector<std::uint16_t>& valeurs);
    std::uint8_t LireMaintien(int adresse, int n, std::vector<std::uint16_t>& valeurs);
    // Writes holding registers (function 06 when seul, else 16): every address
    // checked, then every value, before anything changes.
    virtual std::uint8_t Ecrire(int adresse, const std::vector<std::uint16_t>& valeurs, bool seul) = 0;

    // Moves the device's own life on to maintenant.
    void Avancer(TInstant maintenant);

    void FigerBattement(bool fige) { m_battementFige = fige; }
    // The device clock, Unix seconds.
    std::uint32_t Horloge() const;
    void RegleHorloge(std::uint32_t secondes);

    // One line describing the device, for the console.
    virtual std::string Etat() const = 0;

    // Console settings common to every kind; false when the kind has no such thing.
    virtual bool RegleR(int /*kOhm*/) { return false; }
    virtual bool RegleSeuil(int /*kOhm*/) { return false; }
    virtual bool RegleDerive(double /*fraction*/) { return false; }
    // nom: autotest, dc+, dc- (KMT) or appareil (QFL8).
    virtual bool RegleDefaut(const std::string& /*nom*/, bool /*actif*/) { return false; }
    // The fault the next search finds (QFL8); feeder 0: none.
    virtual bool RegleFuite(int /*depart*/, int /*unite*/, int /*conducteur*/, int /*kOhm*/) { return false; }
    virtual bool RegleDureeRecherche(TInstant /*ms*/) { return false; }
    // The QFL16 units connected, bit k-1 = unit k (QFL8).
    virtual bool RegleUnites(std::uint32_t /*masque*/) { return false; }

protected:
    // The value of one register, or false when it is not in the map.
    virtual bool Entree(int adresse, std::uint16_t& valeur) const = 0;
    virtual bool Maintien(int adresse, std::uint16_t& valeur) const = 0;
    virtual void Evoluer(TInstant maintenant) = 0;

    std::uint16_t Battement() const { return m_battement; }
    static std::uint16_t Haut(std::uint32_t v) { return std::uint16_t(v >> 16); }
    static std::uint16_t Bas(std::uint32_t v) { return std::uint16_t(v & 0xFFFF); }

private:
    bool Identification(int adresse, std::uint16_t& valeur) const;

    int m_numero;
    std::uint16_t m_genre;
    std::uint16_t m_versionLogiciel;
    std::uint16_t m_battement = 0;
    bool m_battementFige = false;
    TInstant m_prochainBattement = 1000;
    std::int64_t m_decalageHorloge = 0;
};
