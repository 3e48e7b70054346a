#pragma once
// Multi-reader / single-writer lock guarding the device records.
//
// Every access runs on the user-interface thread, yet window messages are
// processed inside locked regions (a demonstration tick, which writes, can run
// while a screen refresh holds the read lock). A thread that already holds the
// lock may therefore take it again for reading or for writing without waiting
// for itself; other threads wait as with any readers-writer lock.
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

class TVerrouDonnees {
public:
    void DebutLecture();
    void FinLecture();
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
