#include "codec/field_text.h"

QString aTimeStrip(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'.' && c != u'-' && c != u':')
            out += c;
    return out;
}

int aDotPos(const QString& text) {
    return int(text.indexOf(u'.')) + 1;
}

QString aPad2(const QString& text) {
    return text.size() == 1 ? QStringLiteral("0") + text : text;
}

std::array<QString, 4> aIpSplit(const QString& dotted) {
    const qsizetype d1 = dotted.indexOf(u'.');
    const qsizetype d2 = d1 < 0 ? -1 : dotted.indexOf(u'.', d1 + 1);
    const qsizetype dl = dotted.lastIndexOf(u'.');
    std::array<QString, 4> parts;
    if (d1 < 0) {
        parts[0] = dotted;
        return parts;
    }
    parts[0] = dotted.left(d1);
    if (d2 < 0) {
        parts[3] = dotted.mid(d1 + 1);
        return parts;
    }
    parts[1] = dotted.mid(d1 + 1, d2 - d1 - 1);
    parts[2] = dl > d2 ? dotted.mid(d2 + 1, dl - d2 - 1) : QString();
    parts[3] = dotted.mid(dl + 1);
    return parts;
}

qint64 parseDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    const QString body = text.mid(i);
    bool ok = false;
    qint64 v = 0;
    // toLongLong would accept trailing blanks and other forms; check the shape first.
    qsizetype j = 0;
    if (j < body.size() && (body.at(j) == u'-' || body.at(j) == u'+'))
        ++j;
    bool digits = j < body.size() && body.size() - j <= 18;
    for (qsizetype k = j; digits && k < body.size(); ++k)
        digits = body.at(k) >= u'0' && body.at(k) <= u'9';
    if (digits)
        v = body.toLongLong(&ok, 10);
    if (!ok)
        throw ConversionError(text);
    return v;
}

std::array<int, 6> aDateTimeSplit(const QString& dateTime) {
    std::array<int, 6> out{};
    auto piece = [&](qsizetype from, qsizetype len) -> int {
        if (from < 0)
            from = 0;
        return int(parseDecimal(aTimeStrip(dateTime.mid(from, len))));
    };
    const qsizetype firstDash = dateTime.indexOf(u'-');
    const qsizetype lastDash = dateTime.lastIndexOf(u'-');
    if (firstDash < 0)
        throw ConversionError(dateTime);
    out[0] = piece(firstDash - 2, qMin<qsizetype>(2, firstDash));
    out[1] = piece(lastDash - 2, qMin<qsizetype>(2, lastDash));
    out[2] = piece(lastDash + 1, 2);
    const qsizetype firstColon = dateTime.indexOf(u':');
    if (firstColon >= 0) {
        const qsizetype lastColon = dateTime.lastIndexOf(u':');
        out[3] = piece(firstColon - 2, qMin<qsizetype>(2, firstColon));
        out[4] = piece(lastColon - 2, qMin<qsizetype>(2, lastColon));
        out[5] = piece(lastColon + 1, 2);
    }
    return out;
}

QString aNowText(const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(d.year() % 100) + u'-' + two(d.month()) + u'-' + two(d.day()) + QStringLiteral("   ") +
           two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
}

QString aNowText() {
    return aNowText(QDateTime::currentDateTime());
}

QString aIntToStr0(qint64 v) {
    return QString::number(v);
}

QString aIntToStr1(qint64 v) {
    const qint64 a = v < 0 ? -v : v;
    return (v < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 10) + u'.' +
           QString::number(a % 10);
}

QString aIntToStr2(qint64 v) {
    const qint64 a = v < 0 ? -v : v;
    QString out = v < 0 ? QStringLiteral("-") : QString();
    out += a < 100 ? QStringLiteral("0") : QString::number(a / 100);
    out += u'.';
    out += a < 10 ? QStringLiteral("0") : QString::number((a / 10) % 10);
    out += QString::number(a % 10);
    return out;
}
