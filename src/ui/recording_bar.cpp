#include "ui/recording_bar.h"

#include "codec/command_frame.h"
#include "commands/command_answers.h"
#include "commands/recording_commands.h"
#include "link/link_port.h"

#include <QDateTime>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString RestartCaption = QStringLiteral("重启记录");

} // namespace

RecordingBar::RecordingBar(const PageContext& context, QPushButton* restart, QPushButton* stop,
                           QToolButton* clock, QObject* parent)
    : QObject(parent), m_context(context), m_button13(restart), m_button14(stop), m_speedButton1(clock) {
    connect(m_button13, &QPushButton::clicked, this, &RecordingBar::Button13Click);
    connect(m_button14, &QPushButton::clicked, this, &RecordingBar::Button14Click);
    connect(m_speedButton1, &QToolButton::clicked, this, &RecordingBar::SpeedButton1Click);
}

void RecordingBar::Button13Click() {
    if (m_context.send(QStringLiteral("正在重启中......"), [this] {
            return buildRestartRecording(m_context.address(), QDateTime::currentDateTime());
        }))
        m_button13->setText(QStringLiteral("正在重启"));
}

void RecordingBar::Button14Click() {
    m_context.send(QStringLiteral("Record Stopping..."),
                   [this] { return buildStopRecording(m_context.address()); });
}

void RecordingBar::SpeedButton1Click() {
    m_context.send(QStringLiteral("同步时钟......"),
                   [this] { return buildSetClock(m_context.address(), QDateTime::currentDateTime()); });
}

void RecordingBar::registerResponses() {
    LinkPort& link = *m_context.link;
    link.registerHandler<CommandResult>(Cmd::RestartRecording, decodeCommandResult,
                                        [this](const CommandResult& r) {
                                            m_context.answered(r.success ? QStringLiteral("重启记录成功...")
                                                                         : QStringLiteral("重启记录失败..."));
                                            m_button13->setText(RestartCaption);
                                            return HandlerStep{};
                                        });
    link.registerHandler<Acknowledgement>(Cmd::StopRecording, decodeAcknowledgement,
                                          [this](const Acknowledgement&) {
                                              m_context.answered(QStringLiteral("停止记录成功..."));
                                              return HandlerStep{};
                                          });
    link.registerHandler<CommandResult>(Cmd::SetClock, decodeCommandResult, [this](const CommandResult& r) {
        const LinkState& state = m_context.link->state();
        m_context.answered(
            (r.success ? QStringLiteral("同步时间成功...") : QStringLiteral("同步时间失败...")) +
            QStringLiteral("，连接耗时：") + QString::number(state.roundTripMs) + QStringLiteral("ms"));
        return chainStep(afterClockSet(state.autoReadChain, m_context.gprsModel()));
    });
    // A follow-up click works on a disabled button too; the restart is enabled first.
    link.registerFollowUp(FollowRestartRecording, [this] {
        m_button13->setEnabled(true);
        Button13Click();
    });
    link.registerFollowUp(FollowSetClock, [this] { SpeedButton1Click(); });
}
