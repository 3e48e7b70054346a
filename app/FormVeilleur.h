#pragma once
// The station's main window: the fixed 1024 x 768 layout around the screen
// host, the monitoring strip, the menu and language buttons, the four timers,
// and everything that lives for the whole run (device records, blocks handed
// to the screens, the journal store, the lock).
//
// Screens are changed only through WM_ECRAN; journal entries arrive through
// WM_LOG. A request that would destroy or relabel a screen while that screen
// (or the window itself) is inside a handler that processes pending events is
// kept and carried out, in order, once the handler has finished.
#include "app/Navigation.h"
#include "data/JournalLog.h"
#include "data/TypesVeilleur.h"
#include "platform/Son.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QStatusBar;
class TBoutonAppareil;
class TBoutonMenu;
class TFrameEnhanced;
class TGenerateurDemo;
class TPanneauDecore;

class TVerrouDonnees;

class TFormVeilleur : public QWidget {
    Q_OBJECT
public:
    static constexpr int LargeurClient = 1024;
    static constexpr int HauteurClient = 768;

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

    // The banner's text for an instant: the locale's long date, then the
    // 24-hour time with its separator ("dddddd - hh:nn:ss").
    static QString TexteBandeau(const QDateTime& instant, const QLocale& locale);

    // State, for the screens' tests and the window's own.
    QWidget* ZoneClient() const { return m_client; }
    TLangue Langue() const { return m_langue; }
    std::int32_t NumEcranCourant() const { return m_navigation->NumEcranCourant; }
    std::int32_t NumAppareilCourant() const { return m_navigation->NumAppareilCourant; }
    TFrameEnhanced* EcranCourant() const { return m_ecranCourant; }
    bool AlarmeEnCours() const { return m_alarmeEnCours; }
    std::int32_t CompteurDemo() const { return m_compteurDemo; }
    const QString& UtilisateurCourant() const { return m_utilisateurCourant; }
    std::uint8_t ModeCourant() const { return m_modeCourant; }
    // Writers take the write lock of VerrouDonnees().
    TVerrouDonnees& VerrouDonnees() { return *m_verrou; }
    Tableau1<TDonneesKMT, NbSources>& DonneesKMT() { return *m_donnees; }
    TJournalLog& Journal() { return *m_journal; }
    const TTamponJournal& TamponJournal() const { return *m_tampon; }
    const TInfosAccueil& InfosAccueil() const { return *m_infosAccueil; }
    const TInfosKMT& InfosKMT() const { return *m_infosKMT; }
    const TInfosQFL& InfosQFL() const { return *m_infosQFL; }
    const TInfosRecherche& InfosRecherche() const { return *m_infosRecherche; }
    const TNomsAppareils& NomsAppareils() const { return *m_nomsAppareils; }
    const TEtatsAppareils& EtatsAppareils() const { return *m_etatsAppareils; }
    TGenerateurDemo& Generateur() { return *m_generateur; }
    // Buttons of the strip, 1..62 (empty once the window has been closed).
    TBoutonAppareil* BoutonMonitoring(int index) const;
    int NbBoutons() const { return static_cast<int>(m_boutons.size()); }
    // Requests kept while a screen was busy.
    int RequetesEnAttente() const { return static_cast<int>(m_requetes.size()); }
    bool Fermee() const { return m_fermee; }

protected:
    bool event(QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;

private:
    struct TRequete {
        enum Type { Ecran, Langue, Fermeture } type;
        std::int32_t a = 0;
        std::int32_t b = 0;
    };
    class TGardeAffichage;
    friend class TGardeAffichage;

    void ConstruireFenetre();
    void ConstruireBoutonsMonitoring();

    // True while requests must wait: a screen handler or one of the window's
    // own show operations is processing pending events.
    bool Differer() const;
    void Differer(const TRequete& requete);
    void TraiterRequetesEnAttente();
    void ExecuterRequete(const TRequete& requete);

    void DemanderEcran(std::int32_t ecran, std::int32_t appareil);
    void AfficherEcran(std::int32_t ecran, std::int32_t appareil);
    void ChangerDeLangue(int tag);
    void FormCloseQuery();

    void AfficherAccueil();
    void AfficherSession();
    void AfficherVueDEnsemble();
    void AfficherJournal();
    void AfficherNotices();
    void AfficherConfiguration();
    void AfficherKMT(std::int32_t appareil);
    void AfficherQFL(std::int32_t appareil);
    void AfficherRecherche(std::int32_t appareil);

    template <typename TEcran>
    TEcran* CreerEcran();
    void DetruireEcran();
    void EnfoncerBoutonMenu(int tag);

    // Reports an error once the current handler has returned.
    void SignalerPlusTard(const QString& texte);
    template <typename F>
    void Proteger(F&& travail);

    // Shared state, released in the reverse of this order by FormDestroy.
    std::unique_ptr<TVerrouDonnees> m_verrou;
    std::unique_ptr<TJournalLog> m_journal;     // the named event and the access flag
    std::unique_ptr<TInfosAccueil> m_infosAccueil;
    std::unique_ptr<TNomsAppareils> m_nomsAppareils;
    std::unique_ptr<TEtatsAppareils> m_etatsAppareils;
    std::unique_ptr<TTamponJournal> m_tampon;
    std::unique_ptr<TInfosConfiguration> m_infosConfiguration;
    std::unique_ptr<TInfosKMT> m_infosKMT;
    std::unique_ptr<TInfosQFL> m_infosQFL;
    std::unique_ptr<TInfosRecherche> m_infosRecherche;
    std::unique_ptr<Tableau1<TDonneesKMT, NbSources>> m_donnees;
    std::unique_ptr<TNavigation> m_navigation;
    std::unique_ptr<TGenerateurDemo> m_generateur;
    std::unique_ptr<TSon> m_son;

    TLangue m_langue = LangueFrancais;
    bool m_alarmeEnCours = false;
    std::int32_t m_compteurDemo = 0;
    QString m_utilisateurCourant;
    std::uint8_t m_modeCourant = ModeAdministration;
    TFrameEnhanced* m_ecranCourant = nullptr;

    std::deque<TRequete> m_requetes;
    int m_profondeurAffichage = 0;
    bool m_fermee = false;

    // Controls.
    QWidget* m_client = nullptr;
    TPanneauDecore* m_panelLogo = nullptr;
    TPanneauDecore* m_panelBandeau = nullptr;
    QLabel* m_labelBandeau = nullptr;
    QPushButton* m_bitBtnMin = nullptr;
    QPushButton* m_bitBtnQuit = nullptr;
    TPanneauDecore* m_panelMonitoring = nullptr;
    TPanneauDecore* m_panelBoutons = nullptr;
    QLabel* m_labelNomAppli = nullptr;
    TBoutonMenu* m_speedButtonAccueil = nullptr;
    TBoutonMenu* m_speedButtonSession = nullptr;
    TBoutonMenu* m_speedButtonVueDEnsemble = nullptr;
    TBoutonMenu* m_speedButtonJournal = nullptr;
    TBoutonMenu* m_speedButtonNotices = nullptr;
    TBoutonMenu* m_speedButtonConfiguration = nullptr;
    TBoutonMenu* m_speedButtonEn = nullptr;
    TBoutonMenu* m_speedButtonSp = nullptr;
    TBoutonMenu* m_speedButtonFr = nullptr;
    QButtonGroup* m_groupeMenu = nullptr;
    QButtonGroup* m_groupeLangues = nullptr;
    TPanneauDecore* m_panelFrame0 = nullptr;
    QFrame* m_panelFrame = nullptr;
    QStatusBar* m_statusBar = nullptr;
    std::vector<TBoutonAppareil*> m_boutons;   // index 0 is button 1

    QTimer m_timerBandeau;
    QTimer m_timerMonitoringData;
    QTimer m_timerDemo;
    QTimer m_timerBeep;
    // Retries a demonstration tick that had to wait for a reader.
    QTimer m_relanceDemo;
};
