#pragma once

#include <QAbstractTableModel>

class TVirtualStringTree;

// Presents the list's rows to the view. It stores nothing itself: texts and
// check marks are asked of the list at the moment the view wants them, and
// the row count it reports lags behind the list while a batch is open.
class VTModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;

    explicit VTModel(TVirtualStringTree* list);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the view up to date with the list in one update: rows appended
    // since the last call are inserted, and every shown row is marked changed.
    void publish(bool rowsChanged);
    // Forgets every row in one reset.
    void reset(const std::function<void()>& clear);

private:
    TVirtualStringTree* m_list;
    int m_shown = 0;
};
