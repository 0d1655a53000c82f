#include "remote/RemoteProtocol.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace lumetra::remote {

namespace {
QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A whole number within [low, high], or nothing.
std::optional<int> whole(const QJsonObject& o, const char* key, int low, int high) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (d != static_cast<double>(static_cast<long long>(d)) || d < low || d > high)
        return std::nullopt;
    return static_cast<int>(d);
}

std::optional<bool> flag(const QJsonObject& o) {
    const QJsonValue v = o.value(QLatin1String("on"));
    if (!v.isBool()) return std::nullopt;
    return v.toBool();
}
}  // namespace

QByteArray stateJson(const RemoteState& s) {
    QJsonArray pictures;
    for (bool on : s.pictures) pictures.append(on);
    QJsonArray conveyor;
    for (const RemoteState::Slot& slot : s.conveyor)
        conveyor.append(QJsonObject{{"caption", text(slot.caption)},
                                 {"bound", slot.bound},
                                 {"active", slot.active}});
    const QJsonObject o{
        {"type", "state"},
        {"playing", s.playing},
        {"tempo", s.tempo},
        {"tempoText", text(s.tempoText)},
        {"blackout", s.blackout},
        {"macro", s.macro},
        {"pictures", pictures},
        {"slots", conveyor},
        {"mode", s.mode},
        {"konveyr", text(s.konveyrLabel)},
        {"scene", s.scene},
        {"lastScene", s.lastScene},
        {"onSound", s.onSound},
        {"byBeat", s.byBeat},
        {"beatTempo", text(s.beatTempo)},
        {"beatHold", text(s.beatHold)},
        {"offline", s.offline},
        {"output", text(s.output)},
        {"status", text(s.status)},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<Command> parseCommand(const QByteArray& message) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(message, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject o = doc.object();
    const QString op = o.value(QLatin1String("op")).toString();
    using Op = Command::Op;
    if (op == QLatin1String("play")) return Command{Op::Play};
    if (op == QLatin1String("stop")) return Command{Op::Stop};
    if (op == QLatin1String("tap")) return Command{Op::Tap};
    if (op == QLatin1String("blackout") || op == QLatin1String("macro")) {
        const auto on = flag(o);
        if (!on) return std::nullopt;
        return Command{op == QLatin1String("macro") ? Op::Macro : Op::Blackout, 0, *on ? 1 : 0};
    }
    if (op == QLatin1String("picture")) {
        const auto n = whole(o, "n", 1, kPictureCount);
        const auto on = flag(o);
        if (!n || !on) return std::nullopt;
        const QJsonValue hold = o.value(QLatin1String("hold"));
        if (!hold.isUndefined() && !hold.isBool()) return std::nullopt;
        return Command{Op::Picture, *n, *on ? 1 : 0, hold.toBool(false)};
    }
    if (op == QLatin1String("slot")) {
        const auto n = whole(o, "n", 1, kSlotCount);
        if (!n) return std::nullopt;
        return Command{Op::Slot, *n};
    }
    if (op == QLatin1String("mode")) {
        const auto n = whole(o, "n", 0, 3);
        if (!n) return std::nullopt;
        return Command{Op::Mode, *n};
    }
    if (op == QLatin1String("tempo")) {
        const auto v = whole(o, "value", kMinTempo, kMaxTempo);
        if (!v) return std::nullopt;
        return Command{Op::Tempo, 0, *v};
    }
    if (op == QLatin1String("scene")) {
        const auto n = whole(o, "n", 1, 256);
        if (!n) return std::nullopt;
        return Command{Op::Scene, *n};
    }
    return std::nullopt;
}

}  // namespace lumetra::remote
