#pragma once

#include "listcore/RowStore.h"
#include "listview/VTEvents.h"

#include <QAbstractTableModel>

// The file list's rows, and how the view sees them. The model owns the row
// store; it answers the view from it at the moment the view asks (cell texts
// through the list's OnGetText), and the row count it reports lags behind
// the store while an update batch is open, so that a batch of any size
// reaches the view as one update.
class VTModel : public QAbstractTableModel, private RowStoreObserver {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;

    // `list` is the Sender of the events the model raises.
    VTModel(TVirtualStringTree* list, QObject* parent);

    RowStore& rows() { return m_rows; }
    void setEvents(VTEvents* events) { m_events = events; }
    VTEvents* events() const { return m_events; }
    TVirtualStringTree* list() const { return m_list; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row shown at a model row, initialised first as showing it needs.
    ListRow* shownRow(int row) const;
    // Tells the view that one row's check box changed.
    void checkChanged(int row);

Q_SIGNALS:
    void batchStarted();
    void batchFinished();

private:
    void batchOpened() override;
    void batchClosed() override;
    void rowAppended() override;
    void aboutToClear() override;
    void cleared() override;
    void publish(bool rowsChanged);

    TVirtualStringTree* m_list;
    VTEvents* m_events = nullptr;
    // Showing a row initialises it, which the const data() must be able to do.
    mutable RowStore m_rows;
    int m_shown = 0;
};
