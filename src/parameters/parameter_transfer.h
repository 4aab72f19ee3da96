#pragma once
// Reading and writing the unit's parameters through the command link.
//  - getparameters_all reads P20..P999, by one "/sendall" block from communication firmware
//    1.92 on, else one "/p<n>" at a time with Cancel between parameters; in compare mode (before
//    an upload) it counts the differences to the values about to be sent.
//  - download_parameters is the toolbar's "download": confirm, read, save as .par, show.
//  - upload_parameters is the toolbar's "upload": screen to table, compare read, the list of
//    differences to confirm, then the writes in the order the unit needs, refusals listed with
//    Retry.
// Outcome flags as the link's: link().comms_abort (failed or refused) and
// link().cancel_requested (the user's Cancel).

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// ---- What the transfer shows on the main window beyond the link's own view.
class ParameterTransferView {
public:
    virtual ~ParameterTransferView() = default;
    // Text68, the transfer's message box: shown with `text`, or hidden.
    virtual void show_message(const QString& text) = 0;
    virtual void hide_message() = 0;
    // ProgressBar3 shown from 0 with `maximum`, or hidden; its value goes through the link view.
    virtual void show_progress(int maximum) = 0;
    virtual void hide_progress() = 0;
    // Command12, the transfer's Cancel button.
    virtual void show_cancel(bool shown) = 0;
    // SSTab1(1): the echo, parameter, vessel and flow tabs.
    virtual void select_cso_tab(int tab) = 0;
    virtual void set_cso_tab_enabled(int tab, bool enabled) = 0;
};

class RecordingTransferView : public ParameterTransferView {
public:
    QString message;
    bool message_shown = false;
    std::vector<QString> messages;
    bool progress_shown = false;
    int progress_maximum = 0;
    bool cancel_shown = false;
    int cso_tab = 0;
    std::vector<int> enabled_tabs;

    void show_message(const QString& text) override;
    void hide_message() override;
    void show_progress(int maximum) override;
    void hide_progress() override;
    void show_cancel(bool shown) override { cancel_shown = shown; }
    void select_cso_tab(int tab) override { cso_tab = tab; }
    void set_cso_tab_enabled(int tab, bool enabled) override;
};

ParameterTransferView& transfer_view();
// Installs `view` (not owned); nullptr goes back to a recording stand-in.
void set_transfer_view(ParameterTransferView* view);

// ---- The "/sendall" reply: one line of items separated by ","; the first and the last are not
// parameters; the others are "<P>:<value>", optionally followed by "|" and text that is ignored.
struct SendallItem {
    int number = 0;
    QString value; // trimmed, without the "|" part
};
struct SendallReply {
    std::vector<SendallItem> items; // in reply order, each with 20 <= number <= 999
    int skipped = 0;                // items between the ends that named no parameter
    int last_index = 0;             // index of the closing item
};
SendallReply parse_sendall_reply(const QString& reply);

// ---- Version of a "/who" reply decides the wire method.
inline constexpr int SENDALL_FIRST_VERSION = 192;
inline constexpr int P72_LIMIT_VERSION = 163;

void getparameters_all(bool compare);
void download_parameters();
void correct_version();

void upload_parameters();
void write_all_parameters();
void send_parameter(int P);

// Writes the values above 0 in the parameter boxes of P = first..last to the unit, or reads the
// unit's values into the boxes (wherever a box is shown, the KOVEX tab included). Both stop at the
// first command the unit does not answer and then return false.
bool send_parameters_to_com(int first, int last);
bool get_parameters_from_com(int first, int last);

// The ".par" save step of a download (the save dialog, then the file); cancel is silent.
void save_downloaded_parameters();
