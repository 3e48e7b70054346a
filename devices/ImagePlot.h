#pragma once
// Picture control that draws up to three curves over one shared X axis and two
// vertical markers into its own off-screen image. It draws no axes, grid or
// text: the owner labels the ranges it publishes (MinX, MaxX, MinY, MaxY).
//
// Use: write the samples straight into ValeursX / ValeursY1..3 (1-based),
// set NbValeurs and the markers, then call Update(). Writing a property never
// redraws; Update() does, and it alone changes the ranges.
//
// X values are wall-clock dates (day counts). Where ValeursT also gives each
// sample's instant on a clock that never steps, a step of the wall clock
// between two samples does not fold or squeeze the curve: the samples keep
// their order and their spacing in time, and a thin dashed grey line marks
// the step, captioned with the new wall-clock time.
#include "data/Tableau1.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

class TImagePlot : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int NbValeurs READ NbValeurs WRITE DefinirNbValeurs)
    Q_PROPERTY(double MinX READ MinX)
    Q_PROPERTY(double MaxX READ MaxX)
    Q_PROPERTY(double MinY READ MinY)
    Q_PROPERTY(double MaxY READ MaxY)
    Q_PROPERTY(int RepereX1 READ RepereX1 WRITE DefinirRepereX1)
    Q_PROPERTY(int RepereX2 READ RepereX2 WRITE DefinirRepereX2)
    Q_PROPERTY(QColor CouleurFond READ CouleurFond WRITE DefinirCouleurFond)
    Q_PROPERTY(QColor CouleurCourbe1 READ CouleurCourbe1 WRITE DefinirCouleurCourbe1)
    Q_PROPERTY(QColor CouleurCourbe2 READ CouleurCourbe2 WRITE DefinirCouleurCourbe2)
    Q_PROPERTY(QColor CouleurCourbe3 READ CouleurCourbe3 WRITE DefinirCouleurCourbe3)
    Q_PROPERTY(QColor CouleurRepereX1 READ CouleurRepereX1 WRITE DefinirCouleurRepereX1)
    Q_PROPERTY(QColor CouleurRepereX2 READ CouleurRepereX2 WRITE DefinirCouleurRepereX2)

public:
    static constexpr int NbMaxValeurs = 1024;
    using TValeurs = Tableau1<double, NbMaxValeurs>;

    explicit TImagePlot(QWidget* parent = nullptr);

    // Sample storage, written directly by the owner (indexes 1..NbValeurs used).
    TValeurs ValeursX{};
    TValeurs ValeursY1{};
    TValeurs ValeursY2{};
    TValeurs ValeursY3{};
    // Instant of each sample on a clock that never steps, in days like X; 0
    // where it is not known (that pair of samples keeps its wall-clock spacing).
    TValeurs ValeursT{};

    // Wall clock and steady clock disagreeing by more than this between two
    // samples is a step of the wall clock.
    static constexpr double EcartSautHorloge = 5.0 / 86400.0;
    // Colour of the step marks (their captions a little darker).
    static const QColor CouleurSaut;

    // A step of the wall clock found by the last drawing, just before sample
    // Indice; Colonne is where its mark was drawn, Legende its caption.
    struct TSautHorloge {
        int Indice = 0;
        int Colonne = 0;
        QString Legende;
    };
    const std::vector<TSautHorloge>& Sauts() const { return m_sauts; }

    int NbValeurs() const { return m_nbValeurs; }
    // Held within 0..NbMaxValeurs so that no reader of the arrays can go past them.
    void DefinirNbValeurs(int nombre);

    // Ranges of the dates and values found by the last Update() that had at
    // least two samples.
    double MinX() const { return m_minX; }
    double MaxX() const { return m_maxX; }
    double MinY() const { return m_minY; }
    double MaxY() const { return m_maxY; }

    // Sample index of each marker; outside 1..NbValeurs the marker is not drawn.
    int RepereX1() const { return m_repereX1; }
    void DefinirRepereX1(int indice) { m_repereX1 = indice; }
    int RepereX2() const { return m_repereX2; }
    void DefinirRepereX2(int indice) { m_repereX2 = indice; }

    QColor CouleurFond() const { return m_couleurFond; }
    void DefinirCouleurFond(const QColor& couleur) { m_couleurFond = couleur; }
    QColor CouleurCourbe1() const { return m_couleurCourbe1; }
    void DefinirCouleurCourbe1(const QColor& couleur) { m_couleurCourbe1 = couleur; }
    QColor CouleurCourbe2() const { return m_couleurCourbe2; }
    void DefinirCouleurCourbe2(const QColor& couleur) { m_couleurCourbe2 = couleur; }
    QColor CouleurCourbe3() const { return m_couleurCourbe3; }
    void DefinirCouleurCourbe3(const QColor& couleur) { m_couleurCourbe3 = couleur; }
    QColor CouleurRepereX1() const { return m_couleurRepereX1; }
    void DefinirCouleurRepereX1(const QColor& couleur) { m_couleurRepereX1 = couleur; }
    QColor CouleurRepereX2() const { return m_couleurRepereX2; }
    void DefinirCouleurRepereX2(const QColor& couleur) { m_couleurRepereX2 = couleur; }

    // Redraws the whole picture from the samples, markers and colours and
    // publishes the ranges. With fewer than two samples it does nothing at all:
    // the previous picture and ranges stay.
    void Update();

    // Fills the picture with CouleurFond (an empty plot) and shows it.
    void Effacer();

    // The picture the control shows. Canevas() creates it on first use, at the
    // control's size at that moment, filled white; Image() is null until then.
    QImage& Canevas();
    const QImage& Image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nbValeurs = 0;
    int m_repereX1 = 0;
    int m_repereX2 = 0;
    double m_maxX = 0.0;
    double m_minX = 0.0;
    double m_maxY = 0.0;
    double m_minY = 0.0;
    QColor m_couleurFond{0, 0, 0};
    QColor m_couleurCourbe1{0, 0, 0};
    QColor m_couleurCourbe2{0, 0, 0};
    QColor m_couleurCourbe3{0, 0, 0};
    QColor m_couleurRepereX1{0, 0, 0};
    QColor m_couleurRepereX2{0, 0, 0};
    QImage m_image;
    std::vector<TSautHorloge> m_sauts;
};
