#pragma once

// The top bar's recording buttons: restart recording, stop recording, set the clock. They sit
// beside the connect button in the window's frame; their commands and answers live here.

#include "ui/page.h"

#include <QObject>

class QPushButton;
class QToolButton;

class RecordingBar : public QObject {
    Q_OBJECT
public:
    RecordingBar(const PageContext& context, QPushButton* restart, QPushButton* stop, QToolButton* clock,
                 QObject* parent = nullptr);

    void registerResponses();

    void Button13Click();     // restart recording with the PC clock
    void Button14Click();     // stop recording
    void SpeedButton1Click(); // set the instrument clock to the PC clock

private:
    const PageContext& m_context;
    QPushButton* m_button13;
    QPushButton* m_button14;
    QToolButton* m_speedButton1;
};
