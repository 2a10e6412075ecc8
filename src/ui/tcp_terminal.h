#pragma once

// The TCP terminal of the GPRS page: the server that instruments connect to and the client that
// connects to a remote server, each with its send box and receive log. The link's TCP media
// carry the instrument frames; the terminal shows every read, sends what the operator typed, and
// lays GPRS uploads that reach the server into the history table.

#include "ui/page.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TcpTerminal : public QObject {
    Q_OBJECT
public:
    // serverMode is CheckBox5: in server mode the server's hex reads are instrument frames, not uploads.
    TcpTerminal(const PageContext& context, QWidget* page, const QCheckBox* serverMode);

    // What one read of each kind takes at most; what is left is read on the next turn.
    static constexpr int ServerHexReadBytes = 1501;
    static constexpr int ClientHexReadBytes = 1025;
    static constexpr int TextReadBytes = 4096;
    // Lines the two receive logs keep; older ones scroll out so a chatty peer cannot fill memory.
    static constexpr int LogLines = 2000;

    // Read sizes for the link's TCP media, by the current read mode.
    qint64 serverReadLimit() const;
    qint64 clientReadLimit() const;

    void aMemoInit();
    void aLabelInit();
    void aCheckboxInit();
    // The PC's own address, where instruments and the client connect to.
    void setOwnAddress(const QString& dotted);
    // Hooks the handlers below to the window's two sockets and to the link's receive tap.
    void bind();

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

    // Appends the records of a GPRS upload below the rows of the history table, under the
    // upload's header row.
    void aLogDataFromGPRS(QByteArrayView packet);

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

signals:
    // An upload whose trailing sum matched, just before it is decoded into the table.
    void gprsPacketReceived(const QByteArray& packet);

private:
    void serverRead(QByteArrayView bytes);
    void clientRead(QByteArrayView bytes);
    void openClient(const QString& address);
    void reportProblem(const QString& text);

    const PageContext& m_context;
    QWidget* m_page;
    const QCheckBox* m_serverMode;
    int m_connectAttempt = 0; // a newer connect or a disconnect makes a pending look-up stale
    bool m_connectBusy = false;
};

// The server host name the client offers before the operator types another.
QString defaultServerHostName();
// An edit for a dotted IPv4 address.
QLineEdit* makeIpEdit(QWidget* parent, const char* name, const QString& text);
