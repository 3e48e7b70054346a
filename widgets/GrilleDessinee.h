#pragma once
// Owner-drawn string grid: a table of texts whose every cell is painted by a
// handler of the screen that owns it. Used for all the station's grids.
//
// Pixel rules (everything below is in "grid" coordinates: (0, 0) is the first
// pixel inside the 1-pixel flat border, so grid = widget position - (1, 1)):
// - Column c is LargeurColonne(c) pixels wide and every row HauteurLigne()
//   pixels high; a 1-pixel grid line follows every column and every row, so the
//   pitch is width + 1 and height + 1.
// - Cell (c, r) starts at x = sum over the columns k < c of (LargeurColonne(k) + 1)
//   and, unscrolled, at y = r * (HauteurLigne() + 1); its rectangle is
//   LargeurColonne(c) x HauteurLigne() (QRect, right() = x + width - 1).
//   With the vertical scroll bar the fixed rows stay on top and the scrolled rows
//   start under them at LigneHaut().
// - Grid lines lie in the 1-pixel gaps: the vertical line right of column c at
//   x = cell x + width, the horizontal line under row r at y = cell y + height;
//   they run over the cells (fixed-cell lines black, the others silver).
// - A widget of sum(width + 1) + 1 by rows * (height + 1) + 1 pixels shows every
//   cell exactly, the last grid lines being hidden under the border.
// - The scroll bar, when enabled, is 17 pixels wide inside the right border.
// - Everything outside the cells is the background colour (white by default).
//
// The grid draws no cell content itself: for every cell it repaints it calls the
// draw handler with a painter in grid coordinates, clipped to the cell
// rectangle, holding the grid's font and a black pen. With SetDessinParDefaut(true)
// it first paints the cell the ordinary way (background, fixed colour for fixed
// cells, text at left + 2, top + 2) and the handler draws over it.
//
// Mouse handlers get the grid coordinates of the press and release; the release
// goes to the grid that got the press. CelluleEn turns a position into a cell.
// The grid never takes the keyboard focus and has no editor.
#include <QColor>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

#include <functional>

class QPainter;
class QScrollBar;

class TGrilleDessinee : public QWidget {
    Q_OBJECT
public:
    // (grid, painter, column, row, cell rectangle in grid coordinates)
    using TDessinCellule = std::function<void(TGrilleDessinee&, QPainter&, int, int, const QRect&)>;
    // (grid, button, position in grid coordinates)
    using TSouris = std::function<void(TGrilleDessinee&, Qt::MouseButton, const QPoint&)>;

    static constexpr int LargeurBordure = 1;
    static constexpr int LargeurBarre = 17;
    static constexpr int LargeurDefautInitiale = 64;
    static constexpr int HauteurDefautInitiale = 24;

    // 5 x 5 cells of 64 x 24, one fixed row, no fixed column.
    explicit TGrilleDessinee(QWidget* parent = nullptr);
    TGrilleDessinee(int colonnes, int lignes, QWidget* parent = nullptr);
    ~TGrilleDessinee() override;

    // Counts; texts of the cells that remain are kept.
    int NbColonnes() const { return m_nbColonnes; }
    int NbLignes() const { return m_nbLignes; }
    void SetNbColonnes(int n);
    void SetNbLignes(int n);
    int LignesFixes() const { return m_lignesFixes; }
    int ColonnesFixes() const { return m_colonnesFixes; }
    void SetLignesFixes(int n);
    void SetColonnesFixes(int n);

    // Setting the default width gives it to every column, as the classic grid does.
    int LargeurDefaut() const { return m_largeurDefaut; }
    void SetLargeurDefaut(int largeur);
    int LargeurColonne(int colonne) const;
    void SetLargeurColonne(int colonne, int largeur);
    int HauteurLigne() const { return m_hauteurLigne; }
    void SetHauteurLigne(int hauteur);

    QString Cellule(int colonne, int ligne) const;
    // Writing a cell redraws it, and the cells of its row whose drawing
    // depends on it. Outside the grid: ignored.
    void SetCellule(int colonne, int ligne, const QString& texte);
    // In every row, the drawing of column `colonne` reads column `source`.
    void AjouterDependance(int colonne, int source);

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    QColor CouleurFond() const { return m_fond; }
    void SetCouleurFond(const QColor& couleur);
    QColor CouleurFixe() const { return m_fixe; }
    void SetCouleurFixe(const QColor& couleur);
    bool LignesGrille() const { return m_lignesGrille; }
    void SetLignesGrille(bool actives);
    bool DessinParDefaut() const { return m_dessinParDefaut; }
    void SetDessinParDefaut(bool actif);

    // Optional vertical scroll bar over the non-fixed rows.
    bool BarreVerticale() const { return m_barre != nullptr; }
    void SetBarreVerticale(bool active);
    QScrollBar* Barre() const { return m_barre; }
    int LigneHaut() const { return m_ligneHaut; }  // first non-fixed row shown
    void SetLigneHaut(int ligne);

    void SetDessinCellule(TDessinCellule fonction) { m_dessin = std::move(fonction); }
    void SetSourisEnfoncee(TSouris fonction) { m_enfoncee = std::move(fonction); }
    void SetSourisRelachee(TSouris fonction) { m_relachee = std::move(fonction); }

    // Cell rectangle in grid coordinates; empty for a cell scrolled away or
    // outside the grid.
    QRect RectangleCellule(int colonne, int ligne) const;
    // Cell under a position in grid coordinates: a cell owns its pixels and the
    // grid lines right of and under it; -1 for both outside the cells.
    void CelluleEn(const QPoint& position, int& colonne, int& ligne) const;
    // Grid coordinates of a widget position and back.
    static QPoint VersGrille(const QPoint& positionWidget);
    static QPoint VersWidget(const QPoint& positionGrille);

    void RedessinerCellule(int colonne, int ligne);

    // Drawing helpers with the classic device-context rules, for the handlers.
    // Fills rect with fond, then draws texte with its top-left at (x, y) in the
    // painter's pen colour, clipped to rect.
    static void TexteRect(QPainter& p, const QRect& rect, int x, int y, const QString& texte,
                          const QColor& fond);
    // Gives the painter the grid's font, condensed if texte would be wider than
    // largeur pixels, and returns the width of texte in it: cell texts show
    // whole instead of being cut at the cell's edges.
    int AjusterPolice(QPainter& p, const QString& texte, int largeur) const;
    // Left edge of a width centred in an area: gauche + (zone - largeur) / 2
    // rounded to nearest, ties to even.
    static int PositionCentree(int gauche, int zone, int largeur);
    // Horizontal or vertical 1-pixel line from a to b, b itself not drawn.
    static void Ligne(QPainter& p, const QPoint& a, const QPoint& b, const QColor& couleur);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int Index(int colonne, int ligne) const { return ligne * m_nbColonnes + colonne; }
    int XColonne(int colonne) const;
    int YLigne(int ligne) const;  // -1 when scrolled away
    int LignesVisibles() const;   // whole scrolled rows that fit under the fixed rows
    QRect ZoneGrille() const;     // client area, scroll bar excluded, in grid coordinates
    void Redimensionner(int colonnes, int lignes);
    void MettreAJourBarre();
    void DessinerCellule(QPainter& p, int colonne, int ligne, const QRect& rect);

    int m_nbColonnes = 0;
    int m_nbLignes = 0;
    int m_lignesFixes = 1;
    int m_colonnesFixes = 0;
    int m_largeurDefaut = LargeurDefautInitiale;
    int m_hauteurLigne = HauteurDefautInitiale;
    QVector<int> m_largeurs;
    QVector<QString> m_textes;
    QVector<QPair<int, int>> m_dependances;   // (column drawn, column read)
    int m_tag = 0;
    QColor m_fond;
    QColor m_fixe;
    bool m_lignesGrille = true;
    bool m_dessinParDefaut = false;
    QScrollBar* m_barre = nullptr;
    int m_ligneHaut = 1;
    TDessinCellule m_dessin;
    TSouris m_enfoncee;
    TSouris m_relachee;
};
