#pragma once

#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Mundo_Fallas.h"

namespace facturador::pruebas {

enum Violacion : size_t {
    kFolio_Repetido,    // two invoices of a branch share series and folio
    kContador,          // a branch's counter is not one past the highest folio it issued
    kSin_Archivo,       // a request in 2 without its file to stamp (published or hidden) or result
    kArchivo_Huerfano,  // a file in a queue folder without its request in 2, or a half copy
    kTimbrado_Doble,    // the stamping program stamped one series and folio twice
    kLineas_Agregadas,  // a file to stamp had more lines than its format, added by some value
    kBloqueado,         // the program stopped cycling (waiting for an operator who never comes)
    kNo_Completada,     // at the end, a valid request not stamped and stored byte for byte
    kRechazada,         // the stamping program refused a file: the program's checks let it through
    kDos_Trabajadores,  // units of work committed by two copies at once (the lease's trace)
    kSin_Reanudar,      // after a fault, no copy took up invoicing within a minute
    kArchivo_Ajeno,     // a file outside the branch and program folders changed (hostile neighbour)
    kIndice_Desigual,   // the search's copy of a request differs from it, or lacks a changed one
    kCuantas_Violaciones
};

extern const std::array<const char*, kCuantas_Violaciones> kNombres_Violacion;
using Conteo = std::array<long, kCuantas_Violaciones>;

// The invariants that the database and the branch folders must keep together whatever happens.
// Each violation is counted once, when first seen, and its description added to `nuevas`.
class Invariantes {
  public:
    explicit Invariantes(const Mundo_Fallas& mundo) : mundo_(mundo) {}

    // What a crash at this moment leaves behind: run with the program paused or dead and the
    // stamping program stopped.
    Conteo Revisar();
    // After the last restart: every valid request stamped, its XML and PDF stored equal to the
    // files in the valid folder.
    Conteo Revisar_Final(const std::vector<int>& validas);
    // Counts one violation of the run's own making (kBloqueado), with its description.
    void Anotar(Conteo& conteo, Violacion violacion, const std::string& descripcion);

    std::vector<std::string> nuevas;
    // With a hostile neighbour: the files outside the branch and program folders that changed.
    std::function<std::vector<std::string>()> ajenos_cambiados;

  private:
    std::set<int> No_Almacenables() const;
    void Revisar_Folios(Conteo& conteo);
    void Revisar_Colas(Conteo& conteo);
    void Revisar_Registro(Conteo& conteo);
    void Revisar_Traza(Conteo& conteo);
    void Revisar_Indice(Conteo& conteo);
    const Sucursal_Fallas* Sucursal(int id) const;

    const Mundo_Fallas& mundo_;
    std::set<std::string> vistas_;
    std::set<std::string> timbradas_;
    size_t leido_ = 0;  // of the stamping record
};

}  // namespace facturador::pruebas
