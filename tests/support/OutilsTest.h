#pragma once
// Helpers shared by the tests.
#include "data/JournalLog.h"

#include <QByteArray>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <utility>
#include <vector>

// Runs the test in a fresh empty folder, made the current one for its
// lifetime (the station keeps its files in the current folder).
class TDossierTemporaire {
public:
    TDossierTemporaire();
    ~TDossierTemporaire();
    TDossierTemporaire(const TDossierTemporaire&) = delete;
    TDossierTemporaire& operator=(const TDossierTemporaire&) = delete;

    QString Chemin(const QString& nom) const;
    const QString& Dossier() const { return m_dossier; }

private:
    QTemporaryDir m_temp;
    QString m_dossier;
    QString m_precedent;
};

QByteArray LireFichier(const QString& chemin);

// A zeroed journal entry with the given fields and attribute 2 set, as the
// station writes its pre-alarms.
TEntreeLog EntreeDeTest(std::uint8_t code, double date, std::uint8_t origine, double valeur1, double valeur2);
void EcrireFichier(const QString& chemin, const QByteArray& octets);
// The message box an error report shows, if one is up.
QMessageBox* BoiteMessageOuverte();
// A journal file of these entries, then the bytes of queue (a partial record...).
void EcrireEntrees(const QString& chemin, const std::vector<TEntreeLog>& entrees, const QByteArray& queue = {});

// Runs travail in a forked child and returns its result (its exit status),
// or -1 when the child did not exit normally. The child leaves without
// running destructors.
int DansUnProcessusFils(const std::function<int()>& travail);

// Ignores SIGXFSZ and limits the size of the files this process writes, as a
// full disk would.
void LimiterTailleFichiers(long octets);

// A name for a named system object unique to this test run.
QString NomUnique(const QString& base);

// Runs a program to its end (at most 60 s) in the current folder.
struct TResultatProgramme {
    int Code = -1;  // exit status, -1 when it crashed or did not end
    QByteArray Sortie;
    QByteArray Erreurs;
};
TResultatProgramme LancerProgramme(const QString& programme, const QStringList& arguments);

// Stands for the main window as the Handle of a parameter block: records every
// WM_ECRAN (screen, device) it receives, and may run a hook on each.
class QTabWidget;
class QWidget;

// Checks, in each of the three languages, that no tab, label, check box or
// button caption of a shown screen is cut off at its fixed size (a label in the
// font it is drawn in), and that no text of a grid cell, headings included,
// reaches past its cell once drawn; relabels with changerLangue. Saves an image
// of the screen (of each tab, when onglets is not null) as
// <prefixe>-<langue>-<tab>.png when VEILLEUR_CAPTURES names a folder.
void VerifierLibellesEntiers(QWidget& ecran, QTabWidget* onglets, const std::function<void(int)>& changerLangue,
                             const QString& prefixe);

// Cells of a drawn grid whose text reaches the first or last pixel column of
// the cell (cut off, or touching the grid lines), as "(column, row)".
class TGrilleDessinee;
QStringList CellulesDebordantes(TGrilleDessinee& grille);

class TFenetreTemoin : public QObject {
public:
    std::vector<std::pair<int, int>> Recus;
    std::function<void()> SurEcran;

protected:
    bool event(QEvent* e) override;
};

// What the screen shows of a widget: the pixels its window last painted, read
// back without asking for a repaint (a grab() repaints every cell and would
// hide one left stale).
class QImage;
QImage ImageAffichee(QWidget& widget);

// Polls a condition every 50 ms for at most ms, without running the event
// loop: for what another process does. False when it never held.
bool AttendreSansBoucle(const std::function<bool()>& condition, int ms);
