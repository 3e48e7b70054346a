#include "app/FileRequetes.h"

TFileRequetes::TFileRequetes(QObject& contexte, std::function<bool()> ecranOccupe,
                             std::function<void(const TRequete&)> executer)
    : m_contexte(contexte), m_ecranOccupe(std::move(ecranOccupe)), m_executer(std::move(executer))
{
}

TFileRequetes::TGarde::TGarde(TFileRequetes& file) : m_file(file)
{
    ++m_file.m_profondeur;
}

TFileRequetes::TGarde::~TGarde()
{
    if (--m_file.m_profondeur == 0 && !m_file.m_requetes.empty())
        m_file.PlanifierTraitement();
}

bool TFileRequetes::Differer() const
{
    return m_profondeur > 0 || (m_ecranOccupe && m_ecranOccupe());
}

void TFileRequetes::Soumettre(const TRequete& requete)
{
    if (m_arretee)
        return;
    // Older requests still waiting go first, or the screen asked for last
    // would be replaced by one asked for before it.
    if (Differer() || !m_requetes.empty())
        Garder(requete);
    else
        m_executer(requete);
}

void TFileRequetes::Garder(const TRequete& requete)
{
    if (m_arretee)
        return;
    m_requetes.push_back(requete);
    // Kept only to stay behind older requests: nothing else will run them.
    if (!Differer())
        PlanifierTraitement();
}

void TFileRequetes::Traiter()
{
    while (!m_requetes.empty() && !Differer() && !m_arretee) {
        const TRequete requete = m_requetes.front();
        m_requetes.pop_front();
        m_executer(requete);
    }
}

void TFileRequetes::Arreter()
{
    m_arretee = true;
    m_requetes.clear();
}

void TFileRequetes::PlanifierTraitement()
{
    QMetaObject::invokeMethod(&m_contexte, [this] { Traiter(); }, Qt::QueuedConnection);
}
