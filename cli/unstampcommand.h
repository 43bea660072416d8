#pragma once
// orvello-stamp unstamp: the photo put back together from a lossless copy that carries what its
// stamps replaced.
#include <QByteArray>
#include <QList>

namespace orvello {

// The arguments after "unstamp"; the exit status, or -1 for a usage error.
int unstampCommand(const QList<QByteArray>& args);

}  // namespace orvello
