#pragma once

#include "ui/page.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// TabSheet11 "固件升级": the firmware file and the upgrade.
class FirmwarePage : public Page {
    Q_OBJECT
public:
    explicit FirmwarePage(const PageContext& context, QWidget* parent = nullptr);

    void aLabelInit() override;

    QGroupBox* GroupBox26;
    QLabel *Label50, *Label77;
    QLineEdit* Edit41;
    QPushButton *Button70, *Button69;
};
