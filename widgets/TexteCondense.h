#pragma once
// Texts that must show whole in a fixed width (grid cells, labels of a fixed
// size): a text that would not fit is drawn in the same face, condensed just
// enough (QFont::setStretch), rather than cut off at the edge.
#include <QFont>
#include <QLabel>
#include <QString>

class QPaintEvent;

// Narrowest face used: a text that does not fit even so is clipped.
constexpr int EtirementMinimal = 50;

// The font in which texte takes at most largeur pixels: police itself when
// the text fits, else police with the largest stretch (percent) that fits.
// largeurTexte, when given, gets the text's width in that font.
QFont PoliceAjustee(const QFont& police, const QString& texte, int largeur, int* largeurTexte = nullptr);

// A one-line plain-text label whose text is condensed when it is wider than
// the label; its size hint stays the text's natural size.
class TLibelle : public QLabel {
    Q_OBJECT
public:
    explicit TLibelle(QWidget* parent = nullptr);

    // Where the text goes (the label's contents, less its margin and indent).
    QRect ZoneTexte() const;
    // The font the text is drawn in at the label's present size.
    QFont PoliceAffichee() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
