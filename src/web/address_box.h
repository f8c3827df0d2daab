#pragma once

#include <QComboBox>

// The URL panel's editable address box. Its list holds only addresses taken from the clipboard,
// so Return does not add what was typed; the drop-down list opens as wide as its longest entry
// while the edit field keeps its width.
class AddressBox : public QComboBox {
    Q_OBJECT
public:
    explicit AddressBox(QWidget* parent = nullptr);

    void showPopup() override;
};
