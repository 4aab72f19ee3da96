#include "parameters/parameter_pages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int PARAMETER_TABS = 10;
constexpr int INNER_TABS = 3;

QGroupBox* group(QWidget* parent, const QString& name) {
    auto* g = new QGroupBox(parent);
    g->setObjectName(name);
    g->setMinimumHeight(60);
    return g;
}

} // namespace

ParameterPage::ParameterPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ParameterPage"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1(2)"));
    for (int i = 0; i < PARAMETER_TABS; ++i)
        SSTab1->addTab(new QWidget(SSTab1), QString());

    // Each tab's frames, in two columns. Frames named by a row number are the scrframe array.
    struct Placement {
        int tab;
        const char* name; // nullptr for a scrframe
        int row;          // scrframe index
    };
    const Placement placements[] = {
        {0, nullptr, 1037}, {0, "Frame1(13)", 0}, {0, "Frame11", 0}, {0, "Frame9", 0},
        {1, nullptr, 1116}, {1, nullptr, 1117}, {7, "Frame8", 0},     {2, nullptr, 1041},
        {2, "Frame23", 0},  {3, nullptr, 1051}, {4, "Frame16", 0},  {4, "Frame17", 0},
        {4, "Frame18", 0},  {4, "Frame19", 0},  {4, "Frame20", 0},  {4, "Frame3", 0},
        {5, "Frame21", 0},  {5, "Frame22", 0},  {6, "Frame2", 0},   {6, "Frame15", 0},
        {7, nullptr, 1071}, {7, "Frame24", 0},  {8, "Frame14", 0},  {8, "Frame26", 0},
        {9, "Frame28", 0},  {9, "Frame29", 0},
    };
    std::map<int, int> placed;
    std::map<int, QGridLayout*> grids;
    for (int t = 0; t < PARAMETER_TABS; ++t) {
        auto* grid = new QGridLayout(SSTab1->widget(t));
        grid->setRowStretch(20, 1);
        grids[t] = grid;
    }
    for (const Placement& p : placements) {
        QWidget* page = SSTab1->widget(p.tab);
        QGroupBox* g = nullptr;
        if (p.name) {
            g = group(page, QLatin1String(p.name));
            frames[QLatin1String(p.name)] = g;
        } else {
            g = group(page, QStringLiteral("scrframe"));
            g->setProperty("index", p.row);
            scrframe[p.row] = g;
        }
        const int n = placed[p.tab]++;
        grids[p.tab]->addWidget(g, n / 2, n % 2);
    }

    SSTab2 = new QTabWidget(SSTab1->widget(9));
    SSTab2->setObjectName(QStringLiteral("SSTab2(1)"));
    for (int i = 0; i < INNER_TABS; ++i)
        SSTab2->addTab(new QWidget(SSTab2), QString());
    QGroupBox* frame27 = group(SSTab2->widget(2), QStringLiteral("Frame27"));
    frames[QStringLiteral("Frame27")] = frame27;
    (new QVBoxLayout(SSTab2->widget(2)))->addWidget(frame27);
    grids[9]->addWidget(SSTab2, 10, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SSTab1);
}

VesselPage::VesselPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VesselPage"));
    Frame5_0 = group(this, QStringLiteral("Frame5(0)"));
    Image2 = new QLabel(Frame5_0);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(Frame5_0))->addWidget(Image2);
    Frame5_1 = group(this, QStringLiteral("Frame5(1)"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(Frame5_0, 2);
    row->addWidget(Frame5_1, 1);
}

FlowPage::FlowPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FlowPage"));
    Frame6_0 = group(this, QStringLiteral("Frame6(0)"));
    Image3 = new QLabel(Frame6_0);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(Frame6_0))->addWidget(Image3);
    auto* row = new QHBoxLayout(this);
    row->addWidget(Frame6_0);
}
