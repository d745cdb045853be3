#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "app/Busqueda_Solicitudes.h"

namespace facturador {

// One page of search results for a view: the columns of Columna_Solicitudes, the status in words.
// The results are sorted by the database over all of them, not only this page: a click on a
// column's header asks for the search again (Orden_Pedido) instead of reordering the rows here.
class Modelo_Solicitudes : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    void Poner_Filas(std::vector<Fila_Solicitud> filas);
    const Fila_Solicitud& Fila(int fila) const { return filas_.at(static_cast<size_t>(fila)); }

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;
    void sort(int columna, Qt::SortOrder orden = Qt::AscendingOrder) override;

  signals:
    void Orden_Pedido(Columna_Solicitudes columna, bool descendente);

  private:
    std::vector<Fila_Solicitud> filas_;
};

}  // namespace facturador
