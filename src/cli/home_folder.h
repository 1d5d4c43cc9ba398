#pragma once

#include <QString>

namespace tira {

// The home folder: `requested` when given; else the program's folder when it holds
// TIRA.ini, or when it is writable and not an installation (portable use); else the
// per-user configuration folder.
QString resolveHomeFolder(const QString& requested);

// TIRA.ini in a home folder.
QString iniPathIn(const QString& home);

// The installation's data folder (share/tira beside bin/) when the program in
// `programFolder` runs from an installation; empty otherwise.
QString installedDataFolder(const QString& programFolder);

// The help page: help/index.html beside the program, else in the installed data folder.
// The path beside the program when neither exists.
QString helpPagePath(const QString& programFolder);

} // namespace tira
