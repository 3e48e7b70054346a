// "Config.set" of arbitrary bytes: the load must never read or write outside
// the record, the names must decode, and a loaded record saved and loaded
// again must come back byte for byte.
#include "data/ConfigSet.h"
#include "data/ErreurVeilleur.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
// Files in memory where possible: a save syncs its file to the disk.
QString Dossier()
{
    return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
}

QTemporaryDir* dossier = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    dossier = new QTemporaryDir(Dossier() + QStringLiteral("/veilleur-fuzz-config-XXXXXX"));
    if (!dossier->isValid())
        std::abort();
    std::atexit([] { delete dossier; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* octets, std::size_t taille)
{
    const QString lu = dossier->filePath(QStringLiteral("Config.set"));
    const QString ecrit = dossier->filePath(QStringLiteral("Copie.set"));
    {
        QFile f(lu);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(octets), static_cast<qint64>(taille));
    }
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
