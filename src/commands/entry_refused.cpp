#include "commands/entry_refused.h"

QString entryFieldName(EntryField field) {
    switch (field) {
    case EntryField::UserName:
        return QStringLiteral("用户名");
    case EntryField::Title:
        return QStringLiteral("标题");
    case EntryField::Model:
        return QStringLiteral("型号");
    case EntryField::SerialNumber:
        return QStringLiteral("SN号");
    case EntryField::NewAddress:
        return QStringLiteral("新地址");
    case EntryField::StartMode:
        return QStringLiteral("启动方式");
    case EntryField::StopMode:
        return QStringLiteral("停止方式");
    case EntryField::StartDelay:
        return QStringLiteral("手动启动延时时间");
    case EntryField::ServerPort:
        return QStringLiteral("端口");
    case EntryField::PowerMode:
        return QStringLiteral("电源模式");
    case EntryField::HostName:
        return QStringLiteral("域名地址");
    }
    return QString();
}

namespace {

QString describe(EntryField field, EntryRefused::Reason reason, qint64 limit, qint64 lowest) {
    const QString name = entryFieldName(field);
    switch (reason) {
    case EntryRefused::TooLong:
        return QStringLiteral("%1过长：最多%2个字节（一个汉字占2个字节）").arg(name).arg(limit);
    case EntryRefused::OutOfRange:
        if (field == EntryField::ServerPort)
            return QStringLiteral("数值输入有误！");
        return QStringLiteral("数值输入有误！%1应在%2到%3之间").arg(name).arg(lowest).arg(limit);
    case EntryRefused::NoItem:
        return QStringLiteral("请从列表中选择%1").arg(name);
    }
    return name;
}

} // namespace

EntryRefused::EntryRefused(EntryField field, Reason reason, qint64 limit, qint64 lowest)
    : std::runtime_error(describe(field, reason, limit, lowest).toStdString()), m_field(field),
      m_reason(reason), m_limit(limit), m_lowest(lowest) {}

QString EntryRefused::message() const {
    return describe(m_field, m_reason, m_limit, m_lowest);
}
