#pragma once

#include <QString>

// Where Ventrix keeps its database and recordings: the user's generic data
// folder + "/Ventrix" (normally ~/.local/share/Ventrix), or the temporary
// folder + "/Ventrix" when the system names none. Not created here. Any thread.
namespace DataFolder {

QString path();
// path() + "/Ventrix.xml".
QString databasePath();
// path() + "/Recordings".
QString recordingsPath();

} // namespace DataFolder
