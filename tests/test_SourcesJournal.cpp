// The export's source field on the longest lines there are: every line is the
// one the export writes without it, with the field added last, whatever the
// threads and blocks.
#include "data/ConfigSet.h"
#include "journal/ExportEnBlocs.h"
#include "journal/SourcesJournal.h"
#include "support/OutilsTest.h"

#include <gtest/gtest.h>

namespace {

std::string Exporter(TFormatExport format, const TSourcesJournal* sources)
{
    TLecteurJournal lecteur(QStringLiteral("Log.dat"));
    EXPECT_TRUE(lecteur.Ouvrir());
    const TExportJournal lignes(format, LangueFrancais);
    std::string sortie;
    TExportEnBlocs exportation(lignes, TFiltreJournal{}, 3, sources);
    EXPECT_EQ(exportation.Exporter(lecteur, [&](const char* o, std::size_t n) { sortie.append(o, n); return true; }),
              TExportEnBlocs::TResultat::Fait);
    return sortie;
}

TEST(SourcesJournal, FieldAddedLastToEveryLineEvenTheLongest)
{
    TDossierTemporaire dossier;
    // A name of 100 characters that escape to the most bytes, and a text of 52.
    QString nom;
    for (int i = 0; i < 100; ++i)
        nom += i % 10 == 0 ? QChar(u'"') : i % 10 == 1 ? QChar(u'€') : QChar(0x01);
    TConfigSet config{};
    EcrireChaine(config.NomsSources[5], nom);
    EcrireChaine(config.NomsSources[6], QStringLiteral("Salle, 2"));
    EnregistrerConfig(config, QStringLiteral("Config.set"));
    std::vector<TEntreeLog> entrees;
    for (int i = 0; i < 5000; ++i) {
        TEntreeLog e = EntreeDeTest(7, 46364.0 + i / 86400.0, std::uint8_t(i % 4 == 3 ? 32 : i % 4 == 2 ? 6 : i % 4 == 1 ? 37 : 5), 150, 100);
        EcrireChaine(e.InfosCompl, QString(52, QChar(0x02)));
        entrees.push_back(e);
    }
    EcrireEntrees(QStringLiteral("Log.dat"), entrees);

    const std::optional<TSourcesJournal> chargees = TSourcesJournal::Charger(dossier.Chemin(QStringLiteral("Log.dat")));
    ASSERT_TRUE(chargees);
    EXPECT_EQ(chargees->Nom(5), nom);
    EXPECT_EQ(chargees->Nom(38), QStringLiteral("Salle, 2"));  // QFL 38 is on source 6
    EXPECT_EQ(chargees->Nom(37), nom);
    EXPECT_EQ(chargees->Nom(7), QString());  // a source without a name
    EXPECT_FALSE(chargees->Nom(32));          // no source
    EXPECT_FALSE(chargees->Nom(64));
    EXPECT_FALSE(chargees->Nom(0));

    for (TFormatExport format : {TFormatExport::Csv, TFormatExport::Json}) {
        const bool csv = format == TFormatExport::Csv;
        TSourcesJournal sources = *chargees;
        sources.PreparerExport(format);
        const QList<QByteArray> sans = QByteArray::fromStdString(Exporter(format, nullptr)).split('\n');
        const QList<QByteArray> avec = QByteArray::fromStdString(Exporter(format, &sources)).split('\n');
        ASSERT_EQ(avec.size(), 5001);
        ASSERT_EQ(sans.size(), 5001);
        const QByteArray utf8 = nom.toUtf8();
        QByteArray champ5 = csv ? "\"" + QByteArray(utf8).replace("\"", "\"\"") + "\"" : QByteArray(utf8);
        if (!csv)
            champ5 = "\"" + champ5.replace("\"", "\\\"").replace("\x01", "\\u0001") + "\"";
        const QByteArray champ6 = "\"Salle, 2\"";  // quoted in CSV for its comma
        // Longer than a line without the field may be: the blocks must make room for it.
        if (!csv) {
            EXPECT_GT(avec[0].size(), TExportJournal::LongueurMaxLigne);
        }
        for (int i = 0; i < 5000; ++i) {
            const QByteArray champ = i % 4 == 3 ? QByteArray(csv ? "" : "null") : i % 4 == 2 ? champ6 : champ5;
            const QByteArray attendue = sans[i].chopped(1) + (csv ? "," : ",\"source\":") + champ + (csv ? "\r" : "}");
            ASSERT_EQ(avec[i], attendue) << "line " << i;
        }
    }
    std::string entete = "index,valeur3\r\n";
    TSourcesJournal csv = *chargees;
    csv.PreparerExport(TFormatExport::Csv);
    csv.CompleterEnTete(entete);
    EXPECT_EQ(entete, "index,valeur3,source\r\n");
}

} // namespace
