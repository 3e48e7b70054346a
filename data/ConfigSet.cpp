#include "data/ConfigSet.h"

#include "data/ErreurVeilleur.h"
#include "platform/FichierOrdinaire.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

TConfigSet ConfigSet{};

TLangue LangueValide(TLangue langue)
{
    return langue < NbLangues ? langue : LangueFrancais;
}

bool ChargerConfig()
{
    return ChargerConfig(ConfigSet, QString::fromLatin1(NomFichierConfig));
}

bool ChargerConfig(TConfigSet& config, const QString& chemin)
{
    // Opened without waiting: a FIFO or device named like the file is a
    // failed load, as an unreadable file is.
    TFichierOrdinaire fichier;
    if (!fichier.Ouvrir(chemin, O_RDONLY))
        return false;
    // A short file fills the leading part of the record; a longer one gives
    // its first bytes only.
    char tampon[TailleConfigSet];
    const qint64 lus = fichier.Lire(0, tampon, TailleConfigSet);
    if (lus <= 0)
        return false;
    std::memcpy(&config, tampon, static_cast<std::size_t>(lus));
    // A language with no catalogue column becomes the French the window
    // shows, so the next save writes that one back.
    config.Langue = LangueValide(config.Langue);
    return true;
}

void EnregistrerConfig()
{
    EnregistrerConfig(ConfigSet, QString::fromLatin1(NomFichierConfig));
}

void EnregistrerConfig(const TConfigSet& config, const QString& chemin)
{
    const QString complet = QFileInfo(chemin).absoluteFilePath();
    auto echec = [&](const QString& raison) {
        return EErreurVeilleur(QStringLiteral("Impossible de créer le fichier \"%1\". %2").arg(complet, raison));
    };
    // The temporary file would be renamed over a folder, FIFO or device
    // named like the file: leave such a node alone.
    if (TFichierOrdinaire::ExisteMaisPasOrdinaire(complet))
        throw echec(TFichierOrdinaire::TextePasOrdinaire());

    QSaveFile fichier(complet);
    // A writable file in a folder the user may not write to is written in
    // place rather than not at all.
    fichier.setDirectWriteFallback(true);
    // Unbuffered, so every byte either reaches the system here or the write
    // that fails says why (disk full, size limit, I/O error).
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw echec(fichier.errorString());
    auto abandonner = [&](const QString& raison) {
        fichier.cancelWriting();
        return echec(raison);
    };
    const char* octets = reinterpret_cast<const char*>(&config);
    qint64 ecrits = 0;
    while (ecrits < TailleConfigSet) {
        const qint64 n = fichier.write(octets + ecrits, TailleConfigSet - ecrits);
        if (n <= 0)
            throw abandonner(fichier.errorString());
        ecrits += n;
    }
    // commit() does not report a failed sync: check it before the rename.
    if (::fsync(fichier.handle()) != 0)
        throw abandonner(TFichierOrdinaire::TexteSysteme(errno));
    if (!fichier.commit())
        throw echec(fichier.errorString());
}
