#pragma once
// Fault search screen: the results of a fault-location device's last search,
// the QFL8 currents and resistances on one tab and the table of QFL16 feeder
// currents on the other. No search data exists yet: the fields stay empty and
// the screen only navigates back.
#include "screens/CadreEnhanced.h"

#include <array>
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

    void BitBtnQuitClick();
    // Data cells by row and column parity over the grid's ordinary painting.
    void StringGridMesuresQFL16DrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect);
    // The feeder heading, centred over the feeder columns.
    void StringGrid1DrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect);

    // Background of a data cell of the QFL16 table.
    static QColor CouleurCelluleMesure(int colonne, int ligne);

    static constexpr int NbDepartsQFL8 = 8;
    static constexpr int PremierDepartQFL8 = 3;  // feeders 1 and 2 are the transformer and limiter
    static constexpr int NbUnitesQFL16 = 31;
    static constexpr int NbDepartsQFL16 = 16;

private:
    void ConstruireQFL8(QWidget* page);
    void ConstruireQFL16(QWidget* page);

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
};
