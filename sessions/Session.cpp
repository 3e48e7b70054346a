#include "sessions/Session.h"

#include "data/DateVeilleur.h"
#include "sessions/Empreinte.h"

#include <QFileInfo>
#include <chrono>
#include <cstring>

TSession::TSession(const QString& cheminFichier, std::function<std::int64_t()> horloge, std::function<double()> date)
    : m_chemin(cheminFichier), m_horloge(std::move(horloge)), m_date(std::move(date))
{
    if (!m_horloge)
        m_horloge = [] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
        };
    if (!m_date)
        m_date = [] { return DateVeilleur::Maintenant(); };
}

std::int64_t TSession::Maintenant() const
{
    return m_horloge();
}

TResultatSession TSession::Charger()
{
    TChargementUtilisateurs chargement = ChargerUtilisateurs(m_chemin);
    m_etat = chargement.Etat;
    m_detail = chargement.Detail;
    m_utilisateurs = std::move(chargement.Utilisateurs);
    m_indexEnSession = -1;
    m_essais.clear();
    if (m_etat == EEtatUtilisateurs::Endommage)
        return Refus(EMessageSession::FichierEndommage, QFileInfo(m_chemin).absoluteFilePath());
    TResultatSession resultat;
    resultat.Reussi = true;
    return resultat;
}

bool TSession::StationOuverte() const
{
    return m_etat == EEtatUtilisateurs::Absent || m_etat == EEtatUtilisateurs::SansUtilisateur;
}

std::uint8_t TSession::Mode() const
{
    if (EnSession())
        return m_utilisateurs[static_cast<std::size_t>(m_indexEnSession)].Mode;
    return StationOuverte() ? ModeAdministration : ModeConsultation;
}

QString TSession::NomComplet(int index) const
{
    if (!IndexValide(index))
        return {};
    const TUtilisateur& u = m_utilisateurs[static_cast<std::size_t>(index)];
    return u.Prenom.isEmpty() ? u.Nom : u.Prenom + QLatin1Char(' ') + u.Nom;
}

QString TSession::NomEnSession() const
{
    return NomComplet(m_indexEnSession);
}

TDroit TSession::Droit(EDroit droit, bool acqAlarmesConsultation) const
{
    return ::Droit(droit, Mode(), acqAlarmesConsultation);
}

QString TSession::Cle(const QString& nom, const QString& prenom)
{
    return nom.toCaseFolded() + QLatin1Char('\n') + prenom.toCaseFolded();
}

QString TSession::Cle(int index) const
{
    const TUtilisateur& u = m_utilisateurs[static_cast<std::size_t>(index)];
    return Cle(u.Nom, u.Prenom);
}

int TSession::IndexDeCle(const QString& cle) const
{
    for (int i = 0; i < static_cast<int>(m_utilisateurs.size()); ++i)
        if (Cle(i) == cle)
            return i;
    return -1;
}

bool TSession::IndexValide(int index) const
{
    return index >= 0 && index < static_cast<int>(m_utilisateurs.size());
}

int TSession::NbAdministrateurs() const
{
    int n = 0;
    for (const TUtilisateur& u : m_utilisateurs)
        n += u.Mode == ModeAdministration ? 1 : 0;
    return n;
}

TEntreeLog TSession::Entree(std::uint8_t code, const QString& nomComplet) const
{
    TEntreeLog entree;
    std::memset(&entree, 0, sizeof entree);
    entree.Code = code;
    entree.DateHeure = m_date();
    // Cut to the slot by the short-string writer: never past its 52 bytes.
    EcrireChaine(entree.InfosCompl, nomComplet);
    return entree;
}

void TSession::Signer(TEntreeLog& entree) const
{
    if (EnSession())
        EcrireChaine(entree.InfosCompl, NomEnSession());
}

TResultatSession TSession::Refus(EMessageSession message, const QString& argument) const
{
    TResultatSession resultat;
    resultat.Message = message;
    resultat.Argument = argument;
    return resultat;
}

int TSession::SecondesBlocage(int index) const
{
    if (!IndexValide(index))
        return 0;
    const auto it = m_essais.find(Cle(index));
    if (it == m_essais.end() || !it->second.Bloque)
        return 0;
    const std::int64_t reste = it->second.BloqueJusqua - Maintenant();
    return reste > 0 ? static_cast<int>((reste + 999) / 1000) : 0;
}

TResultatSession TSession::DebuterSession(int index, const TMotDePasse& motDePasse)
{
    if (m_etat == EEtatUtilisateurs::Endommage)
        return Refus(EMessageSession::FichierEndommage, QFileInfo(m_chemin).absoluteFilePath());
    if (!IndexValide(index))
        return Refus(EMessageSession::AucunUtilisateurSelectionne);
    const QString cle = Cle(index);
    TEssais& essais = m_essais[cle];
    if (essais.Bloque) {
        if (Maintenant() < essais.BloqueJusqua)
            return Refus(EMessageSession::UtilisateurBloque, QString::number(SecondesBlocage(index)));
        essais = TEssais{};
    }

    const QString nom = NomComplet(index);
    if (!Empreinte::Verifier(motDePasse, m_utilisateurs[static_cast<std::size_t>(index)].Empreinte)) {
        TResultatSession resultat = Refus(EMessageSession::MotDePasseIncorrect);
        TEntreeLog entree = Entree(CodeDebutSession, nom);
        entree.Attribut2 = DebutRefuse;
        resultat.Journal.push_back(entree);
        if (++essais.Echecs >= NbEssaisMax) {
            essais.Bloque = true;
            essais.BloqueJusqua = Maintenant() + DureeBlocageMs;
            resultat.Message = EMessageSession::MotDePasseIncorrectBloque;
            resultat.Argument = QString::number(DureeBlocageMs / 1000);
        }
        return resultat;
    }

    m_essais.erase(cle);
    TResultatSession resultat;
    if (EnSession())
        resultat.Journal = Terminer(FinParUtilisateur).Journal;
    m_indexEnSession = index;
    m_derniereActivite = Maintenant();
    TEntreeLog entree = Entree(CodeDebutSession, nom);
    entree.Attribut2 = DebutAccepte;
    resultat.Journal.push_back(entree);
    resultat.Reussi = true;
    resultat.Message = EMessageSession::SessionOuverte;
    return resultat;
}

TResultatSession TSession::Terminer(std::uint8_t cause)
{
    TResultatSession resultat;
    TEntreeLog entree = Entree(CodeFinSession, NomEnSession());
    entree.Attribut1 = cause;
    resultat.Journal.push_back(entree);
    m_indexEnSession = -1;
    resultat.Reussi = true;
    resultat.Message = cause == FinParInactivite ? EMessageSession::SessionFinInactivite : EMessageSession::SessionFermee;
    return resultat;
}

TResultatSession TSession::FinirSession()
{
    if (!EnSession())
        return Refus(EMessageSession::AucuneSessionEnCours);
    return Terminer(FinParUtilisateur);
}

void TSession::SignalerActivite()
{
    m_derniereActivite = Maintenant();
}

TResultatSession TSession::Verifier()
{
    if (!EnSession() || Maintenant() - m_derniereActivite < DelaiInactiviteMs)
        return {};
    return Terminer(FinParInactivite);
}

EMessageSession TSession::ControlerMotDePasse(const TMotDePasse& motDePasse, const TMotDePasse& confirmation) const
{
    if (!motDePasse.Egal(confirmation))
        return EMessageSession::MotsDePasseDifferents;
    if (motDePasse.NbCaracteres() < LongueurMinMotDePasse)
        return EMessageSession::MotDePasseTropCourt;
    if (motDePasse.ContientNul() || motDePasse.Taille() >= 256)
        return EMessageSession::MotDePasseTropLong;
    return EMessageSession::Aucun;
}

EMessageSession TSession::ControlerFiche(const QString& nom, const QString& prenom, std::uint8_t mode,
                                         int indexExclu) const
{
    if (!NomUtilisateurValide(nom) || (!prenom.isEmpty() && !NomUtilisateurValide(prenom)))
        return EMessageSession::NomInvalide;
    if (mode > ModeConsultation)
        return EMessageSession::ModeInvalide;
    for (int i = 0; i < static_cast<int>(m_utilisateurs.size()); ++i)
        if (i != indexExclu && MemesNoms(m_utilisateurs[static_cast<std::size_t>(i)], nom, prenom))
            return EMessageSession::UtilisateurExistant;
    return EMessageSession::Aucun;
}

bool TSession::Remplacer(std::vector<TUtilisateur> liste, QString& erreur)
{
    TrierUtilisateurs(liste);
    if (!EnregistrerUtilisateurs(liste, m_chemin, erreur))
        return false;
    const QString cleEnSession = EnSession() ? Cle(m_indexEnSession) : QString();
    m_utilisateurs = std::move(liste);
    m_etat = m_utilisateurs.empty() ? EEtatUtilisateurs::SansUtilisateur : EEtatUtilisateurs::Charge;
    m_detail.clear();
    if (!cleEnSession.isEmpty())
        m_indexEnSession = IndexDeCle(cleEnSession);
    return true;
}

TResultatSession TSession::ChangerMotDePasse(const TMotDePasse& nouveau, const TMotDePasse& confirmation)
{
    if (!EnSession())
        return Refus(EMessageSession::AucuneSessionEnCours);
    if (const EMessageSession faute = ControlerMotDePasse(nouveau, confirmation); faute != EMessageSession::Aucun)
        return Refus(faute);
    std::vector<TUtilisateur> liste = m_utilisateurs;
    QByteArray empreinte = Empreinte::Calculer(nouveau);
    if (empreinte.isEmpty())
        return Refus(EMessageSession::MotDePasseTropLong);
    liste[static_cast<std::size_t>(m_indexEnSession)].Empreinte = empreinte;
    QString erreur;
    if (!Remplacer(std::move(liste), erreur))
        return Refus(EMessageSession::EchecEnregistrement, erreur);
    TResultatSession resultat;
    resultat.Reussi = true;
    resultat.Message = EMessageSession::MotDePasseChange;
    return resultat;
}

TResultatSession TSession::AjouterUtilisateur(const QString& nomSaisi, const QString& prenomSaisi, std::uint8_t mode,
                                              const TMotDePasse& motDePasse, const TMotDePasse& confirmation)
{
    if (m_etat == EEtatUtilisateurs::Endommage)
        return Refus(EMessageSession::FichierEndommage, QFileInfo(m_chemin).absoluteFilePath());
    if (Mode() != ModeAdministration)
        return Refus(EMessageSession::ReserveAdministration);
    const QString nom = nomSaisi.trimmed();
    const QString prenom = prenomSaisi.trimmed();
    if (const EMessageSession faute = ControlerFiche(nom, prenom, mode, -1); faute != EMessageSession::Aucun)
        return Refus(faute);
    if (m_utilisateurs.empty() && mode != ModeAdministration)
        return Refus(EMessageSession::PremierUtilisateurAdministrateur);
    if (const EMessageSession faute = ControlerMotDePasse(motDePasse, confirmation); faute != EMessageSession::Aucun)
        return Refus(faute);

    TUtilisateur nouveau;
    nouveau.Nom = nom;
    nouveau.Prenom = prenom;
    nouveau.Mode = mode;
    nouveau.Empreinte = Empreinte::Calculer(motDePasse);
    if (nouveau.Empreinte.isEmpty())
        return Refus(EMessageSession::MotDePasseTropLong);
    const bool premier = m_utilisateurs.empty();
    std::vector<TUtilisateur> liste = m_utilisateurs;
    liste.push_back(nouveau);
    QString erreur;
    if (!Remplacer(std::move(liste), erreur))
        return Refus(EMessageSession::EchecEnregistrement, erreur);

    TResultatSession resultat;
    resultat.Reussi = true;
    resultat.Message = EMessageSession::UtilisateurAjoute;
    // The station is no longer open: whoever created the first administrator
    // goes on as that administrator, so the session ends like any other.
    if (premier) {
        m_indexEnSession = IndexDeCle(Cle(nom, prenom));
        m_derniereActivite = Maintenant();
        TEntreeLog entree = Entree(CodeDebutSession, NomEnSession());
        entree.Attribut2 = DebutAccepte;
        resultat.Journal.push_back(entree);
    }
    return resultat;
}

TResultatSession TSession::ModifierUtilisateur(int index, const QString& nomSaisi, const QString& prenomSaisi,
                                               std::uint8_t mode, const TMotDePasse& motDePasse,
                                               const TMotDePasse& confirmation)
{
    if (Mode() != ModeAdministration || StationOuverte())
        return Refus(StationOuverte() ? EMessageSession::AucunUtilisateurSelectionne
                                      : EMessageSession::ReserveAdministration);
    if (!IndexValide(index))
        return Refus(EMessageSession::AucunUtilisateurSelectionne);
    const QString nom = nomSaisi.trimmed();
    const QString prenom = prenomSaisi.trimmed();
    if (const EMessageSession faute = ControlerFiche(nom, prenom, mode, index); faute != EMessageSession::Aucun)
        return Refus(faute);
    const TUtilisateur& actuel = m_utilisateurs[static_cast<std::size_t>(index)];
    if (mode != actuel.Mode) {
        if (actuel.Mode == ModeAdministration && NbAdministrateurs() <= 1)
            return Refus(EMessageSession::DernierAdministrateur);
        if (index == m_indexEnSession)
            return Refus(EMessageSession::UtilisateurEnSession);
    }
    std::vector<TUtilisateur> liste = m_utilisateurs;
    TUtilisateur& fiche = liste[static_cast<std::size_t>(index)];
    if (!motDePasse.EstVide() || !confirmation.EstVide()) {
        if (const EMessageSession faute = ControlerMotDePasse(motDePasse, confirmation); faute != EMessageSession::Aucun)
            return Refus(faute);
        fiche.Empreinte = Empreinte::Calculer(motDePasse);
        if (fiche.Empreinte.isEmpty())
            return Refus(EMessageSession::MotDePasseTropLong);
    }
    const QString ancienneCle = Cle(index);
    fiche.Nom = nom;
    fiche.Prenom = prenom;
    fiche.Mode = mode;
    const bool enSession = index == m_indexEnSession;
    QString erreur;
    if (!Remplacer(std::move(liste), erreur))
        return Refus(EMessageSession::EchecEnregistrement, erreur);
    // A renamed user keeps its failed attempts; Remplacer found the user in
    // session under its old name, so it is looked up again.
    const QString nouvelleCle = Cle(nom, prenom);
    if (ancienneCle != nouvelleCle) {
        if (const auto it = m_essais.find(ancienneCle); it != m_essais.end()) {
            m_essais[nouvelleCle] = it->second;
            m_essais.erase(ancienneCle);
        }
        if (enSession)
            m_indexEnSession = IndexDeCle(nouvelleCle);
    }
    TResultatSession resultat;
    resultat.Reussi = true;
    resultat.Message = EMessageSession::UtilisateurModifie;
    return resultat;
}

TResultatSession TSession::SupprimerUtilisateur(int index)
{
    if (Mode() != ModeAdministration || StationOuverte())
        return Refus(StationOuverte() ? EMessageSession::AucunUtilisateurSelectionne
                                      : EMessageSession::ReserveAdministration);
    if (!IndexValide(index))
        return Refus(EMessageSession::AucunUtilisateurSelectionne);
    if (m_utilisateurs[static_cast<std::size_t>(index)].Mode == ModeAdministration && NbAdministrateurs() <= 1)
        return Refus(EMessageSession::DernierAdministrateur);
    if (index == m_indexEnSession)
        return Refus(EMessageSession::UtilisateurEnSession);
    const QString cle = Cle(index);
    std::vector<TUtilisateur> liste = m_utilisateurs;
    liste.erase(liste.begin() + index);
    QString erreur;
    if (!Remplacer(std::move(liste), erreur))
        return Refus(EMessageSession::EchecEnregistrement, erreur);
    m_essais.erase(cle);
    TResultatSession resultat;
    resultat.Reussi = true;
    resultat.Message = EMessageSession::UtilisateurSupprime;
    return resultat;
}
