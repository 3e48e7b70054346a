#include "journal/ExportEnBlocs.h"

#include "journal/SourcesJournal.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A block goes round: free, read and its lines made by a worker, written, free again.
struct TBloc {
    enum TEtat { Libre, Pris, Pret };
    // Not zeroed: only the bytes read and the lines made are used. Lines get
    // room for the longest line of every record, so none is ever cut.
    std::unique_ptr<char[]> Entrees{new char[size_t(TExportEnBlocs::EnregistrementsParBloc * TailleEntreeLog)]};
    static constexpr int LongueurMax = TExportJournal::LongueurMaxLigne + TSourcesJournal::LongueurMaxChamp;
    std::unique_ptr<char[]> Lignes{new char[size_t(TExportEnBlocs::EnregistrementsParBloc * LongueurMax)]};
    qint64 Nb = 0;
    qint64 PremierIndex = 0;
    std::size_t Taille = 0;  // bytes of lines
    TEtat Etat = Libre;
};

// What the threads share. Block r of the file goes in Blocs[r % size].
struct TPartage {
    TPartage(TLecteurJournal& lecteur, std::size_t nbPlaces, const std::function<bool(const char*, std::size_t)>& ecrire)
        : Lecteur(lecteur), Blocs(nbPlaces), Ecrire(ecrire)
    {
    }
    TLecteurJournal& Lecteur;
    std::vector<TBloc> Blocs;
    const std::function<bool(const char*, std::size_t)>& Ecrire;
    qint64 NbEnregistrements = 0;  // when the export started
    std::mutex Ecriture;  // one writer at a time, so lines come out in file order
    std::mutex Mutex;     // everything below, and the blocks' states
    std::condition_variable PlaceLibre;  // a block was written: its place is free
    qint64 NbBlocs = 0;   // blocks to export; fewer after a read error
    qint64 Pris = 0;      // blocks taken by a thread
    qint64 Ecrits = 0;    // blocks written
    int CodeErreur = 0;   // errno of a read that failed
    bool Raccourci = false;  // the file came out shorter than it was
    TExportEnBlocs::TResultat Resultat = TExportEnBlocs::TResultat::Fait;
    bool Arret = false;   // the output failed
};

// Takes the next block of the file once its place is free; null at the end.
TBloc* Prendre(TPartage& partage)
{
    std::unique_lock verrou(partage.Mutex);
    if (partage.Arret || partage.Pris >= partage.NbBlocs)
        return nullptr;
    const qint64 rang = partage.Pris++;
    const auto nbPlaces = qint64(partage.Blocs.size());
    // Its place is free once the block nbPlaces before it is written, and
    // no later block can take it first.
    partage.PlaceLibre.wait(verrou, [&] { return rang - partage.Ecrits < nbPlaces || partage.Arret || rang >= partage.NbBlocs; });
    if (partage.Arret || rang >= partage.NbBlocs)
        return nullptr;
    TBloc& bloc = partage.Blocs[size_t(rang % nbPlaces)];
    bloc.Etat = TBloc::Pris;
    bloc.PremierIndex = rang * TExportEnBlocs::EnregistrementsParBloc;
    bloc.Nb = std::min(TExportEnBlocs::EnregistrementsParBloc, partage.NbEnregistrements - bloc.PremierIndex);
    return &bloc;
}

// Reads a block taken, without a lock: threads read at once. False after a
// read error, or when the file came out shorter than it was (then the
// records read are kept and nothing after them is written).
bool Lire(TPartage& partage, TBloc& bloc)
{
    int code = 0;
    const qint64 n = partage.Lecteur.Lire(bloc.PremierIndex, bloc.Entrees.get(), bloc.Nb, code);
    if (n == bloc.Nb)
        return true;
    std::lock_guard verrou(partage.Mutex);
    const qint64 rang = bloc.PremierIndex / TExportEnBlocs::EnregistrementsParBloc;
    if (n < 0) {
        bloc.Nb = 0;
        if (rang < partage.NbBlocs) {
            partage.CodeErreur = code;
            partage.Resultat = TExportEnBlocs::TResultat::ErreurLecture;
        }
    } else {
        bloc.Nb = n;
        partage.Raccourci = true;
    }
    partage.NbBlocs = std::min(partage.NbBlocs, n < 0 ? rang : rang + 1);
    partage.PlaceLibre.notify_all();  // threads waiting for a place past the end
    return false;
}

// Writes the blocks whose turn has come, as long as they are ready.
void EcrireLesPrets(TPartage& partage)
{
    std::lock_guard ecriture(partage.Ecriture);
    std::unique_lock verrou(partage.Mutex);
    for (;;) {
        TBloc& bloc = partage.Blocs[size_t(partage.Ecrits % qint64(partage.Blocs.size()))];
        if (partage.Arret || partage.Ecrits >= partage.NbBlocs || bloc.Etat != TBloc::Pret)
            return;
        verrou.unlock();
        const bool ecrit = bloc.Taille == 0 || partage.Ecrire(bloc.Lignes.get(), bloc.Taille);
        verrou.lock();
        bloc.Etat = TBloc::Libre;
        ++partage.Ecrits;
        if (!ecrit) {
            partage.Resultat = TExportEnBlocs::TResultat::ErreurEcriture;
            partage.Arret = true;
        }
        partage.PlaceLibre.notify_all();
    }
}

// Every thread, the caller's included, takes the next block and reads it
// itself (so that its records are still in its processor's cache when it
// makes their lines), makes its lines, then writes whatever blocks are ready
// in file order.
void Ouvrier(TPartage& partage, TExportJournal format, const TFiltreJournal& filtre, const TSourcesJournal* sources)
{
    while (TBloc* bloc = Prendre(partage)) {
        Lire(partage, *bloc);
        char* p = bloc->Lignes.get();
        TEntreeLog entree;
        for (qint64 i = 0; i < bloc->Nb; ++i) {
            // Copied out: records in a byte run are not aligned for doubles.
            std::memcpy(static_cast<void*>(&entree), bloc->Entrees.get() + i * TailleEntreeLog, TailleEntreeLog);
            if (!filtre.Garde(entree))
                continue;
            p = format.Ligne(p, entree, bloc->PremierIndex + i);
            if (sources)
                p = sources->CompleterLigne(p, entree.Origine);
        }
        {
            std::lock_guard verrou(partage.Mutex);
            bloc->Taille = std::size_t(p - bloc->Lignes.get());
            bloc->Etat = TBloc::Pret;
        }
        EcrireLesPrets(partage);
    }
}

} // namespace

TExportEnBlocs::TExportEnBlocs(const TExportJournal& format, const TFiltreJournal& filtre, int nbOuvriers,
                               const TSourcesJournal* sources)
    : m_format(format), m_filtre(filtre),
      m_nbOuvriers(nbOuvriers > 0 ? nbOuvriers : int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u))),
      m_sources(sources)
{
}

TExportEnBlocs::TResultat TExportEnBlocs::Exporter(TLecteurJournal& lecteur,
                                                    const std::function<bool(const char*, std::size_t)>& ecrire)
{
    m_restants = 0;
    const qint64 taille = lecteur.Taille();
    if (taille < 0)
        return TResultat::ErreurLecture;
    // Two blocks per thread: one whose lines are being made, one read ahead
    // or waiting for its turn to be written.
    TPartage partage(lecteur, size_t(2 * m_nbOuvriers), ecrire);
    partage.NbEnregistrements = taille / TailleEntreeLog;
    partage.NbBlocs = (partage.NbEnregistrements + EnregistrementsParBloc - 1) / EnregistrementsParBloc;
    {
        // Joined before what they share goes, however this ends.
        std::vector<std::jthread> autres;
        try {
            for (int i = 1; i < m_nbOuvriers && i < partage.NbBlocs; ++i)
                autres.emplace_back(Ouvrier, std::ref(partage), m_format, std::cref(m_filtre), m_sources);
        } catch (const std::system_error&) {
            // No more threads to be had: those there are, this one included, do it all.
        }
        Ouvrier(partage, m_format, m_filtre, m_sources);
    }
    if (partage.Resultat == TResultat::ErreurLecture)
        lecteur.Echouer(partage.CodeErreur);
    else if (partage.Resultat == TResultat::Fait && !partage.Raccourci)
        m_restants = taille - partage.NbEnregistrements * TailleEntreeLog;
    return partage.Resultat;
}
