#include "widgets/Controles.h"

#include "widgets/TexteCondense.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

QFont PoliceEcran(int pixels, bool gras)
{
    QFont police(QStringLiteral("MS Sans Serif"));
    police.setPixelSize(pixels);
    police.setBold(gras);
    return police;
}

QLabel* NouveauLabel(QWidget* parent, const QString& nom, const QRect& place, Qt::Alignment alignement)
{
    auto* label = NouveauControle<TLibelle>(parent, nom, place);
    label->setAlignment(alignement);
    return label;
}

namespace {

// A red disc with a white cross.
QIcon IconeQuitter()
{
    QPixmap image(18, 18);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(128, 0, 0), 1.0));
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QRectF(0.5, 0.5, 17.0, 17.0));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.5, 5.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 5.5), QPointF(5.5, 12.5));
    return QIcon(image);
}

} // namespace

QPushButton* NouveauBoutonQuitter(QWidget* parent)
{
    auto* bouton = NouveauControle<QPushButton>(parent, "BitBtnQuit", QRect(712, 4, 31, 29));
    bouton->setIcon(IconeQuitter());
    bouton->setIconSize(QSize(18, 18));
    bouton->setFocusPolicy(Qt::NoFocus);
    return bouton;
}
