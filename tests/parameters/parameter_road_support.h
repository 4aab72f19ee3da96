#pragma once
// The parameter road against the simulated unit: the program's catalogue and texts loaded from
// the shipped definitions, the unit seeded from the same files, a fresh row model with the edit
// check and the set-up rules installed, and a folder for saved parameter files.
#include "parameters_test_support.h"
#include "simulated_unit.h"

#include "link/log_on.h"
#include "parameters/parameter_file_commands.h"
#include "parameters/parameter_transfer.h"
#include "parameters/parameter_work.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "ui/main_window_rules.h"

#include <QDir>
#include <QFile>

class ParameterRoadTest : public SimulatedUnitTest {
protected:
    static constexpr double SWEEP_TIME_SCALE = 20;

    void SetUp() override {
        SimulatedUnitTest::SetUp();
        saved_folder = platform::program_folder();
        platform::set_program_folder(QUILLARN_DATA_DIR);
        load_shipped_catalogue();
        shell().data_folder = dir.path();
        shell().access_level = 1;
        shell().login_passcode = "318406";
        seed_unit(unitsim::UnitKind::Level);
        set_transfer_view(&transfer);
        // The rules of the set-up tabs and lists, as the main window installs them: they hide
        // and fill rows, and so decide what is saved and sent.
        install_set_up_rules();
        // The window's enable_controls, as far as it touches the table: the relay rows it brings
        // back with the system type.
        parameter_screen_hooks().enable_controls = [] {
            EnableInputs in;
            in.system_type = parameter_state().system_type;
            set_relay_parameters_present(enable_controls_rules(in).relay_parameters_present);
        };
    }
    void TearDown() override {
        set_transfer_view(nullptr);
        reset_parameter_rows();
        reset_parameter_screen_hooks();
        reset_parameter_state();
        platform::number_separators() = {};
        platform::set_program_folder(saved_folder);
        SimulatedUnitTest::TearDown();
    }

    // A unit of `kind` that knows the program's catalogue; `version` ("1.80") changes the
    // communication firmware it reports.
    void seed_unit(unitsim::UnitKind kind, const QString& version = {}) {
        make_unit(kind);
        if (!version.isEmpty()) {
            unitsim::apply_version_reply(sim->unit().profile(), version);
            // A thousand reads, each with a 5 s time-out: a gentler time scale keeps a busy
            // machine's pauses from passing for a silent unit.
            platform::set_time_scale(SWEEP_TIME_SCALE);
            sim->set_time_scale(SWEEP_TIME_SCALE);
        }
        QString error;
        ASSERT_TRUE(sim->unit().set_definitions_folder(
            QString(QUILLARN_DATA_DIR) + "/" + QString(DEFINITIONS_FOLDER), &error))
            << error.toStdString();
    }

    // Downloads with the confirmation answered and the set saved as `file` (empty: cancelled).
    void download(const QString& file = QString()) {
        dialogs.answers.push_back(platform::Answer::Ok);
        dialogs.files.push_back(file.isEmpty() ? QString() : dir.filePath(file));
        download_parameters();
    }

    // Uploads what differs, the questions answered as a user going ahead does, with the unit's
    // record of received commands started afresh.
    void upload_confirmed() {
        sim->clear_received();
        dialogs.answers = {platform::Answer::Ok, platform::Answer::Yes, platform::Answer::Ok};
        upload_parameters();
    }

    QString box(int P) const { return parameter_rows().text(P); }

    // The set on the screen saved as the ".par" file `file`, and what the file holds.
    QByteArray save(const QString& file) {
        dialogs.files.push_back(dir.filePath(file));
        saveparameterstofile_Click();
        QFile f(dir.filePath(file));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString saved_folder;
    RecordingTransferView transfer;
};
