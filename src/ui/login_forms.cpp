#include "ui/login_forms.h"

#include "ui/message_box.h"
#include "ui/widget_factory.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QProxyStyle>

namespace {

// Typed password characters show as '#'.
class HashPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '#';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void setLocked(const LoginControls& c, bool locked) {
    if (c.groupBox2) {
        c.groupBox2->setEnabled(!locked);
        setTextColor(c.groupBox2, locked ? QColor(192, 192, 192) : QColor(Qt::black));
    }
    if (c.button6)
        c.button6->setEnabled(!locked);
    if (c.button20)
        c.button20->setEnabled(!locked);
}

} // namespace

bool isAcceptedUserName(const QString& name) {
    return name == QStringLiteral("qk");
}

bool isAcceptedPassword(const QString& password) {
    return password == QStringLiteral("qk") || password == QStringLiteral("QK");
}

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("登录"));
    resize(355, 322);
    Label1 = makeLabel(this, "Label1");
    Label1->setText(QStringLiteral("用户名      "));
    Edit1 = makeEdit(this, "Edit1", QStringLiteral("qk"));
    Label2 = makeLabel(this, "Label2");
    Label2->setText(QStringLiteral("密   码      "));
    Edit2 = makeEdit(this, "Edit2");
    Edit2->setEchoMode(QLineEdit::Password);
    auto* style = new HashPasswordStyle;
    style->setParent(Edit2);
    Edit2->setStyle(style);
    Button1 = makeButton(this, "Button1", QStringLiteral("登录"));

    auto* g = new QGridLayout(this);
    g->setRowStretch(0, 1);
    g->addWidget(Label1, 1, 0);
    g->addWidget(Edit1, 1, 1);
    g->addWidget(Label2, 2, 0);
    g->addWidget(Edit2, 2, 1);
    g->addWidget(Button1, 3, 1);
    g->setRowStretch(4, 1);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::Button1Click() {
    if (!isAcceptedUserName(Edit1->text())) {
        showMessage(this, QStringLiteral("没有这个用户名"));
        return;
    }
    if (!isAcceptedPassword(Edit2->text())) {
        showMessage(this, QStringLiteral("密码错误"));
        return;
    }
    // The box is modal: unlocking and reconnecting wait until the operator has closed it.
    showMessage(this, QStringLiteral("密码正确"));
    if (m_holder) {
        m_holder->login_in();
        m_holder->link();
    }
    hide();
}

TForm3::TForm3(LoginControls controls, std::function<void()> clickButton2, TForm2* form2, QWidget* parent)
    : QWidget(parent, Qt::Window), m_controls(controls), m_clickButton2(std::move(clickButton2)),
      m_form2(form2) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("中转站"));
}

void TForm3::loginFalse(const LoginControls& controls) {
    setLocked(controls, true);
}

void TForm3::loginTrue(const LoginControls& controls) {
    setLocked(controls, false);
}

void TForm3::login_in() {
    loginTrue();
}

void TForm3::link() {
    if (m_clickButton2)
        m_clickButton2();
}

void TForm3::showForm2() {
    if (!m_form2)
        return;
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();
}
