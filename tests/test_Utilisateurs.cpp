// The users file: hashes only, owner-only, atomic, and strict when read back.
#include "sessions/Empreinte.h"
#include "sessions/MotDePasse.h"
#include "sessions/Session.h"
#include "sessions/Utilisateurs.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TUtilisateur Fiche(const char* nom, const char* prenom, std::uint8_t mode, const char* motDePasse)
{
    TUtilisateur u;
    u.Nom = QString::fromUtf8(nom);
    u.Prenom = QString::fromUtf8(prenom);
    u.Mode = mode;
    u.Empreinte = Empreinte::Calculer(TMotDePasse(motDePasse));
    return u;
}

} // namespace

TEST(Utilisateurs, LesEmpreintesVerifientLeMotDePasseExactEtRienDAutre)
{
    const TMotDePasse motDePasse("Crème brûlée 42");
    const QByteArray a = Empreinte::Calculer(motDePasse);
    const QByteArray b = Empreinte::Calculer(motDePasse);
    ASSERT_TRUE(a.startsWith("$y$")) << a.constData();
    EXPECT_TRUE(Empreinte::EstValide(a));
    EXPECT_NE(a, b) << "each hash has its own salt";
    EXPECT_TRUE(Empreinte::Verifier(motDePasse, a));
    EXPECT_TRUE(Empreinte::Verifier(motDePasse, b));
    EXPECT_FALSE(Empreinte::Verifier(TMotDePasse("crème brûlée 42"), a));
    EXPECT_FALSE(Empreinte::Verifier(TMotDePasse("Crème brûlée 4"), a));
    EXPECT_FALSE(Empreinte::Verifier(TMotDePasse(""), a));
    EXPECT_FALSE(Empreinte::Verifier(TMotDePasse(std::string_view("Crème brûlée 42\0x", 19)), a));

    // Damaged or foreign hashes never match, even the password they came from.
    QByteArray coupe = a;
    coupe.chop(1);
    QByteArray altere = a;
    altere[altere.size() - 1] = altere.back() == 'A' ? 'B' : 'A';
    for (const QByteArray& faux : {coupe, altere, QByteArray("$6$sel$abc"), QByteArray(""), QByteArray("*0"),
                                   QByteArray(a).replace("$y$", "$Y$"), a + "$"}) {
        EXPECT_FALSE(Empreinte::Verifier(motDePasse, faux)) << faux.constData();
        if (faux != altere) {
            EXPECT_FALSE(Empreinte::EstValide(faux)) << faux.constData();
        }
    }

    // The password type: exact comparison, characters counted as typed.
    EXPECT_TRUE(TMotDePasse("Abcdef").Egal(TMotDePasse("Abcdef")));
    EXPECT_FALSE(TMotDePasse("Abcdef").Egal(TMotDePasse("abcdef")));
    EXPECT_FALSE(TMotDePasse("Abcdef").Egal(TMotDePasse("Abcdefg")));
    EXPECT_EQ(TMotDePasse("éàü").NbCaracteres(), 3);
    QString saisi = QStringLiteral("Secret-é");
    TMotDePasse pris = TMotDePasse::Prendre(saisi);
    EXPECT_TRUE(saisi.isEmpty());
    EXPECT_TRUE(pris.Egal(TMotDePasse("Secret-é")));
    TMotDePasse deplace = std::move(pris);
    EXPECT_TRUE(pris.EstVide());
    EXPECT_EQ(deplace.NbCaracteres(), 8);
}

TEST(Utilisateurs, LeFichierGardeLesNomsEtLesEmpreintesSeulementPourSonProprietaire)
{
    TDossierTemporaire dossier;
    const QString chemin = dossier.Chemin(QString::fromLatin1(NomFichierUtilisateurs));
    // An older file readable by all: the save must not keep that mode.
    EcrireFichier(chemin, "; ancien\n");
    ::chmod(QFile::encodeName(chemin).constData(), 0644);

    std::vector<TUtilisateur> liste = {Fiche("ÉTIENNE", "Zoé", ModeExploitation, "mot-de-passe-zoé"),
                                       Fiche("Durand", "Hélène", ModeAdministration, "Hélène#2024"),
                                       Fiche("dupont", "", ModeConsultation, "consultation")};
    QString erreur;
    ASSERT_TRUE(EnregistrerUtilisateurs(liste, chemin, erreur)) << erreur.toStdString();

    struct stat etat {};
    ASSERT_EQ(::stat(QFile::encodeName(chemin).constData(), &etat), 0);
    EXPECT_EQ(etat.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(dossier.Dossier()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";

    const QByteArray octets = LireFichier(chemin);
    for (const char* secret : {"mot-de-passe-zoé", "Hélène#2024", "consultation"}) {
        const QString texte = QString::fromUtf8(secret);
        for (const QByteArray& forme : {texte.toUtf8(), texte.toLatin1(),
                                        QByteArray(reinterpret_cast<const char*>(texte.utf16()), texte.size() * 2)})
            EXPECT_FALSE(octets.contains(forme)) << secret;
    }
    // "consultation" is also a mode name, stored in capitals only.
    EXPECT_TRUE(octets.contains("Mode=CONSULTATION"));

    const TChargementUtilisateurs lu = ChargerUtilisateurs(chemin);
    ASSERT_EQ(lu.Etat, EEtatUtilisateurs::Charge) << lu.Detail.toStdString();
    ASSERT_EQ(lu.Utilisateurs.size(), 3u);
    // Sorted by last name, letter case aside; accents and empty first name kept.
    EXPECT_EQ(lu.Utilisateurs[0].Nom, QStringLiteral("dupont"));
    EXPECT_EQ(lu.Utilisateurs[0].Prenom, QString());
    EXPECT_EQ(lu.Utilisateurs[1].Prenom, QStringLiteral("Hélène"));
    EXPECT_EQ(lu.Utilisateurs[2].Nom, QStringLiteral("ÉTIENNE"));
    EXPECT_EQ(lu.Utilisateurs[2].Prenom, QStringLiteral("Zoé"));
    EXPECT_EQ(lu.Utilisateurs[2].Mode, ModeExploitation);
    EXPECT_TRUE(Empreinte::Verifier(TMotDePasse("Hélène#2024"), lu.Utilisateurs[1].Empreinte));

    // A list the reader would refuse is never written.
    std::vector<TUtilisateur> invalide = liste;
    invalide[0].Nom = QStringLiteral("Deux\nlignes");
    EXPECT_FALSE(EnregistrerUtilisateurs(invalide, chemin, erreur));
    EXPECT_EQ(LireFichier(chemin), octets);
}

TEST(Utilisateurs, UnDisquePleinLaisseLAncienFichierIntact)
{
    TDossierTemporaire dossier;
    const QString chemin = dossier.Chemin(QString::fromLatin1(NomFichierUtilisateurs));
    std::vector<TUtilisateur> liste = {Fiche("ADMIN", "Alice", ModeAdministration, "alice-secret")};
    QString erreur;
    ASSERT_TRUE(EnregistrerUtilisateurs(liste, chemin, erreur));
    const QByteArray avant = LireFichier(chemin);

    for (int i = 0; i < 20; ++i) {
        TUtilisateur u = liste[0];
        u.Nom = QStringLiteral("OPERATEUR%1").arg(i);
        u.Mode = ModeExploitation;
        liste.push_back(u);
    }
    const int etat = DansUnProcessusFils([&] {
        LimiterTailleFichiers(avant.size() + 100);
        QString raison;
        if (EnregistrerUtilisateurs(liste, chemin, raison))
            return 1;
        return raison.contains(QString::fromLatin1(NomFichierUtilisateurs)) ? 0 : 2;
    });
    EXPECT_EQ(etat, 0) << "the save must fail and say which file";
    EXPECT_EQ(LireFichier(chemin), avant);
    EXPECT_EQ(QDir(dossier.Dossier()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(ChargerUtilisateurs(chemin).Utilisateurs.size(), 1u);
}

TEST(Utilisateurs, UnFichierEndommageNOuvreJamaisLaStation)
{
    TDossierTemporaire dossier;
    const QString chemin = dossier.Chemin(QString::fromLatin1(NomFichierUtilisateurs));
    EXPECT_EQ(ChargerUtilisateurs(chemin).Etat, EEtatUtilisateurs::Absent);
    EcrireFichier(chemin, "\xEF\xBB\xBF; rien que des commentaires\r\n\r\n# encore\n");
    EXPECT_EQ(ChargerUtilisateurs(chemin).Etat, EEtatUtilisateurs::SansUtilisateur);

    const QByteArray h = Empreinte::Calculer(TMotDePasse("secret-admin"));
    const QByteArray admin = "[U1]\nNom=DURAND\nPrenom=Luc\nMode=ADMINISTRATION\nEmpreinte=" + h + "\n";
    EcrireFichier(chemin, admin);
    ASSERT_EQ(ChargerUtilisateurs(chemin).Etat, EEtatUtilisateurs::Charge);

    const std::vector<QByteArray> endommages = {
        "Nom=DURAND\n" + admin,                                             // key outside a section
        admin + "Nom=AUTRE\n",                                              // repeated key
        admin + "[U2\n",                                                    // broken section
        admin + "du texte\n",                                               // not key=value
        admin + "Couleur=bleu\n",                                           // unknown key
        QByteArray(admin).replace("Mode=ADMINISTRATION", "Mode=CHEF"),      // unknown mode
        QByteArray(admin).replace("Empreinte=" + h, "Empreinte=secret"),    // password in clear
        QByteArray(admin).replace("Empreinte=" + h + "\n", ""),             // no hash
        QByteArray(admin).replace("Nom=DURAND", "Nom="),                    // no last name
        admin + QByteArray(admin).replace("[U1]", "[U2]").replace("DURAND", "durand"),  // same person twice
        admin + admin,                                                      // repeated section
        QByteArray(admin).replace("ADMINISTRATION", "EXPLOITATION"),        // nobody could administer
        QByteArray(admin).replace("Luc", "L\xFF" "c"),                      // not UTF-8
        admin + QByteArray(2 * 1024 * 1024, ';'),                           // far too large
    };
    for (std::size_t i = 0; i < endommages.size(); ++i) {
        EcrireFichier(chemin, endommages[i]);
        const TChargementUtilisateurs lu = ChargerUtilisateurs(chemin);
        EXPECT_EQ(lu.Etat, EEtatUtilisateurs::Endommage) << "case " << i;
        EXPECT_TRUE(lu.Utilisateurs.empty()) << "case " << i;
        EXPECT_FALSE(lu.Detail.isEmpty()) << "case " << i;
    }

    // What the station makes of it: CONSULTATION, never open, one reason
    // naming the file, and nothing that opens a session or rewrites the file.
    const QByteArray damage = endommages[5];
    EcrireFichier(chemin, damage);
    TSession session(chemin);
    const TResultatSession charge = session.Charger();
    EXPECT_EQ(charge.Message, EMessageSession::FichierEndommage);
    EXPECT_TRUE(charge.Texte(LangueFrancais).contains(QString::fromLatin1(NomFichierUtilisateurs)));
    EXPECT_FALSE(session.StationOuverte());
    EXPECT_EQ(session.Mode(), ModeConsultation);
    EXPECT_TRUE(session.Utilisateurs().empty());
    EXPECT_EQ(session.DebuterSession(0, TMotDePasse("secret-admin")).Message, EMessageSession::FichierEndommage);
    EXPECT_FALSE(session.AjouterUtilisateur("X", "Y", ModeAdministration, TMotDePasse("abcdefg"),
                                            TMotDePasse("abcdefg")).Reussi);
    EXPECT_EQ(LireFichier(chemin), damage);

    // A folder, a FIFO or a dangling link where the file should be: damaged
    // too, and the FIFO read without waiting for a writer.
    QFile::remove(chemin);
    ASSERT_EQ(::mkfifo(QFile::encodeName(chemin).constData(), 0600), 0);
    EXPECT_EQ(ChargerUtilisateurs(chemin).Etat, EEtatUtilisateurs::Endommage);
    QFile::remove(chemin);
    ASSERT_TRUE(QFile::link(dossier.Chemin("absent.ini"), chemin));
    EXPECT_EQ(ChargerUtilisateurs(chemin).Etat, EEtatUtilisateurs::Endommage);
    QFile::remove(chemin);
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QString::fromLatin1(NomFichierUtilisateurs)));
    EXPECT_EQ(ChargerUtilisateurs(chemin).Etat, EEtatUtilisateurs::Endommage);
    QString erreur;
    EXPECT_FALSE(EnregistrerUtilisateurs({}, chemin, erreur));
    EXPECT_TRUE(QFileInfo(chemin).isDir());
}
