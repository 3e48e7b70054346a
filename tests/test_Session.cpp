// Session logic: the first administrator, logging in and out, the lockout,
// the administrator the list always keeps, inactivity, and the rights of
// each mode.
#include "data/Chaine1252.h"
#include "sessions/Droits.h"
#include "sessions/Session.h"
#include "support/OutilsTest.h"

#include <gtest/gtest.h>

namespace {

// A station folder with a session on a clock the test moves by hand.
struct TBanc {
    TDossierTemporaire Dossier;
    std::int64_t Horloge = 1'000'000;
    TSession Session{Dossier.Chemin(QString::fromLatin1(NomFichierUtilisateurs)), [this] { return Horloge; },
                     [] { return 45000.5; }};

    int Index(const char* nom) const
    {
        const auto& liste = Session.Utilisateurs();
        for (int i = 0; i < static_cast<int>(liste.size()); ++i)
            if (liste[static_cast<std::size_t>(i)].Nom == QString::fromUtf8(nom))
                return i;
        return -1;
    }
    TResultatSession Entrer(const char* nom, const char* motDePasse)
    {
        return Session.DebuterSession(Index(nom), TMotDePasse(motDePasse));
    }
    TResultatSession Ajouter(const char* nom, const char* prenom, std::uint8_t mode, const char* motDePasse)
    {
        return Session.AjouterUtilisateur(QString::fromUtf8(nom), QString::fromUtf8(prenom), mode,
                                          TMotDePasse(motDePasse), TMotDePasse(motDePasse));
    }
};

void AttendreEntree(const TResultatSession& r, std::uint8_t code, int attribut1, int attribut2, const QString& nom)
{
    ASSERT_EQ(r.Journal.size(), 1u);
    const TEntreeLog& e = r.Journal[0];
    EXPECT_EQ(e.Code, code);
    EXPECT_EQ(e.Attribut1, attribut1);
    EXPECT_EQ(e.Attribut2, attribut2);
    EXPECT_EQ(e.Origine, 0);
    EXPECT_EQ(e.DateHeure, 45000.5);
    EXPECT_EQ(LireChaine(e.InfosCompl), nom);
}

} // namespace

TEST(Session, LePremierUtilisateurEstUnAdministrateurQuiFermeLaStation)
{
    TBanc banc;
    EXPECT_EQ(banc.Session.Charger().Message, EMessageSession::Aucun);
    EXPECT_TRUE(banc.Session.StationOuverte());
    EXPECT_EQ(banc.Session.Mode(), ModeAdministration);
    EXPECT_FALSE(banc.Session.EnSession());

    EXPECT_EQ(banc.Ajouter("MARTIN", "Paul", ModeExploitation, "paul-secret").Message,
              EMessageSession::PremierUtilisateurAdministrateur);
    // The two fields compared exactly: a mistyped capital is not a password.
    EXPECT_EQ(banc.Session.AjouterUtilisateur("DURAND", "Hélène", ModeAdministration, TMotDePasse("Secret-1"),
                                              TMotDePasse("secret-1")).Message,
              EMessageSession::MotsDePasseDifferents);
    EXPECT_EQ(banc.Ajouter("DURAND", "Hélène", ModeAdministration, "court").Message,
              EMessageSession::MotDePasseTropCourt);
    EXPECT_EQ(banc.Ajouter("", "Hélène", ModeAdministration, "assez-long").Message, EMessageSession::NomInvalide);
    EXPECT_EQ(banc.Ajouter("A", "B", 3, "assez-long").Message, EMessageSession::ModeInvalide);
    EXPECT_FALSE(QFile::exists(banc.Session.CheminFichier())) << "nothing written by refused additions";

    const TResultatSession ajout = banc.Ajouter("  DURAND ", "Hélène", ModeAdministration, "éèà-123");
    ASSERT_TRUE(ajout.Reussi);
    AttendreEntree(ajout, CodeDebutSession, 0, DebutAccepte, QStringLiteral("Hélène DURAND"));
    EXPECT_EQ(ajout.Journal[0].InfosCompl.Car[1], 0xE9) << "1252 byte of é";
    EXPECT_FALSE(banc.Session.StationOuverte());
    EXPECT_EQ(banc.Session.NomEnSession(), QStringLiteral("Hélène DURAND"));
    EXPECT_EQ(banc.Session.Mode(), ModeAdministration);
    EXPECT_EQ(banc.Ajouter("durand", "HÉLÈNE", ModeExploitation, "autre-mot").Message,
              EMessageSession::UtilisateurExistant);

    // Restarted: users exist, so CONSULTATION with nobody until a password.
    TSession redemarree(banc.Session.CheminFichier());
    redemarree.Charger();
    EXPECT_EQ(redemarree.EtatFichier(), EEtatUtilisateurs::Charge);
    EXPECT_FALSE(redemarree.StationOuverte());
    EXPECT_EQ(redemarree.Mode(), ModeConsultation);
    EXPECT_EQ(redemarree.NomEnSession(), QString());
    EXPECT_EQ(redemarree.AjouterUtilisateur("X", "Y", ModeExploitation, TMotDePasse("abcdefg"),
                                            TMotDePasse("abcdefg")).Message,
              EMessageSession::ReserveAdministration);
    EXPECT_TRUE(redemarree.DebuterSession(0, TMotDePasse("éèà-123")).Reussi);

    // A save that fails changes nothing in memory either.
    TSession sansDossier(banc.Dossier.Chemin("absent/Utilisateurs.ini"));
    sansDossier.Charger();
    const TResultatSession echec = sansDossier.AjouterUtilisateur("A", "B", ModeAdministration,
                                                                  TMotDePasse("abcdefg"), TMotDePasse("abcdefg"));
    EXPECT_EQ(echec.Message, EMessageSession::EchecEnregistrement);
    EXPECT_TRUE(echec.Texte(LangueAnglais).contains(QStringLiteral("absent")));
    EXPECT_TRUE(sansDossier.StationOuverte());
    EXPECT_TRUE(sansDossier.Utilisateurs().empty());
}

TEST(Session, EntreeSortieEtBlocageApresCinqErreurs)
{
    TBanc banc;
    banc.Session.Charger();
    ASSERT_TRUE(banc.Ajouter("DURAND", "Hélène", ModeAdministration, "admin-secret").Reussi);
    ASSERT_TRUE(banc.Ajouter("MARTIN", "Paul", ModeExploitation, "Paul-Secret").Reussi);
    ASSERT_TRUE(banc.Ajouter("BERNARD", "Léa", ModeConsultation, "lea-secret").Reussi);

    AttendreEntree(banc.Session.FinirSession(), CodeFinSession, FinParUtilisateur, 0, QStringLiteral("Hélène DURAND"));
    EXPECT_EQ(banc.Session.Mode(), ModeConsultation);
    EXPECT_FALSE(banc.Session.EnSession());
    EXPECT_EQ(banc.Session.FinirSession().Message, EMessageSession::AucuneSessionEnCours);
    EXPECT_EQ(banc.Session.DebuterSession(-1, TMotDePasse("x")).Message,
              EMessageSession::AucunUtilisateurSelectionne);

    // Four wrong passwords: refused and journalled, not yet blocked.
    for (const char* faux : {"paul-secret", "Paul-Secre", "", "Paul-Secret "}) {
        const TResultatSession r = banc.Entrer("MARTIN", faux);
        EXPECT_EQ(r.Message, EMessageSession::MotDePasseIncorrect) << faux;
        AttendreEntree(r, CodeDebutSession, 0, DebutRefuse, QStringLiteral("Paul MARTIN"));
        EXPECT_EQ(banc.Session.Mode(), ModeConsultation);
    }
    EXPECT_EQ(banc.Session.SecondesBlocage(banc.Index("MARTIN")), 0);
    const TResultatSession cinquieme = banc.Entrer("MARTIN", "PAUL-SECRET");
    EXPECT_EQ(cinquieme.Message, EMessageSession::MotDePasseIncorrectBloque);
    EXPECT_TRUE(cinquieme.Texte(LangueFrancais).contains(QStringLiteral("60 s")));
    EXPECT_EQ(banc.Session.SecondesBlocage(banc.Index("MARTIN")), 60);

    // Blocked: even the right password is not tried, and nothing is journalled.
    banc.Horloge += 59'000;
    const TResultatSession bloque = banc.Entrer("MARTIN", "Paul-Secret");
    EXPECT_EQ(bloque.Message, EMessageSession::UtilisateurBloque);
    EXPECT_EQ(bloque.Argument, QStringLiteral("1"));
    EXPECT_TRUE(bloque.Journal.empty());
    EXPECT_FALSE(banc.Session.EnSession());

    // The others are not blocked.
    const TResultatSession lea = banc.Entrer("BERNARD", "lea-secret");
    ASSERT_TRUE(lea.Reussi);
    EXPECT_EQ(banc.Session.Mode(), ModeConsultation);
    EXPECT_EQ(banc.Session.NomEnSession(), QStringLiteral("Léa BERNARD"));

    // After 60 s the right password opens the session; the one before ends first.
    banc.Horloge += 1'000;
    const TResultatSession paul = banc.Entrer("MARTIN", "Paul-Secret");
    ASSERT_TRUE(paul.Reussi);
    ASSERT_EQ(paul.Journal.size(), 2u);
    EXPECT_EQ(paul.Journal[0].Code, CodeFinSession);
    EXPECT_EQ(LireChaine(paul.Journal[0].InfosCompl), QStringLiteral("Léa BERNARD"));
    EXPECT_EQ(paul.Journal[1].Code, CodeDebutSession);
    EXPECT_EQ(paul.Journal[1].Attribut2, DebutAccepte);
    EXPECT_EQ(banc.Session.Mode(), ModeExploitation);
    EXPECT_EQ(banc.Session.Utilisateurs()[static_cast<std::size_t>(banc.Session.IndexEnSession())].Nom,
              QStringLiteral("MARTIN"));

    // The user's own password: exact comparison, at least 6 characters.
    EXPECT_EQ(banc.Session.ChangerMotDePasse(TMotDePasse("Nouveau-1"), TMotDePasse("nouveau-1")).Message,
              EMessageSession::MotsDePasseDifferents);
    EXPECT_EQ(banc.Session.ChangerMotDePasse(TMotDePasse("12345"), TMotDePasse("12345")).Message,
              EMessageSession::MotDePasseTropCourt);
    EXPECT_TRUE(banc.Session.ChangerMotDePasse(TMotDePasse("Nouveau-1"), TMotDePasse("Nouveau-1")).Reussi);
    EXPECT_FALSE(banc.Entrer("MARTIN", "Paul-Secret").Reussi);
    EXPECT_TRUE(banc.Entrer("MARTIN", "Nouveau-1").Reussi);

    // A person's entry names the user in session, in the journal's 52 bytes.
    TEntreeLog acquittement{};
    acquittement.Code = 14;
    banc.Session.Signer(acquittement);
    EXPECT_EQ(LireChaine(acquittement.InfosCompl), QStringLiteral("Paul MARTIN"));
}

TEST(Session, LaListeGardeToujoursUnAdministrateur)
{
    TBanc banc;
    banc.Session.Charger();
    ASSERT_TRUE(banc.Ajouter("DURAND", "Hélène", ModeAdministration, "admin-secret").Reussi);
    const int durand = banc.Index("DURAND");

    EXPECT_EQ(banc.Session.SupprimerUtilisateur(durand).Message, EMessageSession::DernierAdministrateur);
    EXPECT_EQ(banc.Session.ModifierUtilisateur(durand, "DURAND", "Hélène", ModeExploitation, {}, {}).Message,
              EMessageSession::DernierAdministrateur);

    ASSERT_TRUE(banc.Ajouter("ADAM", "Marc", ModeAdministration, "marc-secret").Reussi);
    ASSERT_TRUE(banc.Ajouter("MARTIN", "Paul", ModeExploitation, "paul-secret").Reussi);
    // Sorted by last name whatever the order of addition.
    ASSERT_EQ(banc.Session.Utilisateurs().size(), 3u);
    EXPECT_EQ(banc.Session.Utilisateurs()[0].Nom, QStringLiteral("ADAM"));
    EXPECT_EQ(banc.Session.Utilisateurs()[2].Nom, QStringLiteral("MARTIN"));

    // Two administrators: the one in session still cannot go or step down.
    EXPECT_EQ(banc.Session.SupprimerUtilisateur(banc.Index("DURAND")).Message, EMessageSession::UtilisateurEnSession);
    EXPECT_EQ(banc.Session.ModifierUtilisateur(banc.Index("DURAND"), "DURAND", "Hélène", ModeConsultation, {}, {})
                  .Message,
              EMessageSession::UtilisateurEnSession);
    // Renaming oneself keeps the session, under the new name, re-sorted.
    ASSERT_TRUE(banc.Session.ModifierUtilisateur(banc.Index("DURAND"), "ZOLA", "Hélène", ModeAdministration, {}, {})
                    .Reussi);
    EXPECT_EQ(banc.Session.NomEnSession(), QStringLiteral("Hélène ZOLA"));
    EXPECT_EQ(banc.Session.IndexEnSession(), 2);
    // Modifying with a password: the fields must agree; then the new one works.
    EXPECT_EQ(banc.Session.ModifierUtilisateur(banc.Index("MARTIN"), "MARTIN", "Paul", ModeConsultation,
                                               TMotDePasse("paul-nouveau"), TMotDePasse("")).Message,
              EMessageSession::MotsDePasseDifferents);
    ASSERT_TRUE(banc.Session.ModifierUtilisateur(banc.Index("MARTIN"), "MARTIN", "Paul", ModeConsultation,
                                                 TMotDePasse("paul-nouveau"), TMotDePasse("paul-nouveau")).Reussi);
    EXPECT_EQ(banc.Session.ModifierUtilisateur(banc.Index("MARTIN"), "ADAM", "Marc", ModeConsultation, {}, {})
                  .Message,
              EMessageSession::UtilisateurExistant);

    // The other administrator may go; then the one left is the last again.
    ASSERT_TRUE(banc.Session.SupprimerUtilisateur(banc.Index("ADAM")).Reussi);
    EXPECT_EQ(banc.Session.SupprimerUtilisateur(banc.Index("ZOLA")).Message, EMessageSession::DernierAdministrateur);

    // Outside ADMINISTRATION nothing of the list changes.
    ASSERT_TRUE(banc.Entrer("MARTIN", "paul-nouveau").Reussi);
    EXPECT_EQ(banc.Session.Mode(), ModeConsultation);
    EXPECT_EQ(banc.Session.SupprimerUtilisateur(banc.Index("ZOLA")).Message, EMessageSession::ReserveAdministration);
    EXPECT_EQ(banc.Session.ModifierUtilisateur(banc.Index("MARTIN"), "MARTIN", "Paul", ModeAdministration, {}, {})
                  .Message,
              EMessageSession::ReserveAdministration);

    // What reached the file is what the list shows.
    TSession relue(banc.Session.CheminFichier());
    relue.Charger();
    ASSERT_EQ(relue.Utilisateurs().size(), 2u);
    EXPECT_EQ(relue.Utilisateurs()[0].Nom, QStringLiteral("MARTIN"));
    EXPECT_EQ(relue.Utilisateurs()[0].Mode, ModeConsultation);
    EXPECT_EQ(relue.Utilisateurs()[1].Nom, QStringLiteral("ZOLA"));
    EXPECT_EQ(relue.Utilisateurs()[1].Mode, ModeAdministration);
}

TEST(Session, FinAutomatiqueApresQuinzeMinutesSansSaisie)
{
    TBanc banc;
    banc.Session.Charger();
    // An open station has nobody to log out.
    banc.Horloge += 3'600'000;
    EXPECT_FALSE(banc.Session.Verifier().Reussi);
    EXPECT_EQ(banc.Session.Mode(), ModeAdministration);

    // A name longer than the journal's slot is cut to its 52 bytes.
    const QString longNom = QString(60, QLatin1Char('N'));
    ASSERT_TRUE(banc.Session.AjouterUtilisateur(longNom, "Ève", ModeAdministration, TMotDePasse("abcdef"),
                                                TMotDePasse("abcdef")).Reussi);
    banc.Horloge += TSession::DelaiInactiviteMs - 1;
    EXPECT_FALSE(banc.Session.Verifier().Reussi);
    banc.Session.SignalerActivite();
    banc.Horloge += TSession::DelaiInactiviteMs - 1;
    const TResultatSession rien = banc.Session.Verifier();
    EXPECT_FALSE(rien.Reussi);
    EXPECT_TRUE(rien.Journal.empty());
    EXPECT_TRUE(banc.Session.EnSession());

    banc.Horloge += 1;
    const TResultatSession fin = banc.Session.Verifier();
    EXPECT_TRUE(fin.Reussi);
    EXPECT_EQ(fin.Message, EMessageSession::SessionFinInactivite);
    const QString attendu = (QStringLiteral("Ève ") + longNom).left(LongueurMaxInfosCompl);
    AttendreEntree(fin, CodeFinSession, FinParInactivite, 0, attendu);
    EXPECT_EQ(fin.Journal[0].InfosCompl.Longueur, LongueurMaxInfosCompl);
    EXPECT_FALSE(banc.Session.EnSession());
    EXPECT_EQ(banc.Session.Mode(), ModeConsultation);
    // Ended once only.
    banc.Horloge += TSession::DelaiInactiviteMs;
    EXPECT_TRUE(banc.Session.Verifier().Journal.empty());
}

TEST(Session, ChaqueDroitDansChaqueMode)
{
    // Rows: the privileges table; columns CONSULTATION (switch off, on),
    // EXPLOITATION, ADMINISTRATION.
    struct TLigne {
        EDroit Droit;
        bool Consultation, ConsultationAcq, Exploitation, Administration;
    };
    const TLigne table[] = {
        {EDroit::LireMesures, true, true, true, true},
        {EDroit::AcquitterAlarmes, false, true, true, true},
        {EDroit::ReglerSeuils, false, false, true, true},
        {EDroit::LancerRecherche, false, false, true, true},
        {EDroit::ModifierConfiguration, false, false, false, true},
        {EDroit::GererUtilisateurs, false, false, false, true},
    };
    for (const TLigne& l : table) {
        const int n = static_cast<int>(l.Droit);
        const std::pair<TDroit, bool> cas[] = {
            {Droit(l.Droit, ModeConsultation, false), l.Consultation},
            {Droit(l.Droit, ModeConsultation, true), l.ConsultationAcq},
            {Droit(l.Droit, ModeExploitation, false), l.Exploitation},
            {Droit(l.Droit, ModeAdministration, false), l.Administration},
            {Droit(l.Droit, ModeExploitation, true), l.Exploitation},
            {Droit(l.Droit, ModeAdministration, true), l.Administration},
            // An unknown mode byte gets what CONSULTATION gets.
            {Droit(l.Droit, 7, false), l.Consultation},
        };
        for (const auto& [droit, attendu] : cas) {
            EXPECT_EQ(droit.Accorde, attendu) << "right " << n;
            // A refusal always says why, in every language.
            EXPECT_EQ(droit.Raison == EMessageSession::Aucun, attendu) << "right " << n;
            for (TLangue langue = 0; langue < NbLangues && !droit.Accorde; ++langue) {
                EXPECT_FALSE(TexteMessageSession(droit.Raison, langue).isEmpty());
            }
        }
    }

    // The session's rights follow its mode.
    TBanc banc;
    banc.Session.Charger();
    EXPECT_TRUE(banc.Session.Droit(EDroit::ModifierConfiguration, false).Accorde);
    ASSERT_TRUE(banc.Ajouter("DURAND", "Luc", ModeAdministration, "admin-secret").Reussi);
    ASSERT_TRUE(banc.Ajouter("MARTIN", "Paul", ModeExploitation, "paul-secret").Reussi);
    ASSERT_TRUE(banc.Entrer("MARTIN", "paul-secret").Reussi);
    EXPECT_FALSE(banc.Session.Droit(EDroit::ModifierConfiguration, false).Accorde);
    EXPECT_TRUE(banc.Session.Droit(EDroit::ReglerSeuils, false).Accorde);
    banc.Session.FinirSession();
    EXPECT_FALSE(banc.Session.Droit(EDroit::AcquitterAlarmes, false).Accorde);
    EXPECT_TRUE(banc.Session.Droit(EDroit::AcquitterAlarmes, true).Accorde);
}
