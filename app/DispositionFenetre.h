#pragma once
// The main window's fixed 1024 x 768 layout: the client area centred in the
// window, the logo, the banner with the minimise and quit buttons, the
// monitoring strip of 62 device buttons, the menu and language buttons, the
// panel that hosts the screens and the status bar. It builds and places the
// controls and sets their texts; what they do is the window's business.
#include "app/CouleursBoutons.h"
#include "data/TypesVeilleur.h"

#include <QString>
#include <vector>

class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QSize;
class QStatusBar;
class QWidget;
class TBoutonAppareil;
class TBoutonMenu;

class TDispositionFenetre {
public:
    static constexpr int LargeurClient = 1024;
    static constexpr int HauteurClient = 768;

    // Builds every control as a child of the window (which owns them).
    explicit TDispositionFenetre(QWidget& fenetre);
    TDispositionFenetre(const TDispositionFenetre&) = delete;
    TDispositionFenetre& operator=(const TDispositionFenetre&) = delete;

    // The window's title, the menu captions and the pressed language button.
    void Reetiqueter(TLangue langue);
    void DefinirBandeau(const QString& texte);
    // Keeps the client area in the middle of a window of that size; a smaller
    // window shows its top left.
    void Centrer(const QSize& taille);

    QWidget* ZoneClient() const { return m_client; }
    // Parent of the screens.
    QFrame& Cadre() const { return *m_panelFrame; }
    // Menu buttons by general screen number, language buttons by tag (1 French,
    // 2 English, 3 Spanish).
    QButtonGroup& Menu() const { return *m_groupeMenu; }
    QButtonGroup& Langues() const { return *m_groupeLangues; }
    QPushButton& BoutonMinimiser() const { return *m_bitBtnMin; }
    QPushButton& BoutonQuitter() const { return *m_bitBtnQuit; }
    QStatusBar& BarreEtat() const { return *m_statusBar; }

    // Buttons of the strip, 1..62 (null outside, and once destroyed).
    TBoutonAppareil* BoutonMonitoring(int index) const;
    int NbBoutons() const { return static_cast<int>(m_boutons.size()); }
    const std::vector<TBoutonAppareil*>& BoutonsMonitoring() const { return m_boutons; }
    void DetruireBoutonsMonitoring();
    // The strip's colours (nothing once its buttons are gone).
    void Colorer(const TEtatBandeau& etat);

private:
    void ConstruireBandeau();
    void ConstruireMonitoring();
    void ConstruireMenu();
    void ConstruireCadre();
    void ConstruireBarreEtat();

    QWidget& m_fenetre;
    QWidget* m_client = nullptr;
    QLabel* m_labelBandeau = nullptr;
    QPushButton* m_bitBtnMin = nullptr;
    QPushButton* m_bitBtnQuit = nullptr;
    QWidget* m_panelMonitoring = nullptr;
    QWidget* m_panelBoutons = nullptr;
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
    QFrame* m_panelFrame = nullptr;
    QStatusBar* m_statusBar = nullptr;
    std::vector<TBoutonAppareil*> m_boutons;   // index 0 is button 1
};
