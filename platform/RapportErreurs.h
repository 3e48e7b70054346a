#pragma once
// The application's general error report: shows an error text in a message box
// and lets the program go on. While a box is open, further errors wait in a
// short queue (identical texts counted, not repeated) instead of piling boxes
// up; each is also written to stderr.
#include <QString>
#include <functional>
#include <vector>

class TRapportErreurs {
public:
    using Afficheur = std::function<void(const QString& texte)>;

    static TRapportErreurs& Instance();

    void Signaler(const QString& texte);

    // Replaces the message box (tests). The function must block like the box.
    void DefinirAfficheur(Afficheur afficheur) { m_afficheur = std::move(afficheur); }
    void AfficheurParDefaut();

    int BoitesOuvertes() const { return m_boitesOuvertes; }
    int NbAffichees() const { return m_nbAffichees; }

    static constexpr int CapaciteFile = 20;

private:
    TRapportErreurs();

    struct TErreurEnAttente {
        QString texte;
        int repetitions;
    };

    Afficheur m_afficheur;
    std::vector<TErreurEnAttente> m_file;
    int m_ignorees = 0;
    int m_boitesOuvertes = 0;
    int m_nbAffichees = 0;
};

// Shorthand for TRapportErreurs::Instance().Signaler(texte).
void SignalerErreur(const QString& texte);
