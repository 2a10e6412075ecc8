#pragma once

#include "ui/page.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// TabSheet7 "接收机": receiver settings, radio frequency and card pairing.
class ReceiverPage : public Page {
    Q_OBJECT
public:
    explicit ReceiverPage(const PageContext& context, QWidget* parent = nullptr);

    void aComboboxInit() override;
    void aEditInit() override;
    void aLabelInit() override;

    // Reads the receiver's parameters (command 0x33); the answer fills this page.
    void Button62Click();

    QGroupBox* GroupBox27;
    QLabel *Label81, *Label79, *Label80, *Label82, *Label83, *Label62;
    QLineEdit* Edit31;
    QComboBox *ComboBox21, *ComboBox22, *ComboBox11;
    QPushButton *Button62, *Button61, *Button74, *Button73;
};
