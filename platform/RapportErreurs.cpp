#include "platform/RapportErreurs.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

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
    m_afficheur = [](const QString& texte) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        QMessageBox boite(QMessageBox::Critical, QApplication::applicationName(), texte, QMessageBox::Ok,
                          QApplication::activeWindow());
        boite.exec();
    };
}

void TRapportErreurs::Signaler(const QString& texte)
{
    std::fprintf(stderr, "Erreur : %s\n", texte.toLocal8Bit().constData());
    std::fflush(stderr);

    if (m_boitesOuvertes > 0) {
        // A box is open: this error waits for it to close.
        for (auto& e : m_file) {
            if (e.texte == texte) {
                ++e.repetitions;
                return;
            }
        }
        if (static_cast<int>(m_file.size()) < CapaciteFile)
            m_file.push_back({texte, 1});
        else
            ++m_ignorees;
        return;
    }

    QString courant = texte;
    for (;;) {
        {
            // Counted open for exactly the life of the box, even if showing it throws.
            struct TBoiteOuverte {
                int& n;
                explicit TBoiteOuverte(int& compteur) : n(compteur) { ++n; }
                ~TBoiteOuverte() { --n; }
            } boite(m_boitesOuvertes);
            ++m_nbAffichees;
            m_afficheur(courant);
        }
        if (m_file.empty() && m_ignorees == 0)
            break;
        if (!m_file.empty()) {
            const TErreurEnAttente suivante = m_file.front();
            m_file.erase(m_file.begin());
            courant = suivante.repetitions > 1
                ? QStringLiteral("%1\n(%2 fois)").arg(suivante.texte).arg(suivante.repetitions)
                : suivante.texte;
        } else {
            courant = QStringLiteral("%1 autres erreurs non affichées (voir la sortie d'erreur).").arg(m_ignorees);
            m_ignorees = 0;
        }
    }
}

void SignalerErreur(const QString& texte)
{
    TRapportErreurs::Instance().Signaler(texte);
}
