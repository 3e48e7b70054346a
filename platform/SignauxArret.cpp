#include "platform/SignauxArret.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int Signaux[] = {SIGTERM, SIGINT, SIGHUP};
volatile std::sig_atomic_t g_ecriture = -1;
struct sigaction g_anciennes[3];

extern "C" void GestionnaireArret(int signal)
{
    const int sauve = errno;
    const unsigned char octet = static_cast<unsigned char>(signal);
    if (g_ecriture >= 0)
        [[maybe_unused]] const ssize_t n = ::write(g_ecriture, &octet, 1);
    errno = sauve;
}

} // namespace

TSignauxArret::TSignauxArret(std::function<void(int)> arret)
    : m_arret(std::move(arret))
{
    if (::pipe2(m_tube, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notificateur = std::make_unique<QSocketNotifier>(m_tube[0], QSocketNotifier::Read);
    QObject::connect(m_notificateur.get(), &QSocketNotifier::activated, m_notificateur.get(), [this] {
        unsigned char octets[16];
        const ssize_t n = ::read(m_tube[0], octets, sizeof octets);
        // Once is enough: a second signal while the station ends changes nothing.
        if (n > 0 && m_arret)
            m_arret(octets[0]);
    });
    g_ecriture = m_tube[1];
    struct sigaction action = {};
    action.sa_handler = GestionnaireArret;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        ::sigaction(Signaux[i], &action, &g_anciennes[i]);
    m_installe = true;
}

TSignauxArret::~TSignauxArret()
{
    if (m_installe)
        for (int i = 0; i < 3; ++i)
            ::sigaction(Signaux[i], &g_anciennes[i], nullptr);
    g_ecriture = -1;
    m_notificateur.reset();
    for (int fd : m_tube)
        if (fd >= 0)
            ::close(fd);
}
