#pragma once

#include "ui/page.h"

#include <QByteArray>
#include <QByteArrayView>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTcpSocket;

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
    // Hooks the handlers below to the window's two sockets once they exist.
    void bindSockets();

    // What one read of each kind takes at most; what is left is read on the next turn.
    static constexpr int ServerHexReadBytes = 1501;
    static constexpr int ClientHexReadBytes = 1025;
    static constexpr int TextReadBytes = 4096;
    // Lines the two receive logs keep; older ones scroll out so a chatty peer cannot fill memory.
    static constexpr int LogLines = 2000;

    void Button33Click(); // listening on/off
    void Button32Click(); // server send
    void Button43Click(); // clear the server log
    void Button42Click(); // client connect
    void Button45Click(); // client disconnect
    void Button41Click(); // client send
    void Button44Click(); // clear the client log

    // Socket events; connect and disconnect serve both sockets.
    void tcpConnect();
    void tcpDisconnect();
    void serverReadable(QTcpSocket* connection);
    void clientReadable(QTcpSocket* connection);

    // Appends the records of a GPRS upload below the rows of the history table, under the
    // upload's header row.
    void aLogDataFromGPRS(QByteArrayView packet);

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

signals:
    // An upload whose trailing sum matched, just before it is decoded into the table.
    void gprsPacketReceived(const QByteArray& packet);

private:
    void openClient(const QString& address);
    void reportProblem(const QString& text);

    int connectAttempt_ = 0; // a newer connect or a disconnect makes a pending look-up stale
    bool connectBusy_ = false;
};

// The server host name the client offers before the operator types another.
QString defaultServerHostName();
// An edit for a dotted IPv4 address.
QLineEdit* makeIpEdit(QWidget* parent, const char* name, const QString& text);
