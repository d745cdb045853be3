#include "Vecino_Corrida.h"

#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "apoyo/Bd_Central.h"
#include "apoyo/Vecino_Hostil.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"

namespace facturador::pruebas {

namespace fs = std::filesystem;

namespace {

constexpr int kAjenos = 6;
constexpr const char* kMarca_Dispersa = "VECINO HOSTIL";

// What the names in a branch's folders tell of where its work stands: the highest folio, and the
// highest request and epoch of a file waiting in the queue.
struct Vistos {
    int folio = 0;
    int32_t id = 0;
    int64_t epoca = 0;
};

Vistos Ver_Sucursal(const Sucursal_Fallas& s) {
    Vistos v{s.folio_inicial - 1, 0, 0};
    const std::string prefijo = "Factura " + s.serie + " Folio ";
    for (const std::string* carpeta :
         {&s.carpetas.cola, &s.carpetas.validas, &s.carpetas.no_validas}) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(*carpeta, ec)) {
            const std::string nombre = e.path().filename().string();
            if (const auto t = Leer_Nombre_Temporal(nombre)) {
                v.id = std::max(v.id, t->ID_Solicitud);
                v.epoca = std::max(v.epoca, t->Epoca);
            }
            const size_t en = nombre.find(prefijo);
            if (en != std::string::npos)
                v.folio = std::max(v.folio, std::atoi(nombre.c_str() + en + prefijo.size()));
        }
    }
    return v;
}

// Whether the plant is still the neighbour's own: a link, a pipe, or its sparse file, not a file
// of the program's or of the stamping program's that replaced it.
bool Sigue_Siendo_Suya(const std::string& ruta, char clase) {
    struct stat datos {};
    if (lstat(ruta.c_str(), &datos) != 0)
        return false;
    if (clase == 'e')
        return S_ISLNK(datos.st_mode);
    if (clase == 't')
        return S_ISFIFO(datos.st_mode);
    return S_ISREG(datos.st_mode) && datos.st_size == kTamano_Disperso;
}

}  // namespace

Vecino_en_Corrida::Vecino_en_Corrida(const Mundo_Fallas& mundo, unsigned semilla)
    : mundo_(mundo),
      central_(Parametros_de_Conexion(Cadena_Central_Pruebas())),
      ajenos_(Unir_Ruta(mundo.Carpeta(), "ajenos")),
      azar_(semilla) {
    fs::create_directory(ajenos_);
    mundo_.Ceder(ajenos_);
    for (int i = 1; i <= kAjenos; ++i) {
        const std::string ruta = Unir_Ruta(ajenos_, fmt::format("ajeno{}.txt", i));
        Escribir_Archivo(ruta, fmt::format("archivo ajeno {}\n", i));
        // Writable by the programs' user: only following a link would change it.
        mundo_.Ceder(ruta);
    }
    foto_ = Fotografiar_Ajenos();
    hilo_ = std::thread([this] { Trabajar(); });
}

Vecino_en_Corrida::~Vecino_en_Corrida() {
    parar_ = true;
    if (hilo_.joinable())
        hilo_.join();
}

void Vecino_en_Corrida::Trabajar() {
    while (!parar_) {
        Plantar_Una();
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::uniform_int_distribution<int>(50, 300)(azar_)));
    }
}

std::optional<std::string> Vecino_en_Corrida::Nombre_de_Pendiente() {
    try {
        if (!conexion_)
            conexion_ = std::make_unique<Motor_MariaDB>(central_);
        Recordset rs = conexion_->Ejecutar(
            "SELECT s.ID, s.ID_Sucursal, c.Folio_Inicial_Facturas, (SELECT MAX(Epoca) FROM "
            "Turno_Facturador) FROM Solicitudes_de_Facturas_OL s JOIN "
            "Configuracion_Facturas_Electronicas c ON c.ID_Sucursal = s.ID_Sucursal WHERE "
            "s.Status = 1 ORDER BY RAND() LIMIT 1");
        if (rs.Fin())
            return std::nullopt;
        const int sucursal = std::stoi(rs.Texto(size_t{1}));
        for (const Sucursal_Fallas& s : mundo_.Sucursales())
            if (s.id == sucursal)
                return Unir_Ruta(
                    s.carpetas.cola,
                    Nombre_Temporal_en_Cola(
                        Nombre_Archivo_para_Timbrar(s.serie, std::stoi(rs.Texto(2))),
                        std::stoi(rs.Texto(size_t{0})), std::stoll("0" + rs.Texto(3))));
    } catch (const std::exception&) {
        conexion_.reset();  // the server restarted, or the node is away
    }
    return std::nullopt;
}

// One plant at a name about to be used in a random branch: a pending request's hidden file to
// stamp, or its next folios' files.
void Vecino_en_Corrida::Plantar_Una() {
    if (std::uniform_int_distribution<int>(0, 1)(azar_) == 0)
        if (const auto oculta = Nombre_de_Pendiente()) {
            Plantar(*oculta, std::uniform_int_distribution<int>(0, 2)(azar_) ? 'e' : 't');
            return;
        }

    const auto& sucursales = mundo_.Sucursales();
    const Sucursal_Fallas& s =
        sucursales[std::uniform_int_distribution<size_t>(0, sucursales.size() - 1)(azar_)];
    const Vistos v = Ver_Sucursal(s);
    const int folio = v.folio + std::uniform_int_distribution<int>(1, 3)(azar_);
    const std::string base = Archivo_Base(s.serie, folio);
    const std::string txt = base + ".txt";
    const int32_t id = v.id + std::uniform_int_distribution<int32_t>(1, 3)(azar_);
    const std::vector<std::pair<std::string, std::string>> nombres = {
        {s.carpetas.cola, txt},
        {s.carpetas.cola, Nombre_Temporal_en_Cola(txt, id, v.epoca)},
        {s.carpetas.cola, Nombre_Temporal_en_Cola(txt, id, v.epoca + 1)},
        {s.carpetas.cola, "Cancelar.xml"},
        {s.carpetas.validas, base + ".xml"},
        {s.carpetas.validas, base + ".pdf"},
        {s.carpetas.no_validas, base + "-error timbrado.txt"},
    };
    const auto& [carpeta, nombre] =
        nombres[std::uniform_int_distribution<size_t>(0, nombres.size() - 1)(azar_)];
    // Only results take a sparse file: a regular file in the queue is a file to stamp, and one
    // under an error text's name a refusal, which any member of the group may leave anyway.
    const std::string clases = carpeta == s.carpetas.validas ? "etd" : "et";
    Plantar(Unir_Ruta(carpeta, nombre),
            clases[std::uniform_int_distribution<size_t>(0, clases.size() - 1)(azar_)]);
}

bool Vecino_en_Corrida::Plantar(const std::string& ruta, char clase) {
    bool plantado = false;
    if (clase == 'e') {
        // Half the links point at a file that is not there: a create through them would make it.
        const int n = std::uniform_int_distribution<int>(1, 2 * kAjenos)(azar_);
        plantado = Plantar_Enlace(ruta, Unir_Ruta(ajenos_, fmt::format("ajeno{}.txt", n)), false);
        enlaces_ += plantado;
    } else if (clase == 't') {
        plantado = Plantar_Tuberia(ruta, false);
        tuberias_ += plantado;
    } else {
        plantado = Plantar_Disperso(ruta, kMarca_Dispersa, kTamano_Disperso, false);
        dispersos_ += plantado;
    }
    if (plantado)
        plantas_.push_back({ruta, clase});
    return plantado;
}

void Vecino_en_Corrida::Detener_y_Recoger() {
    parar_ = true;
    if (hilo_.joinable())
        hilo_.join();
    for (const Planta& p : plantas_)
        if (Sigue_Siendo_Suya(p.ruta, p.clase))
            std::remove(p.ruta.c_str());
    plantas_.clear();
}

std::map<std::string, std::string> Vecino_en_Corrida::Fotografiar_Ajenos() const {
    std::map<std::string, std::string> foto;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ajenos_, ec)) {
        const auto entrada = Examinar_Entrada(e.path().string());
        std::string estado;
        if (entrada)
            estado = fmt::format("{} {} {} {}|", entrada->Tamano, entrada->Modificado_ns,
                                 entrada->Modo, entrada->Regular);
        if (entrada && entrada->Regular)
            estado += Leer_Archivo(e.path().string());
        foto[e.path().filename().string()] = estado;
    }
    return foto;
}

std::vector<std::string> Vecino_en_Corrida::Ajenos_Cambiados() const {
    const auto ahora = Fotografiar_Ajenos();
    std::vector<std::string> cambiados;
    for (const auto& [nombre, estado] : ahora)
        if (const auto antes = foto_.find(nombre); antes == foto_.end() || antes->second != estado)
            cambiados.push_back(Unir_Ruta(ajenos_, nombre));
    for (const auto& [nombre, estado] : foto_)
        if (!ahora.contains(nombre))
            cambiados.push_back(Unir_Ruta(ajenos_, nombre) + " (borrado)");
    return cambiados;
}

std::string Vecino_en_Corrida::Resumen() const {
    return fmt::format("{} enlaces, {} tuberías, {} dispersos plantados", enlaces_.load(),
                       tuberias_.load(), dispersos_.load());
}

}  // namespace facturador::pruebas
