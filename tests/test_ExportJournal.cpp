// The journal tool run as a program on a journal written by the station's own
// store: exact CSV and JSON exports, filters, damaged records, the check and
// the errors it reports. Then the export's own parts: lines whose dates and
// numbers read as written alone, and blocks exported by several threads.
#include "data/DateVeilleur.h"
#include "data/JournalLog.h"
#include "journal/ExportEnBlocs.h"
#include "journal/ExportJournal.h"
#include "support/OutilsTest.h"

#include <QDir>
#include <charconv>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace {

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

struct OutilJournal : ::testing::Test {
    TDossierTemporaire dossier;
    QString evenement = NomUnique("EvtExport");

    OutilJournal()
    {
        TJournalLog journal(QStringLiteral("Log.dat"), evenement);
        journal.AjouterEntreeLog(EntreeDeTest(7, 45366.25, 26, 150, 100));
        TEntreeLog e = EntreeDeTest(8, 45366.623456, 12, 55.5, 100);
        e.Attribut1 = 3;
        EcrireChaine(e.InfosCompl, QStringLiteral("défaut, \"x\""));
        journal.AjouterEntreeLog(e);
        journal.AjouterEntreeLog(EntreeDeTest(1, 45367.0, 0, 0, 0));
    }
    ~OutilJournal() override { TEvenementNomme::Supprimer(evenement); }
};

const QByteArray EnTete = "index,code,evenement,date,jours,origine,attribut1,attribut2,infos,valeur1,valeur2,valeur3\r\n";

} // namespace

TEST_F(OutilJournal, CsvAndJsonInTwoLanguages)
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

TEST_F(OutilJournal, Filters)
{
    EXPECT_EQ(Index(Outil({"export", "--origine", "12"}).Sortie), QList<int>({1}));
    EXPECT_EQ(Index(Outil({"export", "--code", "7"}).Sortie), QList<int>({0}));
    // A date alone as the end takes the whole day in; a date-time keeps its millisecond.
    EXPECT_EQ(Index(Outil({"export", "--depuis", "2024-03-15T10:00", "--jusqua", "2024-03-15"}).Sortie), QList<int>({1}));
    EXPECT_EQ(Index(Outil({"export", "--jusqua", "2024-03-15T06:00:00.000"}).Sortie), QList<int>({0}));
    EXPECT_EQ(Index(Outil({"export", "--depuis", "2024-03-16"}).Sortie), QList<int>({2}));

    // The station's age rule, against the real clock.
    const double maintenant = DateVeilleur::Maintenant();
    EcrireEntrees("Recent.dat", {EntreeDeTest(7, maintenant - 400, 1, 0, 0), EntreeDeTest(7, maintenant - 10, 2, 0, 0),
                                 EntreeDeTest(7, maintenant, 3, 0, 0)});
    EXPECT_EQ(Index(Outil({"export", "--age-max", "360", "Recent.dat"}).Sortie), QList<int>({1, 2}));
    EXPECT_EQ(Index(Outil({"export", "--age-max", "5", "Recent.dat"}).Sortie), QList<int>({2}));
    EXPECT_EQ(Index(Outil({"export", "Recent.dat"}).Sortie), QList<int>({0, 1, 2}));
}

TEST_F(OutilJournal, DamagedRecordsAreExportedSafelyAndReported)
{
    TEntreeLog inconnu = EntreeDeTest(200, 45367.25, 5, 1, 2);
    TEntreeLog trop = EntreeDeTest(7, 32000.0, 5, 1, 2);  // 1987, and earlier than the record before
    trop.InfosCompl.Longueur = 255;
    std::memset(trop.InfosCompl.Car, 'z', sizeof trop.InfosCompl.Car);
    const TEntreeLog sansDate = EntreeDeTest(7, std::nan(""), 5, 1, 2);
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

TEST_F(OutilJournal, CleanCheckAndErrorsGiveTheirExitStatus)
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

TEST(LignesDeLExport, CarryEachDateDayCountAndIndexAsWrittenAlone)
{
    // Runs of entries on one day and day changes, counts in and out of the
    // years the shortcuts take, whole days, the last instant of a day, no
    // date: each line's fields are those of its entry alone, whatever the
    // line before left kept.
    const auto nombre = [](double v) -> std::string {
        if (!std::isfinite(v))
            return "";
        if (std::fabs(v) < 1e15 && std::trunc(v) == v)
            return std::to_string(static_cast<long long>(v));
        char t[64];
        return std::string(t, std::to_chars(t, t + sizeof t, v).ptr);
    };
    std::mt19937_64 hasard(8);
    int differentes = 0;
    for (const TFormatExport f : {TFormatExport::Csv, TFormatExport::Json}) {
        const TExportJournal format(f, LangueFrancais);
        double jour = 45366;
        for (int i = 0; i < 200000; ++i) {
            const auto k = hasard() % 16;
            if (k == 0)
                jour = double(qint64(hasard() % 3600000) - 657000);  // years 100 to 9999
            else if (k == 1)
                jour = double(32768 + hasard() % 32768);
            double date = jour + double(hasard() % 86400000) / 86400000.0;
            if (k == 2)
                date = jour;
            else if (k == 3)
                date = std::nan("");
            else if (k == 4)
                date = std::nextafter(jour + 1, jour);
            const auto index = qint64(hasard() >> (1 + hasard() % 63));
            std::string ligne;
            format.Ligne(ligne, EntreeDeTest(7, date, 26, 150, 100), index);
            const std::string iso = ::ExportJournal::DateIso(date);
            const std::string attendu = f == TFormatExport::Csv
                ? std::to_string(index) + ",7,Préalarme KMT," + iso + "," + nombre(date) + ",26,0,1,,150,100,0\r\n"
                : "{\"index\":" + std::to_string(index) + ",\"code\":7,\"evenement\":\"Préalarme KMT\",\"date\":"
                      + (iso.empty() ? "null" : "\"" + iso + "\"") + ",\"jours\":" + (std::isfinite(date) ? nombre(date) : "null")
                      + ",\"origine\":26,\"attribut1\":0,\"attribut2\":1,\"infos\":\"\",\"valeur1\":150,\"valeur2\":100,\"valeur3\":0}\n";
            if (ligne != attendu && ++differentes <= 5)
                ADD_FAILURE() << std::hexfloat << date << ": " << ligne << " instead of " << attendu;
        }
    }
    EXPECT_EQ(differentes, 0);
}

TEST(ExportEnBlocs, EveryThreadCountGivesTheLinesInFileOrderAndStopsWhenOutputFails)
{
    // Blocks and a bit, a partial record at the end, a day change per 500
    // records, texts of every kind.
    TDossierTemporaire dossier;
    std::mt19937 hasard(14);
    QByteArray octets;
    const qint64 nombre = 3 * TExportEnBlocs::EnregistrementsParBloc + 77;
    for (qint64 i = 0; i < nombre; ++i) {
        TEntreeLog e = EntreeDeTest(std::uint8_t(hasard() % 40), 45366.25 + double(i) / 500 + double(hasard() % 1000) / 1e7,
                                    std::uint8_t(hasard() % 64), double(hasard() % 300000) / 8, hasard() % 500);
        e.InfosCompl.Longueur = std::uint8_t(hasard() % 60);
        for (auto& c : e.InfosCompl.Car)
            c = std::uint8_t(hasard());
        octets += QByteArray(reinterpret_cast<const char*>(&e), sizeof e);
    }
    EcrireFichier(QStringLiteral("Log.dat"), octets + QByteArray(40, '\x7f'));

    for (const TFormatExport f : {TFormatExport::Csv, TFormatExport::Json}) {
        const TExportJournal format(f, LangueEspagnol);
        TFiltreJournal filtre;
        for (const int origine : {-1, 33}) {
            filtre.Origine = origine;
            std::string attendu;
            for (qint64 i = 0; i < nombre; ++i) {
                TEntreeLog e;
                std::memcpy(static_cast<void*>(&e), octets.constData() + i * TailleEntreeLog, TailleEntreeLog);
                if (filtre.Garde(e))
                    format.Ligne(attendu, e, i);
            }
            for (const int nbOuvriers : {1, 2, 3}) {
                TLecteurJournal lecteur(QStringLiteral("Log.dat"));
                ASSERT_TRUE(lecteur.Ouvrir());
                std::string sortie;
                TExportEnBlocs exportation(format, filtre, nbOuvriers);
                const auto resultat = exportation.Exporter(lecteur, [&](const char* p, std::size_t n) {
                    sortie.append(p, n);
                    return true;
                });
                EXPECT_EQ(resultat, TExportEnBlocs::TResultat::Fait);
                EXPECT_TRUE(sortie == attendu) << nbOuvriers << " threads, origin " << origine << ": "
                                               << sortie.size() << " bytes instead of " << attendu.size();
                EXPECT_EQ(exportation.OctetsRestants(), 40);
            }
        }

        // An output that fails is given nothing more, whatever the threads do.
        TLecteurJournal lecteur(QStringLiteral("Log.dat"));
        ASSERT_TRUE(lecteur.Ouvrir());
        int appels = 0;
        const auto resultat = TExportEnBlocs(format, TFiltreJournal{}, 2).Exporter(lecteur, [&](const char*, std::size_t) {
            ++appels;
            return false;
        });
        EXPECT_EQ(resultat, TExportEnBlocs::TResultat::ErreurEcriture);
        EXPECT_EQ(appels, 1);
    }
}
