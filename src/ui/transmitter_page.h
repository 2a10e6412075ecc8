#pragma once

#include "ui/page.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// TabSheet9 "变送器": transmitter recording, alarm, SMS title and live values.
class TransmitterPage : public Page {
    Q_OBJECT
public:
    explicit TransmitterPage(const PageContext& context, QWidget* parent = nullptr);

    void aComboboxInit() override;
    void aLabelInit() override;

    QGroupBox* GroupBox15;
    QPushButton *Button46, *Button50, *Button49, *Button48, *Button47;
    QLabel *Label33, *Label38, *Label37, *Label52;
    QComboBox* ComboBox14;
    QLineEdit* Edit14;

    QGroupBox* GroupBox18;
    QComboBox* ComboBox16;
    QRadioButton *RadioButton5, *RadioButton6;
    QLabel *Label46, *Label47, *Label75;
    QLineEdit *Edit16, *Edit19, *Edit40;
    QPushButton *Button53, *Button52, *Button27, *Button68;

    QGroupBox* GroupBox20;
    QPushButton* Button51;
    QLabel* Label39;
};
