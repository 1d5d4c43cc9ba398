#pragma once

#include <QString>

namespace tira {

// The home folder: `requested` when given; else the program's folder when it holds
// TIRA.ini or is writable (portable use); else the per-user configuration folder.
QString resolveHomeFolder(const QString& requested);

// TIRA.ini in a home folder.
QString iniPathIn(const QString& home);

} // namespace tira
