#pragma once
// Synthetic measurements standing in for device communication: every tick
// appends one sample to KMT devices 12 and 26, sets their indicators and
// journals their pre-alarms, exactly as a communication layer would.
#include "data/CommandesAppareils.h"
#include "data/JournalLog.h"
#include "data/TypesVeilleur.h"

#include <cstdint>
#include <functional>
#include <vector>

class TVerrouDonnees;

// 32-bit linear congruential generator; the seed starts at 0, so every run
// draws the same sequence.
class TAleatoire {
public:
    // Integer in 0 .. n - 1.
    std::int32_t Random(std::int32_t n);
    std::uint32_t Graine() const { return m_graine; }

private:
    std::uint32_t m_graine = 0;
};

class TGenerateurDemo {
public:
    using Horloge = std::function<double()>;
    // Receives the pre-alarm entry; it must be appended before it returns.
    using EnvoiLog = std::function<void(const TEntreeLog&)>;

    static constexpr int AppareilLent = 12;
    static constexpr int AppareilRapide = 26;
    static constexpr int Plancher = 60;

    // compteur is the step counter s, owned by the caller and advanced once
    // per tick actually run. horloge gives the wall-clock date (local day
    // count), horlogeMonotone the instant on a clock that never steps
    // (InstantMonotone by default).
    TGenerateurDemo(TVerrouDonnees& verrou, Tableau1<TDonneesKMT, NbSources>& donnees,
                    std::int32_t& compteur, EnvoiLog envoi, Horloge horloge = {}, Horloge horlogeMonotone = {});

    // One tick, unconditionally, under the write lock.
    void Tick();

    // The timer's request. A tick cannot run while this thread holds the read
    // lock (a screen refresh that processes pending events would see the
    // records change under it) nor inside another tick: it is then kept and
    // run by Reprendre() once the lock is free. Like a timer's, a tick that
    // falls due while one is kept is dropped: the kept one runs once, then the
    // next comes at its time. True when it ran.
    bool Demander();
    // Runs the kept tick when possible; true while it is still waiting.
    bool Reprendre();
    int TicksEnAttente() const { return m_enAttente ? 1 : 0; }

    // An operator's acknowledgement, honoured as a device would: the
    // condition's acknowledged flag is set while it lasts and cleared when it
    // ends; a condition that is not on is left alone. Applied at once, or at
    // the next tick when this thread holds the read lock.
    void Acquitter(int appareil, TAcquitAppareil quoi);

    const TAleatoire& Aleatoire() const { return m_aleatoire; }

private:
    bool PeutTourner() const;
    void ProduireEchantillon(int appareil, double base, int bruit, double seuil);

    TVerrouDonnees& m_verrou;
    Tableau1<TDonneesKMT, NbSources>& m_donnees;
    std::int32_t& m_compteur;
    EnvoiLog m_envoi;
    Horloge m_horloge;
    Horloge m_horlogeMonotone;
    TAleatoire m_aleatoire;
    void AppliquerAcquit(int appareil, TAcquitAppareil quoi);

    struct TAcquit {
        int Appareil;
        TAcquitAppareil Quoi;
    };
    std::vector<TAcquit> m_acquits;
    bool m_enAttente = false;
    bool m_tickEnCours = false;
};
