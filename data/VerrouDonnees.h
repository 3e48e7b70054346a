#pragma once
// Multi-reader / single-writer lock guarding the device records.
//
// Every access runs on the user-interface thread, yet window messages are
// processed inside locked regions (a demonstration tick, which writes, can run
// while a screen refresh holds the read lock). A thread that already holds the
// lock may therefore take it again for reading or for writing without waiting
// for itself; other threads wait as with any readers-writer lock.
//
// The communication worker takes the lock too. Two threads that both hold it
// for reading and both ask for it for writing would wait for each other for
// ever: only one such upgrade may wait at a time, and a second one is refused
// at once with EVerrouImpossible (its guard is then not taken), so that its
// thread unwinds, lets its read lock go, and the first one proceeds.
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <unordered_map>

class EVerrouImpossible : public std::logic_error {
public:
    EVerrouImpossible() : std::logic_error("write lock refused: another reader is already waiting to write") {}
};

class TVerrouDonnees {
public:
    void DebutLecture();
    void FinLecture();
    // Throws EVerrouImpossible when the calling thread reads and another
    // reading thread already waits to write.
    void DebutEcriture();
    void FinEcriture();

    // Non-blocking attempt at the write lock: false when another thread holds it.
    bool EssayerEcriture();

    // True while the calling thread holds the lock for reading (not writing).
    bool LectureEnCoursIci() const;
    // True while any thread holds the lock in any mode.
    bool Pris() const;

private:
    bool EcriturePossible(std::thread::id moi) const;

    mutable std::mutex m_mutex;
    std::condition_variable m_libere;
    std::thread::id m_ecrivain;      // default id when nobody writes
    int m_profondeurEcriture = 0;
    std::unordered_map<std::thread::id, int> m_lecteurs;
    int m_ecrivainsEnAttente = 0;
    std::thread::id m_montee;        // the reader waiting to write, if any
};

class TLectureDonnees {
public:
    explicit TLectureDonnees(TVerrouDonnees& verrou) : m_verrou(verrou) { m_verrou.DebutLecture(); }
    ~TLectureDonnees() { m_verrou.FinLecture(); }
    TLectureDonnees(const TLectureDonnees&) = delete;
    TLectureDonnees& operator=(const TLectureDonnees&) = delete;

private:
    TVerrouDonnees& m_verrou;
};

class TEcritureDonnees {
public:
    explicit TEcritureDonnees(TVerrouDonnees& verrou) : m_verrou(verrou) { m_verrou.DebutEcriture(); }
    ~TEcritureDonnees() { m_verrou.FinEcriture(); }
    TEcritureDonnees(const TEcritureDonnees&) = delete;
    TEcritureDonnees& operator=(const TEcritureDonnees&) = delete;

private:
    TVerrouDonnees& m_verrou;
};
