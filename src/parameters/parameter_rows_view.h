#pragma once
// The parameter rows as widgets: a caption (scrlabel(P)) and a box (scrpar(P)) per row of the
// row model, placed in the frames of the parameter set-up tabs, the vessel tab and the flow
// element tab. The widgets mirror the model; the user's typing goes back to it and is checked
// when the user leaves the box or presses Enter.

#include <QObject>
#include <array>
#include <map>

class FlowPage;
class LabelColumnKeeper;
class ParameterPage;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class RowBoxTyping;
class VesselPage;

class ParameterRowsView : public QObject {
public:
    ParameterRowsView(ParameterPage& page, VesselPage& vessel, FlowPage& flow,
                      QObject* parent = nullptr);
    ~ParameterRowsView() override;

    // Builds the widgets of the model's rows that have none yet.
    void build_rows();

    QLineEdit* box(int P) const;
    QLabel* label(int P) const;

    // The frame a row of parameter P is placed in (its object name, or "scrframe(<n>)").
    static QString frame_of(int P);

private:
    void show_row(int P);
    void show_switch(const QString& name, bool on);
    QFormLayout* form_of(int P);
    void show_setup_tabs();

    ParameterPage& page_;
    VesselPage& vessel_;
    FlowPage& flow_;
    std::array<QLineEdit*, 1001> boxes_{};
    std::array<QLabel*, 1001> labels_{};
    std::array<QLabel*, 1001> hints_{};
    std::map<QString, QFormLayout*> forms_;
    std::map<QFormLayout*, LabelColumnKeeper*> keepers_;
    RowBoxTyping* typing_ = nullptr;
};
