#include "ui/settings_page.h"

#include "codec/command_frame.h"
#include "codec/value_tables.h"
#include "commands/command_answers.h"
#include "commands/identity_commands.h"
#include "commands/recording_commands.h"
#include "core/gbk_text.h"
#include "device/channel_format.h"
#include "device/info_view.h"
#include "link/link_port.h"
#include "ui/widget_factory.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimeEdit>
#include <QVBoxLayout>

QStringList modelDesignations() {
    return {QStringLiteral("KV10-T"),   QStringLiteral("KV10-TH"),  QStringLiteral("KV11-T"),
            QStringLiteral("KV11-TH"),  QStringLiteral("KV12-2T"),  QStringLiteral("KV20-T"),
            QStringLiteral("KV20-TH"),  QStringLiteral("KV20-2TH"), QStringLiteral("KV21-T"),
            QStringLiteral("KV21-TH"),  QStringLiteral("KV30-T"),   QStringLiteral("KV30-TH"),
            QStringLiteral("KV31-4T"),  QStringLiteral("KV32-8T"),  QStringLiteral("KV40-P"),
            QStringLiteral("KV40-V"),   QStringLiteral("KV50-CO2"), QStringLiteral("KV60-RX"),
            QStringLiteral("KV70-SMS"), QStringLiteral("KV71-SMS"), QStringLiteral("G10-T"),
            QStringLiteral("G10-TH"),   QStringLiteral("G20-TH"),   QStringLiteral("G20-2TH"),
            QStringLiteral("G30-4T"),   QStringLiteral("G40-P"),    QStringLiteral("M10-TH"),
            QStringLiteral("M20-TH"),   QStringLiteral("M30-485")};
}

SettingsPage::SettingsPage(const PageContext& context, QWidget* parent) : Page(context, "TabSheet3", parent) {
    GroupBox8 = makeGroup(this, "GroupBox8", QStringLiteral("记录参数"));
    Label1 = makeLabel(GroupBox8, "Label1");
    Edit8 = makeEdit(GroupBox8, "Edit8");
    Label10 = makeLabel(GroupBox8, "Label10");
    Edit9 = makeEdit(GroupBox8, "Edit9", QStringLiteral("温湿度记录仪"));
    Label11 = makeLabel(GroupBox8, "Label11");
    ComboBox6 = makeCombo(GroupBox8, "ComboBox6");
    Label12 = makeLabel(GroupBox8, "Label12");
    ComboBox7 = makeCombo(GroupBox8, "ComboBox7");
    Label13 = makeLabel(GroupBox8, "Label13");
    ComboBox8 = makeCombo(GroupBox8, "ComboBox8");
    Label15 = makeLabel(GroupBox8, "Label15");
    DateTimePicker1 = named(new QDateEdit(QDate::currentDate(), GroupBox8), "DateTimePicker1");
    DateTimePicker2 = named(new QTimeEdit(GroupBox8), "DateTimePicker2");
    Label16 = makeLabel(GroupBox8, "Label16");
    DateTimePicker3 = named(new QDateEdit(QDate::currentDate(), GroupBox8), "DateTimePicker3");
    DateTimePicker4 = named(new QTimeEdit(GroupBox8), "DateTimePicker4");
    Label22 = makeLabel(GroupBox8, "Label22");
    Button12 = makeButton(GroupBox8, "Button12", QStringLiteral("确定并重启    "));
    for (QDateEdit* d : {DateTimePicker1, DateTimePicker3})
        d->setCalendarPopup(true);
    {
        auto* g = new QGridLayout(GroupBox8);
        const std::pair<QLabel*, QWidget*> rows[] = {{Label1, Edit8},
                                                     {Label10, Edit9},
                                                     {Label11, ComboBox6},
                                                     {Label12, ComboBox7},
                                                     {Label13, ComboBox8}};
        int r = 0;
        for (const auto& [l, w] : rows) {
            g->addWidget(l, r, 0);
            g->addWidget(w, r++, 1, 1, 2);
        }
        g->addWidget(Label15, r, 0);
        g->addWidget(DateTimePicker1, r, 1);
        g->addWidget(DateTimePicker2, r++, 2);
        g->addWidget(Label16, r, 0);
        g->addWidget(DateTimePicker3, r, 1);
        g->addWidget(DateTimePicker4, r++, 2);
        g->addWidget(Label22, r++, 0, 1, 3);
        g->addWidget(Button12, r, 1, 1, 2);
    }

    GroupBox9 = makeGroup(this, "GroupBox9", QStringLiteral("报警参数"));
    Label17 = makeLabel(GroupBox9, "Label17");
    ComboBox9 = makeCombo(GroupBox9, "ComboBox9");
    Label20 = makeLabel(GroupBox9, "Label20");
    ComboBox10 = makeCombo(GroupBox9, "ComboBox10");
    Label19 = makeLabel(GroupBox9, "Label19");
    Edit10 = makeEdit(GroupBox9, "Edit10");
    Label18 = makeLabel(GroupBox9, "Label18");
    Edit11 = makeEdit(GroupBox9, "Edit11");
    Button15 = makeButton(GroupBox9, "Button15", QStringLiteral("确定"));
    {
        auto* g = new QGridLayout(GroupBox9);
        const std::pair<QLabel*, QWidget*> rows[] = {
            {Label17, ComboBox9}, {Label20, ComboBox10}, {Label19, Edit10}, {Label18, Edit11}};
        int r = 0;
        for (const auto& [l, w] : rows) {
            g->addWidget(l, r, 0);
            g->addWidget(w, r++, 1);
        }
        g->addWidget(Button15, r, 1);
    }

    GroupBox7 = makeGroup(this, "GroupBox7", QStringLiteral("地址"));
    ComboBox5 = makeCombo(GroupBox7, "ComboBox5");
    keepLastValidSelection(ComboBox5);
    Button11 = makeButton(GroupBox7, "Button11", QStringLiteral("确定  "));
    Button36 = makeButton(this, "Button36", QStringLiteral("读电池电量  "));
    Button20 = makeButton(this, "Button20", QStringLiteral("恢复出厂设置"));
    {
        auto* h = new QHBoxLayout(GroupBox7);
        h->addWidget(ComboBox5, 1);
        h->addWidget(Button11);
    }

    GroupBox2 = makeGroup(this, "GroupBox2", QStringLiteral("识别号"));
    Label2 = makeLabel(GroupBox2, "Label2");
    ComboBox2 = makeCombo(GroupBox2, "ComboBox2");
    Label3 = makeLabel(GroupBox2, "Label3");
    Edit3 = makeEdit(GroupBox2, "Edit3", QStringLiteral("110501001"));
    Button6 = makeButton(GroupBox2, "Button6", QStringLiteral("确定    "));
    {
        auto* g = new QGridLayout(GroupBox2);
        g->addWidget(Label2, 0, 0);
        g->addWidget(ComboBox2, 0, 1);
        g->addWidget(Label3, 1, 0);
        g->addWidget(Edit3, 1, 1);
        g->addWidget(Button6, 2, 1);
    }

    GroupBox25 = makeGroup(this, "GroupBox25", QStringLiteral("延时时间"));
    Edit35 = makeEdit(GroupBox25, "Edit35");
    Label71 = makeLabel(GroupBox25, "Label71");
    Button67 = makeButton(GroupBox25, "Button67", QStringLiteral("读取"));
    Button66 = makeButton(GroupBox25, "Button66", QStringLiteral("确定"));
    {
        auto* h = new QHBoxLayout(GroupBox25);
        h->addWidget(Edit35, 1);
        h->addWidget(Label71);
        h->addWidget(Button67);
        h->addWidget(Button66);
    }

    auto* columns = new QHBoxLayout(this);
    columns->addWidget(GroupBox8, 3);
    auto* middle = new QVBoxLayout;
    middle->addWidget(GroupBox9);
    middle->addWidget(GroupBox7);
    middle->addWidget(Button36);
    middle->addWidget(Button20);
    middle->addStretch(1);
    columns->addLayout(middle, 2);
    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox2);
    right->addWidget(GroupBox25);
    right->addStretch(1);
    columns->addLayout(right, 2);

    connect(Button12, &QPushButton::clicked, this, &SettingsPage::Button12Click);
    connect(Button6, &QPushButton::clicked, this, &SettingsPage::Button6Click);
    connect(Button11, &QPushButton::clicked, this, &SettingsPage::Button11Click);
    connect(Button20, &QPushButton::clicked, this, &SettingsPage::Button20Click);
    connect(Button36, &QPushButton::clicked, this, &SettingsPage::Button36Click);
    connect(Button66, &QPushButton::clicked, this, &SettingsPage::Button66Click);
    connect(Button67, &QPushButton::clicked, this, &SettingsPage::Button67Click);
    connect(ComboBox7, &QComboBox::currentTextChanged, this, &SettingsPage::ComboBox7Change);
    connect(ComboBox8, &QComboBox::currentTextChanged, this, &SettingsPage::ComboBox8Change);
}

void SettingsPage::aComboboxInit() {
    fillCombo(ComboBox5, addressItems(), 1);
    fillCombo(ComboBox6, recordingIntervals().texts() << QStringLiteral("..."), 2);
    fillCombo(ComboBox7, startModes().texts(), 0);
    ComboBox7->lineEdit()->end(false);
    fillCombo(ComboBox8, stopModes().texts(), 0);
    ComboBox8->lineEdit()->end(false);
    QStringList channels;
    for (int k = 1; k <= 8; ++k)
        channels << QStringLiteral("通道") + QString::number(k);
    fillCombo(ComboBox9, channels, 0);
    fillCombo(ComboBox10, {QStringLiteral("报警关闭"), QStringLiteral("报警打开")}, 0);
    fillCombo(ComboBox2, modelDesignations(), 7);
    limitGbkBytes(ComboBox2->lineEdit(), 12);
}

void SettingsPage::aEditInit() {
    Edit10->clear();
    Edit11->clear();
    limitGbkBytes(Edit3, 10);
    limitGbkBytes(Edit8, 20);
    limitGbkBytes(Edit9, 20);
}

void SettingsPage::aLabelInit() {
    Label1->setText(QStringLiteral("用 户 名  "));
    Label10->setText(QStringLiteral("标    题  "));
    Label11->setText(QStringLiteral("记录间隔  "));
    Label12->setText(QStringLiteral("启动方式  "));
    Label13->setText(QStringLiteral("停止方式  "));
    Label15->setText(QStringLiteral("定时启动  "));
    Label16->setText(QStringLiteral("定时停止  "));
    Label22->setText(QStringLiteral("定时模式,电脑时间格式须设成xx-xx-xx              "));
    setTextColor(Label22, Qt::blue);
    Label17->setText(QStringLiteral("通道选择  "));
    Label20->setText(QStringLiteral("报警开关  "));
    Label19->setText(QStringLiteral("报警下限  "));
    Label18->setText(QStringLiteral("报警上限  "));
    Label2->setText(QStringLiteral("型    号  "));
    Label3->setText(QStringLiteral("SN  "));
    Label71->setText(QStringLiteral("秒     "));
}

void SettingsPage::aDateTimePickerInit() {
    for (QDateEdit* d : {DateTimePicker1, DateTimePicker3})
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    for (QTimeEdit* t : {DateTimePicker2, DateTimePicker4}) {
        t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        t->setTime(QTime(0, 0, 0));
    }
}

void SettingsPage::ComboBox7Change() {
    const bool timed = ComboBox7->currentText() == QStringLiteral("定时启动");
    DateTimePicker1->setEnabled(timed);
    DateTimePicker2->setEnabled(timed);
}

void SettingsPage::ComboBox8Change() {
    const bool timed = ComboBox8->currentText() == QStringLiteral("定时停止");
    DateTimePicker3->setEnabled(timed);
    DateTimePicker4->setEnabled(timed);
}

namespace {

void setPickers(QDateEdit* date, QTimeEdit* time, const TimeFields& t) {
    // Parts out of range are replaced by the text form, so the pickers never get nonsense.
    const QDateTime dt = QDateTime::fromString(aTimeFieldsToText(t), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        return;
    date->setDate(dt.date());
    time->setTime(dt.time());
}

} // namespace

void SettingsPage::showDeviceStatus(const DeviceStatus& s) {
    Edit8->setText(gbkToString(s.userName));
    Edit9->setText(gbkToString(s.title));
    ComboBox2->setEditText(gbkToString(s.model));
    Edit3->setText(gbkToString(s.serialNumber));

    const int interval = intervalItemIndex(s.recordInterval);
    if (interval >= 0)
        ComboBox6->setCurrentIndex(interval);

    DateTimePicker1->setEnabled(false);
    DateTimePicker2->setEnabled(false);
    const int start = startModeItemIndex(s.startModeText);
    if (start >= 0)
        ComboBox7->setCurrentIndex(start);
    if (start == TimedStartItem) {
        DateTimePicker1->setEnabled(true);
        DateTimePicker2->setEnabled(true);
        setPickers(DateTimePicker1, DateTimePicker2, s.timedStartTime);
    }

    DateTimePicker3->setEnabled(false);
    DateTimePicker4->setEnabled(false);
    const int stop = stopModeItemIndex(s.stopModeText);
    if (stop >= 0)
        ComboBox8->setCurrentIndex(stop);
    if (stop == TimedStopItem) {
        DateTimePicker3->setEnabled(true);
        DateTimePicker4->setEnabled(true);
        setPickers(DateTimePicker3, DateTimePicker4, s.timedStopTime);
    }
}

namespace {

// The item a box's text names: typed text that names none gives -1.
int namedItem(const QComboBox* box) {
    return box->findText(box->currentText(), Qt::MatchExactly);
}

} // namespace

void SettingsPage::Button12Click() {
    RecordingParams p;
    p.intervalIndex = namedItem(ComboBox6);
    p.startModeIndex = namedItem(ComboBox7);
    p.stopModeIndex = namedItem(ComboBox8);
    p.userName = Edit8->text();
    p.title = Edit9->text();
    p.model = context().status->model;
    p.serialNumber = context().status->serialNumber;
    p.timedStartDate = DateTimePicker1->date();
    p.timedStartTime = DateTimePicker2->time();
    p.timedStopDate = DateTimePicker3->date();
    p.timedStopTime = DateTimePicker4->time();
    context().send(QStringLiteral("正在设置记录参数，请等待..."),
                   [&] { return buildRecordingParams(context().address(), p); });
}

void SettingsPage::Button6Click() {
    const ModelSerial entry{ComboBox2->currentText(), Edit3->text()};
    context().send(QStringLiteral("正在设置型号和SN号，请等待..."),
                   [&] { return buildModelSerial(context().address(), entry); });
}

void SettingsPage::Button11Click() {
    context().send(QStringLiteral("正在设置新地址"),
                   [&] { return buildSetAddress(context().address(), ComboBox5->currentIndex()); });
}

void SettingsPage::Button20Click() {
    context().send(QStringLiteral("正在设置...恢复出厂默认设置..."),
                   [&] { return buildFactoryReset(context().address()); });
}

void SettingsPage::Button36Click() {
    context().send(QStringLiteral("正在读取电池电量"), [&] { return buildReadBattery(context().address()); });
}

void SettingsPage::Button66Click() {
    context().send(QStringLiteral("正在设置手动启动延时时间"),
                   [&] { return buildSetStartDelay(context().address(), Edit35->text()); });
}

void SettingsPage::Button67Click() {
    Edit35->clear();
    context().send(QStringLiteral("正在读取手动启动延时时间"),
                   [&] { return buildReadStartDelay(context().address()); });
}

void SettingsPage::registerResponses() {
    LinkPort& link = *context().link;
    const PageContext* c = &context();
    // Answers whose only effect is a text, by their result byte where they carry one.
    const auto plain = [&link, c](quint8 code, QString text) {
        link.registerHandler<Acknowledgement>(code, decodeAcknowledgement, [c, text](const Acknowledgement&) {
            c->answered(text);
            return HandlerStep{};
        });
    };
    const auto byResult = [&link, c](quint8 code, QString success, QString failure) {
        link.registerHandler<CommandResult>(code, decodeCommandResult,
                                            [c, success, failure](const CommandResult& r) {
                                                c->answered(r.success ? success : failure);
                                                return HandlerStep{};
                                            });
    };

    link.registerHandler<Acknowledgement>(
        Cmd::SetRecordingParams, decodeAcknowledgement, [c](const Acknowledgement&) {
            c->answered(QStringLiteral("设备记录参数，设置成功"));
            return followUp(afterRecordingParamsSet(c->link->state().restoreAfterUpgrade));
        });
    link.registerHandler<Acknowledgement>(
        Cmd::SetModelSerial, decodeAcknowledgement, [c](const Acknowledgement&) {
            c->answered(QStringLiteral("型号和序列号，设置成功"));
            return followUp(afterModelSerialSet(c->link->state().restoreAfterUpgrade, c->gprsModel()));
        });
    link.registerHandler<AddressAnswer>(Cmd::SetAddress, decodeAddressAnswer, [c](const AddressAnswer& a) {
        c->answered(QStringLiteral("地址设置成功,地址=") + QString::number(a.address));
        return HandlerStep{};
    });
    // A refused reset leaves the waiting text.
    link.registerHandler<CommandResult>(Cmd::FactoryReset, decodeCommandResult, [c](const CommandResult& r) {
        c->answered();
        if (r.success)
            c->setStatusText(QStringLiteral("恢复出厂默认设置成功..."));
        return HandlerStep{};
    });
    link.registerHandler<BatteryLevel>(Cmd::ReadBattery, decodeBatteryLevel, [c](const BatteryLevel& b) {
        c->answered(QStringLiteral("电池电量：") + QString::number(b.percent) + u'%');
        return HandlerStep{};
    });
    plain(Cmd::SetStartDelay, QStringLiteral("成功设置手动启动延时时间"));
    link.registerHandler<StartDelay>(Cmd::ReadStartDelay, decodeStartDelay, [this](const StartDelay& d) {
        Edit35->setText(QString::number(d.seconds));
        context().answered(QStringLiteral("成功读取手动启动延时时间"));
        return HandlerStep{};
    });
    // Answers to commands this program never sends, shown when an instrument sends them anyway.
    byResult(Cmd::RestoreOnce, QStringLiteral("恢复一次性成功..."), QStringLiteral("恢复一次性失败..."));
    byResult(Cmd::CurveAdjustMode, QStringLiteral("进入...曲线调整模式成功..."),
             QStringLiteral("退出...曲线调整模式成功..."));
    plain(Cmd::WorkModeSwitched, QStringLiteral("工作模式，切换成功..."));
    plain(Cmd::CurveDotsSet, QStringLiteral("实时曲线虚线点位，设置成功"));
    plain(Cmd::NumberSet, QStringLiteral("编号设置成功"));

    link.registerFollowUp(FollowWriteModelSerial, [this] { Button6Click(); });
}
