#include "simulateur/Simulateur.h"

#include "simulateur/AppareilKMT.h"
#include "simulateur/AppareilQFL.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <modbus/modbus.h>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

const char* const Programme = "veilleur-simulateur";
constexpr TInstant PasMs = 100;  // the devices' own life moves on at least this often

int TubeSignal[2] = {-1, -1};

void SurSignal(int)
{
    const int e = errno;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = write(TubeSignal[1], &c, 1);
    errno = e;
}

bool Erreur(const std::string& phrase)
{
    std::fprintf(stderr, "%s: %s\n", Programme, phrase.c_str());
    return false;
}

std::string Systeme()
{
    return std::strerror(errno);
}

void Afficher(const std::string& texte)
{
    std::fputs(texte.c_str(), stdout);
    std::fflush(stdout);
}

} // namespace

TSimulateur::TSimulateur(const TOptionsSimulateur& options)
    : m_options(options), m_depart(std::chrono::steady_clock::now()), m_console(m_reseau, m_perturbations),
      // A frame ends with 3.5 characters of silence; a pseudo-terminal passes a
      // request in one piece, so a few ms are enough there.
      m_decoupeur(std::max<TInstant>(5, options.Vitesse > 0 ? (35 * 11 * 1000 / 10 + options.Vitesse - 1) / options.Vitesse : 0))
{
    const std::uint32_t graine = options.GraineDonnee ? options.Graine : std::random_device{}();
    for (int n : options.Kmt) {
        auto kmt = std::make_unique<TAppareilKMT>(n, options.DemarrageMs, graine);
        kmt->RegleDerive(options.DerivePourcent / 100);
        m_reseau.Ajouter(std::move(kmt));
    }
    for (int n : options.Qfl)
        m_reseau.Ajouter(std::make_unique<TAppareilQFL>(n, options.DureeRechercheMs));
}

TSimulateur::~TSimulateur()
{
    for (auto& [id, client] : m_clients)
        close(client.Fd);
    if (m_ecoute >= 0)
        close(m_ecoute);
    if (m_lienFait)
        unlink(m_options.LienPty.c_str());
    if (m_esclave >= 0)
        close(m_esclave);
    if (m_maitre >= 0)
        close(m_maitre);
}

TInstant TSimulateur::Maintenant() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_depart).count();
}

bool TSimulateur::Ouvrir()
{
    if (!m_options.Scenario.empty()) {
        std::string erreur;
        if (!ChargerScenario(m_options.Scenario, m_scenario, erreur))
            return Erreur(erreur);
    }
    if (pipe2(TubeSignal, O_CLOEXEC | O_NONBLOCK) != 0)
        return Erreur("cannot make a pipe: " + Systeme() + ".");
    struct sigaction action {};
    action.sa_handler = SurSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::string annonce;
    if (m_options.Pty) {
        m_maitre = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_maitre < 0 || grantpt(m_maitre) != 0 || unlockpt(m_maitre) != 0 || !ptsname(m_maitre))
            return Erreur("cannot make a pseudo-terminal: " + Systeme() + ".");
        m_cheminEsclave = ptsname(m_maitre);
        m_esclave = open(m_cheminEsclave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t {};
        if (m_esclave < 0 || tcgetattr(m_esclave, &t) != 0)
            return Erreur("cannot open " + m_cheminEsclave + ": " + Systeme() + ".");
        cfmakeraw(&t);
        tcsetattr(m_esclave, TCSANOW, &t);
        fcntl(m_maitre, F_SETFL, fcntl(m_maitre, F_GETFL) | O_NONBLOCK);
        if (!m_options.LienPty.empty()) {
            struct stat s {};
            // Replaces a link left by an earlier run, never anything else.
            if (lstat(m_options.LienPty.c_str(), &s) == 0 && S_ISLNK(s.st_mode))
                unlink(m_options.LienPty.c_str());
            if (symlink(m_cheminEsclave.c_str(), m_options.LienPty.c_str()) != 0)
                return Erreur("cannot make the link " + m_options.LienPty + ": " + Systeme() + ".");
            m_lienFait = true;
        }
        annonce += m_cheminEsclave + "\n";
    }
    if (m_options.PortTcp >= 0) {
        modbus_t* contexte = modbus_new_tcp("127.0.0.1", m_options.PortTcp);
        if (!contexte)
            return Erreur("cannot serve TCP: " + Systeme() + ".");
        m_ecoute = modbus_tcp_listen(contexte, 16);
        const int erreur = errno;
        modbus_free(contexte);
        errno = erreur;
        sockaddr_in adresse {};
        socklen_t taille = sizeof adresse;
        if (m_ecoute < 0 || getsockname(m_ecoute, reinterpret_cast<sockaddr*>(&adresse), &taille) != 0)
            return Erreur("cannot listen on 127.0.0.1:" + std::to_string(m_options.PortTcp) + ": " + Systeme() + ".");
        fcntl(m_ecoute, F_SETFD, FD_CLOEXEC);
        fcntl(m_ecoute, F_SETFL, fcntl(m_ecoute, F_GETFL) | O_NONBLOCK);
        annonce += std::to_string(ntohs(adresse.sin_port)) + "\n";
    }
    Afficher(annonce);
    return true;
}

void TSimulateur::Commande(const std::string& ligne)
{
    std::string sortie;
    std::string erreur;
    switch (m_console.Executer(ligne, sortie, erreur)) {
    case TConsole::TResultat::Fait:
        if (!sortie.empty())
            Afficher(sortie);
        break;
    case TConsole::TResultat::Erreur:
        std::fprintf(stderr, "%s: %s\n", Programme, erreur.c_str());
        break;
    case TConsole::TResultat::Quitter:
        m_quitter = true;
        break;
    }
}

void TSimulateur::LireEntree()
{
    char tampon[4096];
    const ssize_t n = read(STDIN_FILENO, tampon, sizeof tampon);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        m_entreeOuverte = false;
        if (!m_ligneEntree.empty())
            Commande(m_ligneEntree);
        m_ligneEntree.clear();
        if (m_options.ArretFinEntree)
            m_quitter = true;
        return;
    }
    m_ligneEntree.append(tampon, std::size_t(n));
    for (std::size_t fin; (fin = m_ligneEntree.find('\n')) != std::string::npos;) {
        const std::string ligne = m_ligneEntree.substr(0, fin);
        m_ligneEntree.erase(0, fin + 1);
        Commande(ligne);
    }
}

void TSimulateur::Repondre(int destination, int unite, const TOctets& pdu, std::size_t longueurRtu, const TOctets& enteteTcp)
{
    // The device answers from its state of this moment, not of the last loop turn.
    const TInstant maintenant = Maintenant();
    m_reseau.Avancer(maintenant);
    std::optional<TOctets> reponse = m_reseau.Traiter(unite, pdu);
    if (!reponse)
        return;
    TPerturbations& p = m_perturbations;
    if (p.UniteFausse > 0) {
        --p.UniteFausse;
        unite = unite % 247 + 1;
    }
    TOctets octets;
    if (destination < 0) {
        octets = TrameRtu(unite, *reponse);
    } else {
        octets = enteteTcp;
        const std::size_t longueur = reponse->size() + 1;
        octets[4] = std::uint8_t(longueur >> 8);
        octets[5] = std::uint8_t(longueur);
        octets[6] = std::uint8_t(unite);
        octets.insert(octets.end(), reponse->begin(), reponse->end());
    }
    if (p.CrcFaux > 0) {
        --p.CrcFaux;
        octets.back() ^= 0x5A;
    }
    TInstant delai = 0;
    if (m_options.Vitesse > 0) {
        // What the request and the reply take on a real line: the request, the
        // 3.5 characters of silence that end it, the reply. The silence after
        // the reply is the master's to keep before its next request.
        const double caracteres = double(longueurRtu) + double(reponse->size() + 3) + 3.5;
        delai = TInstant(caracteres * 11.0 * 1000.0 / m_options.Vitesse + 0.999);
    }
    if (p.RetardsRestants != 0) {
        delai += p.RetardMs;
        if (p.RetardsRestants > 0)
            --p.RetardsRestants;
    }
    TInstant quand = maintenant + delai;
    if (destination < 0) {
        // One line: a reply waits for the one before it.
        quand = std::max(quand, m_finLigne);
        m_finLigne = quand;
    }
    m_envois.push_back({quand, destination, std::move(octets)});
    std::stable_sort(m_envois.begin(), m_envois.end(), [](const TEnvoi& a, const TEnvoi& b) { return a.Quand < b.Quand; });
}

void TSimulateur::LirePty()
{
    std::uint8_t tampon[512];
    for (;;) {
        const ssize_t n = read(m_maitre, tampon, sizeof tampon);
        if (n <= 0)
            return;
        for (const TRequeteRtu& r : m_decoupeur.Recevoir(tampon, std::size_t(n), Maintenant()))
            Repondre(-1, r.Unite, r.Pdu, r.Longueur, {});
    }
}

void TSimulateur::Accepter()
{
    for (;;) {
        const int fd = accept4(m_ecoute, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        m_clients[m_prochainClient++] = TClient{fd, {}};
    }
}

void TSimulateur::FermerClient(int id)
{
    const auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    close(it->second.Fd);
    m_clients.erase(it);
}

void TSimulateur::LireClient(int id)
{
    TClient& client = m_clients.at(id);
    std::uint8_t tampon[1024];
    const ssize_t n = recv(client.Fd, tampon, sizeof tampon, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        FermerClient(id);
        return;
    }
    client.Tampon.insert(client.Tampon.end(), tampon, tampon + n);
    // MBAP header: transaction, protocol 0, length (unit + PDU), unit.
    while (client.Tampon.size() >= 7) {
        const TOctets& t = client.Tampon;
        const std::size_t longueur = std::size_t(t[4] << 8 | t[5]);
        if (t[2] != 0 || t[3] != 0 || longueur < 2 || longueur > MODBUS_TCP_MAX_ADU_LENGTH - 6) {
            FermerClient(id);  // not Modbus: no way to find the next frame
            return;
        }
        if (t.size() < 6 + longueur)
            return;
        const TOctets entete(t.begin(), t.begin() + 7);
        const TOctets pdu(t.begin() + 7, t.begin() + 6 + std::ptrdiff_t(longueur));
        client.Tampon.erase(client.Tampon.begin(), client.Tampon.begin() + 6 + std::ptrdiff_t(longueur));
        Repondre(id, entete[6], pdu, pdu.size() + 3, entete);
    }
}

void TSimulateur::Envoyer(TInstant maintenant)
{
    while (!m_envois.empty() && m_envois.front().Quand <= maintenant) {
        const TEnvoi envoi = std::move(m_envois.front());
        m_envois.pop_front();
        // A reader too slow to take a reply loses it, as on a real line.
        if (envoi.Destination < 0) {
            [[maybe_unused]] const ssize_t n = write(m_maitre, envoi.Octets.data(), envoi.Octets.size());
        } else if (const auto it = m_clients.find(envoi.Destination); it != m_clients.end()) {
            [[maybe_unused]] const ssize_t n = send(it->second.Fd, envoi.Octets.data(), envoi.Octets.size(), MSG_NOSIGNAL);
        }
    }
}

int TSimulateur::Executer()
{
    fcntl(STDIN_FILENO, F_SETFL, fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    while (!m_quitter) {
        TInstant maintenant = Maintenant();
        m_reseau.Avancer(maintenant);
        while (m_prochaineEtape < m_scenario.size() && m_scenario[m_prochaineEtape].Quand <= maintenant)
            Commande(m_scenario[m_prochaineEtape++].Commande);
        for (const TRequeteRtu& r : m_decoupeur.Attendre(maintenant))
            Repondre(-1, r.Unite, r.Pdu, r.Longueur, {});
        Envoyer(maintenant);
        if (m_quitter)
            break;

        TInstant echeance = maintenant + PasMs;
        if (!m_envois.empty())
            echeance = std::min(echeance, m_envois.front().Quand);
        if (m_decoupeur.Echeance() >= 0)
            echeance = std::min(echeance, m_decoupeur.Echeance());
        if (m_prochaineEtape < m_scenario.size())
            echeance = std::min(echeance, m_scenario[m_prochaineEtape].Quand);

        std::vector<pollfd> fds;
        fds.push_back({TubeSignal[0], POLLIN, 0});
        const int indiceEntree = m_entreeOuverte ? int(fds.size()) : -1;
        if (m_entreeOuverte)
            fds.push_back({STDIN_FILENO, POLLIN, 0});
        const int indicePty = m_maitre >= 0 ? int(fds.size()) : -1;
        if (m_maitre >= 0)
            fds.push_back({m_maitre, POLLIN, 0});
        const int indiceEcoute = m_ecoute >= 0 ? int(fds.size()) : -1;
        if (m_ecoute >= 0)
            fds.push_back({m_ecoute, POLLIN, 0});
        const std::size_t premierClient = fds.size();
        std::vector<int> ids;
        for (const auto& [id, client] : m_clients) {
            fds.push_back({client.Fd, POLLIN, 0});
            ids.push_back(id);
        }
        const int attente = int(std::clamp<TInstant>(echeance - maintenant, 0, PasMs));
        if (poll(fds.data(), fds.size(), attente) < 0) {
            if (errno == EINTR)
                continue;
            return Erreur("poll failed: " + Systeme() + "."), 1;
        }
        if (fds[0].revents)
            break;  // SIGTERM or SIGINT
        if (indiceEntree >= 0 && fds[std::size_t(indiceEntree)].revents)
            LireEntree();
        if (indicePty >= 0 && (fds[std::size_t(indicePty)].revents & POLLIN))
            LirePty();
        if (indiceEcoute >= 0 && fds[std::size_t(indiceEcoute)].revents)
            Accepter();
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (fds[premierClient + i].revents)
                LireClient(ids[i]);
    }
    return 0;
}
