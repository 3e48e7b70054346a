#pragma once
// The window's requests that would destroy or relabel a screen while that
// screen, or one of the window's own show operations, is inside a handler
// that lets pending events run: kept, in order, and carried out once the
// handler has finished.
#include <QObject>
#include <cstdint>
#include <deque>
#include <functional>

class TFileRequetes {
public:
    struct TRequete {
        enum Type { Ecran, Langue, Fermeture } type;
        std::int32_t a = 0;
        std::int32_t b = 0;
    };

    // contexte receives the queued runs; ecranOccupe says whether the
    // visible screen is inside one of its handlers; executer carries a
    // request out.
    TFileRequetes(QObject& contexte, std::function<bool()> ecranOccupe,
                  std::function<void(const TRequete&)> executer);
    TFileRequetes(const TFileRequetes&) = delete;
    TFileRequetes& operator=(const TFileRequetes&) = delete;

    // Held across one of the window's operations that may let pending
    // events run; requests arriving meanwhile wait for its end.
    class TGarde {
    public:
        explicit TGarde(TFileRequetes& file);
        ~TGarde();
        TGarde(const TGarde&) = delete;
        TGarde& operator=(const TGarde&) = delete;

    private:
        TFileRequetes& m_file;
    };

    // True while requests must wait.
    bool Differer() const;
    // Carried out now when nothing waits and nothing is busy, else kept
    // behind the older ones.
    void Soumettre(const TRequete& requete);
    // Kept behind the older ones, whatever the state.
    void Garder(const TRequete& requete);
    // Carries out the waiting requests while nothing is busy.
    void Traiter();
    // Drops what waits; nothing is carried out any more.
    void Arreter();

    bool Vide() const { return m_requetes.empty(); }
    int EnAttente() const { return static_cast<int>(m_requetes.size()); }

private:
    void PlanifierTraitement();

    QObject& m_contexte;
    std::function<bool()> m_ecranOccupe;
    std::function<void(const TRequete&)> m_executer;
    std::deque<TRequete> m_requetes;
    int m_profondeur = 0;
    bool m_arretee = false;
};
