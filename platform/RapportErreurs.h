#pragma once
// The application's general error report: shows an error text in a message box
// and lets the program go on. The box never runs an event loop of its own: it
// is shown without blocking, from a queued call, so that a report raised inside
// a tick, a refresh or a screen handler leaves the timers, the refreshes and
// the navigation running. One box at a time: errors raised while it is open
// (or before it is shown) wait in a short queue, identical texts counted, not
// repeated; each is also written to stderr at once.
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TRapportErreurs {
public:
    // Held for exactly as long as a box shows; the next error waits for its end.
    class TBoiteOuverte {
    public:
        explicit TBoiteOuverte(TRapportErreurs& rapport);
        ~TBoiteOuverte();
        TBoiteOuverte(const TBoiteOuverte&) = delete;
        TBoiteOuverte& operator=(const TBoiteOuverte&) = delete;

    private:
        TRapportErreurs& m_rapport;
    };

    // Shows a text and returns at once; the box counts as open until the
    // TBoiteOuverte it was given is destroyed.
    using Boite = std::function<void(const QString& texte, std::unique_ptr<TBoiteOuverte> ouverte)>;
    // A box that is closed as soon as the function returns (tests).
    using Afficheur = std::function<void(const QString& texte)>;

    static TRapportErreurs& Instance();

    void Signaler(const QString& texte);

    // Replace the message box (tests).
    void DefinirBoite(Boite boite) { m_boite = std::move(boite); }
    void DefinirAfficheur(Afficheur afficheur);
    void AfficheurParDefaut();

    int BoitesOuvertes() const { return m_boitesOuvertes; }
    int NbAffichees() const { return m_nbAffichees; }
    // Errors reported but not shown yet.
    int EnAttente() const { return static_cast<int>(m_file.size()) + (m_ignorees > 0 ? 1 : 0); }

    static constexpr int CapaciteFile = 20;

private:
    TRapportErreurs();

    void Planifier();
    void Livrer();

    struct TErreurEnAttente {
        QString texte;
        int repetitions;
    };

    Boite m_boite;
    std::vector<TErreurEnAttente> m_file;
    int m_ignorees = 0;
    int m_boitesOuvertes = 0;
    int m_nbAffichees = 0;
    bool m_livraisonPrevue = false;
};

// Shorthand for TRapportErreurs::Instance().Signaler(texte).
void SignalerErreur(const QString& texte);
