#include "platform/RapportErreurs.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace {

// The station's own window, over which the box is centred and kept.
QWidget* FenetreParente()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowType() == Qt::Window)
            return w;
    return nullptr;
}

// Ties the open state to the life of the box: it ends when the box is deleted,
// closed by the operator or destroyed with its parent window.
class TDureeBoite : public QObject {
public:
    TDureeBoite(std::unique_ptr<TRapportErreurs::TBoiteOuverte> ouverte, QObject* boite)
        : QObject(boite), m_ouverte(std::move(ouverte))
    {
    }

private:
    std::unique_ptr<TRapportErreurs::TBoiteOuverte> m_ouverte;
};

void AfficherBoite(const QString& texte, std::unique_ptr<TRapportErreurs::TBoiteOuverte> ouverte)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    auto* boite = new QMessageBox(QMessageBox::Critical, QApplication::applicationName(), texte, QMessageBox::Ok,
                                  FenetreParente());
    boite->setObjectName(QStringLiteral("BoiteErreur"));
    // Not modal: the operator keeps the use of the station while it is up.
    boite->setWindowModality(Qt::NonModal);
    boite->setAttribute(Qt::WA_DeleteOnClose);
    new TDureeBoite(std::move(ouverte), boite);
    boite->show();
}

} // namespace

TRapportErreurs::TBoiteOuverte::TBoiteOuverte(TRapportErreurs& rapport) : m_rapport(rapport)
{
    ++m_rapport.m_boitesOuvertes;
}

TRapportErreurs::TBoiteOuverte::~TBoiteOuverte()
{
    --m_rapport.m_boitesOuvertes;
    m_rapport.Planifier();
}

TRapportErreurs& TRapportErreurs::Instance()
{
    static TRapportErreurs instance;
    return instance;
}

TRapportErreurs::TRapportErreurs()
{
    AfficheurParDefaut();
}

void TRapportErreurs::AfficheurParDefaut()
{
    m_boite = AfficherBoite;
}

void TRapportErreurs::DefinirAfficheur(Afficheur afficheur)
{
    m_boite = [afficheur = std::move(afficheur)](const QString& texte, std::unique_ptr<TBoiteOuverte>) {
        afficheur(texte);
    };
}

void TRapportErreurs::Signaler(const QString& texte)
{
    std::fprintf(stderr, "Erreur : %s\n", texte.toLocal8Bit().constData());
    std::fflush(stderr);

    bool compte = false;
    for (auto& e : m_file) {
        if (e.texte == texte) {
            ++e.repetitions;
            compte = true;
            break;
        }
    }
    if (!compte) {
        if (static_cast<int>(m_file.size()) < CapaciteFile)
            m_file.push_back({texte, 1});
        else
            ++m_ignorees;
    }
    Planifier();
}

void TRapportErreurs::Planifier()
{
    if (m_livraisonPrevue || m_boitesOuvertes > 0 || EnAttente() == 0)
        return;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;   // nothing to show a box with: stderr has it
    // Shown from the event loop, never from inside the caller.
    m_livraisonPrevue = true;
    QMetaObject::invokeMethod(application, [this] { Livrer(); }, Qt::QueuedConnection);
}

void TRapportErreurs::Livrer()
{
    m_livraisonPrevue = false;
    if (m_boitesOuvertes > 0 || EnAttente() == 0)
        return;
    QString texte;
    if (!m_file.empty()) {
        const TErreurEnAttente suivante = m_file.front();
        m_file.erase(m_file.begin());
        texte = suivante.repetitions > 1 ? QStringLiteral("%1\n(%2 fois)").arg(suivante.texte).arg(suivante.repetitions)
                                         : suivante.texte;
    } else {
        texte = QStringLiteral("%1 autres erreurs non affichées (voir la sortie d'erreur).").arg(m_ignorees);
        m_ignorees = 0;
    }
    ++m_nbAffichees;
    try {
        // A box that fails to show is closed by its token's end.
        m_boite(texte, std::make_unique<TBoiteOuverte>(*this));
    } catch (const std::exception& erreur) {
        std::fprintf(stderr, "Erreur : boîte d'erreur impossible à afficher (%s)\n", erreur.what());
        std::fflush(stderr);
    }
}

void SignalerErreur(const QString& texte)
{
    TRapportErreurs::Instance().Signaler(texte);
}
