#pragma once
// What the QFL and search screens ask of a fault locator. The window carries
// the requests to the devices (with the user in session) and hands back how
// each ended; the screens only check what they can before asking.
#include <cstdint>

class TCommandesQFL {
public:
    virtual ~TCommandesQFL() = default;
    // reglage 0..6 (ReglageITransfo ... ReglageTension), the value in the
    // device's unit; with appliquerAuxSuivants also to every present QFL8
    // with a higher number.
    virtual void EcrireReglageQFL(int appareil, int reglage, int valeur, bool appliquerAuxSuivants) = 0;
    virtual void LancerRechercheQFL(int appareil) = 0;
    virtual void RAZMinMaxQFL(int appareil) = 0;
};

// How a command ended, as the screens tell the operator.
enum class ERetourQFL : std::uint8_t {
    Acceptee,
    ValeurRefusee,      // the device refused the value
    Occupee,            // a search already runs
    SansReponse,
    HorsLigne,
};
