#pragma once

#include <QMessageBox>

// A message box that stands in the middle of the monitor that shows its
// parent, rather than over the parent.
class CentredMessageBox : public QMessageBox {
    Q_OBJECT
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override;
};
