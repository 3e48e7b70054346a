#include "sessions/Utilisateurs.h"

#include "data/TypesVeilleur.h"
#include "sessions/Empreinte.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 TailleMaxFichier = 1024 * 1024;

QString TexteSysteme(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The whole file, opened without waiting (a FIFO named like it must not hold
// the interface thread) and refused unless it is a regular file.
bool LireOctets(const QString& chemin, QByteArray& octets, QString& erreur)
{
    const int fd = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        erreur = TexteSysteme(errno);
        return false;
    }
    struct stat etat {};
    bool ok = ::fstat(fd, &etat) == 0;
    if (!ok)
        erreur = TexteSysteme(errno);
    else if (!S_ISREG(etat.st_mode)) {
        erreur = QStringLiteral("ce n'est pas un fichier ordinaire");
        ok = false;
    } else if (etat.st_size > TailleMaxFichier) {
        erreur = QStringLiteral("fichier trop grand");
        ok = false;
    }
    while (ok) {
        char tampon[65536];
        const ssize_t n = ::read(fd, tampon, sizeof tampon);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            erreur = TexteSysteme(errno);
            ok = false;
        } else if (n == 0) {
            break;
        } else {
            octets.append(tampon, n);
            if (octets.size() > TailleMaxFichier) {
                erreur = QStringLiteral("fichier trop grand");
                ok = false;
            }
        }
    }
    ::close(fd);
    return ok;
}

struct TSection {
    int Ligne = 0;
    std::map<QString, QString> Valeurs;
};

// Parses the text into sections; false with the fault in erreur.
bool Analyser(const QString& texte, std::vector<TSection>& sections, QString& erreur)
{
    static const QStringList clesConnues = {QStringLiteral("Nom"), QStringLiteral("Prenom"), QStringLiteral("Mode"),
                                            QStringLiteral("Empreinte")};
    QStringList nomsSections;
    const QStringList lignes = texte.split(QLatin1Char('\n'));
    for (int i = 0; i < lignes.size(); ++i) {
        QString ligne = lignes[i];
        if (ligne.endsWith(QLatin1Char('\r')))
            ligne.chop(1);
        const QString nette = ligne.trimmed();
        auto faute = [&](const QString& quoi) {
            erreur = QStringLiteral("ligne %1 : %2").arg(i + 1).arg(quoi);
            return false;
        };
        for (QChar c : ligne)
            if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
                return faute(QStringLiteral("caractère de contrôle"));
        if (nette.isEmpty() || nette.startsWith(QLatin1Char(';')) || nette.startsWith(QLatin1Char('#')))
            continue;
        if (nette.startsWith(QLatin1Char('['))) {
            if (!nette.endsWith(QLatin1Char(']')) || nette.size() < 3)
                return faute(QStringLiteral("section mal formée"));
            const QString nom = nette.mid(1, nette.size() - 2).trimmed();
            if (nom.isEmpty() || nomsSections.contains(nom))
                return faute(QStringLiteral("section vide ou répétée"));
            nomsSections.append(nom);
            sections.push_back(TSection{i + 1, {}});
            continue;
        }
        const qsizetype egal = nette.indexOf(QLatin1Char('='));
        if (egal <= 0)
            return faute(QStringLiteral("ligne illisible"));
        if (sections.empty())
            return faute(QStringLiteral("clé hors d'une section"));
        const QString cle = nette.left(egal).trimmed();
        if (!clesConnues.contains(cle))
            return faute(QStringLiteral("clé inconnue \"%1\"").arg(cle));
        auto& valeurs = sections.back().Valeurs;
        if (valeurs.count(cle))
            return faute(QStringLiteral("clé \"%1\" répétée").arg(cle));
        valeurs[cle] = nette.mid(egal + 1).trimmed();
    }
    return true;
}

bool VersUtilisateur(const TSection& section, TUtilisateur& utilisateur, QString& erreur)
{
    auto faute = [&](const QString& quoi) {
        erreur = QStringLiteral("utilisateur de la ligne %1 : %2").arg(section.Ligne).arg(quoi);
        return false;
    };
    auto valeur = [&](const char* cle) {
        const auto it = section.Valeurs.find(QString::fromLatin1(cle));
        return it == section.Valeurs.end() ? QString() : it->second;
    };
    utilisateur.Nom = valeur("Nom");
    utilisateur.Prenom = valeur("Prenom");
    if (!NomUtilisateurValide(utilisateur.Nom))
        return faute(QStringLiteral("nom absent ou invalide"));
    // A first name may be left empty; when given it follows the same rules.
    if (!utilisateur.Prenom.isEmpty() && !NomUtilisateurValide(utilisateur.Prenom))
        return faute(QStringLiteral("prénom invalide"));
    if (!ModeDepuisNomFichier(valeur("Mode"), utilisateur.Mode))
        return faute(QStringLiteral("mode inconnu"));
    utilisateur.Empreinte = valeur("Empreinte").toLatin1();
    if (!Empreinte::EstValide(utilisateur.Empreinte))
        return faute(QStringLiteral("empreinte de mot de passe absente ou invalide"));
    return true;
}

} // namespace

QString NomModeFichier(std::uint8_t mode)
{
    switch (mode) {
    case ModeAdministration: return QStringLiteral("ADMINISTRATION");
    case ModeExploitation: return QStringLiteral("EXPLOITATION");
    default: return QStringLiteral("CONSULTATION");
    }
}

bool ModeDepuisNomFichier(const QString& nom, std::uint8_t& mode)
{
    for (std::uint8_t m : {ModeAdministration, ModeExploitation, ModeConsultation})
        if (nom == NomModeFichier(m)) {
            mode = m;
            return true;
        }
    return false;
}

bool NomUtilisateurValide(const QString& nom)
{
    if (nom.isEmpty() || nom.size() > LongueurMaxNomUtilisateur || nom != nom.trimmed())
        return false;
    for (QChar c : nom)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

bool MemesNoms(const TUtilisateur& a, const QString& nom, const QString& prenom)
{
    return a.Nom.compare(nom, Qt::CaseInsensitive) == 0 && a.Prenom.compare(prenom, Qt::CaseInsensitive) == 0;
}

void TrierUtilisateurs(std::vector<TUtilisateur>& utilisateurs)
{
    std::stable_sort(utilisateurs.begin(), utilisateurs.end(), [](const TUtilisateur& a, const TUtilisateur& b) {
        const int nom = a.Nom.compare(b.Nom, Qt::CaseInsensitive);
        return nom != 0 ? nom < 0 : a.Prenom.compare(b.Prenom, Qt::CaseInsensitive) < 0;
    });
}

TChargementUtilisateurs ChargerUtilisateurs(const QString& chemin)
{
    TChargementUtilisateurs resultat;
    QFileInfo info(chemin);
    // A dangling symbolic link is a file that went missing, not an absent one.
    if (!info.exists() && !info.isSymLink()) {
        resultat.Etat = EEtatUtilisateurs::Absent;
        return resultat;
    }
    auto endommage = [&](const QString& detail) {
        resultat.Etat = EEtatUtilisateurs::Endommage;
        resultat.Utilisateurs.clear();
        resultat.Detail = detail;
        return resultat;
    };
    QByteArray octets;
    QString erreur;
    if (!LireOctets(chemin, octets, erreur))
        return endommage(QStringLiteral("illisible : %1").arg(erreur));
    if (octets.startsWith("\xEF\xBB\xBF"))
        octets.remove(0, 3);
    QStringDecoder decodeur(QStringDecoder::Utf8);
    const QString texte = decodeur.decode(octets);
    if (decodeur.hasError())
        return endommage(QStringLiteral("texte qui n'est pas de l'UTF-8"));
    std::vector<TSection> sections;
    if (!Analyser(texte, sections, erreur))
        return endommage(erreur);
    bool administrateur = false;
    for (const TSection& section : sections) {
        TUtilisateur utilisateur;
        if (!VersUtilisateur(section, utilisateur, erreur))
            return endommage(erreur);
        for (const TUtilisateur& autre : resultat.Utilisateurs)
            if (MemesNoms(autre, utilisateur.Nom, utilisateur.Prenom))
                return endommage(QStringLiteral("utilisateur de la ligne %1 : déjà présent").arg(section.Ligne));
        administrateur = administrateur || utilisateur.Mode == ModeAdministration;
        resultat.Utilisateurs.push_back(std::move(utilisateur));
    }
    if (resultat.Utilisateurs.empty()) {
        resultat.Etat = EEtatUtilisateurs::SansUtilisateur;
        return resultat;
    }
    if (!administrateur)
        return endommage(QStringLiteral("aucun administrateur"));
    TrierUtilisateurs(resultat.Utilisateurs);
    resultat.Etat = EEtatUtilisateurs::Charge;
    return resultat;
}

bool EnregistrerUtilisateurs(const std::vector<TUtilisateur>& utilisateurs, const QString& chemin, QString& erreur)
{
    const QString complet = QFileInfo(chemin).absoluteFilePath();
    auto echec = [&](const QString& raison) {
        erreur = QStringLiteral("Impossible d'enregistrer le fichier des utilisateurs \"%1\". %2").arg(complet, raison);
        return false;
    };
    QByteArray texte = "; Utilisateurs de la station. Les mots de passe n'y sont gardés que sous forme "
                       "d'empreinte yescrypt.\n";
    int numero = 0;
    for (const TUtilisateur& u : utilisateurs) {
        // Never write what the reader would refuse: it would lock everybody out.
        if (!NomUtilisateurValide(u.Nom) || (!u.Prenom.isEmpty() && !NomUtilisateurValide(u.Prenom)) ||
            u.Mode > ModeConsultation || !Empreinte::EstValide(u.Empreinte))
            return echec(QStringLiteral("Utilisateur invalide."));
        texte += "\n[Utilisateur" + QByteArray::number(++numero) + "]\n";
        texte += "Nom=" + u.Nom.toUtf8() + '\n';
        texte += "Prenom=" + u.Prenom.toUtf8() + '\n';
        texte += "Mode=" + NomModeFichier(u.Mode).toLatin1() + '\n';
        texte += "Empreinte=" + u.Empreinte + '\n';
    }

    const QFileInfo info(complet);
    if (info.exists() && !info.isFile())
        return echec(QStringLiteral("Ce n'est pas un fichier ordinaire."));
    QSaveFile fichier(complet);
    // No writing in place: a half-written users file would lock everybody out.
    fichier.setDirectWriteFallback(false);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return echec(fichier.errorString());
    auto abandonner = [&](const QString& raison) {
        fichier.cancelWriting();
        return echec(raison);
    };
    // Owner only, before the hashes go in; the rename keeps this mode.
    if (::fchmod(fichier.handle(), S_IRUSR | S_IWUSR) != 0)
        return abandonner(TexteSysteme(errno));
    qint64 ecrits = 0;
    while (ecrits < texte.size()) {
        const qint64 n = fichier.write(texte.constData() + ecrits, texte.size() - ecrits);
        if (n <= 0)
            return abandonner(fichier.errorString());
        ecrits += n;
    }
    if (::fsync(fichier.handle()) != 0)
        return abandonner(TexteSysteme(errno));
    if (!fichier.commit())
        return echec(fichier.errorString());
    // The rename itself reaches the disk with the folder.
    const int dossier = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dossier >= 0) {
        ::fsync(dossier);
        ::close(dossier);
    }
    return true;
}
