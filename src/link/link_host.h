#pragma once

#include <QString>
#include <QStringList>

// What the command link needs from the window: the switches it reads and the few
// controls it writes. The window implements it; tests implement it with plain fields.
class LinkHost {
public:
    virtual ~LinkHost() = default;

    // Switches read by the link.
    virtual bool tcpChecked() const = 0;        // CheckBox3 "TCP/IP通讯"
    virtual bool serverModeChecked() const = 0; // CheckBox5 "服务器模式"
    virtual bool fixedPortChecked() const = 0;  // CheckBox4 "固定串口"
    virtual bool hexMonitorChecked() const = 0; // CheckBox7 "hex"
    virtual bool serverHexChecked() const = 0;  // CheckBox2: the server reads hex (instrument) data
    virtual bool clientHexChecked() const = 0;  // CheckBox6: the client reads hex (instrument) data
    virtual int addressIndex() const = 0;       // ComboBox4 item index = address byte

    // Port selector ComboBox3.
    virtual QStringList portItems() const = 0;
    virtual void setPortItems(const QStringList& items) = 0;
    virtual int selectedPortIndex() const = 0; // -1 when nothing is selected
    virtual void selectPort(int index) = 0;

    // Controls written by the link.
    virtual void setStatusText(const QString& text) = 0;         // Memo1, whole text replaced
    virtual void appendMonitorText(const QString& text) = 0;     // Memo2, appended, caret to the end
    virtual void showMonitor() = 0;                              // Memo2 made visible
    virtual void setConnectCaption(const QString& caption) = 0;  // Button2
    virtual void setProgressRange(int minimum, int maximum) = 0; // ProgressBar1
    virtual void setProgress(int position) = 0;
    virtual void setProgressToMaximum() = 0;
    virtual void collapseTree() = 0; // TreeView1
    virtual void showInfoTab() = 0;  // TabSheet1
    // Why a port could not be opened, for the status bar (the link itself only times out).
    virtual void reportPortProblem(const QString& text) = 0;
};
