#pragma once
// What the fuzz targets that go through real files share.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace OutilsFuzz {

// A temporary folder in memory where possible (a save syncs its file to the
// disk), removed when the process ends.
inline QTemporaryDir* DossierTemporaire(const QString& nom)
{
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir* dossier = nullptr;
    dossier = new QTemporaryDir(base + QStringLiteral("/veilleur-fuzz-%1-XXXXXX").arg(nom));
    if (!dossier->isValid())
        std::abort();
    std::atexit([] { delete dossier; });
    return dossier;
}

// The input as the whole content of the file.
inline void EcrireEntree(const QString& chemin, const std::uint8_t* octets, std::size_t taille)
{
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(octets), static_cast<qint64>(taille));
}

} // namespace OutilsFuzz
