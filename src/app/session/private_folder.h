#pragma once

#include <QString>

namespace velmar {

#ifdef _WIN32
// Windows keeps who may open a file in its access list, not in permission bits: these give a
// folder that list and read its owner. (Elsewhere the folder's mode, 0700, and its owner's id do
// the same.)

// Gives `folder` a protected access list that lets the current user alone in, which the files
// made in it inherit; the folder's owner stays. False when the system refuses.
bool restrictToCurrentUser(const QString& folder);
// Whether the current user owns `path`; false when its owner cannot be read.
bool ownedByCurrentUser(const QString& path);
#endif

}  // namespace velmar
