// Replies of the devices and the network file: bytes and texts to meaning.
#include "data/DateVeilleur.h"
#include "liaison/ConfigReseau.h"
#include "liaison/DecodageModbus.h"
#include "liaison/TransitionsKMT.h"
#include "support/OutilsTest.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

using namespace DecodageModbus;

namespace {
TReponse Decoder(const TRequete& q, std::vector<std::uint8_t> trame, int entete = 1)
{
    return DecoderReponse(q, trame.data(), static_cast<int>(trame.size()), entete);
}
}

TEST(LiaisonDecodage, RepliesMustMatchTheirRequest)
{
    const TRequete lire{7, FonctionLireEntrees, 0, 2, 0};
    // RTU: unit, function, byte count, registers high byte first.
    TReponse r = Decoder(lire, {7, 4, 4, 0x12, 0x34, 0xFF, 0xFF});
    ASSERT_EQ(r.Issue, TIssue::Registres);
    EXPECT_EQ(r.Registres, (std::vector<std::uint16_t>{0x1234, 0xFFFF}));
    // TCP: the same PDU behind a 7-byte MBAP header ending with the unit.
    r = Decoder(lire, {0, 1, 0, 0, 0, 7, 7, 4, 4, 0, 1, 0, 2}, 7);
    ASSERT_EQ(r.Issue, TIssue::Registres);
    EXPECT_EQ(r.Registres, (std::vector<std::uint16_t>{1, 2}));

    EXPECT_EQ(Decoder(lire, {8, 4, 4, 0, 1, 0, 2}).Issue, TIssue::Invalide);      // another unit
    EXPECT_EQ(Decoder(lire, {7, 3, 4, 0, 1, 0, 2}).Issue, TIssue::Invalide);      // another function
    EXPECT_EQ(Decoder(lire, {7, 4, 2, 0, 1}).Issue, TIssue::Invalide);            // too few registers
    EXPECT_EQ(Decoder(lire, {7, 4, 4, 0, 1, 0}).Issue, TIssue::Invalide);         // short frame
    EXPECT_EQ(Decoder(lire, {7, 4, 4, 0, 1, 0, 2, 9}).Issue, TIssue::Invalide);   // trailing byte
    EXPECT_EQ(Decoder(lire, {7}).Issue, TIssue::Invalide);
    EXPECT_EQ(DecoderReponse(lire, nullptr, 0, 1).Issue, TIssue::Invalide);

    r = Decoder(lire, {7, 0x84, 2});
    EXPECT_EQ(r.Issue, TIssue::Exception);
    EXPECT_EQ(r.CodeException, ExceptionAdresse);
    EXPECT_EQ(Decoder(lire, {7, 0x83, 2}).Issue, TIssue::Invalide);  // exception to another function

    // Writes are echoed: address and value (06), address and count (16).
    const TRequete seuil{3, FonctionEcrireUn, RegistreSeuilKMT, 1, 250};
    EXPECT_EQ(Decoder(seuil, {3, 6, 0, 100, 0, 250}).Issue, TIssue::Registres);
    EXPECT_EQ(Decoder(seuil, {3, 6, 0, 100, 0, 251}).Issue, TIssue::Invalide);
    r = Decoder(seuil, {3, 0x86, 3});
    EXPECT_EQ(r.Issue, TIssue::Exception);
    EXPECT_EQ(r.CodeException, ExceptionValeur);
    const TRequete horloge{3, FonctionEcrirePlusieurs, RegistreHorlogeKMT, 2, 0};
    EXPECT_EQ(Decoder(horloge, {3, 16, 0, 102, 0, 2}).Issue, TIssue::Registres);
    EXPECT_EQ(Decoder(horloge, {3, 16, 0, 103, 0, 2}).Issue, TIssue::Invalide);

    // The requests as they go on the wire.
    const std::uint16_t valeurs[2] = {0x5F5E, 0x1000};
    EXPECT_EQ(ConstruireRequete(horloge, valeurs),
              (std::vector<std::uint8_t>{3, 16, 0, 102, 0, 2, 4, 0x5F, 0x5E, 0x10, 0x00}));
    EXPECT_EQ(ConstruireRequete(lire), (std::vector<std::uint8_t>{7, 4, 0, 0, 0, 2}));
    EXPECT_EQ(ConstruireRequete(seuil), (std::vector<std::uint8_t>{3, 6, 0, 100, 0, 250}));
}

TEST(LiaisonDecodage, KmtRegistersFillTheRecord)
{
    std::uint16_t ir[NbRegistresKMT] = {};
    ir[0] = GenreKMT;
    ir[1] = 1;
    ir[2] = 0x0117;  // only the low byte is a version
    ir[3] = 500;
    ir[10] = BitAlarme | BitDefautDCPlus | BitAlarmeAcquittee;
    ir[11] = PasDeMesure;
    ir[12] = PasDeMesure;
    ir[13] = 120;
    ir[14] = 0x5F5E;  // 1600000000 s, high word first
    ir[15] = 0x1000;
    ir[16] = 9;
    TLectureKMT l;
    ASSERT_TRUE(DecoderKMT(ir, NbRegistresKMT, l));
    EXPECT_EQ(l.DateDerniereAlarme, 1600000000u);
    EXPECT_EQ(l.VLogiciel, 0x17);

    auto d = std::make_unique<TDonneesKMT>();
    AppliquerLectureKMT(*d, l);
    // No measurement yet: not present, and 65535 stored nowhere.
    EXPECT_FALSE(d->Present);
    EXPECT_EQ(d->RIsolement, 0);
    EXPECT_EQ(d->RMin, 0);
    EXPECT_EQ(d->RSeuil, 120);
    EXPECT_TRUE(d->Alarme);
    EXPECT_FALSE(d->PreAlarme);
    EXPECT_FALSE(d->Klaxon);
    // "Test passed" indicators: off only for the fault that is on.
    EXPECT_TRUE(d->AutoTest);
    EXPECT_FALSE(d->DCPlus);
    EXPECT_TRUE(d->DCMoins);
    EXPECT_TRUE(d->AlarmeAcquittee);
    EXPECT_FALSE(d->PreAlarmeAcquittee);
    EXPECT_EQ(d->CompteurEvenements, 9);
    EXPECT_DOUBLE_EQ(d->DHDerniereAlarme,
                     DateVeilleur::DepuisDateTime(QDateTime::fromSecsSinceEpoch(1600000000).toLocalTime()));

    ir[11] = 80;
    ir[12] = 75;
    ir[10] = BitPreAlarme | BitKlaxon | BitDefautAutoTest | BitDefautDCMoins;
    ir[14] = ir[15] = 0;  // never in alarm
    ASSERT_TRUE(DecoderKMT(ir, NbRegistresKMT, l));
    AppliquerLectureKMT(*d, l);
    EXPECT_TRUE(d->Present);
    EXPECT_EQ(d->RIsolement, 80);
    EXPECT_EQ(d->RMin, 75);
    EXPECT_TRUE(d->PreAlarme && d->Klaxon && !d->Alarme);
    EXPECT_FALSE(d->AutoTest);
    EXPECT_TRUE(d->DCPlus);
    EXPECT_FALSE(d->DCMoins);
    EXPECT_EQ(d->DHDerniereAlarme, 0.0);

    // The device measures nothing for a while: its last real values stay.
    ir[11] = PasDeMesure;
    ASSERT_TRUE(DecoderKMT(ir, NbRegistresKMT, l));
    AppliquerLectureKMT(*d, l);
    EXPECT_TRUE(d->Present);
    EXPECT_EQ(d->RIsolement, 80);

    // A full history keeps its newest 1000 samples.
    for (int i = 0; i < NbMaxMesures + 5; ++i)
        AjouterEchantillonKMT(*d, 100.0 + i);
    EXPECT_EQ(d->NbMesures, NbMaxMesures);
    EXPECT_EQ(d->HistDate[NbMaxMesures], 100.0 + NbMaxMesures + 4);
    EXPECT_EQ(d->HistDate[1], 105.0);
    EXPECT_EQ(d->HistRIsolement[NbMaxMesures], 80);
    EXPECT_EQ(d->HistRSeuil[NbMaxMesures], 120);
    // Each sample has its steady-clock instant, in order, for the plot's cursors.
    EXPECT_GT(d->HistMonotone[1], 0.0);
    EXPECT_GE(d->HistMonotone[NbMaxMesures], d->HistMonotone[1]);

    // A QFL8 (or anything else) answering at a KMT number is not read as one.
    ir[0] = GenreQFL8;
    EXPECT_FALSE(DecoderKMT(ir, NbRegistresKMT, l));
    ir[0] = GenreKMT;
    EXPECT_FALSE(DecoderKMT(ir, NbRegistresKMT - 1, l));
}

TEST(LiaisonDecodage, NetworkFile)
{
    // A folder per reading: QSettings keeps a file it has read and reads it
    // again only when its size or date changed, which two cases of the same
    // length written within the same millisecond would not show.
    std::vector<std::unique_ptr<TDossierTemporaire>> dossiers;
    const auto lire = [&](const QByteArray& texte, const QString& defaut = QStringLiteral("/dev/ttyS0")) {
        dossiers.push_back(std::make_unique<TDossierTemporaire>());
        const QString chemin = dossiers.back()->Chemin(QStringLiteral("Reseau.ini"));
        EcrireFichier(chemin, texte);
        return LireConfigReseau(chemin, defaut);
    };

    // No key at all: the line's defaults, the port chosen on the configuration screen, every number probed.
    TLectureReseau l = lire("");
    ASSERT_TRUE(l.Utilisable) << l.Message.toStdString();
    EXPECT_EQ(l.Config.Type, TConfigReseau::TType::Rtu);
    EXPECT_EQ(l.Config.Peripherique, QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(l.Config.Vitesse, 19200);
    EXPECT_EQ(l.Config.Parite, 'E');
    EXPECT_EQ(l.Config.BitsDeStop, 1);
    EXPECT_EQ(l.Config.Port, 502);
    EXPECT_EQ(l.Config.DelaiReponse, 300);
    EXPECT_FALSE(l.Config.ListeDonnee);
    // No port chosen either: nothing to open.
    l = lire("", QString());
    EXPECT_FALSE(l.Utilisable);
    EXPECT_EQ(l.Message.toStdString(), "Reseau.ini : [Liaison] Peripherique = «  » : valeur inutilisable");

    // Every key, written as the example file shows them, comments included.
    l = lire("[Liaison]\nType=tcp ; rtu (default) or tcp\nPeripherique=/dev/ttyUSB0\nVitesse=9600\nParite=n\n"
             "BitsDeStop=2\nHote=192.168.1.50\nPort=1502\nDelaiReponse=150\n[Appareils]\nListe=1-3,12, 33 ,31\n");
    ASSERT_TRUE(l.Utilisable) << l.Message.toStdString();
    EXPECT_EQ(l.Config.Type, TConfigReseau::TType::Tcp);
    EXPECT_EQ(l.Config.Peripherique, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(l.Config.Vitesse, 9600);
    EXPECT_EQ(l.Config.Parite, 'N');
    EXPECT_EQ(l.Config.BitsDeStop, 2);
    EXPECT_EQ(l.Config.Hote, QStringLiteral("192.168.1.50"));
    EXPECT_EQ(l.Config.Port, 1502);
    EXPECT_EQ(l.Config.DelaiReponse, 150);
    EXPECT_TRUE(l.Config.ListeDonnee);
    EXPECT_EQ(l.Config.Appareils, (std::vector<int>{1, 2, 3, 12, 31, 33}));

    // One message naming the file, the key and the value.
    const struct {
        const char* Texte;
        const char* Message;
    } mauvais[] = {
        {"[Liaison]\nVitesse=abc\n", "[Liaison] Vitesse = « abc »"},
        {"[Liaison]\nVitesse=12345\n", "[Liaison] Vitesse = « 12345 »"},
        {"[Liaison]\nType=usb\n", "[Liaison] Type = « usb »"},
        {"[Liaison]\nParite=X\n", "[Liaison] Parite = « X »"},
        {"[Liaison]\nBitsDeStop=3\n", "[Liaison] BitsDeStop = « 3 »"},
        {"[Liaison]\nType=tcp\n", "[Liaison] Hote = «  »"},
        {"[Liaison]\nPort=70000\n", "[Liaison] Port = « 70000 »"},
        {"[Liaison]\nDelaiReponse=5000\n", "[Liaison] DelaiReponse = « 5000 »"},
        {"[Appareils]\nListe=32\n", "[Appareils] Liste = « 32 »"},
        {"[Appareils]\nListe=5-2\n", "[Appareils] Liste = « 5-2 »"},
        {"[Appareils]\nListe=1-3,,4\n", "[Appareils] Liste = « 1-3,,4 »"},
        {"[Appareils]\nListe=\n", "[Appareils] Liste = «  »"},
    };
    for (const auto& m : mauvais) {
        l = lire(m.Texte);
        EXPECT_FALSE(l.Utilisable) << m.Texte;
        EXPECT_EQ(l.Message.toStdString(), std::string("Reseau.ini : ") + m.Message + " : valeur inutilisable")
            << m.Texte;
    }
}

// The example installed with the package says what the station does: as it
// ships (every key commented out) it gives the defaults, and with its keys
// uncommented at the values shown it gives them too, but for what only
// examples can show (a device, a gateway, a list).
TEST(LiaisonDecodage, ExampleNetworkFileShowsTheDefaults)
{
    QFile exemple(QStringLiteral(VEILLEUR_DOSSIER_TESTS "/../packaging/Reseau.ini.exemple"));
    ASSERT_TRUE(exemple.open(QIODevice::ReadOnly));
    const QByteArray texte = exemple.readAll();
    QByteArray actif;
    int cles = 0;
    for (const QByteArray& ligne : texte.split('\n')) {
        // ";Key=value" is a key; "; words" is a comment.
        const bool cle = ligne.size() > 1 && ligne[0] == ';' && ligne[1] != ' ' && ligne.contains('=');
        cles += cle;
        actif += (cle ? ligne.mid(1) : ligne) + '\n';
    }
    EXPECT_EQ(cles, 9) << "every key of the file";

    TDossierTemporaire tel, decommente;
    EcrireFichier(tel.Chemin(QStringLiteral("Reseau.ini")), texte);
    EcrireFichier(decommente.Chemin(QStringLiteral("Reseau.ini")), actif);
    const TConfigReseau defauts;
    for (const auto* dossier : {&tel, &decommente}) {
        const TLectureReseau l = LireConfigReseau(dossier->Chemin(QStringLiteral("Reseau.ini")), "/dev/ttyS3");
        ASSERT_TRUE(l.Utilisable) << l.Message.toStdString();
        EXPECT_EQ(l.Config.Type, defauts.Type);
        EXPECT_EQ(l.Config.Peripherique, QStringLiteral("/dev/ttyS3")) << "empty: the configuration screen's port";
        EXPECT_EQ(l.Config.Vitesse, defauts.Vitesse);
        EXPECT_EQ(l.Config.Parite, defauts.Parite);
        EXPECT_EQ(l.Config.BitsDeStop, defauts.BitsDeStop);
        EXPECT_EQ(l.Config.Port, defauts.Port);
        EXPECT_EQ(l.Config.DelaiReponse, defauts.DelaiReponse);
    }
    const TLectureReseau l = LireConfigReseau(decommente.Chemin(QStringLiteral("Reseau.ini")), "/dev/ttyS3");
    EXPECT_TRUE(l.Config.ListeDonnee);
    EXPECT_EQ(l.Config.Appareils.size(), 31u);
    EXPECT_EQ(l.Config.Hote, QStringLiteral("192.168.1.50"));
}
