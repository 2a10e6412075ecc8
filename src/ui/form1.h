#pragma once

#include "device/device_status.h"
#include "link/link_host.h"
#include "link/port_scan.h"
#include "ui/page.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class FirmwarePage;
class GprsPage;
class HistoryCurvePage;
class HistoryTablePage;
class InfoPage;
class QAction;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class CommandLink;
class TComm;
class TCommTransport;
class TcpClientEndpoint;
class TcpClientTransport;
class TcpServerTransport;
class TcpServerEndpoint;
class QToolButton;
class ReceiverPage;
class RecordingBar;
class SettingsPage;
class SmsPage;
class TForm2;
class TForm3;
class TForm4;
class TransmitterPage;

// The main window: the top bar, the pages, the menu, and the state of the run.
class TForm1 : public QMainWindow, public LinkHost {
    Q_OBJECT
public:
    // Replacements for what the window does with its command link; empty ones keep the
    // window's own. They are given at construction because the start-up, which runs while the
    // window is created, already connects.
    struct Hooks {
        std::function<void()> connectRequested;      // the connect operation of Button2
        std::function<void(int)> setResponseTimeout; // responseTimeoutMs
        std::function<void()> resetLink;             // Timer1 stopped, monitor flag cleared
        PortLister portLister;                       // where the serial port list comes from
    };

    explicit TForm1(Hooks hooks = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up sequence; run once by the constructor (the window's creation handler).
    void FormCreate();
    void aInitSystem();
    void aMenuInit();
    void aComboboxInit();
    void aMemoInit();
    void aEditInit();
    void aLabelInit();
    void aDateTimePickerInit();
    void aCheckboxInit();

    // Shows a decoded connect response: the tree, the address, the settings controls.
    void aLogStateDisplay(qint64 roundTripMs);

    void Button2Click();
    void N2Click();
    void Language1Click();

    DeviceStatus& deviceStatus() { return m_status; }
    TForm2* form2() const { return m_form2.get(); }
    TForm3* form3() const { return m_form3.get(); }
    TForm4* form4() const { return m_form4.get(); }

    // LinkHost
    bool tcpChecked() const override;
    bool serverModeChecked() const override;
    bool fixedPortChecked() const override;
    bool hexMonitorChecked() const override;
    bool serverHexChecked() const override;
    bool clientHexChecked() const override;
    int addressIndex() const override;
    QStringList portItems() const override;
    void setPortItems(const QStringList& items) override;
    int selectedPortIndex() const override;
    void selectPort(int index) override;
    void setStatusText(const QString& text) override;
    void appendMonitorText(const QString& text) override;
    void showMonitor() override;
    void setConnectCaption(const QString& caption) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgress(int position) override;
    void setProgressToMaximum() override;
    void collapseTree() override;
    void showInfoTab() override;
    void reportPortProblem(const QString& text) override;

    // Frame and top bar.
    QWidget* Panel1;
    QGroupBox* GroupBox1;
    QPlainTextEdit* Memo1;
    QProgressBar *ProgressBar1, *ProgressBar2;
    QCheckBox* CheckBox4;
    QComboBox *ComboBox3, *ComboBox4;
    QPushButton *Button2, *Button16, *Button13, *Button14;
    QToolButton* SpeedButton1;
    RecordingBar* recordingBar; // the commands of Button13, Button14 and SpeedButton1
    QTabWidget* PageControl1;

    // Pages, in tab order.
    InfoPage* infoPage;
    HistoryTablePage* historyTablePage;
    HistoryCurvePage* historyCurvePage;
    SettingsPage* settingsPage;
    SmsPage* smsPage;
    GprsPage* gprsPage;
    TransmitterPage* transmitterPage;
    ReceiverPage* receiverPage;
    FirmwarePage* firmwarePage;

    // Menu.
    QMenuBar* MainMenu1;
    QMenu *File1, *help1;
    QAction *N2, *csv1, *pdf1, *Language1, *N1;

    // Non-visual parts that belong to the window itself.
    QFileDialog *OpenDialog1, *SaveDialog1;
    TcpServerEndpoint* ServerSocket1;
    TcpClientEndpoint* ClientSocket1;
    TComm* Comm1;
    CommandLink* link;

private:
    void buildLink();
    int onConnectResponse(QByteArrayView frame);
    void buildTopBar();
    void buildMenu();
    QList<Page*> pages() const;

    Hooks m_hooks;
    DeviceStatus m_status;
    PageContext m_context;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TCommTransport> m_serialTransport;
    std::unique_ptr<TcpServerTransport> m_serverTransport;
    std::unique_ptr<TcpClientTransport> m_clientTransport;
};
