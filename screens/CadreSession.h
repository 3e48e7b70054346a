#pragma once
// Session screen: log in and out, password change, user list. Only its layout,
// its texts and the password-change rule live here: no button acts yet and no
// user store exists.
#include "screens/CadreEnhanced.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// True when the two new passwords may be accepted: the first is not empty and
// both are equal regardless of letter case, by the rules of the user's locale.
bool NouveauxMotsDePasseConcordants(const QString& motDePasse, const QString& confirmation);

class TFrameSession : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameSession(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // Empties the entry fields and proposes CONSULTATION.
    void Initialiser();

private:
    void EditNvMotDePasseChange();
    void AjusterLibelles();

    QLabel* LabelTitre;
    QFrame* Panel1;
    QLabel* LabelUtilisateurEnCours;
    QLineEdit* EditUtilisateurEnCours;
    QPushButton* ButtonFinSession;
    QLabel* LabelNvMotDePasse;
    QLineEdit* EditNvMotDePasse;
    QLabel* LabelNvMotDePasseBis;
    QLineEdit* EditNvMotDePasseBis;
    QPushButton* ButtonChangerMotDePasse;
    QTreeWidget* ListViewUtilisateurs;
    QLabel* LabelMotDePasse;
    QLineEdit* EditMotDePasse;
    QPushButton* ButtonDebutSession;
    QGroupBox* GroupBoxOutilsAdmin;
    QLabel* LabelNom;
    QLabel* LabelPrenom;
    QLabel* LabelMode;
    QLineEdit* EditNom;
    QLineEdit* EditPrenom;
    QComboBox* ComboBoxMode;
    QGroupBox* GroupBoxUtilisateurSelection;
    QPushButton* ButtonModifier;
    QPushButton* ButtonSupprimer;
    QPushButton* ButtonAjouter;
};
