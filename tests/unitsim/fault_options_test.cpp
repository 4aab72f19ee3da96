// The misbehaviours the unitsim program takes on its command line: each --fault text reaches the
// responder as the misbehaviour it names, on the commands it names; a bad text is refused. The
// program itself is started with faults by the pseudo-terminal tests.
#include <unitsim/fault_options.h>

#include "unit_test_support.h"

using unitsim::Responder;
using unitsim::UnitCore;

namespace {

// When the first write for `command` goes out, or -1 for none.
double first_write_ms(Line& line, const QByteArray& command) {
    const auto writes = line.send(command);
    return writes.empty() ? -1 : writes.front().at_ms;
}

TEST(UnitsimFaults, EachFaultOnTheCommandLineShapesTheRepliesItNames) {
    const struct {
        const char* spec;
        std::vector<const char*> commands;
        std::vector<const char*> replies; // "" = no answer; "*" = the unit's own answer
    } table[] = {
        {"silent@/p20", {"/p20", "/p21"}, {"", "*"}},
        {"silent@/p20#1", {"/p20", "/p20"}, {"", "*"}},
        {"third-send@/p2*", {"/p20", "/p20", "/p20", "/P99"}, {"", "", "*", "*"}},
        {"refuse@/p104:*", {"/p104:2", "/p104"}, {"NO\r\n", "*"}},
        {"garbage=##", {"/p20"}, {"##\r\n"}},
        {"lone-line-end=lf", {"/p20"}, {"\n"}},
        {"chunks=2,1", {"/p20"}, {"*"}},
        {"drop-after=2", {"/p20", "/p21", "/p22", "/p23"}, {"*", "*", "half", ""}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.spec);
        const auto fault = unitsim::parse_fault(row.spec);
        ASSERT_TRUE(fault.error.isEmpty()) << fault.error.toStdString();
        Line plain, faulty;
        unitsim::apply_fault(faulty.responder, fault);
        for (size_t i = 0; i < row.commands.size(); ++i) {
            const QByteArray own = joined(plain.send(row.commands[i]));
            const QByteArray got = joined(faulty.send(row.commands[i]));
            const QByteArray want = row.replies[i];
            if (want == "*")
                EXPECT_EQ(got, own) << row.commands[i];
            else if (want == "half")
                EXPECT_TRUE(!got.isEmpty() && own.startsWith(got) && got.size() < own.size())
                    << row.commands[i] << ": " << got.toStdString();
            else
                EXPECT_EQ(got, want) << row.commands[i];
        }
    }
}

TEST(UnitsimFaults, ALateUnitAnswersThatMuchLater) {
    for (const char* command : {"/p20", "/p21"}) {
        Line line;
        unitsim::apply_fault(line.responder, unitsim::parse_fault("late=6000@/p20"));
        EXPECT_EQ(first_write_ms(line, command) >= 6000, QByteArray(command) == "/p20") << command;
    }
}

TEST(UnitsimFaults, AFaultTextThatSaysNothingClearIsRefused) {
    for (const char* bad : {"late", "late=-5", "chunks=0", "chunks=2,", "bogus", "silent=3",
                            "drop-after=", "lone-line-end=tab", "refuse@", "silent#0", "drop#2"}) {
        const auto fault = unitsim::parse_fault(bad);
        EXPECT_FALSE(fault.error.isEmpty()) << bad;
        EXPECT_TRUE(fault.rules.empty()) << bad;
    }
    EXPECT_EQ(unitsim::fault_help().size(), 11);
}

} // namespace
