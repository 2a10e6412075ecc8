#pragma once

// What every page of the main window shares: the few controls and records that are not
// its own, and the fill steps of the start-up that a page answers for its own controls.

#include "codec/hex_text.h"
#include "device/device_status.h"

#include <QWidget>

#include <functional>

class LinkPort;
class HistoryGrid;
class QComboBox;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class TcpClientEndpoint;
class TcpServerEndpoint;

struct PageContext {
    QComboBox* addressBox = nullptr;          // ComboBox4: item index = address byte
    QPlainTextEdit* statusLine = nullptr;     // Memo1
    QProgressBar* exchangeProgress = nullptr; // ProgressBar1
    QProgressBar* workProgress = nullptr;     // ProgressBar2
    QTabWidget* pageControl = nullptr;        // PageControl1
    DeviceStatus* status = nullptr;
    LinkPort* link = nullptr;                  // sends commands; pages register their handlers on it
    HistoryGrid* historyGrid = nullptr;        // StringGrid2
    TcpServerEndpoint* serverSocket = nullptr; // ServerSocket1
    TcpClientEndpoint* clientSocket = nullptr; // ClientSocket1

    // An operation reports by replacing the whole status line.
    void setStatusText(const QString& text) const;

    // The instrument's address: ComboBox4's item index.
    int address() const;
    // A command's first half: builds the frame (an entry the builder refuses is shown in a
    // message box and nothing is sent), shows the waiting text, resets the progress bar, sends.
    // False when the entry was refused.
    bool send(const QString& waitingText, const std::function<HexText()>& build) const;
    // A response's first step: the progress bar to its end.
    void answered() const;
    // The same and the status text.
    void answered(const QString& text) const;
    // The model of the connected instrument begins with "G" (a GPRS logger).
    bool gprsModel() const;
};

class Page : public QWidget {
    Q_OBJECT
public:
    Page(const PageContext& context, const char* name, QWidget* parent = nullptr);

    // Start-up fills; each page does its part of the window's fill operations.
    virtual void aComboboxInit() {}
    virtual void aMemoInit() {}
    virtual void aEditInit() {}
    virtual void aLabelInit() {}
    virtual void aDateTimePickerInit() {}
    virtual void aCheckboxInit() {}
    // Registers the handlers of the page's responses and follow-up clicks, once the link exists.
    virtual void registerResponses() {}

protected:
    const PageContext& context() const { return m_context; }

private:
    const PageContext& m_context;
};
