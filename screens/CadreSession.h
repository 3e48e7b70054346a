#pragma once
// Session screen: log in and out, password change, user list. The screen maps
// its fields onto the station's TSession and shows what each operation says;
// the window applies the result (journal, mode, user) through Appliquer.
#include "screens/CadreEnhanced.h"
#include "sessions/MotDePasse.h"
#include "sessions/Session.h"

#include <QMessageBox>
#include <QPointer>
#include <functional>
#include <utility>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;



// True when the two new passwords may be accepted: the first is not empty and
// both are equal exactly, letter case included (a mistyped capital must never
// become the password).
bool NouveauxMotsDePasseConcordants(const QString& motDePasse, const QString& confirmation);

// What the window hands to the session screen.
struct TInfosSession {
    QObject* Handle = nullptr;
    TSession* Session = nullptr;
    // Called after every operation that did something: appends its journal
    // entries and spreads the new mode and user. May refresh this screen.
    std::function<void(const TResultatSession&)> Appliquer;
};

class TFrameSession : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameSession(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // Empties the entry fields and proposes CONSULTATION; without a session
    // the list stays empty and no button acts.
    void Initialiser();
    void Initialiser(const TInfosSession& infos);
    // The list, the user in session and which tools the mode allows, from the
    // session; the selection stays on the same person.
    void Actualiser();

    // Button handlers.
    void ButtonDebutSessionClick();
    void ButtonFinSessionClick();
    void ButtonChangerMotDePasseClick();
    void ButtonAjouterClick();
    void ButtonModifierClick();
    // Asks for confirmation (a message box opened without waiting); the user
    // is deleted when the answer is yes and that user is still in the list.
    void ButtonSupprimerClick();

    // The confirmation box while it is open.
    QMessageBox* Confirmation() const { return m_confirmation; }

private:
    // The new password and its confirmation, taken out of their fields.
    std::pair<TMotDePasse, TMotDePasse> PrendreMotsDePasse();
    void EditNvMotDePasseChange();
    void AjusterLibelles();
    void ListeSelectionChange();
    int IndexSelectionne() const;
    void Selectionner(const QString& nom, const QString& prenom);
    void RemplirListe();
    void AppliquerDroits();
    void Terminer(const TResultatSession& resultat);
    void AfficherMessage();
    void SupprimerConfirme(const QString& nom, const QString& prenom);

    TInfosSession m_infos;
    TLangue m_langue = LangueFrancais;
    // The last message, kept to follow the language.
    EMessageSession m_message = EMessageSession::Aucun;
    QString m_argument;
    bool m_messageErreur = false;
    QString m_nomAffiche;   // the user in session at the last refresh
    QPointer<QMessageBox> m_confirmation;

    QLabel* LabelMessage;

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
