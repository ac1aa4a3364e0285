#pragma once

#include <QString>

// Paths of a store file. Any thread.
namespace StorePath {

// The file a chain of symbolic links ends at (A -> B -> C gives C), the
// path itself when it is no link; relative links count from their folder.
// A chain longer than the system follows (a loop) gives the last link read.
QString finalTarget(const QString &path);

} // namespace StorePath
