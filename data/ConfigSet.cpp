#include "data/ConfigSet.h"

#include "data/ErreurVeilleur.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

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
    QFile fichier(chemin);
    if (!fichier.exists() || !fichier.open(QIODevice::ReadOnly))
        return false;
    // A short file fills the leading part of the record; a longer one gives
    // its first bytes only.
    char tampon[TailleConfigSet];
    qint64 lus = 0;
    while (lus < TailleConfigSet) {
        const qint64 n = fichier.read(tampon + lus, TailleConfigSet - lus);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        lus += n;
    }
    std::memcpy(&config, tampon, static_cast<std::size_t>(lus));
    return lus > 0;
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
    QSaveFile fichier(complet);
    if (!fichier.open(QIODevice::WriteOnly))
        throw echec(fichier.errorString());
    const qint64 ecrits = fichier.write(reinterpret_cast<const char*>(&config), TailleConfigSet);
    if (ecrits != TailleConfigSet) {
        const QString raison = fichier.errorString();
        fichier.cancelWriting();
        throw echec(raison);
    }
    if (!fichier.commit())
        throw echec(fichier.errorString());
}
