#pragma once
// What each session mode may do. Screens ask here before enabling a control,
// and show the reason of a refusal on the disabled control.
#include "sessions/MessagesSession.h"

#include <cstdint>

enum class EDroit {
    LireMesures,              // every screen that only shows
    ModifierConfiguration,    // configuration screen fields and its save button
    AcquitterAlarmes,
    ReglerSeuils,             // KMT thresholds, QFL settings
    LancerRecherche,
    GererUtilisateurs,        // adding, changing, deleting users
};

struct TDroit {
    bool Accorde = false;
    EMessageSession Raison = EMessageSession::Aucun;  // why not, when refused
};

// The right in a session mode. acqAlarmesConsultation is the configuration's
// switch that lets CONSULTATION acknowledge alarms. A mode byte outside 0..2
// is taken as CONSULTATION: an unknown mode grants no more than the least.
TDroit Droit(EDroit droit, std::uint8_t mode, bool acqAlarmesConsultation);
