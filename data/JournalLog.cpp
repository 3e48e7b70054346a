#include "data/JournalLog.h"

#include "data/DateVeilleur.h"
#include "data/ErreurVeilleur.h"
#include "platform/FichierOrdinaire.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// How long an append or a load waits for another process's access to end.
constexpr int DelaiVerrouMs = 2000;

QString TexteES(const QString& chemin, const QString& raison)
{
    return QStringLiteral("Erreur d'accès au fichier \"%1\" : %2").arg(QFileInfo(chemin).absoluteFilePath(), raison);
}

EErreurVeilleur ErreurES(const QString& chemin, const QString& raison)
{
    return EErreurVeilleur(TexteES(chemin, raison));
}

// A new name or a removed one survives a power cut only once its folder is synced.
void SynchroniserDossier(const QString& chemin)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(chemin).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the entries one by one from the position, then syncs: returns how
// many are on disk (all of them when erreur stays empty). With liberer the
// lock is released before the sync: the place is taken once the records are
// written, and other writers need not wait for our disk as well.
int EcrireSynchronise(TFichierOrdinaire& fichier, qint64 position, const TEntreeLog* entrees, int n, QString& erreur,
                      bool liberer = false)
{
    int ecrites = 0;
    while (ecrites < n && fichier.Ecrire(position + qint64(ecrites) * TailleEntreeLog, entrees + ecrites, TailleEntreeLog))
        ++ecrites;
    if (ecrites < n)
        erreur = fichier.TexteErreur();
    if (liberer)
        fichier.Deverrouiller();
    // After a failed sync the kernel may already have dropped the pages it
    // could not write; writing them again elsewhere could duplicate entries
    // that did reach the disk, so they count as written and the failure is told.
    if (ecrites > 0 && !fichier.Synchroniser() && erreur.isEmpty())
        erreur = fichier.TexteErreur();
    return ecrites;
}

} // namespace

QString TBilanFinJournal::Texte() const
{
    QString texte;
    if (Sauvees > 0)
        texte += QStringLiteral("Journal : %1 entrées gardées dans \"Log.dat.attente\", ajoutées au journal au prochain lancement.")
                     .arg(Sauvees);
    if (Perdues > 0) {
        if (!texte.isEmpty())
            texte += u'\n';
        texte += QStringLiteral("Journal : %1 entrées perdues, ni \"Log.dat\" ni \"Log.dat.attente\" n'ont pu les recevoir.")
                     .arg(Perdues);
    }
    if (!texte.isEmpty() && !Erreur.isEmpty())
        texte += QStringLiteral("\n") + Erreur;
    return texte;
}

TJournalLog::TJournalLog(const QString& cheminFichier, const QString& nomEvenement)
    : m_chemin(cheminFichier), m_evenement(nomEvenement)
{
    m_horloge = [] { return DateVeilleur::Maintenant(); };
    // No access of ours is in progress yet: the event is free, even when a
    // station that died during an access left it non-signalled.
    m_evenement.Signaler();
}

TJournalLog::~TJournalLog()
{
    {
        std::lock_guard verrou(m_mutex);
        if (m_termine)
            return;
    }
    const TBilanFinJournal bilan = Terminer();
    const QString texte = bilan.Texte();
    if (!texte.isEmpty())
        std::fprintf(stderr, "%s\n", texte.toLocal8Bit().constData());
}

void TJournalLog::PrendreAccesLog()
{
    // Only this process's own flag decides whether to wait (for the other
    // thread of the store); the event is for other processes.
    std::unique_lock verrou(m_mutex);
    m_condition.wait(verrou, [this] { return !m_accesLogEnCours; });
    m_accesLogEnCours = true;
    m_evenement.Reinitialiser();
}

void TJournalLog::RendreAccesLog()
{
    std::lock_guard verrou(m_mutex);
    m_accesLogEnCours = false;
    m_evenement.Signaler();
    m_condition.notify_all();
}

bool TJournalLog::AccesLogEnCours() const
{
    std::lock_guard verrou(m_mutex);
    return m_accesLogEnCours;
}

int TJournalLog::EntreesEnAttente() const
{
    std::lock_guard verrou(m_mutex);
    return static_cast<int>(m_attente.size());
}

long long TJournalLog::EntreesPerdues() const
{
    std::lock_guard verrou(m_mutex);
    return m_perdues;
}

void TJournalLog::DefinirSignalement(std::function<void(const QString&)> signalement)
{
    std::lock_guard verrou(m_mutex);
    m_signalement = std::move(signalement);
}

namespace {
// Keeps the newest entries when too many wait; those being written stay.
void Garder(std::deque<TEntreeLog>& attente, const TEntreeLog& entree, int enEcriture, long long& perdues)
{
    attente.push_back(entree);
    while (static_cast<int>(attente.size()) - enEcriture > CapaciteAttente) {
        attente.erase(attente.begin() + enEcriture);
        ++perdues;
    }
}
}

void TJournalLog::DeposerEntreeLog(const TEntreeLog& entree)
{
    std::lock_guard verrou(m_mutex);
    if (m_termine) {
        ++m_perdues;
        return;
    }
    Garder(m_attente, entree, m_enEcriture, m_perdues);
    if (!m_ecrivain.joinable())
        m_ecrivain = std::thread(&TJournalLog::Ecrivain, this);
    ++m_passesDemandees;
    m_condition.notify_all();
}

void TJournalLog::AjouterEntreeLog(const TEntreeLog& entree)
{
    {
        // The sender's record only lives for the call: keep our own copy first.
        std::lock_guard verrou(m_mutex);
        if (m_termine)
            throw EErreurVeilleur(TexteES(m_chemin, QStringLiteral("le journal est fermé")));
        Garder(m_attente, entree, m_enEcriture, m_perdues);
    }
    EcrireEntreesEnAttente();
}

void TJournalLog::EcrireEntreesEnAttente()
{
    std::unique_lock verrou(m_mutex);
    if (m_ecrivain.joinable()) {
        // The writer thread owns the appends while it runs: one pass of it,
        // begun after this request, writes this caller's entries too.
        const unsigned long long cible = ++m_passesDemandees;
        m_condition.notify_all();
        m_condition.wait(verrou, [&] { return m_passesFaites >= cible; });
        if (!m_erreurPasse.isEmpty())
            throw EErreurVeilleur(m_erreurPasse);
        return;
    }
    verrou.unlock();
    const QString erreur = Passe();
    if (!erreur.isEmpty())
        throw EErreurVeilleur(erreur);
}

void TJournalLog::Ecrivain()
{
    std::unique_lock verrou(m_mutex);
    for (;;) {
        m_condition.wait(verrou, [this] { return m_arret || m_passesDemandees > m_passesFaites; });
        if (m_passesDemandees == m_passesFaites)
            return;  // stopped, nothing asked any more
        const unsigned long long cible = m_passesDemandees;
        verrou.unlock();
        const QString erreur = Passe();
        verrou.lock();
        if (!erreur.isEmpty() && m_signalement) {
            const auto signalement = m_signalement;
            verrou.unlock();
            signalement(erreur);
            verrou.lock();
        }
        m_erreurPasse = erreur;
        m_passesFaites = std::max(m_passesFaites, cible);
        m_condition.notify_all();
    }
}

void TJournalLog::ArreterEcrivain()
{
    {
        std::lock_guard verrou(m_mutex);
        if (!m_ecrivain.joinable())
            return;
        m_arret = true;
        m_condition.notify_all();
    }
    m_ecrivain.join();
}

QString TJournalLog::Passe()
{
    TAccesLog acces(*this);
    std::vector<TEntreeLog> lot;
    {
        std::lock_guard verrou(m_mutex);
        if (m_attente.empty())
            return {};
        lot.assign(m_attente.begin(), m_attente.end());
        m_enEcriture = static_cast<int>(lot.size());
    }
    int ecrites = 0;
    QString erreur;
    {
        // Other stations append to the same file: "size, seek, write" is one
        // step under an exclusive lock, or two of them would write at the same place.
        TFichierOrdinaire fichier;
        if (!fichier.Ouvrir(m_chemin, O_RDWR | O_CREAT) || !fichier.Verrouiller(true, DelaiVerrouMs)) {
            erreur = fichier.TexteErreur();
        } else {
            const qint64 taille = fichier.Taille();
            if (taille < 0)
                erreur = fichier.TexteErreur();
            else  // whole records only: an incomplete trailing record is written over
                ecrites = EcrireSynchronise(fichier, (taille / TailleEntreeLog) * TailleEntreeLog, lot.data(),
                                            int(lot.size()), erreur, true);
        }
    }
    std::lock_guard verrou(m_mutex);
    m_attente.erase(m_attente.begin(), m_attente.begin() + ecrites);
    m_enEcriture = 0;
    return erreur.isEmpty() ? QString() : TexteES(m_chemin, erreur);
}

TBilanFinJournal TJournalLog::Terminer()
{
    TBilanFinJournal bilan;
    {
        std::lock_guard verrou(m_mutex);
        if (m_termine)
            return bilan;
        m_termine = true;
    }
    ArreterEcrivain();
    const int avant = EntreesEnAttente();
    bilan.Erreur = Passe();
    bilan.Ecrites = avant - EntreesEnAttente();
    if (EntreesEnAttente() > 0) {
        QString erreur;
        bilan.Sauvees = AppendreALaRecuperation(erreur);
        if (!erreur.isEmpty())
            bilan.Erreur += u'\n' + erreur;
    }
    std::lock_guard verrou(m_mutex);
    bilan.Perdues = m_perdues + static_cast<long long>(m_attente.size());
    return bilan;
}

int TJournalLog::AppendreALaRecuperation(QString& erreur)
{
    std::vector<TEntreeLog> lot;
    {
        std::lock_guard verrou(m_mutex);
        lot.assign(m_attente.begin(), m_attente.end());
    }
    const QString chemin = CheminRecuperation();
    TFichierOrdinaire fichier;
    int ecrites = 0;
    QString raison;
    if (!fichier.Ouvrir(chemin, O_RDWR | O_CREAT) || !fichier.Verrouiller(true, DelaiVerrouMs)) {
        raison = fichier.TexteErreur();
    } else {
        const qint64 taille = fichier.Taille();
        if (taille < 0)
            raison = fichier.TexteErreur();
        else  // appended after the whole records of an earlier end, over a cut one
            ecrites = EcrireSynchronise(fichier, (taille / TailleEntreeLog) * TailleEntreeLog, lot.data(), int(lot.size()),
                                        raison);
        SynchroniserDossier(chemin);  // a file just created is not lost with its folder entry
    }
    if (!raison.isEmpty())
        erreur = TexteES(chemin, raison);
    std::lock_guard verrou(m_mutex);
    m_attente.erase(m_attente.begin(), m_attente.begin() + ecrites);
    return ecrites;
}

TEntreeLog TJournalLog::EntreeRecuperation(int n, double date)
{
    TEntreeLog e;
    std::memset(static_cast<void*>(&e), 0, sizeof e);
    e.Code = 0;
    e.DateHeure = date;
    e.Attribut2 = 1;
    EcrireChaine(e.InfosCompl, QStringLiteral("%1 entrées récupérées").arg(n));
    e.Valeur1 = n;
    return e;
}

// Recovery protocol. The entries cannot be appended to "Log.dat" and removed
// from the recovery file in one step, so the recovery file is first renamed to
// "<name>.<P>", P being the byte position in "Log.dat" where they are about to
// be written (under the journal's exclusive lock, so nobody else writes
// there); the rename is the commit point, synced with its folder. Then they
// are appended and synced, and the renamed file removed. A process that dies
// in between leaves "<name>.<P>": the next start compares the records at P
// with it and appends only those that are not there yet. Truncating the
// recovery file record by record instead would need to drop records from its
// front, which no file operation does in one step.
TBilanRecuperation TJournalLog::RecupererEntrees()
{
    TBilanRecuperation total;
    const QFileInfo info(CheminRecuperation());
    const QString prefixe = info.fileName() + u'.';
    std::vector<std::pair<qint64, QString>> interrompues;
    for (const QString& nom : info.absoluteDir().entryList({prefixe + u'*'}, QDir::Files | QDir::Hidden | QDir::System)) {
        bool ok = false;
        const qint64 position = nom.mid(prefixe.size()).toLongLong(&ok);
        if (ok && position >= 0 && position % TailleEntreeLog == 0)
            interrompues.emplace_back(position, info.absoluteDir().filePath(nom));
    }
    std::sort(interrompues.begin(), interrompues.end());
    auto cumuler = [&](const TBilanRecuperation& b) {
        total.Recuperees += b.Recuperees;
        total.OctetsIgnores += b.OctetsIgnores;
        if (!b.Erreur.isEmpty())
            total.Erreur += (total.Erreur.isEmpty() ? QString() : QStringLiteral("\n")) + b.Erreur;
    };
    for (const auto& [position, chemin] : interrompues)
        cumuler(Recuperer(chemin, position));
    if (info.exists() || TFichierOrdinaire::ExisteMaisPasOrdinaire(info.filePath()))
        cumuler(Recuperer(info.filePath(), -1));
    return total;
}

TBilanRecuperation TJournalLog::Recuperer(const QString& source, qint64 positionNotee)
{
    TBilanRecuperation bilan;
    TAccesLog acces(*this);
    TFichierOrdinaire journal;
    if (!journal.Ouvrir(m_chemin, O_RDWR | O_CREAT) || !journal.Verrouiller(true, DelaiVerrouMs)) {
        bilan.Erreur = TexteES(m_chemin, journal.TexteErreur());
        return bilan;
    }
    TFichierOrdinaire secours;
    if (!secours.Ouvrir(source, O_RDWR) || !secours.Verrouiller(true, DelaiVerrouMs)) {
        bilan.Erreur = TexteES(source, secours.TexteErreur());
        return bilan;
    }
    const qint64 tailleSecours = secours.Taille();
    const qint64 tailleJournal = journal.Taille();
    if (tailleSecours < 0 || tailleJournal < 0) {
        bilan.Erreur = TexteES(source, tailleSecours < 0 ? secours.TexteErreur() : journal.TexteErreur());
        return bilan;
    }
    const int n = int(tailleSecours / TailleEntreeLog);
    bilan.OctetsIgnores = tailleSecours % TailleEntreeLog;
    std::vector<TEntreeLog> entrees(static_cast<size_t>(n));
    if (secours.Lire(0, entrees.data(), qint64(n) * TailleEntreeLog) != qint64(n) * TailleEntreeLog) {
        bilan.Erreur = TexteES(source, secours.TexteErreur());
        return bilan;
    }
    const qint64 fin = (tailleJournal / TailleEntreeLog) * TailleEntreeLog;
    QString enCours = source;
    int deja = 0;
    if (positionNotee < 0) {
        if (n > 0) {
            enCours = source + u'.' + QString::number(fin);
            if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(enCours).constData()) != 0) {
                bilan.Erreur = TexteES(source, TFichierOrdinaire::TexteSysteme(errno));
                return bilan;
            }
            SynchroniserDossier(source);
        }
    } else {
        // An interrupted recovery: what already reached the journal at the
        // noted position is not written again.
        TEntreeLog lu;
        while (deja < n && positionNotee + qint64(deja + 1) * TailleEntreeLog <= tailleJournal
               && journal.Lire(positionNotee + qint64(deja) * TailleEntreeLog, &lu, TailleEntreeLog) == TailleEntreeLog
               && std::memcmp(&lu, &entrees[size_t(deja)], TailleEntreeLog) == 0)
            ++deja;
    }
    QString raison;
    // After an interruption other stations may have appended since: the
    // rest goes at the end. Should this write fail too, a later resume only
    // recognises what lies at the noted position, so records written here
    // could come twice; that needs two failures in a row and never loses one.
    EcrireSynchronise(journal, fin, entrees.data() + deja, n - deja, raison);
    if (!raison.isEmpty()) {
        // The renamed file stays: the next start resumes from it.
        bilan.Erreur = TexteES(m_chemin, raison);
        return bilan;
    }
    if (::unlink(QFile::encodeName(enCours).constData()) != 0) {
        bilan.Erreur = TexteES(enCours, TFichierOrdinaire::TexteSysteme(errno));
    }
    SynchroniserDossier(source);
    bilan.Recuperees = n;
    return bilan;
}

void TJournalLog::ChargerJournal(TTamponJournal& tampon, TLangue langue)
{
    {
        TAccesLog acces(*this);
        // Entries still waiting in memory come after the file's: while the
        // guard is held no pass is writing, so none of them is in the file yet.
        std::vector<TEntreeLog> attente;
        {
            std::lock_guard verrou(m_mutex);
            const size_t nb = std::min<size_t>(m_attente.size(), NbMaxLus);
            attente.assign(m_attente.end() - std::ptrdiff_t(nb), m_attente.end());
        }
        qint64 nbLus = 0;
        if (!QFileInfo::exists(m_chemin)) {
            std::memset(static_cast<void*>(&tampon), 0, sizeof(tampon));
        } else {
            // A shared lock: no append of another process is half done while we read.
            TFichierOrdinaire fichier;
            if (!fichier.Ouvrir(m_chemin, O_RDONLY) || !fichier.Verrouiller(false, DelaiVerrouMs))
                throw ErreurES(m_chemin, fichier.TexteErreur());
            const qint64 taille = fichier.Taille();
            if (taille < 0)
                throw ErreurES(m_chemin, fichier.TexteErreur());
            const qint64 n = taille / TailleEntreeLog;
            tampon.NbEntrees = 0;
            // The last entries in one read (from slot 1), then those too old
            // are left out by moving the others down.
            nbLus = std::min<qint64>(n, NbMaxLus - qint64(attente.size()));
            const qint64 octets = nbLus * TailleEntreeLog;
            const qint64 lus = fichier.Lire((n - nbLus) * TailleEntreeLog, &tampon.Entrees[1], octets);
            if (lus < 0)
                throw ErreurES(m_chemin, fichier.TexteErreur());
            if (lus != octets)
                throw ErreurES(m_chemin, QStringLiteral("fin de fichier inattendue"));
        }
        for (size_t k = 0; k < attente.size(); ++k)
            tampon.Entrees[int(nbLus) + 1 + int(k)] = attente[k];
        const int total = int(nbLus) + int(attente.size());
        tampon.NbEntrees = 0;
        int i = 1;
        for (int k = 1; k <= total; ++k) {
            const double maintenant = m_horloge();
            if (EntreeTropAncienne(tampon.Entrees[k].DateHeure, maintenant))
                continue;
            if (i != k)
                tampon.Entrees[i] = tampon.Entrees[k];
            tampon.NbEntrees = static_cast<std::uint16_t>(i);
            ++i;
        }
    }
    tampon.Langue = langue;
}
