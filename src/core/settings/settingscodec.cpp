// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingscodec.h"

#include <QRegularExpression>

#include <cfenv>
#include <cmath>

namespace SettingsCodec {

LaunchOptions defaults()
{
    LaunchOptions o;
    o.stick1 = Stick::RightKeyboard;
    o.stick2 = Stick::Disable;
    return o;
}

QByteArray encode(const LaunchOptions &o)
{
    const auto stick = [](const std::optional<StickMode> &m) { return m ? QByteArray::number(*m) : QByteArray(); };
    QByteArray line;
    for (qint16 v : {o.debug, o.noLimit, o.noSound, o.noVoice})
        line += QByteArray::number(v) + ',';
    return line + stick(o.stick1) + ',' + stick(o.stick2) + "\r\n";
}

QByteArray defaultRecord()
{
    QByteArray line = encode(defaults());
    line.insert(line.size() - 2, ",\"#TRUE#\"");
    return line;
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// A decimal number in 16 bits, the fraction rounded half to even as the file's writers did.
std::optional<qint16> toNumber(QByteArrayView raw)
{
    const QByteArray text = raw.trimmed().toByteArray();
    if (text.isEmpty())
        return qint16(0);
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(QLatin1String(text)).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(saved);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

}

std::optional<Values> readValues(QByteArrayView text, bool whole)
{
    Values values{};
    qsizetype pos = 0;
    const qsizetype end = text.size();
    for (int k = 0; k < ValueCount; ++k) {
        while (pos < end && isBlank(text[pos]))
            ++pos;
        if (pos == end)
            return std::nullopt; // the file ends before this value
        std::optional<qint16> value;
        if (text[pos] == '"') {
            const qsizetype close = text.indexOf('"', pos + 1);
            if (close < 0)
                return std::nullopt;
            const QByteArrayView inner = text.sliced(pos + 1, close - pos - 1);
            // Quotes say "this is text", so an empty pair is text, not a number.
            if (inner.trimmed().isEmpty())
                return std::nullopt;
            value = toNumber(inner);
            pos = close + 1;
            while (pos < end && isBlank(text[pos]))
                ++pos;
            if (pos < end ? text[pos] != ',' && !isLineEnd(text[pos]) : !whole)
                return std::nullopt;
        } else {
            const qsizetype start = pos;
            while (pos < end && text[pos] != ',' && !isLineEnd(text[pos]))
                ++pos;
            if (pos == end && !whole)
                return std::nullopt;
            value = toNumber(text.sliced(start, pos - start));
        }
        if (!value)
            return std::nullopt;
        values[static_cast<size_t>(k)] = *value;
        // Step over the separator: a comma, or a line end (CR LF, or a lone CR or LF).
        if (pos < end) {
            if (text[pos] == '\r' && pos + 1 < end && text[pos + 1] == '\n')
                ++pos;
            ++pos;
        }
    }
    return values;
}

std::optional<LaunchOptions> toOptions(const Values &v)
{
    const auto isCheck = [](qint16 x) { return x >= Check::Clear && x <= Check::Grayed; };
    const auto isStick = [](qint16 x) { return x >= 0 && x < Stick::ModeCount; };
    for (int k = 0; k < 4; ++k)
        if (!isCheck(v[static_cast<size_t>(k)]))
            return std::nullopt;
    if (!isStick(v[4]) || !isStick(v[5]))
        return std::nullopt;
    LaunchOptions o;
    o.debug = v[0];
    o.noLimit = v[1];
    o.noSound = v[2];
    o.noVoice = v[3];
    o.stick1 = v[4];
    o.stick2 = v[5];
    return o;
}

}
