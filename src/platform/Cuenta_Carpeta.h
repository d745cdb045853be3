#pragma once

#include <optional>
#include <string>

namespace facturador {

// Run by root in a program folder that another account owns (the service's /var/lib/facturador
// is facturador's), the program would leave files of root's there (its lock, its daily logs,
// local.dll's journal) that stop the owner's next start, and would write, as root, through links
// the owner planted there or in the branch folders. So root takes the owner's account first, as a
// login would: its user, its group and its supplementary groups (the branch folders' among them),
// its home and a runtime folder of its own, for good. Nothing changes when the program does not
// run as root, or the folder is root's. Answers why the account cannot be taken (the owner has no
// account on this machine, the system refuses), in which case the caller must not go on.
std::optional<std::string> Tomar_Cuenta_de_Carpeta(const std::string& carpeta);

}  // namespace facturador
