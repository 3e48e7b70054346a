#pragma once
// Overview screen: the 31 sources with their names, the state of their KMT
// monitor, and drawn access buttons to the KMT, QFL and search screens.
#include "screens/CadreEnhanced.h"

#include <QPointer>

class QGroupBox;
class QPainter;
class TGrilleDessinee;

class TFrameVueDEnsemble : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameVueDEnsemble(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // The main window's handle and the source names.
    void Initialiser(const TNomsAppareils& noms);
    // Rows of absent sources keep what they showed; a lost device's row shows
    // it lost, none of its old values.
    void Actualiser(const TEtatsAppareils& etats);

    // Grid tags: they also give the number of button columns of a grid.
    static constexpr int TagKMT = 1;
    static constexpr int TagQFL8 = 2;
    static constexpr int TagNumSource = 3;

    // Cells 68 x 17 with 1-pixel lines.
    static constexpr int LargeurCellule = 68;
    static constexpr int HauteurCellule = 17;
    static constexpr int PasX = LargeurCellule + 1;
    static constexpr int PasY = HauteurCellule + 1;

    // The remembered left-button press (all 0 when none).
    int ColonnePressee() const { return m_colonnePressee; }
    int LignePressee() const { return m_lignePressee; }
    int TagPresse() const { return m_tagPresse; }

private:
    void StringGridDrawCell(TGrilleDessinee& grille, QPainter& p, int colonne, int ligne, const QRect& rect);
    void StringGridMouseDown(TGrilleDessinee& grille, Qt::MouseButton bouton, const QPoint& position);
    void StringGridMouseUp(TGrilleDessinee& grille, Qt::MouseButton bouton, const QPoint& position);
    TGrilleDessinee* NouvelleGrille(QWidget* parent, const char* nom, int tag, int colonnes,
                                    const QRect& place);

    QPointer<QObject> HandlePrincipal;
    TLangue m_langue = LangueFrancais;
    Tableau1<bool, NbSources> m_perdu{};
    int m_colonnePressee = 0;
    int m_lignePressee = 0;
    int m_tagPresse = 0;

    TGrilleDessinee* StringGridNumSource;
    QGroupBox* GroupBoxKMT;
    TGrilleDessinee* StringGridKMT;
    QGroupBox* GroupBoxQFL8;
    TGrilleDessinee* StringGridQFL8;
};
