#pragma once

#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TcpTerminal;
struct GprsSettings;

// TabSheet8 "GPRS网络": the link's TCP switches, the TCP terminal, GPRS instrument settings.
class GprsPage : public Page {
    Q_OBJECT
public:
    explicit GprsPage(const PageContext& context, QWidget* parent = nullptr);

    void aComboboxInit() override;
    void aMemoInit() override;
    void aLabelInit() override;
    void aCheckboxInit() override;
    void registerResponses() override;

    void Button35Click(); // read the instrument's upload settings
    void Button34Click(); // write them
    // A read's answer into the group, and the terminal's client and server pointed the same way.
    void showGprsSettings(const GprsSettings& settings);

    QCheckBox *CheckBox3, *CheckBox5; // the link goes over TCP; as the server

    TcpTerminal* terminal; // server and client boxes with their logs

    QGroupBox* GroupBox14;
    QRadioButton *RadioButton3, *RadioButton4;
    QLineEdit *IPEdit3, *Edit18, *Edit17;
    QLabel *Label34, *Label36, *Label76, *Label59, *Label64, *Label78;
    QComboBox *ComboBox13, *ComboBox12, *ComboBox17, *ComboBox20;
    QPushButton *Button35, *Button34;
};
