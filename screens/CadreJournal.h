#pragma once
// Event log screen: the entries of the loaded journal tail, newest first, in a
// read-only four-column list that a click on a column header re-sorts.
#include "screens/CadreEnhanced.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
struct TEntreeLog;
struct TTamponJournal;

class TFrameJournal : public TFrameEnhanced {
    Q_OBJECT
public:
    explicit TFrameJournal(QWidget* parent = nullptr);

    void ChangerLangue(TLangue langue) override;
    // Resets the sort state.
    void Initialiser();
    // Lists the loaded entries, newest first.
    void Actualiser(const TTamponJournal& tampon);
    // Entries journalled since the list was filled, oldest first, named in
    // 'langue': each takes its place in the current sort (on top while the
    // list is in its first, newest-first order). The selection stays, and so
    // do the rows in view unless the view was at the top, where it stays.
    // The oldest entries go once the list holds more than CapaciteTampon.
    void AjouterEntrees(const std::vector<TEntreeLog>& entrees, TLangue langue);
    int NbLignes() const;

    // The column the list counts as sorted by (-1: none) and its direction.
    std::int32_t ColonneDeTri() const { return ColonneTri; }
    bool TriEstCroissant() const { return TriCroissant; }

    // Header click: the same column again reverses, another column sorts ascending.
    void ListViewJournalColumnClick(int colonne);

    // Compare the displayed texts of a column (0: the event name) ignoring the
    // case of a..z, other characters by their Windows-1252 code, a prefix
    // first. Negative: a before b.
    static int ComparerCroissant(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int colonne);
    static int ComparerDecroissant(const QTreeWidgetItem* a, const QTreeWidgetItem* b, int colonne);
    static int ComparerTextes(const QString& a, const QString& b);

    // dd/mm/yy - hh:nn'ss''zzzms with the given separators, the wall-clock date
    // and time the count holds; a day count that is no date (NaN, infinite,
    // out of range) gives --/--/-- - --:--'--''---ms.
    static QString FormaterDateHeure(double jours, QChar separateurDate, QChar separateurHeure);

    using TComparaison = int (*)(const QTreeWidgetItem*, const QTreeWidgetItem*, int);
    // The comparison the list's sort is running with (read by the items).
    struct TTriEnCours {
        TComparaison Fonction = &TFrameJournal::ComparerCroissant;
        int Colonne = 0;
    };

private:
    void Trier(TComparaison comparaison, int colonne);
    QTreeWidgetItem* NouvelElement(const TEntreeLog& e, TLangue langue, QChar separateurDate, QChar separateurHeure);

    // The list is still in the order of its filling (newest first), which
    // the date's text does not give: new entries go on top.
    bool m_ordreDeRemplissage = false;
    qint64 m_sequence = 0;   // order of arrival, to drop the oldest rows

    std::int32_t ColonneTri = -1;
    bool TriCroissant = true;
    TTriEnCours m_triEnCours;

    QTreeWidget* ListViewJournal;
};
