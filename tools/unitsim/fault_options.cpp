#include "fault_options.h"

#include <QRegularExpression>

namespace unitsim {
namespace {

std::optional<int> whole(const QString& text, int lowest) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < lowest)
        return std::nullopt;
    return v;
}

} // namespace

QStringList fault_help() {
    return {
        "silent             never answer",
        "late=MS            answer MS milliseconds late",
        "third-send         answer only the third send of the same command",
        "chunks=N[,N...]    write each reply in pieces of these sizes",
        "line-end-apart     the text, its CR and its LF as three writes",
        "last-line-split    the last line of a reply cut across two writes",
        "garbage[=TEXT]     send TEXT and a line end (default: a run of noise bytes) instead",
        "lone-line-end[=cr|lf|crlf]  send only a line end instead of the reply",
        "refuse             answer \"NO\" and change nothing",
        "drop               send half the reply, then the line stays dead",
        "drop-after=N       serve N commands, then drop the line on the next",
    };
}

ParsedFault parse_fault(const QString& text) {
    ParsedFault out;
    QString spec = text.trimmed();
    FaultRule rule;
    // "#N" at the very end: only the first N matching commands misbehave. (A garbage text that
    // itself ends in "#" and digits is given a pattern, "@*", to keep its digits.)
    std::optional<int> times;
    static const QRegularExpression count_suffix(QStringLiteral("#(\\d+)$"));
    if (const auto m = count_suffix.match(spec); m.hasMatch()) {
        times = whole(m.captured(1), 1);
        if (!times) {
            out.error = QStringLiteral("\"%1\": #N wants a number of commands, 1 or more").arg(text);
            return out;
        }
        spec.truncate(m.capturedStart());
    }
    if (const qsizetype at = spec.indexOf('@'); at >= 0) {
        rule.pattern = spec.mid(at + 1).trimmed();
        spec = spec.left(at);
        if (rule.pattern.isEmpty()) {
            out.error = QStringLiteral("\"%1\": nothing after \"@\"").arg(text);
            return out;
        }
    }
    const qsizetype eq = spec.indexOf('=');
    const QString kind = (eq < 0 ? spec : spec.left(eq)).trimmed().toLower();
    const QString value = eq < 0 ? QString() : spec.mid(eq + 1);
    const bool has_value = eq >= 0;
    auto fail = [&](const QString& why) {
        out.rules.clear();
        out.error = QStringLiteral("\"%1\": %2").arg(text, why);
        return out;
    };

    if (kind == "silent" || kind == "third-send" || kind == "line-end-apart" ||
        kind == "last-line-split" || kind == "refuse" || kind == "drop") {
        if (has_value)
            return fail(kind + " takes no value");
        if (kind == "silent")
            rule.behaviour = Misbehaviour::silence();
        else if (kind == "third-send")
            rule.behaviour = Misbehaviour::third_send();
        else if (kind == "line-end-apart")
            rule.behaviour = Misbehaviour::line_end_apart();
        else if (kind == "last-line-split")
            rule.behaviour = Misbehaviour::last_line_split();
        else if (kind == "refuse")
            rule.behaviour = Misbehaviour::refusal();
        else {
            rule.behaviour = Misbehaviour::line_drop();
            rule.count = 1;
        }
    } else if (kind == "late") {
        const auto ms = whole(value, 0);
        if (!ms)
            return fail("late wants milliseconds, 0 or more (late=6000)");
        rule.behaviour = Misbehaviour::late(*ms);
    } else if (kind == "chunks") {
        std::vector<int> sizes;
        for (const QString& part : value.split(',')) {
            const auto n = whole(part, 1);
            if (!n)
                return fail("chunks wants sizes of 1 or more (chunks=2,1)");
            sizes.push_back(*n);
        }
        rule.behaviour = Misbehaviour::in_chunks(sizes);
    } else if (kind == "garbage") {
        rule.behaviour = has_value ? Misbehaviour::garbage(value.toLatin1() + "\r\n")
                                   : Misbehaviour::garbage();
    } else if (kind == "lone-line-end") {
        const QString v = value.trimmed().toLower();
        const QByteArray end = !has_value || v == "cr" ? QByteArray("\r")
                               : v == "lf"             ? QByteArray("\n")
                               : v == "crlf"           ? QByteArray("\r\n")
                                                       : QByteArray();
        if (end.isEmpty())
            return fail("lone-line-end wants cr, lf or crlf");
        rule.behaviour = Misbehaviour::lone_line_end(end);
    } else if (kind == "drop-after") {
        const auto n = whole(value, 0);
        if (!n)
            return fail("drop-after wants a number of commands, 0 or more (drop-after=200)");
        // N commands pass untouched, then the next one drops the line.
        if (*n > 0)
            out.rules.push_back({rule.pattern, Misbehaviour{}, *n});
        rule.behaviour = Misbehaviour::line_drop();
        rule.count = 1;
    } else {
        return fail("no such fault; one of silent, late, third-send, chunks, line-end-apart, "
                    "last-line-split, garbage, lone-line-end, refuse, drop, drop-after");
    }
    if (times) {
        if (kind == "drop" || kind == "drop-after")
            return fail(kind + " takes no #N: the line is dead after it");
        rule.count = *times;
    }
    out.rules.push_back(rule);
    return out;
}

void apply_fault(Responder& responder, const ParsedFault& fault) {
    for (const FaultRule& rule : fault.rules)
        responder.misbehave_on(rule.pattern, rule.behaviour, rule.count);
}

} // namespace unitsim
