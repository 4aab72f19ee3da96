// The port failure message tells the user which port and which device to check.
#include "simulated_unit.h"

#include "link/log_on.h"
#include "link/port_failure_text.h"

namespace {

using PortFailureTest = SimulatedUnitTest;

TEST_F(PortFailureTest, TheMessageNamesThePortAndItsDevice) {
    ASSERT_TRUE(platform::map_port(5, "/dev/ttyQuillarnMissing0"));
    struct Case {
        int number;
        QString line;
    };
    const Case cases[] = {
        {1, "COM1 - " + sim->slave_path()},
        {5, "COM5 - /dev/ttyQuillarnMissing0"},
        {42, "COM42 - not mapped"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(port_failure_port_line(c.number), c.line);
        EXPECT_TRUE(port_failure_text(c.number).endsWith("\r\n\r\n" + c.line));
    }
}

TEST_F(PortFailureTest, AMappedDeviceThatIsGoneIsNamedWhenOpeningFails) {
    ASSERT_TRUE(platform::map_port(5, "/dev/ttyQuillarnMissing0"));
    shell().com_port = 5;
    open_com_port();
    EXPECT_TRUE(link().port_open_failed);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.endsWith("COM5 - /dev/ttyQuillarnMissing0"))
        << dialogs.prompts[0].text.toStdString();
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::Critical);
}

} // namespace
