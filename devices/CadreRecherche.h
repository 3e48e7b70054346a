#pragma once
// Fault search screen: the results of a fault-location device's last search,
// the QFL8 currents and resistances on one tab and the table of QFL16 feeder
// currents on the other. Live, it follows the device's record, starts new
// searches through TCommandesQFL and shows where the last one found the fault.
#include "devices/CommandesQFL.h"
#include "screens/CadreEnhanced.h"

#include <array>
#include <utility>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTabWidget;
class QWidget;
class TGrilleDessinee;

class TFrameRecherche : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameRecherche(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // The main window and where to return.
    void Initialiser(const TInfosRecherche& bloc);

    // Who carries the commands (none: the buttons stay disabled) and the
    // session mode that decides who may search.
    void DefinirCommandes(TCommandesQFL* commandes, std::uint8_t mode);
    // The device's record, at every monitoring tick.
    void Actualiser(const TDonneesQFL& donnees);
    // How the last search request ended.
    void Retour(ERetourQFL retour);

    void BitBtnQuitClick();
    void ButtonLancerRechercheClick();
    // Data cells by row and column parity over the grid's ordinary painting.
    void StringGridMesuresQFL16DrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect);
    // The feeder heading, centred over the feeder columns.
    void StringGrid1DrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect);

    // Background of a data cell of the QFL16 table.
    static QColor CouleurCelluleMesure(int colonne, int ligne);


private:
    void ConstruireQFL8(QWidget* page);
    void ConstruireQFL16(QWidget* page);
    void MettreAJourEtat();
    // The result field (current and resistance) of a feeder of the QFL8 itself: 1 transformer, 2 limiter, 3..10.
    std::pair<QLineEdit*, QLineEdit*> ChampsDepart(int depart) const;

    std::int32_t NumAppareil = 0;
    TLangue m_langue = LangueFrancais;
    TCommandesQFL* m_commandes = nullptr;
    std::uint8_t m_mode = ModeConsultation;
    bool m_aDesDonnees = false;
    TDonneesQFL m_donnees{};
    bool m_demandee = false;     // asked, not yet seen running nor answered
    bool m_occupee = false;      // the device said a search already runs

    QObject* HandlePrincipal = nullptr;
    std::int32_t EcranRetour = EcranAccueil;
    std::int32_t AppareilRetour = 1;

    QLabel* LabelTitre;
    QPushButton* BitBtnQuit;
    QTabWidget* PageControl1;
    QWidget* TabSheetQFL8;
    QWidget* TabSheetQFL16;

    QLabel* LabelDateHeureMesureQFL8Aff;
    QLineEdit* EditDateHeureMesureQFL8Aff;
    QLabel* LabelResultatsQFL8;
    QLabel* LabelTransfo;
    QLineEdit* EditIntensT;
    QLineEdit* EditRT;
    QLabel* LabelLimiteur;
    QLineEdit* EditIntensL;
    QLineEdit* EditRL;
    std::array<QLabel*, NbDepartsQFL8> LabelDepart;
    std::array<QLineEdit*, NbDepartsQFL8> EditIntens;
    std::array<QLineEdit*, NbDepartsQFL8> EditR;
    QPushButton* ButtonLancerRechercheQFL8;

    QLabel* LabelDateHeureMesureQFL16Aff;
    QLineEdit* EditDateHeureMesureQFL16Aff;
    QLabel* LabelResultatsQFL16;
    TGrilleDessinee* StringGrid1;
    TGrilleDessinee* StringGridMesuresQFL16;
    QPushButton* ButtonLancerRechercheQFL16;
    QLabel* LabelEtatRecherche;
};
