#pragma once
// Follows "Log.dat" as the station appends to it: prints each new entry once,
// in order. The file is opened only for one read at a time, and each read is
// bracketed by the station's named event, taken with a bounded wait and
// signalled again afterwards, so a running station never waits for us.
// A file put in its place (a new inode) is followed from its first entry.
#include "journal/ExportJournal.h"
#include "platform/EvenementNomme.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <sys/types.h>

class TSuiviJournal : public QObject {
    Q_OBJECT
public:
    static constexpr int AttenteEvenementMs = 250;
    static constexpr int ReleveMs = 2000;  // fallback when no change notice comes

    TSuiviJournal(const QString& chemin, const QString& nomEvenement, const TExportJournal& format,
                  std::FILE* sortie, std::FILE* erreurs, QObject* parent = nullptr);

    // Prints the last `queue` entries already there (all when negative, none
    // when 0), then watches the file. False when its folder does not exist or
    // something other than a regular file bears its name.
    bool Demarrer(qint64 queue);

    qint64 EntreesLues() const { return m_lus; }

public slots:
    // Prints the whole records appended since the last read.
    void LireNouveaux();

private:
    void Surveiller();
    bool AjouterVeille(const QString& chemin);
    void Avertir(const QString& texte);

    QString m_chemin;
    TEvenementNomme m_evenement;
    const TExportJournal& m_format;
    std::FILE* m_sortie;
    std::FILE* m_erreurs;
    QFileSystemWatcher m_veilleur;
    QTimer m_releve;
    qint64 m_lus = 0;
    QString m_dernierAvertissement;
    bool m_inodeConnu = false;  // the file followed, as device and inode
    dev_t m_appareil = 0;
    ino_t m_inode = 0;
    bool m_veilleImpossibleDite = false;
};
