#pragma once
// The station's main window: the fixed layout (TDispositionFenetre) around the
// screen host (THoteEcrans), the request queue, the language, the four timers,
// and what lives for the whole run (device records, the journal store, the
// lock).
//
// Screens are changed only through WM_ECRAN; journal entries arrive through
// WM_LOG. A request that would destroy or relabel a screen while that screen
// (or the window itself) is inside a handler that processes pending events is
// kept and carried out, in order, once the handler has finished.
#include "app/DispositionFenetre.h"
#include "app/FileRequetes.h"
#include "app/HoteEcrans.h"
#include "app/MarcheStation.h"
#include "app/StationDirecte.h"
#include "data/JournalLog.h"
#include "data/TypesVeilleur.h"
#include "platform/Son.h"

#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class QAbstractButton;
class TBarreAlarmes;
class TBoutonAppareil;
class TFrameEnhanced;
class TGenerateurDemo;
class TSessionStation;
struct TResultatSession;
class TVerrouDonnees;

class TFormVeilleur : public QWidget {
    Q_OBJECT
public:
    static constexpr int LargeurClient = TDispositionFenetre::LargeurClient;
    static constexpr int HauteurClient = TDispositionFenetre::HauteurClient;

    // son: the station's sound (the machine's own when null); nomEvenement:
    // the name of the journal's system event, which tests make unique.
    explicit TFormVeilleur(std::unique_ptr<TSon> son = nullptr,
                           const QString& nomEvenement = QString::fromLatin1(NomEvenementAccesLog),
                           QWidget* parent = nullptr);
    ~TFormVeilleur() override;

    // Timer handlers.
    void TimerBandeauTimer();
    void TimerMonitoringDataTimer();
    void TimerDemoTimer();
    void TimerBeepTimer();

    // Button handlers.
    void SpeedButtonMenuClick(QAbstractButton* bouton);
    void ButtonMonitoringClick(TBoutonAppareil* bouton);
    void SpeedButtonLangueClick(QAbstractButton* bouton);
    void BitBtnQuitClick();
    void BitBtnMinClick();

    // Relabels the window and the visible screen in the current language.
    void AppliquerLangue();

    // Start of the run in the journal, once, after the window is built:
    // entries left over by the previous run, code 0 (marked when that run
    // never journalled its stop), and a word to the operator when the
    // journal's system event is not the station's own.
    void Demarrer();
    // Ends the run without the alarm question (a signal, the session ending):
    // 'raison' is journalled with code 1.
    void Arreter(const QString& raison);
    // The display is gone and the process is about to end without returning
    // to the event loop: code 1, then the journal's waiting entries; what
    // could not be saved goes to standard error, the only place left.
    void TerminerSansAffichage(const QString& raison);

    // The banner's text for an instant: the locale's long date, then the
    // 24-hour time with its separator ("dddddd - hh:nn:ss").
    static QString TexteBandeau(const QDateTime& instant, const QLocale& locale);

    // State, for the screens' tests and the window's own.
    QWidget* ZoneClient() const { return m_disposition->ZoneClient(); }
    TLangue Langue() const { return m_langue; }
    std::int32_t NumEcranCourant() const { return m_ecrans->Navigation().NumEcranCourant; }
    std::int32_t NumAppareilCourant() const { return m_ecrans->Navigation().NumAppareilCourant; }
    TFrameEnhanced* EcranCourant() const { return m_ecrans->EcranCourant(); }
    bool AlarmeEnCours() const { return m_alarmeEnCours; }
    std::int32_t CompteurDemo() const { return m_compteurDemo; }
    // "Prénom Nom" of the user in session (empty when nobody is logged in):
    // whoever journals an operator's command signs the entry with it.
    const QString& UtilisateurCourant() const { return m_utilisateurCourant; }
    // The session's mode; rights are Droit(right, ModeCourant(), ...).
    std::uint8_t ModeCourant() const { return m_modeCourant; }
    TSessionStation& Sessions() { return *m_sessions; }
    // Writers take the write lock of VerrouDonnees().
    TVerrouDonnees& VerrouDonnees() { return *m_verrou; }
    Tableau1<TDonneesKMT, NbSources>& DonneesKMT() { return *m_donnees; }
    Tableau1<TDonneesQFL, NbSources>& DonneesQFL() { return *m_donneesQFL; }
    TJournalLog& Journal() { return *m_journal; }
    const TTamponJournal& TamponJournal() const { return m_ecrans->TamponJournal(); }
    const TInfosAccueil& InfosAccueil() const { return m_ecrans->InfosAccueil(); }
    const TInfosKMT& InfosKMT() const { return m_ecrans->InfosKMT(); }
    const TInfosQFL& InfosQFL() const { return m_ecrans->InfosQFL(); }
    const TInfosRecherche& InfosRecherche() const { return m_ecrans->InfosRecherche(); }
    const TNomsAppareils& NomsAppareils() const { return m_ecrans->NomsAppareils(); }
    const TEtatsAppareils& EtatsAppareils() const { return m_ecrans->EtatsAppareils(); }
    TGenerateurDemo& Generateur() { return *m_generateur; }
    // Live devices or demonstration, and the commands of the device screens.
    TStationDirecte& Station() { return *m_station; }
    // Buttons of the strip, 1..62 (empty once the window has been closed).
    TBoutonAppareil* BoutonMonitoring(int index) const { return m_disposition->BoutonMonitoring(index); }
    int NbBoutons() const { return m_disposition->NbBoutons(); }
    // Requests kept while a screen was busy.
    int RequetesEnAttente() const { return m_requetes.EnAttente(); }
    bool Fermee() const { return m_fermee; }
    TBarreAlarmes& BarreAlarmes() const { return *m_barreAlarmes; }
    // The close question while devices are in alarm, and the word about the
    // journal's event, while they are open.
    QMessageBox* Confirmation() const { return m_marche->Confirmation(); }
    QMessageBox* Avertissement() const { return m_marche->Avertissement(); }

protected:
    bool event(QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;

private:
    // Runs inside Proteger: a request that fails is reported, the next runs.
    void ExecuterRequete(const TFileRequetes::TRequete& requete);

    void DemanderEcran(std::int32_t ecran, std::int32_t appareil);
    void AfficherEcran(std::int32_t ecran, std::int32_t appareil);
    void ChangerDeLangue(int tag);
    void FormCloseQuery();

    // Live mode when the network file is in the folder; its problem, if any,
    // is shown once, without waiting.
    void DemarrerStationDirecte();
    // Reports an error once the current handler has returned.
    static void SignalerPlusTard(const QString& texte);

    // Every entry reaches the store here; the open journal screen gets it at
    // the next tick.
    void Journaliser(const TEntreeLog& entree);

    // Sessions: loads the users file; then journals an operation's entries,
    // takes the session's mode and user, and brings the visible screen to them.
    void DemarrerSessions();
    void AppliquerResultatSession(const TResultatSession& resultat);
    template <typename F>
    void Proteger(F&& travail);

    // Released in the reverse of this order: the screens and their blocks,
    // the records, then the event and the lock last.
    std::unique_ptr<TVerrouDonnees> m_verrou;
    std::unique_ptr<TJournalLog> m_journal;     // the named event and the access flag
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> m_donnees;
    std::unique_ptr<Tableau1<TDonneesQFL, NbSources>> m_donneesQFL;
    std::unique_ptr<TGenerateurDemo> m_generateur;
    std::unique_ptr<TStationDirecte> m_station;
    std::unique_ptr<TSon> m_son;
    TFileRequetes m_requetes;
    std::unique_ptr<TMarcheStation> m_marche;

    TLangue m_langue = LangueFrancais;
    bool m_alarmeEnCours = false;
    std::int32_t m_compteurDemo = 1;
    QString m_utilisateurCourant;
    std::uint8_t m_modeCourant = ModeAdministration;

    TBarreAlarmes* m_barreAlarmes = nullptr;   // owned by the status bar
    bool m_sansQuestion = false;               // closing without the alarm question
    bool m_sansAffichage = false;              // being destroyed: nothing more is shown

    bool m_fermee = false;

    std::unique_ptr<TSessionStation> m_sessions;
    std::unique_ptr<TDispositionFenetre> m_disposition;
    std::unique_ptr<THoteEcrans> m_ecrans;

    QTimer m_timerBandeau;
    QTimer m_timerMonitoringData;
    QTimer m_timerDemo;
    QTimer m_timerBeep;
};
