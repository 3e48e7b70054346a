// Draws the station's pictures: the logo and the four-state glyphs of the
// window's buttons (up, disabled, pressed, down, side by side), and the desktop
// icons made from the logo. Run once after changing a picture, then commit the
// PNG files: cmake --build build --target images
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using Dessin = std::function<void(QPainter&, const QColor& encre, const QColor& accent)>;

const QColor Bleu(0, 40, 85);
const QColor Cyan(70, 190, 230);
const QColor Orange(250, 160, 30);

// One glyph in its four states, drawn in a size x size box.
QImage Glyphe(int taille, const Dessin& dessin)
{
    QImage image(taille * 4, taille, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double echelle = taille / 32.0;
    struct Etat { QColor encre, accent; QPointF decalage; };
    const Etat etats[4] = {
        {QColor(0, 40, 85), Cyan, {0, 0}},                        // up
        {QColor(150, 150, 150), QColor(190, 190, 190), {0, 0}},   // disabled
        {QColor(0, 40, 85), Cyan, {1, 1}},                        // pressed
        {QColor(0, 70, 140), Orange, {0, 0}},                     // down
    };
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(i * taille + etats[i].decalage.x(), etats[i].decalage.y());
        p.scale(echelle, echelle);
        if (i == 1) {
            // Embossed like a greyed glyph: a white copy one pixel down-right.
            p.save();
            p.translate(1, 1);
            dessin(p, Qt::white, Qt::white);
            p.restore();
        }
        dessin(p, etats[i].encre, etats[i].accent);
        p.restore();
    }
    return image;
}

void Maison(QPainter& p, const QColor& encre, const QColor& accent)
{
    QPainterPath toit;
    toit.moveTo(3, 16); toit.lineTo(16, 4); toit.lineTo(29, 16);
    p.setPen(QPen(encre, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(toit);
    p.setPen(QPen(encre, 2));
    p.setBrush(accent);
    p.drawRect(QRectF(8, 15, 16, 13));
    p.setBrush(encre);
    p.drawRect(QRectF(14, 20, 5, 8));
}

void Session(QPainter& p, const QColor& encre, const QColor& accent)
{
    p.setPen(QPen(encre, 2));
    p.setBrush(accent);
    p.drawEllipse(QRectF(10, 3, 12, 12));
    QPainterPath corps;
    corps.moveTo(4, 29); corps.cubicTo(4, 15, 28, 15, 28, 29); corps.closeSubpath();
    p.drawPath(corps);
    p.setBrush(encre);
    p.drawRect(QRectF(20, 22, 9, 7));
}

void VueDEnsemble(QPainter& p, const QColor& encre, const QColor& accent)
{
    p.setPen(QPen(encre, 2));
    for (int l = 0; l < 3; ++l)
        for (int c = 0; c < 3; ++c) {
            p.setBrush((l + c) % 2 ? accent : QColor(Qt::white));
            p.drawRect(QRectF(3 + c * 9, 3 + l * 9, 8, 8));
        }
}

void Journal(QPainter& p, const QColor& encre, const QColor& accent)
{
    p.setPen(QPen(encre, 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 20, 26));
    p.setBrush(accent);
    p.drawRect(QRectF(6, 3, 5, 26));
    p.setPen(QPen(encre, 1.5));
    for (int y = 9; y <= 24; y += 5)
        p.drawLine(QPointF(14, y), QPointF(23, y));
}

void Notices(QPainter& p, const QColor& encre, const QColor& accent)
{
    p.setPen(QPen(encre, 2));
    p.setBrush(accent);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(encre, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 14), QPointF(16, 23));
    p.drawPoint(QPointF(16, 9));
}

void Configuration(QPainter& p, const QColor& encre, const QColor& accent)
{
    p.setPen(QPen(encre, 2));
    p.setBrush(accent);
    QPainterPath roue;
    const int dents = 8;
    for (int i = 0; i < dents * 2; ++i) {
        const double a = i * M_PI / dents;
        const double r = (i % 2) ? 10.0 : 14.0;
        const QPointF pt(16 + r * std::cos(a), 16 + r * std::sin(a));
        if (i == 0) roue.moveTo(pt); else roue.lineTo(pt);
    }
    roue.closeSubpath();
    p.drawPath(roue);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4.5, 4.5);
}

void Minimiser(QPainter& p, const QColor& encre, const QColor&)
{
    p.setPen(Qt::NoPen);
    p.setBrush(encre);
    p.drawRect(QRectF(7, 22, 18, 5));
}

void Quitter(QPainter& p, const QColor& encre, const QColor&)
{
    p.setPen(QPen(encre, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
}

// A watching eye over three rising bars, in the logo's own coordinates
// (it fills x 8..76, y 20..86).
void Embleme(QPainter& p)
{
    p.setPen(QPen(Cyan, 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath oeil;
    oeil.moveTo(10, 38); oeil.quadTo(42, 6, 74, 38); oeil.quadTo(42, 70, 10, 38);
    p.drawPath(oeil);
    p.setBrush(Orange);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(42, 38), 10, 10);
    p.setBrush(Bleu);
    p.drawEllipse(QPointF(42, 38), 4, 4);
    p.setBrush(Cyan);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(22 + i * 15, 86 - 8 * (i + 1), 10, 8 * (i + 1)));
}

// The desktop icon: the logo's emblem on a rounded square of the panel's blue.
QImage Icone(int taille)
{
    QImage image(taille, taille, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(taille / 96.0, taille / 96.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Bleu);
    p.drawRoundedRect(QRectF(2, 2, 92, 92), 16, 16);
    p.translate(48 - 42, 48 - 53);
    Embleme(p);
    return image;
}

// 254 x 100, drawn to sit on the dark blue fill of its panel.
QImage Logo()
{
    QImage image(254, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    Embleme(p);
    QFont titre(QStringLiteral("Liberation Sans"));
    titre.setPixelSize(34);
    titre.setBold(true);
    p.setFont(titre);
    p.setPen(Qt::white);
    p.drawText(QRectF(86, 14, 168, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvane"));
    p.setPen(Orange);
    p.drawText(QRectF(86, 48, 168, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral(".PC"));
    QFont sous(QStringLiteral("Liberation Sans"));
    sous.setPixelSize(11);
    p.setFont(sous);
    p.setPen(QColor(200, 220, 240));
    p.drawText(QRectF(150, 62, 104, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Réseau IT"));
    return image;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QDir dossier(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    struct { const char* nom; int taille; Dessin dessin; } glyphes[] = {
        {"glyphe_accueil.png", 32, Maison},
        {"glyphe_session.png", 32, Session},
        {"glyphe_vuedensemble.png", 32, VueDEnsemble},
        {"glyphe_journal.png", 32, Journal},
        {"glyphe_notices.png", 32, Notices},
        {"glyphe_configuration.png", 32, Configuration},
        {"glyphe_minimiser.png", 14, Minimiser},
        {"glyphe_quitter.png", 14, Quitter},
    };
    bool ok = Logo().save(dossier.filePath(QStringLiteral("logo.png")));
    for (const auto& g : glyphes)
        ok = Glyphe(g.taille, g.dessin).save(dossier.filePath(QString::fromLatin1(g.nom))) && ok;
    if (argc > 2) {
        // The desktop icons, one file per size, named after the size.
        const QDir icones(QString::fromLocal8Bit(argv[2]));
        for (int taille : {16, 22, 24, 32, 48, 64, 128, 256})
            ok = Icone(taille).save(icones.filePath(QStringLiteral("%1.png").arg(taille))) && ok;
    }
    std::printf(ok ? "images written to %s\n" : "could not write into %s\n", qPrintable(dossier.absolutePath()));
    return ok ? 0 : 1;
}
