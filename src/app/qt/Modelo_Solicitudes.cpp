#include "app/qt/Modelo_Solicitudes.h"

#include <array>

namespace facturador {

namespace {

constexpr std::array<const char*, kColumnas_Solicitudes> kEncabezados = {
    "ID",     "Fecha", "Sucursal", "Ticket",        "Cliente",
    "R.F.C.", "Total", "Status",   "Serie y Folio", "Motivo"};

QString Texto(const std::string& texto) {
    return QString::fromStdString(texto);
}

QString Valor(const Fila_Solicitud& f, Columna_Solicitudes columna) {
    switch (columna) {
        case Columna_Solicitudes::ID:
            return QString::number(f.ID);
        case Columna_Solicitudes::Fecha:
            return Texto(f.Fecha);
        case Columna_Solicitudes::Sucursal:
            return Texto(f.Sucursal);
        case Columna_Solicitudes::Ticket:
            return Texto(f.Ticket);
        case Columna_Solicitudes::Cliente:
            return Texto(f.Cliente);
        case Columna_Solicitudes::RFC:
            return Texto(f.RFC);
        case Columna_Solicitudes::Total:
            return Texto(f.Total);
        case Columna_Solicitudes::Status:
            return Texto(Status_en_Palabras(f.Status));
        case Columna_Solicitudes::Serie_y_Folio:
            return Texto(f.Serie_y_Folio);
        case Columna_Solicitudes::Motivo:
            return Texto(f.Motivo);
    }
    return {};
}

}  // namespace

void Modelo_Solicitudes::Poner_Filas(std::vector<Fila_Solicitud> filas) {
    beginResetModel();
    filas_ = std::move(filas);
    endResetModel();
}

int Modelo_Solicitudes::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int Modelo_Solicitudes::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : kColumnas_Solicitudes;
}

QVariant Modelo_Solicitudes::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || indice.row() >= rowCount())
        return {};
    const auto columna = static_cast<Columna_Solicitudes>(indice.column());
    const Fila_Solicitud& fila = filas_[static_cast<size_t>(indice.row())];
    if (rol == Qt::DisplayRole)
        return Valor(fila, columna);
    if (rol == Qt::ToolTipRole && columna == Columna_Solicitudes::Motivo && !fila.Motivo.empty())
        return Texto(fila.Motivo);
    if (rol == Qt::TextAlignmentRole &&
        (columna == Columna_Solicitudes::ID || columna == Columna_Solicitudes::Ticket ||
         columna == Columna_Solicitudes::Total))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant Modelo_Solicitudes::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole || seccion < 0 ||
        seccion >= kColumnas_Solicitudes)
        return QAbstractTableModel::headerData(seccion, orientacion, rol);
    return QString::fromUtf8(kEncabezados[static_cast<size_t>(seccion)]);
}

void Modelo_Solicitudes::sort(int columna, Qt::SortOrder orden) {
    if (columna >= 0 && columna < kColumnas_Solicitudes)
        emit Orden_Pedido(static_cast<Columna_Solicitudes>(columna), orden == Qt::DescendingOrder);
}

}  // namespace facturador
