#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The response time-out dialog "超时时间".
class TForm4 : public QWidget {
    Q_OBJECT
public:
    // store receives an accepted time-out in milliseconds.
    explicit TForm4(std::function<void(int)> store, QWidget* parent = nullptr);

    void Button1Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;

private:
    std::function<void(int)> m_store;
};

// The time-out typed into the dialog: blanks around it are ignored; 1 … 600000 ms.
// Returns false for anything else (text, 0, negatives, beyond ten minutes).
bool parseResponseTimeout(const QString& text, int& ms);
