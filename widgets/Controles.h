#pragma once
// Small factories shared by the screens: every control is named (its objectName
// is the name tests and the layouts use) and placed at its pixel rectangle.
#include <QFont>
#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QPushButton;
class QWidget;

// "MS Sans Serif" (mapped to Liberation Sans) at a pixel height.
QFont PoliceEcran(int pixels, bool gras = false);

// Creates a control of type W, named and placed.
template <typename W>
W* NouveauControle(QWidget* parent, const QString& nom, const QRect& place)
{
    auto* controle = new W(parent);
    controle->setObjectName(nom);
    controle->setGeometry(place);
    return controle;
}

// A plain-text label (no rich text, whatever a name or catalogue text holds)
// whose text is condensed rather than cut when it is wider than the label.
QLabel* NouveauLabel(QWidget* parent, const QString& nom, const QRect& place,
                     Qt::Alignment alignement = Qt::AlignLeft | Qt::AlignVCenter);

// The picture button at the top right of the device and search screens that
// leaves the screen: objectName "BitBtnQuit", 31 x 29 at (712, 4), no focus.
QPushButton* NouveauBoutonQuitter(QWidget* parent);
