#include "devices/ImagePlot.h"

#include "data/DateVeilleur.h"
#include "widgets/Controles.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Farther than any picture can reach, and small enough that the line
// arithmetic below stays exact in 64-bit integers.
constexpr double LimitePixel = 268435456.0; // 2^28

// A sample's place in pixels; not valid when the value or the scale is not a
// finite number (such a point is left out of the drawing).
struct TPointPlot {
    int x = 0;
    int y = 0;
    bool valide = false;
};

// Nearest pixel, ties to even (default rounding mode).
bool ArrondirPixel(double valeur, int& pixel)
{
    const double arrondi = std::nearbyint(valeur);
    if (!(arrondi >= -LimitePixel && arrondi <= LimitePixel))
        return false; // NaN or out of reach
    pixel = static_cast<int>(arrondi);
    return true;
}

// Maximum / minimum that keep the running value when the new one is not a
// number, so a stray NaN sample does not wipe a range already found.
double Plus(double courant, double valeur) { return valeur > courant ? valeur : courant; }
double Moins(double courant, double valeur) { return valeur < courant ? valeur : courant; }

std::int64_t DivisionPlancher(std::int64_t a, std::int64_t b) // b > 0
{
    std::int64_t q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    return q;
}

std::int64_t DivisionPlafond(std::int64_t a, std::int64_t b) // b > 0
{
    return -DivisionPlancher(-a, b);
}

// Direct pixel access to an RGB32 picture, with clipping to its bounds.
class TCanevasPlot {
public:
    explicit TCanevasPlot(QImage& image)
        : m_bits(image.bits()), m_ligne(image.bytesPerLine()),
          m_largeur(image.width()), m_hauteur(image.height()) {}

    void Point(int x, int y, QRgb couleur)
    {
        if (x >= 0 && x < m_largeur && y >= 0 && y < m_hauteur)
            Ligne(y)[x] = couleur;
    }

    // Rectangle with left/top inclusive and right/bottom exclusive.
    void Rectangle(int gauche, int haut, int droite, int bas, QRgb couleur)
    {
        gauche = std::max(gauche, 0);
        haut = std::max(haut, 0);
        droite = std::min(droite, m_largeur);
        bas = std::min(bas, m_hauteur);
        for (int y = haut; y < bas; ++y)
            std::fill(Ligne(y) + gauche, Ligne(y) + std::max(gauche, droite), couleur);
    }

    // One-pixel line from (x0, y0) to (x1, y1) drawn as the desktop's cosmetic
    // lines are (the grid-intersection "diamond" rule): one pixel per step
    // along the major axis, the first pixel drawn and the last one NOT drawn,
    // so that a polyline lights its shared vertices once and a line to the
    // current point draws nothing. On the minor axis the nearest pixel is
    // taken; when the ideal line passes exactly halfway between two pixels the
    // upper one wins for a mostly horizontal line and the left one for a
    // mostly vertical line, whatever the direction of drawing.
    void Trait(int x0, int y0, int x1, int y1, QRgb couleur)
    {
        const std::int64_t dx = std::int64_t(x1) - x0;
        const std::int64_t dy = std::int64_t(y1) - y0;
        const bool horizontal = std::llabs(dx) >= std::llabs(dy);
        // Major axis m, minor axis n.
        const std::int64_t m0 = horizontal ? x0 : y0;
        const std::int64_t n0 = horizontal ? y0 : x0;
        const std::int64_t dm = horizontal ? dx : dy;
        const std::int64_t dn = horizontal ? dy : dx;
        const std::int64_t longueurAxe = horizontal ? m_largeur : m_hauteur;
        const std::int64_t a = std::llabs(dm); // number of pixels drawn
        if (a == 0)
            return;
        const std::int64_t pas = dm > 0 ? 1 : -1;

        // Only the steps whose major coordinate lies on the picture.
        std::int64_t jMin = 0;
        std::int64_t jMax = a - 1;
        if (pas > 0) {
            jMin = std::max(jMin, -m0);
            jMax = std::min(jMax, longueurAxe - 1 - m0);
        } else {
            jMin = std::max(jMin, m0 - (longueurAxe - 1));
            jMax = std::min(jMax, m0);
        }
        if (jMin > jMax)
            return;

        // Minor offset at step j: ceil((2·j·dn − a) / (2·a)), the nearest
        // integer to j·dn/a with halves going to the smaller coordinate. It is
        // carried along as quotient q and remainder e = q·2a − t, 0 ≤ e < 2a.
        const std::int64_t deuxA = 2 * a;
        std::int64_t t = 2 * jMin * dn - a;
        std::int64_t q = DivisionPlafond(t, deuxA);
        std::int64_t e = q * deuxA - t;
        std::int64_t m = m0 + pas * jMin;
        for (std::int64_t j = jMin; j <= jMax; ++j) {
            const std::int64_t n = n0 + q;
            if (horizontal)
                Point(int(m), int(n), couleur);
            else
                Point(int(n), int(m), couleur);
            m += pas;
            // |2·dn| ≤ 2a: one correction at most.
            e -= 2 * dn;
            if (e < 0) {
                ++q;
                e += deuxA;
            } else if (e >= deuxA) {
                --q;
                e -= deuxA;
            }
        }
    }

private:
    QRgb* Ligne(int y) { return reinterpret_cast<QRgb*>(m_bits + qsizetype(y) * m_ligne); }

    uchar* m_bits;
    qsizetype m_ligne;
    int m_largeur;
    int m_hauteur;
};

// Caption of a step: the new wall-clock time, with its date when the step
// changed the day.
QString LegendeSaut(double avant, double apres)
{
    QDate jourAvant, jour;
    QTime heureAvant, heure;
    if (!DateVeilleur::VersDateEtHeure(apres, jour, heure))
        return QString();
    const QLocale locale;
    if (DateVeilleur::VersDateEtHeure(avant, jourAvant, heureAvant) && jourAvant == jour)
        return DateVeilleur::TexteHeure(heure, locale);
    return DateVeilleur::TexteDateCourte(jour, heure, locale);
}

} // namespace

const QColor TImagePlot::CouleurSaut(160, 160, 160);

TImagePlot::TImagePlot(QWidget* parent)
    : QWidget(parent)
{
}

void TImagePlot::DefinirNbValeurs(int nombre)
{
    m_nbValeurs = std::clamp(nombre, 0, NbMaxValeurs);
}

QImage& TImagePlot::Canevas()
{
    if (m_image.isNull() && width() > 0 && height() > 0) {
        m_image = QImage(width(), height(), QImage::Format_RGB32);
        m_image.fill(Qt::white);
        update();
    }
    return m_image;
}

void TImagePlot::Effacer()
{
    QImage& image = Canevas();
    if (image.isNull())
        return;
    image.fill(m_couleurFond.rgb());
    update();
}

void TImagePlot::Update()
{
    const int n = m_nbValeurs;
    if (n < 2)
        return; // picture and ranges stay as they were

    QImage& image = Canevas();
    if (!image.isNull())
        image.fill(m_couleurFond.rgb());
    m_sauts.clear();

    // Ranges, in sample order, X then curves 1, 2, 3.
    m_maxX = ValeursX[1];
    m_minX = ValeursX[1];
    m_maxY = Plus(Plus(ValeursY1[1], ValeursY2[1]), ValeursY3[1]);
    m_minY = Moins(Moins(ValeursY1[1], ValeursY2[1]), ValeursY3[1]);
    for (int i = 2; i <= n; ++i) {
        m_maxX = Plus(m_maxX, ValeursX[i]);
        m_minX = Moins(m_minX, ValeursX[i]);
        m_maxY = Plus(Plus(Plus(m_maxY, ValeursY1[i]), ValeursY2[i]), ValeursY3[i]);
        m_minY = Moins(Moins(Moins(m_minY, ValeursY1[i]), ValeursY2[i]), ValeursY3[i]);
    }
    if (image.isNull())
        return; // nowhere to draw until the control has a size
    update();

    // Each sample's place on the axis: its date, moved by every step of the
    // wall clock seen before it, so that the axis follows the steady clock
    // across a step and the dates themselves elsewhere (a history without a
    // step is drawn exactly from its dates).
    TValeurs places;
    std::vector<int> debutsSauts;
    double decalage = 0.0;
    places[1] = ValeursX[1];
    for (int i = 2; i <= n; ++i) {
        const double ecartDates = ValeursX[i] - ValeursX[i - 1];
        const double ecartTemps = ValeursT[i] - ValeursT[i - 1];
        const bool tempsConnu = ValeursT[i] != 0.0 && ValeursT[i - 1] != 0.0 && std::isfinite(ecartTemps)
                             && ecartTemps >= 0.0 && std::isfinite(ecartDates);
        if (tempsConnu) {
            if (std::fabs(ecartDates - ecartTemps) > EcartSautHorloge) {
                decalage += ecartTemps - ecartDates;
                debutsSauts.push_back(i);
            } else if (ecartDates < 0.0) {
                // A clock set back by less than a step still never runs the axis backwards.
                decalage += ecartTemps - ecartDates;
            }
        }
        places[i] = ValeursX[i] + decalage;
    }
    double minPlace = places[1];
    double maxPlace = places[1];
    for (int i = 2; i <= n; ++i) {
        maxPlace = Plus(maxPlace, places[i]);
        minPlace = Moins(minPlace, places[i]);
    }

    // A zero or undefined range leaves the plain background.
    const double etendueX = maxPlace - minPlace;
    if (etendueX == 0.0 || std::isnan(etendueX))
        return;
    const double echelleX = (image.width() - 5) / etendueX;
    const double origineX = 2.0 - echelleX * minPlace;
    const double etendueY = m_minY - m_maxY;
    if (etendueY == 0.0 || std::isnan(etendueY))
        return;
    // Negative: Y grows upwards. MaxY lands on row 2, MinY on row Height − 3.
    const double echelleY = (image.height() - 5) / etendueY;
    const double origineY = 2.0 - echelleY * m_maxY;

    auto point = [&](double x, double y) {
        TPointPlot p;
        p.valide = ArrondirPixel(echelleX * x + origineX, p.x) && ArrondirPixel(echelleY * y + origineY, p.y);
        return p;
    };

    TCanevasPlot canevas(image);

    // Steps: a dashed line between the margins, under the curves.
    for (int i : debutsSauts) {
        int colonne = 0;
        if (!ArrondirPixel(echelleX * places[i] + origineX, colonne))
            continue;
        for (int y = 2; y <= image.height() - 3; y += 6)
            canevas.Trait(colonne, y, colonne, std::min(y + 3, image.height() - 2), CouleurSaut.rgb());
        m_sauts.push_back({i, colonne, LegendeSaut(ValeursX[i - 1], ValeursX[i])});
    }

    const TValeurs* courbes[3] = {&ValeursY1, &ValeursY2, &ValeursY3};
    const QRgb couleursCourbes[3] = {m_couleurCourbe1.rgb(), m_couleurCourbe2.rgb(), m_couleurCourbe3.rgb()};
    for (int c = 0; c < 3; ++c) {
        const TValeurs& y = *courbes[c];
        TPointPlot courant = point(places[1], y[1]);
        for (int i = 2; i <= n; ++i) {
            const TPointPlot suivant = point(places[i], y[i]);
            // A point that cannot be placed breaks the curve on both sides.
            if (courant.valide && suivant.valide)
                canevas.Trait(courant.x, courant.y, suivant.x, suivant.y, couleursCourbes[c]);
            courant = suivant;
        }
    }

    // The new wall-clock time beside each step's line, over the curves so
    // that it stays legible: at the top right of the line, or else the first
    // of top left, bottom right, bottom left that no curve crosses.
    if (!m_sauts.empty()) {
        const QFont police = PoliceEcran(10);
        const QFontMetrics mesure(police);
        const QRgb fond = m_couleurFond.rgb();
        auto encombrement = [&](const QRect& zone) {
            const QRect r = zone.intersected(image.rect());
            int n = zone.width() * zone.height() - r.width() * r.height();  // outside the picture
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    n += image.pixel(x, y) != fond;
            return n;
        };
        std::vector<QRect> places;
        for (const TSautHorloge& saut : m_sauts) {
            const QSize taille(mesure.horizontalAdvance(saut.Legende), mesure.height());
            const int haut = 2;
            const int bas = image.height() - 3 - taille.height();
            const QRect essais[4] = {
                QRect(QPoint(saut.Colonne + 3, haut), taille), QRect(QPoint(saut.Colonne - 3 - taille.width(), haut), taille),
                QRect(QPoint(saut.Colonne + 3, bas), taille), QRect(QPoint(saut.Colonne - 3 - taille.width(), bas), taille)};
            QRect choix = essais[0];
            int moindre = -1;
            for (const QRect& essai : essais) {
                const int n = encombrement(essai);
                if (moindre < 0 || n < moindre) {
                    moindre = n;
                    choix = essai;
                }
                if (n == 0)
                    break;
            }
            places.push_back(choix);
        }
        QPainter peintre(&image);
        peintre.setFont(police);
        peintre.setPen(CouleurSaut.darker(140));
        for (std::size_t k = 0; k < m_sauts.size(); ++k)
            peintre.drawText(places[k].topLeft() + QPoint(0, mesure.ascent()), m_sauts[k].Legende);
    }

    // Markers: a 6 x 6 square on each curve at the sample, then a line from
    // the bottom margin up to the top margin. Marker 2 comes last, on top.
    const int reperes[2] = {m_repereX1, m_repereX2};
    const QRgb couleursReperes[2] = {m_couleurRepereX1.rgb(), m_couleurRepereX2.rgb()};
    for (int r = 0; r < 2; ++r) {
        const int k = reperes[r];
        if (k < 1 || k > n)
            continue;
        const QRgb couleur = couleursReperes[r];
        for (const TValeurs* y : courbes) {
            const TPointPlot p = point(places[k], (*y)[k]);
            // Filled then framed with the same colour: one solid square.
            if (p.valide)
                canevas.Rectangle(p.x - 3, p.y - 3, p.x + 3, p.y + 3, couleur);
        }
        const TPointPlot bas = point(places[k], m_minY);
        const TPointPlot haut = point(places[k], m_maxY);
        if (bas.valide && haut.valide)
            canevas.Trait(bas.x, bas.y, haut.x, haut.y, couleur);
    }
}

void TImagePlot::paintEvent(QPaintEvent* event)
{
    if (m_image.isNull())
        return;
    QPainter peintre(this);
    peintre.drawImage(event->rect().topLeft(), m_image, event->rect());
}
