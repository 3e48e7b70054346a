#include "app/BarreAlarmes.h"

#include "data/ConfigSet.h"
#include "data/DateVeilleur.h"
#include "data/VerrouDonnees.h"
#include "text/MessagesVeilleur.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>

#include <algorithm>

namespace {

// The strip's colours, so that an entry reads like its button.
QColor Fond(TEtatAlarme etat)
{
    switch (etat) {
    case TEtatAlarme::Alarme: return QColor(255, 0, 0);
    case TEtatAlarme::ComPerdue: return QColor(128, 128, 128);
    case TEtatAlarme::PreAlarme: break;
    }
    return QColor(240, 240, 0);
}

QColor Encre(TEtatAlarme etat)
{
    return etat == TEtatAlarme::PreAlarme ? QColor(0, 0, 0) : QColor(255, 255, 255);
}

constexpr int Espacement = 4;

} // namespace

TBarreAlarmes::TBarreAlarmes(QStatusBar& barre, int largeur)
    : QWidget(&barre)
{
    setObjectName(QStringLiteral("BarreAlarmes"));
    setFixedWidth(largeur);
    m_disposition = new QHBoxLayout(this);
    m_disposition->setContentsMargins(0, 0, 0, 0);
    m_disposition->setSpacing(Espacement);
    m_plus = new QLabel(this);
    m_plus->setObjectName(QStringLiteral("BarreAlarmesPlus"));
    m_disposition->addWidget(m_plus);
    m_disposition->addStretch(1);
    barre.addWidget(this, 1);
    hide();
}

QToolButton* TBarreAlarmes::Bouton(int index)
{
    while (static_cast<int>(m_boutons.size()) <= index) {
        auto* bouton = new QToolButton(this);
        bouton->setObjectName(QStringLiteral("BarreAlarmesEntree%1").arg(m_boutons.size() + 1));
        bouton->setAutoRaise(false);
        bouton->setAutoFillBackground(true);
        bouton->setFocusPolicy(Qt::NoFocus);
        bouton->setCursor(Qt::PointingHandCursor);
        bouton->setFixedHeight(17);
        connect(bouton, &QToolButton::clicked, this, [this, bouton] {
            const int appareil = bouton->property("appareil").toInt();
            if (appareil > 0)
                emit Ouvrir(appareil);
        });
        m_disposition->insertWidget(static_cast<int>(m_boutons.size()), bouton);
        m_boutons.push_back(bouton);
    }
    return m_boutons[index];
}

void TBarreAlarmes::Afficher(const std::vector<TAlarmeActive>& alarmes, TLangue langue)
{
    if (alarmes.empty()) {
        hide();
        m_nonAffichees = 0;
        return;
    }
    const int total = static_cast<int>(alarmes.size());
    // Room for "+N" is kept only when some do not fit.
    const int largeurPlus = fontMetrics().horizontalAdvance(QStringLiteral("+%1").arg(total)) + Espacement;
    int place = width();
    int affichees = 0;
    for (int i = 0; i < total; ++i) {
        QToolButton* bouton = Bouton(i);
        bouton->setText(alarmes[i].Texte);
        const int largeur = bouton->sizeHint().width() + Espacement;
        const int reste = (i + 1 < total) ? largeurPlus : 0;
        // The first entry is always shown, cut if it must be.
        if (i > 0 && largeur + reste > place)
            break;
        if (i == 0)
            bouton->setMaximumWidth(std::max(40, place - reste - Espacement));
        place -= largeur;
        QPalette p = bouton->palette();
        p.setColor(QPalette::Button, Fond(alarmes[i].Etat));
        p.setColor(QPalette::ButtonText, Encre(alarmes[i].Etat));
        bouton->setPalette(p);
        bouton->setToolTip(Texte(MsgAlarmesOuvrirEcran, langue));
        bouton->setProperty("appareil", alarmes[i].Appareil);
        bouton->show();
        ++affichees;
    }
    for (int i = affichees; i < static_cast<int>(m_boutons.size()); ++i) {
        m_boutons[i]->hide();
        m_boutons[i]->setProperty("appareil", 0);
    }
    m_nonAffichees = total - affichees;
    m_plus->setText(m_nonAffichees > 0 ? QStringLiteral("+%1").arg(m_nonAffichees) : QString());
    m_plus->setVisible(m_nonAffichees > 0);
    show();
}

std::vector<QToolButton*> TBarreAlarmes::Entrees() const
{
    std::vector<QToolButton*> entrees;
    for (QToolButton* b : m_boutons)
        if (!b->isHidden())
            entrees.push_back(b);
    return entrees;
}

void TBarreAlarmes::Actualiser(TVerrouDonnees& verrou, const Tableau1<TDonneesKMT, NbSources>& donnees, TLangue langue)
{
    m_suivi.DefinirLangue(langue);
    std::vector<TAlarmeActive> alarmes;
    {
        TLectureDonnees lecture(verrou);
        alarmes = m_suivi.Actualiser(donnees, ConfigSet, DateVeilleur::Maintenant());
    }
    Afficher(alarmes, langue);
}
