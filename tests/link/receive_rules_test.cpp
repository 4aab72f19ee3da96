// The receive rules of every reply-collection mode, fed with the same bytes cut into batches at
// every possible place: what the exchange gets must not depend on where the cuts fall.
#include "simulated_unit.h"

#include "shell/definitions_table.h"

#include <QBuffer>

namespace {

using Chunks = std::vector<QByteArray>;

// Every way of cutting `text` into batches with up to two cuts, and one byte per batch.
std::vector<Chunks> all_splits(const QByteArray& text) {
    std::vector<Chunks> out = {{text}};
    for (int i = 1; i < text.size(); ++i) {
        out.push_back({text.left(i), text.mid(i)});
        for (int j = i + 1; j < text.size(); ++j)
            out.push_back({text.left(i), text.mid(i, j - i), text.mid(j)});
    }
    Chunks bytes;
    for (char c : text)
        bytes.push_back(QByteArray(1, c));
    out.push_back(bytes);
    return out;
}

std::string show(const Chunks& chunks) {
    QByteArray s;
    for (const QByteArray& c : chunks)
        s += (s.isEmpty() ? "" : " | ") + QByteArray(c).replace("\r", "<CR>").replace("\n", "<LF>");
    return s.toStdString();
}

class ReceiveRules : public SimulatedUnitTest {
protected:
    // Starts a fresh exchange as send_command does before it writes.
    void fresh_exchange() {
        link().reply_buffer.clear();
        link().reply_received = false;
        reset_command_link();
    }
};

TEST_F(ReceiveRules, AReplyIsTheTextBeforeItsFirstLineEndWhereverTheBatchesAreCut) {
    // An empty reply: line ends alone are no reply.
    // clang-format off
    const struct { QByteArray wire; QString reply; } cases[] = {
        {"OK\r\n", "OK"}, {"12.5\r", "12.5"}, {"\r\nVelto Level V2.05\r\n", "Velto Level V2.05"},
        {"\n\r\nNO\n", "NO"}, {"3.75\r\nstray\r\n", "3.75"},
        {"\r", ""}, {"\n", ""}, {"\r\n", ""}, {"\n\r\n\r", ""}};
    // clang-format on
    for (const auto& c : cases)
        for (const Chunks& chunks : all_splits(c.wire)) {
            fresh_exchange();
            bool done = false;
            for (const QByteArray& part : chunks) {
                receive_text(part);
                if (link().reply_received && !done) {
                    done = true;
                    EXPECT_EQ(link().reply_buffer, c.reply) << show(chunks);
                }
            }
            EXPECT_EQ(done, !c.reply.isEmpty()) << "batches " << show(chunks);
            EXPECT_TRUE(done || link().reply_buffer.isEmpty()) << show(chunks);
        }
}

TEST_F(ReceiveRules, LogInformationCompletesAtTheLineEndAfterTheRecordCountAndKeepsItsLineEnds) {
    const QByteArray wires[] = {
        "UnitType=2\r\nmA=1\r\nStart=10124\r\nMask1=32769\r\nMask2=0\r\nMask3=0\r\nInterval=5\r\n"
        "Wrap=1\r\nLogRecords=1234\r\n",
        "Wrap=0\r\nLogRecords\r\n77\r\n", // the count on the line after its key
    };
    for (const QByteArray& wire : wires)
        for (const Chunks& chunks : all_splits(wire)) {
            fresh_exchange();
            link().loginfo_reply_mode = true;
            const QByteArray reply = wire.chopped(1); // up to the count's CR
            QByteArray so_far;
            for (const QByteArray& part : chunks) {
                receive_text(part);
                so_far += part;
                if (link().reply_received)
                    break;
            }
            ASSERT_TRUE(link().reply_received) << show(chunks);
            EXPECT_TRUE(so_far.startsWith(reply))
                << "completed before the record count's line end: " << show(chunks);
            EXPECT_EQ(link().reply_buffer, QString::fromLatin1(reply)) << show(chunks);
        }
}

TEST_F(ReceiveRules, TheLogStreamEndsAtItsFirstCrOrLfWhereverTheBatchesAreCutAndLosesNothing) {
    // Line ends before the stream are not its end; the serial number goes before the first record.
    const QByteArray data = "0,2,0,10124,32769,0,0,5,0,2$0A0B0C,$0A0B0D,";
    const QByteArray line = "0,2,0,10124,32769,0,0,5,0,2,40312$0A0B0C,$0A0B0D,";
    definitions_table()[92].unit_value = 40312;
    for (const QByteArray& end : {QByteArray("\r\n"), QByteArray("\n")})
        for (const Chunks& chunks : all_splits("\r\n\n" + data + end + "JUNK\r\n")) {
            fresh_exchange();
            QByteArray file;
            link().download_file = std::make_unique<QBuffer>(&file);
            link().download_file->open(QIODevice::WriteOnly);
            link().log_download_active = true;
            link().download_marker_seen = false;
            link().download_received = 0;
            link().download_expected = 40;
            for (const QByteArray& c : chunks)
                receive_text(c);
            const std::string where = show(chunks);
            EXPECT_FALSE(link().log_download_active) << "the download never ended: " << where;
            EXPECT_FALSE(link().download_file) << "the log file was left open: " << where;
            const QByteArray tail = file.mid(line.size()); // the line end, whole or its first byte
            EXPECT_TRUE(file.startsWith(line) && !tail.isEmpty() && end.startsWith(tail))
                << where << "\nfile: " << file.toStdString();
            EXPECT_TRUE(view.download_label.contains(" bytes (100%) in ")) << view.download_label;
        }
}

TEST_F(ReceiveRules, ALogFileThatCannotBeWrittenEndsTheDownloadWithAMessage) {
    link().log_download_active = true;
    receive_text("1,2$AB");
    EXPECT_FALSE(link().log_download_active) << "the downloader would wait for ever";
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("52  : ")) << dialogs.prompts[0].text;
}

} // namespace
