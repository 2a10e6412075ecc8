#include "ui/timeout_form.h"

#include "ui/message_box.h"
#include "ui/widget_factory.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

bool parseResponseTimeout(const QString& text, int& ms) {
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok, 10);
    // Ten minutes is far beyond any answer; a larger number is a typing mistake, and zero
    // or less would make every command time out at once.
    if (!ok || v < 1 || v > 600000)
        return false;
    ms = int(v);
    return true;
}

TForm4::TForm4(std::function<void(int)> store, QWidget* parent)
    : QWidget(parent, Qt::Window), m_store(std::move(store)) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("超时时间"));
    Label1 = makeLabel(this, "Label1");
    Label1->setText(QStringLiteral("超时时间（ms）    "));
    Edit1 = makeEdit(this, "Edit1", QStringLiteral("1000"));
    Button1 = makeButton(this, "Button1", QStringLiteral("设置"));
    auto* v = new QVBoxLayout(this);
    auto* h = new QHBoxLayout;
    h->addWidget(Label1);
    h->addWidget(Edit1, 1);
    v->addLayout(h);
    v->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);
}

void TForm4::Button1Click() {
    int ms = 0;
    if (!parseResponseTimeout(Edit1->text(), ms)) {
        showMessage(this, QStringLiteral("设置失败"));
        return;
    }
    if (m_store)
        m_store(ms);
    showMessage(this, QStringLiteral("设置成功"));
    close();
}
