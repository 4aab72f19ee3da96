// The receive rules of every reply-collection mode, fed with the same bytes cut into batches at
// every possible place: what the exchange gets must not depend on where the cuts fall.
#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/traffic_log.h"
#include "platform/dialogs.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

using Chunks = std::vector<QByteArray>;

// Every way of cutting `text` into batches with up to two cuts, and one byte per batch.
std::vector<Chunks> all_splits(const QByteArray& text) {
    std::vector<Chunks> out;
    const int n = static_cast<int>(text.size());
    out.push_back({text});
    for (int i = 1; i < n; ++i) {
        out.push_back({text.left(i), text.mid(i)});
        for (int j = i + 1; j < n; ++j)
            out.push_back({text.left(i), text.mid(i, j - i), text.mid(j)});
    }
    Chunks bytes;
    for (char c : text)
        bytes.push_back(QByteArray(1, c));
    out.push_back(bytes);
    return out;
}

QString show(const Chunks& chunks) {
    QStringList parts;
    for (const QByteArray& c : chunks)
        parts << QString::fromLatin1(c).replace("\r", "<CR>").replace("\n", "<LF>");
    return parts.join(" | ");
}

class ReceiveRules : public ::testing::Test {
protected:
    void SetUp() override {
        reset_shell_state();
        reset_link_state();
        reset_command_link();
        traffic().clear_all();
        set_link_view(&view);
    }
    void TearDown() override { set_link_view(nullptr); }

    // Starts a fresh exchange as send_command does before it writes.
    void fresh_exchange() {
        view = RecordingLinkView{};
        link().reply_buffer.clear();
        link().reply_received = false;
        reset_command_link();
        traffic().clear_all();
    }

    RecordingLinkView view;
    platform::ScopedScriptedDialogs dialogs;
};

TEST_F(ReceiveRules, OneLineReplyIsTheTextBeforeItsFirstLineEndWhereverTheBatchesAreCut) {
    struct Case {
        QByteArray wire;
        QString reply;
    } cases[] = {
        {"OK\r\n", "OK"},
        {"12.5\r", "12.5"},
        {"\r\nVelto Level V2.05\r\n", "Velto Level V2.05"},
        {"\n\r\nNO\n", "NO"},
        {"3.75\r\nstray\r\n", "3.75"},
    };
    for (const Case& c : cases)
        for (const Chunks& chunks : all_splits(c.wire)) {
            fresh_exchange();
            size_t done_at = chunks.size();
            for (size_t i = 0; i < chunks.size(); ++i) {
                receive_text(chunks[i]);
                if (link().reply_received && done_at == chunks.size()) {
                    done_at = i;
                    EXPECT_EQ(link().reply_buffer, c.reply)
                        << "batches " << show(chunks).toStdString();
                }
            }
            EXPECT_LT(done_at, chunks.size())
                << "the reply never completed: " << show(chunks).toStdString();
        }
}

TEST_F(ReceiveRules, LineEndsWithoutTextAreNoReply) {
    for (const QByteArray& wire :
         {QByteArray("\r"), QByteArray("\n"), QByteArray("\r\n"), QByteArray("\n\r\n\r")})
        for (const Chunks& chunks : all_splits(wire)) {
            fresh_exchange();
            for (const QByteArray& c : chunks)
                receive_text(c);
            EXPECT_FALSE(link().reply_received) << show(chunks).toStdString();
            EXPECT_TRUE(link().reply_buffer.isEmpty()) << show(chunks).toStdString();
        }
}

TEST_F(ReceiveRules, ReceivedTextIsEchoedIntoTheOpenTrafficBoxesButALoneLineEndIsNot) {
    fresh_exchange();
    link().modem_window_open = true;
    link().debug_window_open = true;
    receive_text("\r");
    EXPECT_TRUE(traffic().debug().text().isEmpty()) << "a lone line end before any text is dropped";
    receive_text("12");
    receive_text(".5\r\n");
    EXPECT_EQ(traffic().debug().text(), "12.5\r\n");
    EXPECT_EQ(traffic().modem().text(), "12.5\r\n");
    EXPECT_TRUE(traffic().term().text().isEmpty()) << "Term shows commands only";

    fresh_exchange();
    link().debug_window_open = false;
    link().modem_window_open = false;
    receive_text("OK\r");
    EXPECT_TRUE(traffic().debug().text().isEmpty());
}

TEST_F(ReceiveRules, LogInformationCompletesAtTheLineEndAfterTheRecordCountAndKeepsItsLineEnds) {
    const QByteArray wire = "UnitType=2\r\nmA=1\r\nStart=10124\r\nMask1=32769\r\nMask2=0\r\n"
                            "Mask3=0\r\nInterval=5\r\nWrap=1\r\nLogRecords=1234\r\n";
    const QString expected = QString::fromLatin1(wire.left(wire.size() - 1)); // up to the CR
    for (const Chunks& chunks : all_splits(wire)) {
        fresh_exchange();
        link().loginfo_reply_mode = true;
        QByteArray so_far;
        for (const QByteArray& c : chunks) {
            receive_text(c);
            so_far += c;
            if (!link().reply_received)
                continue;
            ASSERT_TRUE(so_far.contains("LogRecords=1234\r"))
                << "completed before the record count arrived: " << show(chunks).toStdString();
            EXPECT_EQ(link().reply_buffer, expected) << show(chunks).toStdString();
            break;
        }
        EXPECT_TRUE(link().reply_received) << show(chunks).toStdString();
    }
}

TEST_F(ReceiveRules, LogInformationValueOnTheLineAfterItsKeyIsWaitedFor) {
    fresh_exchange();
    link().loginfo_reply_mode = true;
    receive_text("Wrap=0\r\nLogRecords\r\n");
    EXPECT_FALSE(link().reply_received) << "the count has not come yet";
    receive_text("77\r\n");
    EXPECT_TRUE(link().reply_received);
    EXPECT_EQ(link().reply_buffer, "Wrap=0\r\nLogRecords\r\n77\r");
}

TEST_F(ReceiveRules, LiveEchoRepliesCompleteLikeOthersStepTheLiveBarAndStayOutOfTheBoxes) {
    const QByteArray wire = "1.234,0.5,2\r\n";
    for (const Chunks& chunks : all_splits(wire)) {
        fresh_exchange();
        link().echo_online = true;
        link().debug_window_open = true;
        int steps = 0;
        for (const QByteArray& c : chunks) {
            receive_text(c);
            if (link().reply_received)
                break;
            ++steps;
            EXPECT_EQ(view.progress_value(1), steps) << "ProgressBar1 steps once per batch";
        }
        EXPECT_TRUE(link().reply_received) << show(chunks).toStdString();
        EXPECT_EQ(link().reply_buffer, "1.234,0.5,2") << show(chunks).toStdString();
        EXPECT_EQ(view.progress_value(1), 0) << "a complete live reply resets ProgressBar1";
        EXPECT_TRUE(traffic().debug().text().isEmpty()) << "live traffic is not echoed";
    }
}

TEST_F(ReceiveRules, ChunkAndPointProgressStepOncePerBatchAndWrapAtTheirMaximum) {
    struct Case {
        bool chunk_progress;
        bool point_transfer;
        int bar;
    } cases[] = {{true, false, 3}, {false, true, 5}};
    for (const Case& c : cases) {
        fresh_exchange();
        shell().operation_mode = 1;
        link().chunk_progress = c.chunk_progress;
        link().point_transfer_active = c.point_transfer;
        view.maximum[c.bar] = 3;
        const int expected[] = {1, 2, 3, 0, 1};
        for (int i = 0; i < 5; ++i) {
            receive_text("x");
            EXPECT_EQ(view.progress_value(c.bar), expected[i]) << "bar " << c.bar << " batch " << i;
        }
    }
}

TEST_F(ReceiveRules, LoggingModeCountsReceivedCharactersOnTheTransferBar) {
    fresh_exchange();
    shell().operation_mode = 0;
    view.maximum[4] = 10;
    receive_text("abcd");
    EXPECT_EQ(view.progress_value(4), 4);
    receive_text("efghij");
    EXPECT_EQ(view.progress_value(4), 0) << "a bar that would reach its maximum starts again";
    shell().debug_enabled = true;
    receive_text("ab");
    EXPECT_EQ(view.progress_value(1), 2)
        << "with the debug display the transfer shows on ProgressBar1";
}

class DownloadRules : public ReceiveRules {
protected:
    void start_download(QByteArray* file) {
        fresh_exchange();
        auto buffer = std::make_unique<QBuffer>(file);
        buffer->open(QIODevice::WriteOnly);
        link().download_file = std::move(buffer);
        link().log_download_active = true;
        link().download_marker_seen = false;
        link().download_received = 0;
        link().download_expected = 40;
        definitions_table()[92].unit_value = 40312;
    }
};

TEST_F(DownloadRules, TheStreamEndsAtItsFirstLineEndWhereverTheBatchesAreCutAndLosesNothingBefore) {
    const QByteArray data = "0,2,0,10124,32769,0,0,5,0,2$0A0B0C,$0A0B0D,";
    const QByteArray expected_line = "0,2,0,10124,32769,0,0,5,0,2,40312$0A0B0C,$0A0B0D,";
    const QByteArray wire = data + "\r\nJUNK\r\n";
    for (const Chunks& chunks : all_splits(wire)) {
        QByteArray file;
        start_download(&file);
        for (const QByteArray& c : chunks)
            receive_text(c);
        const std::string where = show(chunks).toStdString();
        EXPECT_FALSE(link().log_download_active) << "the download never ended: " << where;
        EXPECT_FALSE(link().download_file) << "the log file was left open: " << where;
        ASSERT_TRUE(file.startsWith(expected_line + "\r"))
            << where << "\nfile: " << file.toStdString();
        EXPECT_TRUE(file == expected_line + "\r" || file == expected_line + "\r\n")
            << "text after the line end reached the file: " << where;
        EXPECT_TRUE(link().download_marker_seen);
    }
}

TEST_F(DownloadRules, LineEndsBeforeTheStreamDoNotEndIt) {
    QByteArray file;
    start_download(&file);
    receive_text("\r\n");
    receive_text("\n1,2$AB,");
    EXPECT_TRUE(link().log_download_active);
    receive_text("$CD,\r");
    EXPECT_FALSE(link().log_download_active);
    EXPECT_EQ(file, "1,2,40312$AB,$CD,\r");
}

TEST_F(DownloadRules, ProgressTextCountsTheStreamAgainstTheExpectedSize) {
    QByteArray file;
    start_download(&file);
    receive_text("0123456789");
    EXPECT_TRUE(view.download_label.startsWith(ui_text(1112, "Downloaded") + " 10 "))
        << view.download_label.toStdString();
    EXPECT_TRUE(view.download_label.contains("(25%) in ")) << view.download_label.toStdString();
    EXPECT_TRUE(view.download_label.endsWith(" min"));
    shell().debug_enabled = true;
    receive_text("0123456789012345678901234567890123456789");
    EXPECT_TRUE(view.status_text(1).contains("(100%)")) << "the percentage stops at 100";
}

TEST_F(DownloadRules, ALogFileThatCannotBeWrittenEndsTheDownloadWithAMessage) {
    fresh_exchange();
    link().log_download_active = true;
    receive_text("1,2$AB");
    EXPECT_FALSE(link().log_download_active) << "the downloader would wait for ever";
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("52  : "))
        << dialogs.prompts[0].text.toStdString();
}

} // namespace
