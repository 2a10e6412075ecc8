#pragma once

#include "ui/page.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// TabSheet4 "短信操作": phone numbers, SMS title, SMS host, serial monitor, sound-light test.
class SmsPage : public Page {
    Q_OBJECT
public:
    explicit SmsPage(const PageContext& context, QWidget* parent = nullptr);

    void aMemoInit() override;
    void aEditInit() override;
    void aLabelInit() override;

    // Empties the four SMS-host fields before a new instrument's status is shown.
    void aLinkedIni();

    QGroupBox* GroupBox3;
    QLabel *Label4, *Label5, *Label6, *Label53;
    QLineEdit *Edit2, *Edit4, *Edit5, *Edit21;
    QPushButton *Button7, *Button8, *Button58, *Button57;

    QGroupBox* GroupBox11;
    QLabel *Label26, *Label27, *Label29, *Label73, *Label72, *Label74;
    QLineEdit *Edit36, *Edit37, *Edit38, *Edit39;
    QPushButton *Button25, *Button26;

    QGroupBox* GroupBox12;
    QPlainTextEdit* Memo2;
    QPushButton *Button22, *Button23, *Button24;
    QCheckBox* CheckBox7;

    QGroupBox* GroupBox21;
    QPlainTextEdit* Memo7;
    QLabel *Label48, *Label49;
    QLineEdit* Edit20;
    QPushButton *Button54, *Button55, *Button56, *Button71;
};
