#pragma once

#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// TabSheet8 "GPRS网络": TCP server and client, GPRS instrument settings.
class GprsPage : public Page {
    Q_OBJECT
public:
    explicit GprsPage(const PageContext& context, QWidget* parent = nullptr);

    void aComboboxInit() override;
    void aMemoInit() override;
    void aLabelInit() override;
    void aCheckboxInit() override;

    // The PC's own address, where instruments and the client connect to.
    void setOwnAddress(const QString& dotted);

    QCheckBox *CheckBox3, *CheckBox5;
    QLabel *Label51, *Label31;

    QGroupBox* GroupBox13;
    QLabel *Label35, *Label14;
    QLineEdit *IPEdit1, *Edit1;
    QPushButton *Button33, *Button32, *Button43;
    QCheckBox* CheckBox2;
    QPlainTextEdit *Memo3, *Memo5;

    QGroupBox* GroupBox19;
    QRadioButton *RadioButton1, *RadioButton2;
    QLineEdit *IPEdit2, *Edit28, *IPEdit4, *Edit15;
    QLabel *Label25, *Label30;
    QPushButton *Button42, *Button45, *Button41, *Button44;
    QCheckBox *CheckBox1, *CheckBox6;
    QPlainTextEdit *Memo8, *Memo6;

    QGroupBox* GroupBox14;
    QRadioButton *RadioButton3, *RadioButton4;
    QLineEdit *IPEdit3, *Edit18, *Edit17;
    QLabel *Label34, *Label36, *Label76, *Label59, *Label64, *Label78;
    QComboBox *ComboBox13, *ComboBox12, *ComboBox17, *ComboBox20;
    QPushButton *Button35, *Button34;
};

// The server host name the client offers before the operator types another.
QString defaultServerHostName();
// An edit for a dotted IPv4 address.
QLineEdit* makeIpEdit(QWidget* parent, const char* name, const QString& text);
