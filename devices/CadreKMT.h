#pragma once
// Screen of one insulation monitor (KMT device 1..31): present measurements
// and alarm lights, thresholds, the history plot with two read-out cursors,
// software version and network address. Its acknowledge and threshold
// controls act through the TCommandesAppareils of its block, as far as the
// session mode allows; it leaves by posting WM_ECRAN to the main window
// (back, or to the fault search screen of the QFL device under it).
#include "data/CommandesAppareils.h"
#include "screens/CadreEnhanced.h"

#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QWidget;
class TImagePlot;
class TLed;

class TFrameKMT : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameKMT(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // The main window, the device, where to return and the source's name for
    // the title.
    void Initialiser(const TInfosKMT& bloc);
    // The caller holds the device data lock for reading; the record is read
    // only before the scroll bars are set up, since that lets pending events
    // (other timers) run.
    void Actualiser(const TDonneesKMT& r);

    // Fills the two read-out groups from the plot's samples under the cursors.
    void AfficherReperes();
    // Change handler of both cursor scroll bars.
    void ScrollBarChange(QScrollBar* sender);
    // Key handlers; true when the key is discarded.
    bool EditKeyPress(const QKeyEvent& touche) const;
    bool EditKeyNumPress(const QKeyEvent& touche) const;
    void BitBtnQuitClick();
    void ButtonLancerClick();
    // The three "Acquitter" buttons and the new threshold's "OK".
    void ButtonAcqClick(TAcquitAppareil quoi);
    void ButtonSetNvSeuilClick();
    // Keeps the choice in the network file, then puts it in force.
    void CheckBoxAutoRechercheClick(bool active);
    // A command's outcome, beside the controls of its kind.
    void MontrerResultat(const TResultatCommande& resultat);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void ConstruireMesures(QWidget* page);
    void ConstruireReglages(QWidget* page);
    void ConstruireHistorique(QWidget* page);
    void ConstruireInfos(QWidget* page);
    void AfficherHistoriqueVide();
    void AfficherHistorique(const TDonneesKMT& r, int n);
    void AfficherRepere(int position, QGroupBox* groupe, QLineEdit* mesure, QLineEdit* prealarme,
                        QLineEdit* seuil) const;

    // Enables an acknowledge button, or says in its tooltip why it is not.
    void ReglerBoutonAcquit(QPushButton* bouton, bool condition, bool acquitte, bool enLigne);
    void RegimeCommandes(const TDonneesKMT& r);
    void AfficherMessage(QLabel* label, const QString& texte, bool echec);

    QObject* HandlePrincipal = nullptr;
    TCommandesAppareils* Commandes = nullptr;
    TLangue m_langue = LangueFrancais;
    std::int32_t NumAppareil = 0;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;
    QString TexteNumero;

    bool PremiereMiseAJour = true;
    bool MiseAJourEnCours = false;
    bool Repere1Deplace = false;
    bool Repere2Deplace = false;
    double DateRepere1 = 0.0;
    double DateRepere2 = 0.0;

    QLabel* LabelTitre;
    QPushButton* BitBtnQuit;
    QTabWidget* PageControl1;
    QWidget* TabSheetMesures;
    QWidget* TabSheetReglages;
    QWidget* TabSheetHistorique;
    QWidget* TabSheetInfos;
    QFrame* Panel1;
    QPushButton* ButtonLancer;
    // Communication lost, and since when; empty while the device answers.
    QLabel* LabelEtatCom;
    // Outcomes of the acknowledgements and of the thresholds.
    QLabel* LabelMessageMesures;
    QLabel* LabelMessageReglages;
    QFrame* Panel2;

    // Measurements tab.
    QLabel* LabelRisolement;
    QLabel* LabelRmin;
    QLabel* LabelRseuil;
    QLineEdit* EditRisolement;
    QLineEdit* EditRmin;
    QLineEdit* EditRseuil;
    TLed* JvTransLEDAutoTest;
    TLed* JvTransLEDDCPlus;
    TLed* JvTransLEDDCMoins;
    TLed* JvTransLEDPreAlarme;
    TLed* JvTransLEDKlaxon;
    TLed* JvTransLEDAlarme;
    QLabel* LabelAutoTest;
    QLabel* LabelDCPlus;
    QLabel* LabelDCMoins;
    QLabel* LabelPrealarme;
    QLabel* LabelKlaxon;
    QLabel* LabelAlarme;
    QPushButton* ButtonAcqPrealarme;
    QPushButton* ButtonAcqKlaxon;
    QPushButton* ButtonAcqAlarme;
    QLabel* LabelDHDerniereAlarme;
    QLineEdit* EditDHDerniereAlarme;

    // Settings tab.
    QLabel* LabelRSeuilActuel;
    QLineEdit* EditRSeuilActuel;
    QLabel* LabelNvSeuil;
    QLineEdit* EditNvSeuil;
    QPushButton* ButtonSetNvSeuil;
    QCheckBox* CheckBoxAuxSuivants;
    QLabel* LabelSiAlarme;
    QCheckBox* CheckBoxAutoRecherche;

    // History tab.
    QFrame* Panel7;
    TImagePlot* ImagePlot1;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label12;
    QLabel* Label13;
    QScrollBar* ScrollBar1;
    QScrollBar* ScrollBar2;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QLineEdit* EditMesure1;
    QLineEdit* EditPrealarme1;
    QLineEdit* EditSeuil1;
    QLineEdit* EditMesure2;
    QLineEdit* EditPrealarme2;
    QLineEdit* EditSeuil2;

    // About tab.
    QLabel* LabelVLogiciel;
    QLineEdit* EditVLogiciel;
    QLabel* LabelAdrReseau;
    QLineEdit* EditAdrReseau;

    // The edits whose typed characters are all discarded.
    std::array<QLineEdit*, 13> EditsAffichage{};
};
