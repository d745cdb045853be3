#pragma once

namespace facturador {

// Qt's window system looks for a display server in the session's runtime folder
// (XDG_RUNTIME_DIR). A shell without a session (root through su or sudo, a service unit without
// RuntimeDirectory) has none, and Qt would warn of it at every start. Without one, this names the
// folder Qt itself falls back to, $TMPDIR/runtime-<user>, creating it private to the user; one
// that is not the user's own and private is left alone, for Qt to report.
void Asegurar_Carpeta_Runtime();

}  // namespace facturador
