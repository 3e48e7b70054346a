// The journal tool run as a program on a journal written by the station's own
// store: exact CSV and JSON exports, filters, damaged records, the check and
// the errors it reports.
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEntreeLog Entree(std::uint8_t code, double date, std::uint8_t origine, double v1, double v2)
{
    return EntreeDeTest(code, date, origine, v1, v2);
}

QByteArray Octets(const TEntreeLog& e)
{
    return QByteArray(reinterpret_cast<const char*>(&e), sizeof e);
}

TResultatProgramme Outil(const QStringList& arguments)
{
    return LancerProgramme(QStringLiteral(VEILLEUR_JOURNAL_PROGRAMME), arguments);
}

// First CSV field of each data row: the indexes an export kept.
QList<int> Index(const QByteArray& csv)
{
    QList<int> index;
    const QList<QByteArray> lignes = csv.split('\n');
    for (qsizetype i = 1; i < lignes.size(); ++i)
        if (!lignes[i].isEmpty())
            index.append(lignes[i].left(lignes[i].indexOf(',')).toInt());
    return index;
}

struct ExportJournal : ::testing::Test {
    TDossierTemporaire dossier;
    QString evenement = NomUnique("EvtExport");

    ExportJournal()
    {
        TJournalLog journal(QStringLiteral("Log.dat"), evenement);
        journal.AjouterEntreeLog(Entree(7, 45366.25, 26, 150, 100));
        TEntreeLog e = Entree(8, 45366.623456, 12, 55.5, 100);
        e.Attribut1 = 3;
        EcrireChaine(e.InfosCompl, QStringLiteral("défaut, \"x\""));
        journal.AjouterEntreeLog(e);
        journal.AjouterEntreeLog(Entree(1, 45367.0, 0, 0, 0));
    }
    ~ExportJournal() override { TEvenementNomme::Supprimer(evenement); }
};

const QByteArray EnTete = "index,code,evenement,date,jours,origine,attribut1,attribut2,infos,valeur1,valeur2,valeur3\r\n";

} // namespace

TEST_F(ExportJournal, CsvAndJsonInTwoLanguages)
{
    TResultatProgramme r = Outil({"export"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Erreurs, "");
    EXPECT_EQ(r.Sortie, EnTete
        + "0,7,Préalarme KMT,2024-03-15T06:00:00.000,45366.25,26,0,1,,150,100,0\r\n"
          "1,8,Alarme KMT,2024-03-15T14:57:46.598,45366.623456,12,3,1,\"défaut, \"\"x\"\"\",55.5,100,0\r\n"
          "2,1,Fermeture du veilleur,2024-03-16T00:00:00.000,45367,0,0,1,,0,0,0\r\n");

    r = Outil({"export", "--format", "json", "--langue", "es", "Log.dat"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Sortie,
        "{\"index\":0,\"code\":7,\"evenement\":\"Pre alarma KMT\",\"date\":\"2024-03-15T06:00:00.000\",\"jours\":45366.25,"
        "\"origine\":26,\"attribut1\":0,\"attribut2\":1,\"infos\":\"\",\"valeur1\":150,\"valeur2\":100,\"valeur3\":0}\n"
        "{\"index\":1,\"code\":8,\"evenement\":\"Alarma KMT\",\"date\":\"2024-03-15T14:57:46.598\",\"jours\":45366.623456,"
        "\"origine\":12,\"attribut1\":3,\"attribut2\":1,\"infos\":\"défaut, \\\"x\\\"\",\"valeur1\":55.5,\"valeur2\":100,\"valeur3\":0}\n"
        "{\"index\":2,\"code\":1,\"evenement\":\"Parada del software\",\"date\":\"2024-03-16T00:00:00.000\",\"jours\":45367,"
        "\"origine\":0,\"attribut1\":0,\"attribut2\":1,\"infos\":\"\",\"valeur1\":0,\"valeur2\":0,\"valeur3\":0}\n");

    r = Outil({"export", "--langue", "en", "--code", "1"});
    EXPECT_TRUE(r.Sortie.endsWith("2,1,Stop supervisor_,2024-03-16T00:00:00.000,45367,0,0,1,,0,0,0\r\n")) << r.Sortie.constData();
}

TEST_F(ExportJournal, Filters)
{
    EXPECT_EQ(Index(Outil({"export", "--origine", "12"}).Sortie), QList<int>({1}));
    EXPECT_EQ(Index(Outil({"export", "--code", "7"}).Sortie), QList<int>({0}));
    // A date alone as the end takes the whole day in; a date-time keeps its millisecond.
    EXPECT_EQ(Index(Outil({"export", "--depuis", "2024-03-15T10:00", "--jusqua", "2024-03-15"}).Sortie), QList<int>({1}));
    EXPECT_EQ(Index(Outil({"export", "--jusqua", "2024-03-15T06:00:00.000"}).Sortie), QList<int>({0}));
    EXPECT_EQ(Index(Outil({"export", "--depuis", "2024-03-16"}).Sortie), QList<int>({2}));

    // The station's age rule, against the real clock.
    const double maintenant = DateVeilleur::Maintenant();
    EcrireFichier("Recent.dat", Octets(Entree(7, maintenant - 400, 1, 0, 0)) + Octets(Entree(7, maintenant - 10, 2, 0, 0))
                                    + Octets(Entree(7, maintenant, 3, 0, 0)));
    EXPECT_EQ(Index(Outil({"export", "--age-max", "360", "Recent.dat"}).Sortie), QList<int>({1, 2}));
    EXPECT_EQ(Index(Outil({"export", "--age-max", "5", "Recent.dat"}).Sortie), QList<int>({2}));
    EXPECT_EQ(Index(Outil({"export", "Recent.dat"}).Sortie), QList<int>({0, 1, 2}));
}

TEST_F(ExportJournal, DamagedRecordsAreExportedSafelyAndReported)
{
    TEntreeLog inconnu = Entree(200, 45367.25, 5, 1, 2);
    TEntreeLog trop = Entree(7, 32000.0, 5, 1, 2);  // 1987, and earlier than the record before
    trop.InfosCompl.Longueur = 255;
    std::memset(trop.InfosCompl.Car, 'z', sizeof trop.InfosCompl.Car);
    const TEntreeLog sansDate = Entree(7, std::nan(""), 5, 1, 2);
    QByteArray octets = LireFichier("Log.dat");
    octets += Octets(inconnu) + Octets(trop) + Octets(sansDate) + QByteArray(40, '\x7f');
    EcrireFichier("Log.dat", octets);

    TResultatProgramme r = Outil({"export"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Sortie.endsWith("2,1,Fermeture du veilleur,2024-03-16T00:00:00.000,45367,0,0,1,,0,0,0\r\n"
                                  "3,200,,2024-03-16T06:00:00.000,45367.25,5,0,1,,1,2,0\r\n"
                                  "4,7,Préalarme KMT,1987-08-11T00:00:00.000,32000,5,0,1," + QByteArray(52, 'z') + ",1,2,0\r\n"
                                  "5,7,Préalarme KMT,,,5,0,1,,1,2,0\r\n")) << r.Sortie.constData();
    EXPECT_EQ(r.Erreurs, "veilleur-journal: warning: the last 40 bytes of \"Log.dat\" are not a whole record and were left out.\n");

    r = Outil({"export", "--format", "json", "--code", "200"});
    EXPECT_TRUE(r.Sortie.startsWith("{\"index\":3,\"code\":200,\"evenement\":null,\"date\":\"2024-03-16T06:00:00.000\"")) << r.Sortie.constData();
    r = Outil({"export", "--format", "json", "--origine", "5"});
    EXPECT_TRUE(r.Sortie.endsWith("{\"index\":5,\"code\":7,\"evenement\":\"Préalarme KMT\",\"date\":null,\"jours\":null,\"origine\":5,"
                                  "\"attribut1\":0,\"attribut2\":1,\"infos\":\"\",\"valeur1\":1,\"valeur2\":2,\"valeur3\":0}\n"));
    EXPECT_EQ(Outil({"export", "--depuis", "2000-01-01", "--origine", "5"}).Sortie.count('\n'), 1 + 1)
        << "a record without a date never passes a date bound";

    r = Outil({"verifier"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Sortie, "record 3: unknown event code 200\n"
                        "record 4: text length 255 above 52\n"
                        "record 4: implausible date 1987-08-11T00:00:00.000 (before 1990)\n"
                        "record 4: date 1987-08-11T00:00:00.000 goes backwards from 2024-03-16T06:00:00.000 (record 3)\n"
                        "record 5: date is not a number (nan)\n"
                        "record 6: partial record of 40 bytes at the end of the file\n"
                        "6 records, 6 problems found\n");
}

TEST_F(ExportJournal, CleanCheckAndErrorsGiveTheirExitStatus)
{
    TResultatProgramme r = Outil({"verifier", "Log.dat"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Sortie, "3 records, no problem found\n");

    for (const char* commande : {"export", "verifier", "tendance"}) {
        r = Outil({commande, "Absent.dat"});
        EXPECT_EQ(r.Code, 2) << commande;
        EXPECT_EQ(r.Sortie, "") << commande;
        EXPECT_EQ(r.Erreurs, "veilleur-journal: cannot open \"Absent.dat\": No such file or directory.\n") << commande;
    }
    // Neither a folder nor a FIFO named like the journal holds the tool up.
    ASSERT_TRUE(QDir().mkdir("Dossier.dat"));
    ASSERT_EQ(mkfifo("Tube.dat", 0600), 0);
    for (const char* nom : {"Dossier.dat", "Tube.dat"}) {
        EXPECT_EQ(Outil({"suivre", nom}).Code, 2) << "follows no FIFO for ever";
        r = Outil({"export", nom});
        EXPECT_EQ(r.Code, 2);
        EXPECT_EQ(r.Erreurs.count('\n'), 1);
        EXPECT_TRUE(r.Erreurs.startsWith("veilleur-journal: cannot open \"" + QByteArray(nom) + "\": ")) << r.Erreurs.constData();
    }

    for (const QStringList& faux : {QStringList{"exporter"}, QStringList{"export", "--format", "xml"},
                                    QStringList{"export", "--origine", "300"}, QStringList{"tendance", "--fenetre", "demain"},
                                    QStringList{"verifier", "a", "b"}, QStringList{}}) {
        r = Outil(faux);
        EXPECT_EQ(r.Code, 2) << faux.join(' ').toStdString();
        EXPECT_EQ(r.Erreurs.count('\n'), 1) << r.Erreurs.constData();
    }
    for (const char* commande : {"export", "suivre", "verifier", "tendance"}) {
        r = Outil({commande, "--help"});
        EXPECT_EQ(r.Code, 0);
        EXPECT_TRUE(r.Sortie.startsWith("Usage: veilleur-journal " + QByteArray(commande) + " [options] [fichier]\n"))
            << r.Sortie.constData();
    }
}
