#include "data/VerrouDonnees.h"

#include <cassert>

void TVerrouDonnees::DebutLecture()
{
    const auto moi = std::this_thread::get_id();
    std::unique_lock<std::mutex> verrou(m_mutex);
    // A thread that already holds the lock reads at once; others let waiting
    // writers go first so that a stream of readers cannot starve them.
    if (m_ecrivain != moi && m_lecteurs.find(moi) == m_lecteurs.end())
        m_libere.wait(verrou, [&] { return m_profondeurEcriture == 0 && m_ecrivainsEnAttente == 0; });
    ++m_lecteurs[moi];
}

void TVerrouDonnees::FinLecture()
{
    const auto moi = std::this_thread::get_id();
    std::lock_guard<std::mutex> verrou(m_mutex);
    auto it = m_lecteurs.find(moi);
    assert(it != m_lecteurs.end());
    if (it == m_lecteurs.end())
        return;
    if (--it->second == 0) {
        m_lecteurs.erase(it);
        m_libere.notify_all();
    }
}

bool TVerrouDonnees::EcriturePossible(std::thread::id moi) const
{
    if (m_profondeurEcriture > 0 && m_ecrivain != moi)
        return false;
    for (const auto& [lecteur, n] : m_lecteurs)
        if (lecteur != moi && n > 0)
            return false;
    return true;
}

void TVerrouDonnees::DebutEcriture()
{
    const auto moi = std::this_thread::get_id();
    std::unique_lock<std::mutex> verrou(m_mutex);
    if (!EcriturePossible(moi)) {
        const bool montee = m_lecteurs.find(moi) != m_lecteurs.end();
        if (montee) {
            // The waiting upgrader needs this thread's read lock gone: waiting
            // here would never end.
            if (m_montee != std::thread::id())
                throw EVerrouImpossible();
            m_montee = moi;
        }
        ++m_ecrivainsEnAttente;
        m_libere.wait(verrou, [&] { return EcriturePossible(moi); });
        --m_ecrivainsEnAttente;
        if (montee)
            m_montee = std::thread::id();
    }
    m_ecrivain = moi;
    ++m_profondeurEcriture;
}

bool TVerrouDonnees::EssayerEcriture()
{
    const auto moi = std::this_thread::get_id();
    std::lock_guard<std::mutex> verrou(m_mutex);
    if (!EcriturePossible(moi))
        return false;
    m_ecrivain = moi;
    ++m_profondeurEcriture;
    return true;
}

void TVerrouDonnees::FinEcriture()
{
    std::lock_guard<std::mutex> verrou(m_mutex);
    assert(m_profondeurEcriture > 0 && m_ecrivain == std::this_thread::get_id());
    if (m_profondeurEcriture == 0)
        return;
    if (--m_profondeurEcriture == 0) {
        m_ecrivain = std::thread::id();
        m_libere.notify_all();
    }
}

bool TVerrouDonnees::LectureEnCoursIci() const
{
    std::lock_guard<std::mutex> verrou(m_mutex);
    return m_lecteurs.find(std::this_thread::get_id()) != m_lecteurs.end();
}

bool TVerrouDonnees::Pris() const
{
    std::lock_guard<std::mutex> verrou(m_mutex);
    return m_profondeurEcriture > 0 || !m_lecteurs.empty();
}
