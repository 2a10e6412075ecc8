#include "sim/sim_fault.h"

#include "codec/command_frame.h"
#include "sim/sim_frames.h"

#include <QRegularExpression>

namespace {

const QList<QPair<SimFault::Kind, QString>>& kindTable() {
    static const QList<QPair<SimFault::Kind, QString>> table = {
        {SimFault::Kind::Split2, QStringLiteral("split2")},
        {SimFault::Kind::Split3, QStringLiteral("split3")},
        {SimFault::Kind::WrongSum, QStringLiteral("wrong-sum")},
        {SimFault::Kind::ExtraByte, QStringLiteral("extra-byte")},
        {SimFault::Kind::Silence, QStringLiteral("silence")},
        {SimFault::Kind::ForeignAddress, QStringLiteral("foreign-address")},
        {SimFault::Kind::HangUp, QStringLiteral("hang-up")},
        {SimFault::Kind::FailResult, QStringLiteral("fail-result")},
    };
    return table;
}

// Recomputes the checksum after a byte of the answer was changed on purpose.
void resum(QByteArray& a, bool modbus) {
    if (modbus) {
        if (a.size() >= 4)
            a = appendModbusCrc(QByteArrayView(a).first(a.size() - 2));
        return;
    }
    if (a.size() >= 3)
        a[a.size() - 2] = char(sum8(QByteArrayView(a).first(a.size() - 2)));
}

} // namespace

SimFault SimFault::next(Kind kind, int count) {
    SimFault f;
    f.kind = kind;
    f.count = count;
    return f;
}

SimFault SimFault::atRequestNumber(int request, Kind kind, int count) {
    SimFault f = next(kind, count);
    f.atRequest = request;
    return f;
}

QString SimFault::kindName(Kind kind) {
    for (const auto& [k, name] : kindTable())
        if (k == kind)
            return name;
    return {};
}

QStringList SimFault::kindNames() {
    QStringList names;
    for (const auto& entry : kindTable())
        names << entry.second;
    return names;
}

std::optional<SimFault> SimFault::fromText(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^([a-z0-9-]+)(?::(\\d+))?(?:@(\\d+))?$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    for (const auto& [kind, name] : kindTable()) {
        if (name != m.captured(1))
            continue;
        SimFault f = next(kind);
        if (m.hasCaptured(2)) {
            const int n = m.captured(2).toInt();
            if (kind == Kind::Split2 || kind == Kind::Split3)
                f.pauseMs = n;
            else if (kind == Kind::Silence && n > 0)
                f.count = n;
            else if (kind == Kind::ForeignAddress && n <= 255)
                f.foreignAddress = n;
            else
                return std::nullopt;
        }
        if (m.hasCaptured(3)) {
            f.atRequest = m.captured(3).toInt();
            if (f.atRequest <= 0)
                return std::nullopt;
        }
        return f;
    }
    return std::nullopt;
}

ShapedAnswer shapeAnswer(const QByteArray& answer, bool modbus, const QList<SimFault>& faults) {
    ShapedAnswer out;
    QByteArray a = answer;
    int pieces = 1;
    for (const SimFault& f : faults) {
        switch (f.kind) {
        case SimFault::Kind::HangUp:
            out.hangUp = true;
            return out;
        case SimFault::Kind::Silence:
            return out;
        case SimFault::Kind::ForeignAddress: {
            const int at = modbus ? 0 : 1;
            if (a.size() > at) {
                const int other = f.foreignAddress >= 0 ? f.foreignAddress : quint8(a[at]) + 1;
                a[at] = char(other & 0xFF);
                resum(a, modbus);
            }
            break;
        }
        case SimFault::Kind::WrongSum: {
            const qsizetype at = a.size() - (modbus ? 1 : 2);
            if (at >= 0)
                a[at] = char(quint8(a[at]) + 1);
            break;
        }
        case SimFault::Kind::ExtraByte:
            a.append('\0');
            break;
        case SimFault::Kind::Split2:
        case SimFault::Kind::Split3:
            pieces = f.kind == SimFault::Kind::Split2 ? 2 : 3;
            out.pauseMs = f.pauseMs;
            break;
        case SimFault::Kind::FailResult:
            // A refusal is the instrument's answer, not damage on the line: simReply built it.
            break;
        }
    }
    pieces = int(std::min<qsizetype>(pieces, a.size()));
    qsizetype from = 0;
    for (int i = 1; i <= pieces; ++i) {
        const qsizetype to = a.size() * i / pieces;
        out.pieces.append(a.mid(from, to - from));
        from = to;
    }
    if (out.pieces.isEmpty() && !a.isEmpty())
        out.pieces.append(a);
    return out;
}

QList<SimFault> takeFaultsFor(QList<SimFault>& pending, int request, bool hasResult) {
    const auto applies = [hasResult](const SimFault& f) {
        return hasResult || f.kind != SimFault::Kind::FailResult;
    };
    QList<qsizetype> chosen;
    for (qsizetype i = 0; i < pending.size(); ++i)
        if (pending[i].atRequest == request && applies(pending[i]))
            chosen.append(i);
    for (qsizetype i = 0; chosen.isEmpty() && i < pending.size(); ++i)
        if (pending[i].atRequest == 0 && applies(pending[i]))
            chosen.append(i);

    QList<SimFault> taken;
    for (qsizetype k = chosen.size() - 1; k >= 0; --k) {
        SimFault& f = pending[chosen[k]];
        taken.prepend(f);
        // A silence over several answers stays for the following one.
        if (f.kind == SimFault::Kind::Silence && f.count > 1) {
            --f.count;
            if (f.atRequest != 0)
                f.atRequest = request + 1;
        } else {
            pending.removeAt(chosen[k]);
        }
    }
    return taken;
}
