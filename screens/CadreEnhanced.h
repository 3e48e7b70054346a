#pragma once
// Base of every screen shown in the main window's screen host: a fixed
// 752 x 634 panel on the button face. Each screen declares what it takes:
// Initialiser with its parameter block, Actualiser with its data block (only
// the screens that show data), both typed, so that the shell can only hand a
// screen the blocks it was made for.
#include "data/TypesVeilleur.h"

#include <QFrame>

class TFrameEnhanced : public QFrame {
    Q_OBJECT
public:
    static constexpr int Largeur = 752;
    static constexpr int Hauteur = 634;

    explicit TFrameEnhanced(QWidget* parent = nullptr);

    // Sets every text of the screen from the catalogue in that language.
    virtual void ChangerLangue(TLangue langue);

    // True while one of the screen's handlers is running and processing pending
    // events (a port scan, a scroll refresh): the shell must not destroy or
    // relabel the screen then, and defers such requests until Libere() is emitted.
    bool Occupe() const { return m_occupe > 0; }

signals:
    void Libere();

protected:
    friend class TOccupationEcran;

private:
    int m_occupe = 0;
};

// Marks a screen busy for one scope (nestable); emits Libere() at the end of
// the outermost one.
class TOccupationEcran {
public:
    explicit TOccupationEcran(TFrameEnhanced& ecran) : m_ecran(ecran) { ++m_ecran.m_occupe; }
    ~TOccupationEcran();
    TOccupationEcran(const TOccupationEcran&) = delete;
    TOccupationEcran& operator=(const TOccupationEcran&) = delete;

private:
    TFrameEnhanced& m_ecran;
};
