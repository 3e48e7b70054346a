#pragma once
// How the QFL and search screens write a fault locator's values.
#include "data/TypesVeilleur.h"
#include "devices/CommandesQFL.h"

#include <QColor>
#include <QString>

class QWidget;
enum class EDroit;

namespace AffichageQFL {

// The colour of an alarm, for the fault a search found.
inline const QColor CouleurDefaut(255, 0, 0);
// A connected QFL16 unit's cell.
inline const QColor CouleurRaccorde(0, 160, 0);
// A state of unknown age (the device lost), the strip's grey.
inline const QColor CouleurInconnu(128, 128, 128);

// Hundredths of a mA as mA with two decimals.
QString TexteCourant(std::uint16_t centiemes);
// kOhm; empty when not measured.
QString TexteResistance(std::uint16_t kOhm);
// A setting in its unit (mA with two decimals for the currents).
QString TexteReglage(int reglage, int valeur);
// Reads a setting typed in its unit; false when it is no number.
bool LireReglage(int reglage, const QString& texte, long long& valeur);
// The setting's unit: "mA", "kOhm" or "V".
QString Unite(int reglage);
// "Neutre" (in the language), "L1", "L2", "L3", "DC+", "DC−".
QString NomConducteur(int conducteur, TLangue langue);
// "dd/mm/yy - hh:nn:ss"; empty for 0.
QString DateCourte(double jours);
QString DateLongue(double jours);
// What the screens say about the device's communication; empty while it answers.
QString TexteCommunication(const TDonneesQFL& donnees, TLangue langue);
// How a command ended, for the operator; empty when the device took it.
QString TexteRetour(ERetourQFL retour, TLangue langue);
// Enables a control when the session mode grants the right and it is
// otherwise possible; a disabled control's tooltip says why (the right's
// refusal first, else raison).
void Autoriser(QWidget* controle, EDroit droit, std::uint8_t mode, TLangue langue, bool possible,
               const QString& raison);

} // namespace AffichageQFL
