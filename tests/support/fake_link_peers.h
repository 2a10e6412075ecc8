#pragma once

// Plain-field stand-ins for the window and the transports, so the link's logic runs without
// widgets, ports or waiting.

#include "../support/response_frame.h"
#include "codec/command_frame.h"
#include "link/link_host.h"
#include "link/transport.h"

#include <QStringList>

#include <stdexcept>

struct FakeHost : LinkHost {
    bool tcp = false, server = false, fixed = false, hex = false, serverHex = true, clientHex = true;
    int address = 1;
    QStringList ports;
    int selected = -1;
    QString status, monitor, caption, portProblem;
    int progress = -1, progressMax = 0;
    bool monitorShown = false, treeCollapsed = false, infoTabShown = false;

    bool tcpChecked() const override { return tcp; }
    bool serverModeChecked() const override { return server; }
    bool fixedPortChecked() const override { return fixed; }
    bool hexMonitorChecked() const override { return hex; }
    bool serverHexChecked() const override { return serverHex; }
    bool clientHexChecked() const override { return clientHex; }
    int addressIndex() const override { return address; }
    QStringList portItems() const override { return ports; }
    void setPortItems(const QStringList& items) override { ports = items; }
    int selectedPortIndex() const override { return selected; }
    void selectPort(int index) override { selected = index; }
    void setStatusText(const QString& text) override { status = text; }
    void appendMonitorText(const QString& text) override { monitor += text; }
    void showMonitor() override { monitorShown = true; }
    void setConnectCaption(const QString& c) override { caption = c; }
    void setProgressRange(int, int maximum) override { progressMax = maximum; }
    void setProgress(int position) override { progress = position; }
    void setProgressToMaximum() override { progress = progressMax; }
    void collapseTree() override { treeCollapsed = true; }
    void showInfoTab() override { infoTabShown = true; }
    void reportPortProblem(const QString& text) override { portProblem = text; }
};

struct FakeSerial : SerialTransport {
    QString name;
    bool open = false;
    bool failOpen = false;
    quint32 baud = 9600, readInterval = 0;
    QStringList log;       // "open pts/1", "write AA 01 …", "close"
    QStringList writtenTo; // port of each write

    void setCommName(const QString& n) override { name = n; }
    void openPort() override {
        log << QStringLiteral("open ") + name;
        if (failOpen)
            throw std::runtime_error("cannot open");
        open = true;
    }
    void closePort() override {
        if (open)
            log << QStringLiteral("close");
        open = false;
    }
    SendResult send(const QByteArray& bytes) override {
        if (!open)
            return SendResult::Failed;
        log << QStringLiteral("write ") + QString::fromLatin1(aBytesToHex(bytes)).trimmed();
        writtenTo << name;
        return SendResult::Sent;
    }
    void receive(const QByteArray& bytes) const { deliver(bytes); }
    void setBaudRate(quint32 rate) override { baud = rate; }
    void setReadIntervalTimeout(quint32 ms) override { readInterval = ms; }
    void applyLinkDefaults() override {
        baud = 9600;
        readInterval = 128;
    }
    int writes() const { return int(writtenTo.size()); }
};

// One TCP side: records what was sent, as hex text, and delivers what a test hands it.
struct FakeTcp : Transport {
    QList<QByteArray> sent;
    bool noPeer = false; // a server listening with nobody connected
    SendResult send(const QByteArray& bytes) override {
        if (noPeer)
            return SendResult::NoPeer;
        sent << aBytesToHex(bytes).trimmed();
        return SendResult::Sent;
    }
    void receive(const QByteArray& bytes) const { deliver(bytes); }
};
