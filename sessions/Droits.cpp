#include "sessions/Droits.h"

#include "data/TypesVeilleur.h"

TDroit Droit(EDroit droit, std::uint8_t mode, bool acqAlarmesConsultation)
{
    if (mode > ModeConsultation)
        mode = ModeConsultation;
    const bool exploitation = mode == ModeExploitation || mode == ModeAdministration;
    const bool administration = mode == ModeAdministration;
    switch (droit) {
    case EDroit::LireMesures:
        return {true, EMessageSession::Aucun};
    case EDroit::ModifierConfiguration:
    case EDroit::GererUtilisateurs:
        return administration ? TDroit{true, EMessageSession::Aucun}
                              : TDroit{false, EMessageSession::DroitReserveAdministration};
    case EDroit::AcquitterAlarmes:
        if (exploitation || acqAlarmesConsultation)
            return {true, EMessageSession::Aucun};
        return {false, EMessageSession::DroitAcquittementConsultation};
    case EDroit::ReglerSeuils:
    case EDroit::LancerRecherche:
        return exploitation ? TDroit{true, EMessageSession::Aucun}
                            : TDroit{false, EMessageSession::DroitReserveExploitation};
    }
    return {false, EMessageSession::DroitReserveAdministration};
}
