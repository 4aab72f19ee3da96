#include "logging/cso_screen.h"

#include "logging/log_setup_page.h"
#include "platform/program_folder.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace cso {

std::map<int, FrameRect> packed_frames(const PackInput& in) {
    auto lowest = [&](int frame) {
        const auto it = in.lowest_box_bottom.find(frame);
        return (it == in.lowest_box_bottom.end() ? 0 : it->second) + FRAME_SPARE;
    };
    std::map<int, FrameRect> f;
    f[0] = {in.frame11_left, in.frame0.top, 1800, in.frame0.height};
    f[3] = {f[0].right() + FRAME_GAP, in.frame3_top, 1600, lowest(3)};
    f[2] = {f[3].right() + FRAME_GAP, f[3].top, 1200, lowest(2)};
    const int left = f[0].right() + FRAME_GAP;
    f[6] = {left, f[3].bottom() + FRAME_GAP, f[2].right() - left, lowest(6)};
    f[7] = {left, f[6].bottom() + FRAME_GAP, f[6].width, lowest(7)};
    return f;
}

QString help_anchor(int language_index) {
    static const char* anchors[] = {"en", "de", "fr", "it", "es"};
    return QLatin1String(language_index >= 0 && language_index < 5 ? anchors[language_index]
                                                                   : anchors[0]);
}

QString help_section(const QString& html, int language_index) {
    static const QRegularExpression heading(
        QStringLiteral("<h\\d[^>]*>\\s*<a\\s+name=\"([a-z]+)\""),
        QRegularExpression::CaseInsensitiveOption);
    const QString want = help_anchor(language_index);
    qsizetype start = -1, end = -1;
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (start >= 0) {
            end = m.capturedStart();
            break;
        }
        if (m.captured(1).compare(want, Qt::CaseInsensitive) == 0)
            start = m.capturedStart();
    }
    if (start < 0)
        return html;
    if (end < 0) {
        end = html.indexOf(QLatin1String("</body"), start, Qt::CaseInsensitive);
        if (end < 0)
            end = html.size();
    }
    return QStringLiteral("<html><body>") + html.mid(start, end - start) +
           QStringLiteral("</body></html>");
}

} // namespace cso

namespace {

constexpr int TWIPS_PER_PIXEL = 15;
constexpr double DESIGN_POINT_SIZE = 8;

// Design twips on this screen: the page's font may be larger than the design's, and the frames
// grow with it.
int px(int twips, double font_scale = 1) {
    return static_cast<int>(twips * font_scale / TWIPS_PER_PIXEL);
}

// Takes `w` out of whichever layout under `root` holds it.
bool take_from_layouts(QLayout* root, QWidget* w) {
    if (!root)
        return false;
    if (root->indexOf(w) >= 0) {
        root->removeWidget(w);
        return true;
    }
    for (int i = 0; i < root->count(); ++i)
        if (QLayout* child = root->itemAt(i)->layout())
            if (take_from_layouts(child, w))
                return true;
    return false;
}

QString missing_page_html(const QString& path) {
    return QStringLiteral("<h3>%1</h3><p>%2</p>")
        .arg(ui_text(2544, QStringLiteral("The help page cannot be shown.")).toHtmlEscaped(),
             path.toHtmlEscaped());
}

} // namespace

QTextBrowser* pack_cso_screen(LogSetupPage& page) {
    cso::PackInput in;
    in.frame0 = {0, 0, 0, 0};
    const auto frames = cso::packed_frames(in);

    auto* block = new QWidget(&page);
    block->setObjectName(QStringLiteral("cso_block"));
    // The block keeps the room its boxes need; the help page takes what is left.
    block->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(px(cso::FRAME_GAP) + 4);
    grid->setVerticalSpacing(px(cso::FRAME_GAP) + 4);

    QLayout* root = page.layout();
    QVBoxLayout* first_column = new QVBoxLayout;
    for (int i : {0, 8}) {
        take_from_layouts(root, page.channel_frames[i]);
        first_column->addWidget(page.channel_frames[i]);
    }
    for (QPushButton* b : {page.select_all_button, page.deselect_all_button}) {
        take_from_layouts(root, b);
        first_column->addWidget(b);
    }
    first_column->addStretch(1);
    grid->addLayout(first_column, 0, 0, 4, 1);
    const struct {
        int frame, row, column, span;
    } places[] = {{3, 0, 1, 1}, {2, 0, 2, 1}, {6, 1, 1, 2}, {7, 2, 1, 2}};
    for (const auto& p : places) {
        QGroupBox* f = page.channel_frames[p.frame];
        take_from_layouts(root, f);
        grid->addWidget(f, p.row, p.column, 1, p.span, Qt::AlignTop);
    }
    grid->setRowStretch(3, 1);
    const double scale = std::max(1.0, QFontInfo(page.font()).pointSizeF() / DESIGN_POINT_SIZE);
    for (const auto& [i, r] : frames)
        page.channel_frames[i]->setMinimumWidth(px(r.width, scale));
    // The boxes fill their frames as the layout gives them room; a fixed narrower width would
    // cut captions once the start-up scaling enlarges the fonts.
    // The frames end below their lowest box: no stretch left inside them.
    for (int i : {0, 2, 3, 6, 7})
        if (auto* col = qobject_cast<QVBoxLayout*>(page.channel_frames[i]->layout()))
            for (int k = col->count() - 1; k >= 0; --k)
                if (col->itemAt(k)->spacerItem())
                    delete col->takeAt(k);

    auto* browser = new QTextBrowser(&page);
    browser->setObjectName(QStringLiteral("WebBrowser1"));
    browser->setOpenExternalLinks(true);
    browser->setMinimumWidth(260);
    const QString help =
        platform::join_path(platform::program_folder(), QStringLiteral("help.htm"));
    QFile file(help);
    if (file.open(QIODevice::ReadOnly)) {
        browser->setSearchPaths({platform::program_folder()});
        browser->setHtml(
            cso::help_section(QString::fromUtf8(file.readAll()), shell().language_index));
    } else {
        browser->setHtml(missing_page_html(help));
    }

    // The block and the help page take the place of the channel columns, whose frames are all
    // withdrawn now.
    QBoxLayout* top =
        root && root->count() > 0 ? qobject_cast<QBoxLayout*>(root->itemAt(0)->layout()) : nullptr;
    if (top) {
        for (int i = 0; i < top->count(); ++i)
            top->setStretch(i, 0);
        top->addWidget(block, 0, Qt::AlignTop);
        top->addWidget(browser, 1);
    }
    return browser;
}
