#pragma once

#include "ui/settings_page.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class TForm3;

// The login dialog "登录", shown without blocking the main window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    void setHolder(TForm3* holder) { m_holder = holder; }

    void Button1Click();

    QLabel *Label1, *Label2;
    QLineEdit *Edit1, *Edit2;
    QPushButton* Button1;

private:
    TForm3* m_holder = nullptr;
};

// "中转站": never shown; carries the operations that lock and unlock the main window's
// protected controls and reconnect after a login.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3(LoginControls controls, std::function<void()> clickButton2, TForm2* form2,
           QWidget* parent = nullptr);

    // The lock itself touches only the main window, so the start-up can apply it before
    // this holder exists.
    static void loginFalse(const LoginControls& controls);
    static void loginTrue(const LoginControls& controls);

    void loginFalse() { loginFalse(m_controls); }
    void loginTrue() { loginTrue(m_controls); }
    void login_in();
    void link();
    void showForm2();

private:
    LoginControls m_controls;
    std::function<void()> m_clickButton2;
    TForm2* m_form2;
};

// Accepted credentials: exact, case-sensitive, nothing trimmed.
bool isAcceptedUserName(const QString& name);
bool isAcceptedPassword(const QString& password);
