#pragma once
// Screen of one fault-location device (a QFL8 and its QFL16 units): its
// settings, the last fault searches, its version, address and connected
// units, and the way to the fault search screen. Live, it shows the device's
// record and asks for new settings through TCommandesQFL; without a record
// (demonstration) it keeps its layout's sample row.
#include "devices/CommandesQFL.h"
#include "screens/CadreEnhanced.h"

#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QWidget;
class TGrilleDessinee;

class TFrameQFL : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameQFL(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // The main window, the device (33..63), where to return and the source's
    // name for the title.
    void Initialiser(const TInfosQFL& bloc);

    // Who carries the commands (none: the buttons stay disabled) and the
    // session mode that decides who may use them.
    void DefinirCommandes(TCommandesQFL* commandes, std::uint8_t mode);
    // The device's record, at every monitoring tick.
    void Actualiser(const TDonneesQFL& donnees);
    // How the last command ended.
    void Retour(ERetourQFL retour);

    void BitBtnQuitClick();
    void ButtonLancerClick();
    // "OK" of a setting row (0..6): checks the value, then asks for it.
    void ButtonSetClick(int reglage);
    void ButtonRAZMinMaxClick();
    // Paints one cell of the connected-units grid: its text centred on the face.
    void StringGridEtatsQFL16DrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // Typing into a display field is discarded; true when the key was eaten.
    bool EditKeyPress(QEvent* evenement);
    void ConstruireReglages(QWidget* page);
    void ConstruireHistorique(QWidget* page);
    void ConstruireInfos(QWidget* page);
    void AjusterColonnesHistorique();
    void RemplirHistorique();
    void MettreAJourBoutons();
    void Signaler(const QString& texte);

    QObject* HandlePrincipal = nullptr;
    std::int32_t NumAppareil = 0;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;
    QString TexteNumero;
    TLangue m_langue = LangueFrancais;
    TCommandesQFL* m_commandes = nullptr;
    std::uint8_t m_mode = ModeConsultation;
    bool m_aDesDonnees = false;
    bool m_historiqueAJour = false;
    TDonneesQFL m_donnees{};

    // One setting row of the settings tab.
    struct TLigneReglage {
        QLabel* Label;
        QLineEdit* EditActuel;
        QLineEdit* EditNouveau;
        QPushButton* ButtonSet;
        QCheckBox* CheckBoxNext;
    };
    static constexpr int NbReglages = 7;

    QLabel* LabelTitre;
    QPushButton* BitBtnQuit;
    QTabWidget* PageControl1;
    QWidget* TabSheetReglages;
    QWidget* TabSheetHistorique;
    QWidget* TabSheetInfos;
    QPushButton* ButtonLancer;

    QLabel* LabelActuels;
    QLabel* LabelNouveaux;
    std::array<TLigneReglage, NbReglages> Reglages;

    QTreeWidget* ListViewHistorique;

    QLabel* LabelVLogiciel;
    QLineEdit* EditVLogiciel;
    QLabel* LabelAdrReseau;
    QLineEdit* EditAdrReseau;
    QLabel* LabelQFL16Raccordes;
    TGrilleDessinee* StringGridEtatsQFL16;
    QPushButton* ButtonRAZMinMax;
    QLabel* LabelEtatCom;
    QLabel* LabelMessage;
};
