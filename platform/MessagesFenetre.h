#pragma once
// The main window's two private messages, as Qt events of the same numbers:
// WM_ECRAN asks for a screen, WM_LOG hands over one journal entry.
// "Send" is QCoreApplication::sendEvent (handled before it returns), "post" is
// QCoreApplication::postEvent (handled once the sender's handler has returned).
#include <QEvent>
#include <cstdint>

struct TEntreeLog;
class QObject;

constexpr QEvent::Type WM_ECRAN = static_cast<QEvent::Type>(1025);
constexpr QEvent::Type WM_LOG = static_cast<QEvent::Type>(1026);

class TMessageEcran : public QEvent {
public:
    TMessageEcran(std::int32_t ecran, std::int32_t appareil)
        : QEvent(WM_ECRAN), WParam(ecran), LParam(appareil) {}
    std::int32_t WParam;   // screen number
    std::int32_t LParam;   // device number for screens 10, 11 and 12
};

class TMessageLog : public QEvent {
public:
    explicit TMessageLog(const TEntreeLog* entree) : QEvent(WM_LOG), WParam(entree) {}
    const TEntreeLog* WParam;  // lives only for the duration of the send
};

// Posts WM_ECRAN to the main window: used by screens, whose request destroys them.
void PosterEcran(QObject* fenetre, std::int32_t ecran, std::int32_t appareil = 0);
// Sends WM_ECRAN synchronously: used by the main window's own buttons.
void EnvoyerEcran(QObject* fenetre, std::int32_t ecran, std::int32_t appareil = 0);
// Sends WM_LOG synchronously: the entry is appended before this returns.
void EnvoyerLog(QObject* fenetre, const TEntreeLog& entree);
