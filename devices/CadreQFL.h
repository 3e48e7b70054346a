#pragma once
// Screen of one fault-location device (a QFL8 and its QFL16 units): its
// settings, the last fault searches, its version, address and connected
// units, and the way to the fault search screen. There is no QFL data yet, so
// the screen shows its layout and texts and only navigates.
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

    void BitBtnQuitClick();
    void ButtonLancerClick();
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

    QObject* HandlePrincipal = nullptr;
    std::int32_t NumAppareil = 0;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;
    QString TexteNumero;

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
};
