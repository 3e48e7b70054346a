#pragma once
// The station's session as the window lives it: the users file loaded at
// start, mouse and keyboard input anywhere in the application counted as
// activity, and a periodic check that ends a forgotten session.
#include "sessions/Session.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

class TSessionStation : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalleVerificationMs = 1000;

    // fin: called with the result of a session ended by inactivity.
    TSessionStation(const QString& cheminFichier, std::function<void(const TResultatSession&)> fin,
                    QObject* parent = nullptr);
    ~TSessionStation() override;

    // Reads the users file and starts watching input and time. The result
    // says FichierEndommage when the file cannot be used.
    TResultatSession Demarrer();
    void Arreter();

    TSession& Session() { return m_session; }
    const TSession& Session() const { return m_session; }

    // Replaces the monotonic clock in milliseconds (tests); empty: the steady clock.
    void DefinirHorloge(std::function<std::int64_t()> horloge) { m_horloge = std::move(horloge); }
    // One check now, as the timer makes it.
    void Verifier();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    std::int64_t Maintenant() const;

    std::function<std::int64_t()> m_horloge;
    TSession m_session;
    std::function<void(const TResultatSession&)> m_fin;
    QTimer m_timer;
    bool m_filtreInstalle = false;
};
