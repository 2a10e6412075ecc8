#pragma once

#include "ui/page.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

// The controls a login unlocks.
struct LoginControls {
    QGroupBox* groupBox2 = nullptr;
    QPushButton* button6 = nullptr;
    QPushButton* button20 = nullptr;
};

// TabSheet3 "参数设置": recording, alarm, address, identity and start-delay settings.
class SettingsPage : public Page {
    Q_OBJECT
public:
    explicit SettingsPage(const PageContext& context, QWidget* parent = nullptr);

    void aComboboxInit() override;
    void aEditInit() override;
    void aLabelInit() override;
    void aDateTimePickerInit() override;

    // Puts a connected instrument's identity and recording settings into the controls,
    // so a change can be written back without retyping the rest.
    void showDeviceStatus(const DeviceStatus& s);
    LoginControls loginControls() const { return {GroupBox2, Button6, Button20}; }

    void registerResponses() override;

    void ComboBox7Change();
    void ComboBox8Change();
    void Button12Click(); // recording parameters, then restart
    void Button6Click();  // model and serial number
    void Button11Click(); // new address
    void Button20Click(); // factory settings
    void Button36Click(); // battery level
    void Button66Click(); // manual-start delay: write
    void Button67Click(); // manual-start delay: read

    QGroupBox* GroupBox8;
    QLabel *Label1, *Label10, *Label11, *Label12, *Label13, *Label15, *Label16, *Label22;
    QLineEdit *Edit8, *Edit9;
    QComboBox *ComboBox6, *ComboBox7, *ComboBox8;
    QDateEdit *DateTimePicker1, *DateTimePicker3;
    QTimeEdit *DateTimePicker2, *DateTimePicker4;
    QPushButton* Button12;

    QGroupBox* GroupBox9;
    QLabel *Label17, *Label20, *Label19, *Label18;
    QComboBox *ComboBox9, *ComboBox10;
    QLineEdit *Edit10, *Edit11;
    QPushButton* Button15;

    QGroupBox* GroupBox7;
    QComboBox* ComboBox5;
    QPushButton *Button11, *Button36, *Button20;

    QGroupBox* GroupBox2;
    QLabel *Label2, *Label3;
    QComboBox* ComboBox2;
    QLineEdit* Edit3;
    QPushButton* Button6;

    QGroupBox* GroupBox25;
    QLineEdit* Edit35;
    QLabel* Label71;
    QPushButton *Button67, *Button66;
};

// The model designations of the instrument family offered in ComboBox2.
QStringList modelDesignations();
