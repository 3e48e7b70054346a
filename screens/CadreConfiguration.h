#pragma once
// Configuration screen: the privileges of the session modes (one of them
// configurable), the names of the 31 sources and the serial port of the device
// network, chosen among the ports found present by a scan made at each
// opening. "Enregistrer configuration" copies the values into the record it
// was handed and saves that record to "Config.set".
#include "data/Tableau1.h"
#include "screens/CadreEnhanced.h"
#include "sessions/Droits.h"

#include <QString>
#include <cstdint>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTableWidget;
class TCaseACocherGlyphe;
class TSondePort;
struct TConfigSet;

class TFrameConfiguration : public TFrameEnhanced {
    Q_OBJECT
public:
    static constexpr int NbMaxPorts = 50;

    explicit TFrameConfiguration(QWidget* parent = nullptr);
    ~TFrameConfiguration() override;

    void ChangerLangue(TLangue langue) override;
    // The main window's handle.
    void Initialiser(const TInfosConfiguration& infos);
    // The configuration record itself, kept and edited in place: shows it,
    // then lists the serial ports present. The scan processes pending events
    // after each progress caption, with the screen marked busy.
    void Actualiser(TConfigSet& config);

    // Replaces the serial-port probe (tests, benchmarks); the screen owns it.
    void DefinirSonde(std::unique_ptr<TSondePort> sonde);

    // False from Initialiser until the port scan has ended.
    bool Charge() const { return m_charge; }
    bool ScanEnCours() const { return m_scanEnCours; }
    // Number of the port shown by the k-th button of the port group (k from 1).
    int NumPortListe(int k) const;
    int NbPortsListes() const { return m_nbPorts; }

    // Stores the screen's values into the record and saves it; a failed save
    // goes to the general error report, the record keeps the new values.
    void ButtonValiderClick();
    // Asks the main window for the session screen, once the screen is loaded.
    void LabelMsgAdminClick();

    // Whether the session may change the configuration: otherwise every field
    // is read-only, the save button disabled, and each says why. Editable
    // until told otherwise.
    void DefinirDroitModification(const TDroit& droit);
    bool Modifiable() const { return m_droit.Accorde; }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    class TMarqueScan;

    void ConstruireTableauPrivileges(QWidget* groupe);
    void RemplirNoms();
    void ScannerPorts();
    void ViderPorts();
    void AjouterPort(int numero);
    void AfficherLegendePorts();
    void TerminerSaisieNoms();
    void AppliquerDroit();

    QLabel* LabelTitre;
    QLabel* LabelMsgAdmin;
    QGroupBox* GroupBoxConfig;
    QFrame* Bevel1;
    QLabel* LabelTableau;
    QFrame* Panel1;
    QLabel* LabelPrivileges1;
    QLabel* LabelPrivileges2;
    QLabel* LabelModeFonctionnement;
    QLabel* LabelConsultation;
    QLabel* LabelExploitation;
    QLabel* LabelAdministration;
    QLabel* LabelLectureMesures;
    QLabel* LabelAcqDesAlarmes;
    QLabel* LabelReglageSeuils;
    QLabel* LabelGestionListeUtilisateurs;
    TCaseACocherGlyphe* CheckBoxAcqAlarmes;
    QLabel* LabelSources;
    QTableWidget* ValueListEditorNomSources;
    QLabel* LabelPortsDeCommunication;
    QGroupBox* RadioGroupPortsComDispos;
    QScrollArea* ZonePorts;
    QWidget* ConteneurPorts;
    QButtonGroup* BoutonsPorts;
    QPushButton* ButtonValider;

    QObject* m_handle = nullptr;
    TConfigSet* m_config = nullptr;
    std::unique_ptr<TSondePort> m_sonde;
    Tableau1<std::int32_t, NbMaxPorts> NumPortsListe{};
    int m_nbPorts = 0;
    bool m_charge = false;
    bool m_scanEnCours = false;
    int m_portSonde = 0;          // port whose probe is under way, 0 outside the scan
    QString m_legendePorts;       // caption of the port group in the current language
    TDroit m_droit{true, EMessageSession::Aucun};
    TLangue m_langue = LangueFrancais;
};
