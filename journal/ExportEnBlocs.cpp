#include "journal/ExportEnBlocs.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
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
    std::unique_ptr<char[]> Lignes{new char[size_t(TExportEnBlocs::EnregistrementsParBloc * TExportJournal::LongueurMaxLigne)]};
    qint64 Nb = 0;
    qint64 PremierIndex = 0;
    std::size_t Taille = 0;  // bytes of lines
    TEtat Etat = Libre;
};

// What the threads share. Block r of the file goes in Blocs[r % size].
struct TPartage {
    TPartage(TLecteurJournal& lecteur, std::size_t nbBlocs, const std::function<bool(const char*, std::size_t)>& ecrire)
        : Lecteur(lecteur), Blocs(nbBlocs), Ecrire(ecrire)
    {
    }
    TLecteurJournal& Lecteur;
    std::vector<TBloc> Blocs;
    const std::function<bool(const char*, std::size_t)>& Ecrire;
    std::mutex Lecture;   // one read at a time, so blocks are read in file order
    std::mutex Ecriture;  // one writer at a time, so lines come out in file order
    std::mutex Mutex;     // everything below, and the blocks' states
    std::condition_variable PlaceLibre;  // a block was written: its place is free
    qint64 Lus = 0;       // blocks read
    qint64 Ecrits = 0;    // blocks written
    qint64 Index = 0;     // next record to read
    bool FinLecture = false;
    TExportEnBlocs::TResultat Resultat = TExportEnBlocs::TResultat::Fait;
    bool Arret = false;   // the output failed
};

// Takes the next block of the file and reads it; null at the end.
TBloc* Lire(TPartage& partage)
{
    std::lock_guard lecture(partage.Lecture);
    std::unique_lock verrou(partage.Mutex);
    if (partage.FinLecture || partage.Arret)
        return nullptr;
    TBloc& bloc = partage.Blocs[size_t(partage.Lus % qint64(partage.Blocs.size()))];
    partage.PlaceLibre.wait(verrou, [&] { return bloc.Etat == TBloc::Libre || partage.Arret; });
    if (partage.Arret)
        return nullptr;
    const qint64 index = partage.Index;
    verrou.unlock();
    const qint64 n = partage.Lecteur.Lire(index, bloc.Entrees.get(), TExportEnBlocs::EnregistrementsParBloc);
    verrou.lock();
    if (n < 0)
        partage.Resultat = TExportEnBlocs::TResultat::ErreurLecture;
    partage.FinLecture = n < TExportEnBlocs::EnregistrementsParBloc;
    if (n <= 0)
        return nullptr;
    bloc.Nb = n;
    bloc.PremierIndex = index;
    bloc.Etat = TBloc::Pris;
    partage.Index += n;
    ++partage.Lus;
    return &bloc;
}

// Writes the blocks whose turn has come, as long as they are ready.
void EcrireLesPrets(TPartage& partage)
{
    std::lock_guard ecriture(partage.Ecriture);
    std::unique_lock verrou(partage.Mutex);
    for (;;) {
        TBloc& bloc = partage.Blocs[size_t(partage.Ecrits % qint64(partage.Blocs.size()))];
        if (partage.Arret || partage.Ecrits == partage.Lus || bloc.Etat != TBloc::Pret)
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

// Every thread, the caller's included, reads the next block itself (so that
// its records are still in its processor's cache when it makes their lines),
// makes its lines, then writes whatever blocks are ready in file order.
void Ouvrier(TPartage& partage, TExportJournal format, const TFiltreJournal& filtre)
{
    while (TBloc* bloc = Lire(partage)) {
        char* p = bloc->Lignes.get();
        TEntreeLog entree;
        for (qint64 i = 0; i < bloc->Nb; ++i) {
            // Copied out: records in a byte run are not aligned for doubles.
            std::memcpy(static_cast<void*>(&entree), bloc->Entrees.get() + i * TailleEntreeLog, TailleEntreeLog);
            if (filtre.Garde(entree))
                p = format.Ligne(p, entree, bloc->PremierIndex + i);
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

TExportEnBlocs::TExportEnBlocs(const TExportJournal& format, const TFiltreJournal& filtre, int nbOuvriers)
    : m_format(format), m_filtre(filtre),
      m_nbOuvriers(nbOuvriers > 0 ? nbOuvriers : int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)))
{
}

TExportEnBlocs::TResultat TExportEnBlocs::Exporter(TLecteurJournal& lecteur,
                                                    const std::function<bool(const char*, std::size_t)>& ecrire)
{
    // Two blocks per thread: one whose lines are being made, one read ahead
    // or waiting for its turn to be written.
    TPartage partage(lecteur, size_t(2 * m_nbOuvriers), ecrire);
    {
        // Joined before what they share goes, however this ends.
        std::vector<std::jthread> autres;
        try {
            for (int i = 1; i < m_nbOuvriers; ++i)
                autres.emplace_back(Ouvrier, std::ref(partage), m_format, std::cref(m_filtre));
        } catch (const std::system_error&) {
            // No more threads to be had: those there are, this one included, do it all.
        }
        Ouvrier(partage, m_format, m_filtre);
    }
    // Blocks read before a read error were all written by now: their lines
    // come out before the error is told.
    EcrireLesPrets(partage);
    return partage.Resultat;
}
