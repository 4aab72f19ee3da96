// Standard buttons and dialogs speak the program's language.
#include "shell/toolkit_translations.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QString button_text(QDialogButtonBox::StandardButton which) {
    QDialogButtonBox box(which);
    return box.button(which)->text().remove('&');
}

TEST(ToolkitTranslations, StandardButtonsFollowTheChosenLanguage) {
    // clang-format off
    struct Case { int language; const char *yes, *no, *cancel; };
    // clang-format on
    const Case cases[] = {
        {1, "Ja", "Nein", "Abbrechen"}, {4, "Sí", "No", "Cancelar"}, {0, "Yes", "No", "Cancel"},
        {1, "Ja", "Nein", "Abbrechen"}, {7, "Yes", "No", "Cancel"}, // a number that names none
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(use_toolkit_translations(c.language))
            << "no toolkit translation for language " << c.language
            << " (is qt6-translations-l10n installed?)";
        EXPECT_EQ(
            QStringList({button_text(QDialogButtonBox::Yes), button_text(QDialogButtonBox::No),
                         button_text(QDialogButtonBox::Cancel)}),
            QStringList({QString::fromUtf8(c.yes), c.no, c.cancel}))
            << c.language;
    }
}

} // namespace
