#pragma once
// Home screen: the session mode and the logged user as they were when the
// screen opened, and the five other general screens as links.
#include "screens/CadreEnhanced.h"

class QLabel;
class QLineEdit;

class TFrameAccueil : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameAccueil(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // The main window's handle, the mode and the user.
    void Initialiser(const TInfosAccueil& accueil);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // Asks the main window for the screen whose number is the link's tag.
    void LabelClick(QLabel* lien);
    void AjusterLibelles();

    QObject* HandlePrincipal = nullptr;

    QLabel* LabelTitre;
    QLabel* LabelModeEnCours;
    QLineEdit* EditModeAdministration;
    QLineEdit* EditModeExploitation;
    QLineEdit* EditModeConsultation;
    QLabel* LabelUtilisateurEnCours;
    QLineEdit* EditUtilisateurEnCours;
    QLineEdit* EditAucunUtilisateurEnCours;
    QFrame* Bevel1;
    QLabel* LabelDescMenuGauche;
    QLabel* LabelDebutFinSession;
    QLabel* LabelDescDebutFinSession1;
    QLabel* LabelDescDebutFinSession2;
    QLabel* LabelDescDebutFinSession3;
    QLabel* LabelVueDEnsemble;
    QLabel* LabelDescVueDEnsemble;
    QLabel* LabelJournal;
    QLabel* LabelDescJournal;
    QLabel* LabelNotices;
    QLabel* LabelDescNotices;
    QLabel* LabelConfiguration;
    QLabel* LabelDescConfiguration;
};
