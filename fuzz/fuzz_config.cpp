// "Config.set" of arbitrary bytes: the load must never read or write outside
// the record, the names must decode, and a loaded record saved and loaded
// again must come back byte for byte.
#include "data/ConfigSet.h"
#include "data/ErreurVeilleur.h"

#include "OutilsFuzz.h"

#include <cstring>

namespace {
QTemporaryDir* dossier = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    dossier = OutilsFuzz::DossierTemporaire(QStringLiteral("config"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    const QString lu = dossier->filePath(QStringLiteral("Config.set"));
    const QString ecrit = dossier->filePath(QStringLiteral("Copie.set"));
    OutilsFuzz::EcrireEntree(lu, octets, taille);
    TConfigSet config{};
    const bool charge = ChargerConfig(config, lu);
    if (charge != (taille > 0))
        std::abort();
    if (LangueValide(config.Langue) >= NbLangues)
        std::abort();
    for (int i = 1; i <= NbSources; ++i)
        if (LireChaine(config.NomsSources[i]).size() > LongueurMaxNom)
            std::abort();
    if (!charge)
        return 0;
    try {
        EnregistrerConfig(config, ecrit);
    } catch (const EErreurVeilleur&) {
        std::abort();
    }
    TConfigSet relu{};
    if (!ChargerConfig(relu, ecrit) || std::memcmp(&config, &relu, sizeof config) != 0)
        std::abort();
    return 0;
}
