#pragma once
// Hourglass cursor for one scope; the previous cursor comes back on every path
// out, exceptions included.
#include <QApplication>
#include <QCursor>

class TCurseurSablier {
public:
    TCurseurSablier() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~TCurseurSablier() { QApplication::restoreOverrideCursor(); }
    TCurseurSablier(const TCurseurSablier&) = delete;
    TCurseurSablier& operator=(const TCurseurSablier&) = delete;
};
