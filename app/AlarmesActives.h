#pragma once
// Which devices the status bar names, in what order and in which words: every
// device in alarm, then every device the station lost, then every device in
// pre-alarm, each with its source name, since when and its resistance. Worked
// out from the records alone, so that it can be checked without a window.
#include "data/ConfigSet.h"
#include "data/TypesVeilleur.h"

#include <QString>
#include <cstdint>
#include <vector>

class QLocale;

// Most severe first: the order of the entries in the bar.
enum class TEtatAlarme : std::uint8_t { Alarme, ComPerdue, PreAlarme };

struct TAlarmeActive {
    int Appareil = 0;          // KMT device number, 1..31
    TEtatAlarme Etat = TEtatAlarme::Alarme;
    double Depuis = 0.0;       // day count; 0 when unknown
    QString Texte;             // "KMT 26 · Bloc op. salle 3 · Alarme depuis 10:50:49 · 55 kOhm"
};

class TSuiviAlarmes {
public:
    // The active alarms at 'maintenant' (a day count). Remembers, per device
    // and state, since when it has been seen: when first seen, the device's
    // own date if it gives one (its last alarm, its last change of
    // communication state), else that call's 'maintenant'; kept while the
    // state lasts. The caller holds the read lock.
    std::vector<TAlarmeActive> Actualiser(const Tableau1<TDonneesKMT, NbSources>& donnees, const TConfigSet& config,
                                          double maintenant);

    // The entries' words in a language; the time of day alone when the start
    // is on the day of 'maintenant', else the short date with it.
    static QString TexteEntree(int appareil, TEtatAlarme etat, const QString& source, double depuis,
                               std::uint16_t resistance, double maintenant, TLangue langue, const QLocale& locale);

    // Some device is in pre-alarm, in alarm or lost.
    static bool Active(const TDonneesKMT& d);

    void DefinirLangue(TLangue langue) { m_langue = langue; }

private:
    static constexpr int NbEtats = 3;
    Tableau1<double, NbSources> m_debut[NbEtats] = {};   // 0: not active at the last call
    TLangue m_langue = LangueFrancais;
};
