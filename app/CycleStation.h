#pragma once
// The station's start and stop as the journal records them: code 0 at start,
// code 1 at a normal stop with its reason, and a start that follows a run
// which never journalled its stop marked with Attribut1 = 1, so that an audit
// sees every gap in the supervision.
#include "data/JournalLog.h"

#include <QString>

namespace CycleStation {

// Attribut1 of a start entry that follows an unclean end.
constexpr std::uint8_t FinPrecedenteIncorrecteAttribut = 1;

TEntreeLog EntreeLancement(double date, bool finPrecedenteIncorrecte);
TEntreeLog EntreeFermeture(double date, const QString& raison);

// Whether the journal's last start (code 0, recovery notes aside) has no
// stop (code 1) after it: the previous run ended without journalling its
// stop (killed, power cut, crash). Reads the last 2000 records; false for a
// missing, empty or unreadable journal (nothing to say then).
bool FinPrecedenteIncorrecte(const QString& cheminLog);

// The reason journalled for a stop by a signal: "signal 15".
QString RaisonSignal(int signal);
inline const char* const RaisonBouton = "bouton";
inline const char* const RaisonAffichagePerdu = "affichage perdu";
inline const char* const RaisonFinApplication = "fin de l'application";

} // namespace CycleStation
