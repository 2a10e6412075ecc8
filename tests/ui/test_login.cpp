#include "ui/form1.h"
#include "ui/login_forms.h"
#include "ui/message_box.h"
#include "ui/timeout_form.h"

#include "ui/message_box.h"
#include "ui/translations.h"

#include <QMessageBox>
#include <QtTest>
#include <QtWidgets>

namespace {

// Takes the place of the modal message box and remembers what was shown.
struct MessageRecorder {
    QStringList texts;
    std::function<void(const QString&)> onShow;
    MessageHandler previous;
    MessageRecorder() {
        previous = setMessageHandler([this](QWidget*, const QString& text) {
            texts << text;
            if (onShow)
                onShow(text);
        });
    }
    ~MessageRecorder() { setMessageHandler(previous); }
};

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void login_data();
    void login();
    void dialogIsNotModalAndKeepsEntries();
    void timeout_data();
    void timeout();
    void standardButtonsSpeakChinese();

private:
    static bool unlocked(TForm1& w) {
        auto* group = w.findChild<QGroupBox*>("GroupBox2");
        const bool on = group->isEnabled() && w.findChild<QPushButton*>("Button6")->isEnabled() &&
                        w.findChild<QPushButton*>("Button20")->isEnabled();
        const bool off = !group->isEnabled() && !w.findChild<QPushButton*>("Button6")->isEnabled() &&
                         !w.findChild<QPushButton*>("Button20")->isEnabled();
        if (on)
            return group->palette().color(QPalette::WindowText) == QColor(Qt::black);
        if (off)
            return !(group->palette().color(QPalette::WindowText) == QColor(192, 192, 192));
        return true; // a mixed state counts as unlocked so the test fails on it
    }
};

void TestLogin::login_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower case") << "qk"
                                << "qk"
                                << "密码正确" << true;
    QTest::newRow("upper case") << "qk"
                                << "QK"
                                << "密码正确" << true;
    QTest::newRow("mixed case") << "qk"
                                << "Qk"
                                << "密码错误" << false;
    QTest::newRow("mixed case 2") << "qk"
                                  << "qK"
                                  << "密码错误" << false;
    QTest::newRow("empty password") << "qk"
                                    << ""
                                    << "密码错误" << false;
    QTest::newRow("password with blank") << "qk"
                                         << "qk "
                                         << "密码错误" << false;
    QTest::newRow("user with blank") << "qk "
                                     << "qk"
                                     << "没有这个用户名" << false;
    QTest::newRow("user upper case") << "QK"
                                     << "qk"
                                     << "没有这个用户名" << false;
    QTest::newRow("empty user") << ""
                                << "qk"
                                << "没有这个用户名" << false;
}

void TestLogin::login() {
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(bool, accepted);

    int connects = 0;
    TForm1 w(TForm1::Hooks{[&] { ++connects; }, {}, {}, {}});
    QCOMPARE(connects, 1);
    QVERIFY(!unlocked(w));

    MessageRecorder messages;
    // While "密码正确" is open nothing has happened yet.
    bool quietWhileOpen = false;
    messages.onShow = [&](const QString&) { quietWhileOpen = !unlocked(w) && connects == 1; };

    w.findChild<QAction*>("N2")->trigger();
    TForm2* dialog = w.form2();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("登录"));
    dialog->Edit1->setText(user);
    dialog->Edit2->setText(password);
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);

    QCOMPARE(messages.texts, QStringList{message});
    QVERIFY(quietWhileOpen);
    QCOMPARE(unlocked(w), accepted);
    QCOMPARE(connects, accepted ? 2 : 1);
    QCOMPARE(dialog->isVisible(), !accepted);
}

void TestLogin::dialogIsNotModalAndKeepsEntries() {
    int connects = 0;
    TForm1 w(TForm1::Hooks{[&] { ++connects; }, {}, {}, {}});
    MessageRecorder messages;
    TForm2* dialog = w.form2();
    QCOMPARE(dialog->Edit1->text(), QStringLiteral("qk"));
    QCOMPARE(dialog->Edit2->text(), QString());
    QCOMPARE(dialog->Edit2->echoMode(), QLineEdit::Password);
    QCOMPARE(dialog->size(), QSize(355, 322));
    QCOMPARE(w.form3()->windowTitle(), QStringLiteral("中转站"));

    w.N2Click();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    dialog->Edit2->setText("QK");
    dialog->Button1Click();
    QVERIFY(!dialog->isVisible());
    QVERIFY(!w.form3()->isVisible());

    // A second login unlocks again (no change) and connects again.
    w.N2Click();
    QCOMPARE(dialog->Edit1->text(), QStringLiteral("qk"));
    QCOMPARE(dialog->Edit2->text(), QStringLiteral("QK"));
    dialog->Button1Click();
    QVERIFY(unlocked(w));
    QCOMPARE(connects, 3);
    QCOMPARE(messages.texts, QStringList({"密码正确", "密码正确"}));
}

void TestLogin::timeout_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored"); // -1: refused
    QTest::newRow("plain") << "2500" << 2500;
    QTest::newRow("blanks around") << "  300 " << 300;
    QTest::newRow("smallest") << "1" << 1;
    QTest::newRow("largest") << "600000" << 600000;
    QTest::newRow("too large") << "600001" << -1;
    QTest::newRow("huge") << "99999999999999999999" << -1;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("negative") << "-5" << -1;
    QTest::newRow("text") << "abc" << -1;
    QTest::newRow("decimal") << "1.5" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestLogin::timeout() {
    QFETCH(QString, text);
    QFETCH(int, stored);
    int timeoutMs = 4096;
    int connects = 0;
    TForm1 w(TForm1::Hooks{[&] { ++connects; }, [&](int ms) { timeoutMs = ms; }, {}, {}});
    QCOMPARE(timeoutMs, 4096);
    MessageRecorder messages;

    w.findChild<QAction*>("Language1")->trigger();
    TForm4* dialog = w.form4();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("超时时间"));
    QCOMPARE(dialog->Label1->text(), QStringLiteral("超时时间（ms）    "));
    QCOMPARE(dialog->Edit1->text(), QStringLiteral("1000"));
    QCOMPARE(dialog->Button1->text(), QStringLiteral("设置"));

    dialog->Edit1->setText(text);
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    const bool ok = stored >= 0;
    QCOMPARE(messages.texts, QStringList{ok ? QStringLiteral("设置成功") : QStringLiteral("设置失败")});
    QCOMPARE(timeoutMs, ok ? stored : 4096);
    QCOMPARE(dialog->isVisible(), !ok);
    QCOMPARE(connects, 1);
}

void TestLogin::standardButtonsSpeakChinese() {
    QVERIFY(installChineseTranslations(*QCoreApplication::instance()));
    const auto box = makeMessageBox(nullptr, QStringLiteral("设置成功"));
    QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"
