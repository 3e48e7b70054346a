#pragma once
// Hourglass cursor for one scope; the previous cursor comes back on every path
// out, exceptions included.
#include <QApplication>
#include <QCursor>

class TCurseurSablier {
public:
    TCurseurSablier()
    {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        ++s_poses;
    }
    ~TCurseurSablier() { QApplication::restoreOverrideCursor(); }
    TCurseurSablier(const TCurseurSablier&) = delete;
    TCurseurSablier& operator=(const TCurseurSablier&) = delete;

    // How many times the hourglass has been put up since the start.
    static int NbPoses() { return s_poses; }

private:
    static inline int s_poses = 0;
};
