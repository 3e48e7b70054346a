#pragma once
// SIGTERM, SIGINT and SIGHUP (a log-out, "systemctl stop", Ctrl+C) turned into
// a call on the thread of the event loop, so that the station can end as the
// close button ends it: its entries written, its stop journalled. The handler
// itself only writes the signal's number into a pipe (the only safe thing it
// may do); a socket notifier reads it back in the event loop.
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

class TSignauxArret {
public:
    // Installs the handlers; 'arret' receives the signal's number. One
    // instance at a time. The previous handlers come back with the destructor.
    explicit TSignauxArret(std::function<void(int)> arret);
    ~TSignauxArret();
    TSignauxArret(const TSignauxArret&) = delete;
    TSignauxArret& operator=(const TSignauxArret&) = delete;

    bool Installe() const { return m_installe; }

private:
    std::function<void(int)> m_arret;
    std::unique_ptr<QSocketNotifier> m_notificateur;
    int m_tube[2] = {-1, -1};
    bool m_installe = false;
};
