#pragma once
// orvello-stamp stamp: the window's stamping on a list of photos and folders, on every core.
#include <QByteArray>
#include <QList>

namespace orvello {

// args: what follows "stamp", as the command line's bytes. Returns the exit status, or -1 when
// the command line is not understood.
int stampCommand(const QList<QByteArray>& args);

}  // namespace orvello
