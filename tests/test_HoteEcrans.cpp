// The screen host on its own, without the main window: each screen opens with
// its own blocks, only the screens showing live records follow them, and only
// the journal is reopened for a new language.
#include "app/HoteEcrans.h"

#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "devices/CadreKMT.h"
#include "devices/CadreQFL.h"
#include "devices/CadreRecherche.h"
#include "platform/EvenementNomme.h"
#include "screens/CadreAccueil.h"
#include "screens/CadreConfiguration.h"
#include "screens/CadreJournal.h"
#include "screens/CadreNotices.h"
#include "screens/CadreSession.h"
#include "screens/CadreVueDEnsemble.h"
#include "support/OutilsTest.h"
#include "widgets/GrilleDessinee.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <cstring>
#include <gtest/gtest.h>

// A screen only takes the blocks it was made for, and the base has no untyped
// entry left: a wrong pairing does not compile.
template <typename TEcran, typename TBloc>
concept Initialisable = requires(TEcran& e, TBloc& b) { e.Initialiser(b); };
template <typename TEcran, typename TBloc>
concept Actualisable = requires(TEcran& e, TBloc& b) { e.Actualiser(b); };
static_assert(Initialisable<TFrameKMT, const TInfosKMT> && !Initialisable<TFrameKMT, const TInfosQFL>);
static_assert(Actualisable<TFrameKMT, const TDonneesKMT> && !Actualisable<TFrameKMT, const TEtatsAppareils>);
static_assert(Actualisable<TFrameVueDEnsemble, const TEtatsAppareils>
              && !Actualisable<TFrameVueDEnsemble, const TDonneesKMT>);
// The configuration record is edited in place, never through a copy.
static_assert(Actualisable<TFrameConfiguration, TConfigSet> && !Actualisable<TFrameConfiguration, const TConfigSet>);
static_assert(!Initialisable<TFrameEnhanced, void*> && !Actualisable<TFrameEnhanced, void*>);

namespace {

class HoteEcrans : public ::testing::Test {
protected:
    HoteEcrans()
    {
        std::memset(static_cast<void*>(&ConfigSet), 0, sizeof(ConfigSet));
        for (int tag = EcranAccueil; tag <= EcranConfiguration; ++tag) {
            auto* bouton = new QPushButton(&fenetre);
            bouton->setCheckable(true);
            menu.addButton(bouton, tag);
        }
    }
    ~HoteEcrans() override
    {
        hote.reset();
        journal.reset();
        TEvenementNomme::Supprimer(nomEvenement);
    }

    THoteEcrans& Hote()
    {
        hote = std::make_unique<THoteEcrans>(THoteEcrans::TEnvironnement{
            .Fenetre = fenetre,
            .Cadre = cadre,
            .Menu = menu,
            .Verrou = verrou,
            .Donnees = *donnees,
            .Journal = *journal,
            .Langue = langue,
            .Utilisateur = utilisateur,
            .Mode = mode,
            .Signaler = [this](const QString& texte) { erreurs.push_back(texte); },
            .EcranLibere = [] {},
        });
        return *hote;
    }

    void Mesurer(int appareil, std::uint16_t rIsolement)
    {
        TEcritureDonnees ecriture(verrou);
        (*donnees)[appareil].Present = true;
        (*donnees)[appareil].RIsolement = rIsolement;
    }

    void Journaliser(std::uint8_t code)
    {
        journal->AjouterEntreeLog(EntreeDeTest(code, DateVeilleur::Maintenant(), 1, 0, 0));
    }

    template <typename T>
    T* Controle(const char* nom) const
    {
        return hote->EcranCourant()->findChild<T*>(QString::fromLatin1(nom));
    }

    int LignesJournal() const { return Controle<QTreeWidget>("ListViewJournal")->topLevelItemCount(); }

    TDossierTemporaire dossier;
    QString nomEvenement = NomUnique(QStringLiteral("HoteEcrans"));
    QWidget fenetre;
    QWidget cadre{&fenetre};
    QButtonGroup menu;
    TVerrouDonnees verrou;
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> donnees = std::make_unique<Tableau1<TDonneesKMT, NbSources>>();
    std::unique_ptr<TJournalLog> journal =
        std::make_unique<TJournalLog>(QString::fromLatin1(NomFichierLog), nomEvenement);
    TLangue langue = LangueFrancais;
    QString utilisateur;
    std::uint8_t mode = ModeAdministration;
    std::vector<QString> erreurs;
    std::unique_ptr<THoteEcrans> hote;
};

TEST_F(HoteEcrans, EachScreenOpensWithItsBlocksAndOnlyLiveScreensFollowTheRecords)
{
    THoteEcrans& h = Hote();
    EcrireChaine(ConfigSet.NomsSources[12], QStringLiteral("Bloc B"));
    struct {
        int ecran;
        int appareil;
        const char* classe;
        int boutonPresse;   // the general screen's own; a device screen keeps the last one
    } cas[] = {
        {EcranVueDEnsemble, 0, "TFrameVueDEnsemble", EcranVueDEnsemble},
        {EcranKMT, 12, "TFrameKMT", EcranVueDEnsemble},
        {EcranQFL, 44, "TFrameQFL", EcranVueDEnsemble},
        {EcranRecherche, 44, "TFrameRecherche", EcranVueDEnsemble},
        {EcranAccueil, 0, "TFrameAccueil", EcranAccueil},
        {EcranSession, 0, "TFrameSession", EcranSession},
        {EcranNotices, 0, "TFrameNotices", EcranNotices},
        {EcranConfiguration, 0, "TFrameConfiguration", EcranConfiguration},
        {EcranJournal, 0, "TFrameJournal", EcranJournal},
    };
    for (const auto& c : cas) {
        QPointer<TFrameEnhanced> precedent = h.EcranCourant();
        h.Afficher(c.ecran, c.appareil);
        ASSERT_TRUE(h.EcranCourant()) << c.classe;
        EXPECT_STREQ(h.EcranCourant()->metaObject()->className(), c.classe);
        EXPECT_EQ(h.EcranCourant()->parentWidget(), &cadre);
        EXPECT_TRUE(precedent.isNull()) << "the screen before " << c.classe << " is gone";
        EXPECT_EQ(h.Navigation().NumEcranCourant, c.ecran);
        EXPECT_EQ(menu.checkedId(), c.boutonPresse) << c.classe;
        EXPECT_FALSE(h.Occupe());
    }
    // The device screens were handed the window, their device and its name.
    EXPECT_EQ(h.InfosKMT().Handle, &fenetre);
    EXPECT_EQ(h.InfosKMT().NumAppareil, 12);
    EXPECT_EQ(h.InfosKMT().NomAppareil, QStringLiteral("Bloc B"));
    EXPECT_EQ(h.InfosQFL().NumAppareil, 44);
    EXPECT_EQ(h.InfosRecherche().EcranRetour, EcranQFL);

    // The overview and the KMT screen show each tick's records.
    h.Afficher(EcranVueDEnsemble, 0);
    Mesurer(5, 321);
    h.Rafraichir();
    EXPECT_EQ(Controle<TGrilleDessinee>("StringGridKMT")->Cellule(1, 5), QStringLiteral("321"));
    h.Afficher(EcranKMT, 12);
    Mesurer(12, 77);
    h.Rafraichir();
    EXPECT_EQ(Controle<QLineEdit>("EditRisolement")->text(), QStringLiteral("77"));
    Mesurer(12, 78);
    h.Afficher(EcranQFL, 44);   // device 12's KMT is no longer on show
    h.Rafraichir();
    EXPECT_EQ(h.EcranCourant()->findChild<QLineEdit*>(QStringLiteral("EditRisolement")), nullptr);

    // The journal shows what was loaded when it opened, not what came since.
    Journaliser(7);
    h.Afficher(EcranJournal, 0);
    ASSERT_EQ(LignesJournal(), 1);
    Journaliser(8);
    h.Rafraichir();
    EXPECT_EQ(LignesJournal(), 1);

    h.Detruire();
    EXPECT_EQ(h.EcranCourant(), nullptr);
    h.Rafraichir();   // nothing bound to the screen destroyed
    h.Reetiqueter();
    EXPECT_EQ(h.EcranCourant(), nullptr);
    EXPECT_TRUE(erreurs.empty());
}

TEST_F(HoteEcrans, ANewLanguageReopensOnlyTheJournal)
{
    THoteEcrans& h = Hote();
    h.Afficher(EcranNotices, 0);
    QPointer<TFrameEnhanced> notices = h.EcranCourant();
    auto* titre = Controle<QLabel>("LabelTitre");
    ASSERT_TRUE(titre);
    const QString francais = titre->text();
    langue = LangueAnglais;
    h.Reetiqueter();
    EXPECT_EQ(h.EcranCourant(), notices.data());
    EXPECT_NE(titre->text(), francais);

    // Reopened: loaded anew, its events named in the new language.
    Journaliser(7);
    h.Afficher(EcranJournal, 0);
    QPointer<TFrameEnhanced> journalAnglais = h.EcranCourant();
    const QString nomAnglais = Controle<QTreeWidget>("ListViewJournal")->topLevelItem(0)->text(0);
    Journaliser(8);
    langue = LangueEspagnol;
    h.Reetiqueter();
    EXPECT_TRUE(journalAnglais.isNull());
    EXPECT_EQ(h.Navigation().NumEcranCourant, EcranJournal);
    ASSERT_EQ(LignesJournal(), 2);
    EXPECT_EQ(h.TamponJournal().Langue, LangueEspagnol);
    EXPECT_NE(Controle<QTreeWidget>("ListViewJournal")->topLevelItem(1)->text(0), nomAnglais);

    // A journal that cannot be read still opens, empty, and says why once.
    hote.reset();
    journal.reset();
    ASSERT_TRUE(QFile::remove(dossier.Chemin(QStringLiteral("Log.dat"))));
    ASSERT_TRUE(QDir(dossier.Dossier()).mkdir(QStringLiteral("Log.dat")));
    journal = std::make_unique<TJournalLog>(QString::fromLatin1(NomFichierLog), nomEvenement);
    THoteEcrans& h2 = Hote();
    h2.Afficher(EcranJournal, 0);
    ASSERT_TRUE(h2.EcranCourant());
    EXPECT_EQ(LignesJournal(), 0);
    EXPECT_EQ(erreurs.size(), 1u);
}

} // namespace
