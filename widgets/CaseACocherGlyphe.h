#pragma once
// Check box drawn with a coloured glyph: a tick in a colour of its own (green
// by default) in a square box. Unlike the style's box, a disabled one keeps its
// tick colour, so a fixed, granted cell still reads "granted" at a glance; only
// the box itself (grey frame on the button face) tells that it cannot change.
// The caption, if any, is drawn on the right of the box.
#include <QCheckBox>
#include <QColor>

class TCaseACocherGlyphe : public QCheckBox {
    Q_OBJECT
public:
    static constexpr int CoteCase = 13;
    static inline const QColor VertCoche{0, 128, 0};

    explicit TCaseACocherGlyphe(QWidget* parent = nullptr);

    QColor CouleurCoche() const { return m_couleurCoche; }
    void DefinirCouleurCoche(const QColor& couleur);

    // Where the box is drawn: centred vertically, at the left when there is a
    // caption, in the middle of the widget otherwise.
    QRect RectangleCase() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* evenement) override;
    bool hitButton(const QPoint& position) const override;

private:
    QColor m_couleurCoche = VertCoche;
};
