#pragma once
// Event log screen: the entries of the loaded journal tail, newest first, in a
// read-only four-column list that a click on a column header re-sorts.
#include "screens/CadreEnhanced.h"

#include <QChar>
#include <QString>
#include <cstdint>

class QTreeWidget;
class QTreeWidgetItem;
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

    std::int32_t ColonneTri = -1;
    bool TriCroissant = true;
    TTriEnCours m_triEnCours;

    QTreeWidget* ListViewJournal;
};
