#include "shell/option_lists.h"
#include "shell_test_support.h"

#include <map>

namespace {

// Every list of `language`, by a name that says which it is.
std::map<QString, QString> lists_of(int language) {
    shell().language_index = static_cast<int16_t>(language);
    load_language_lists();
    const OptionLists& o = shell().option_lists;
    // clang-format off
    std::map<QString, QString> lists = {
        {"C_LUK8 current", o.luk8_current}, {"C_LUK8 voltage", o.luk8_voltage},
        {"C_LUK12 flow", o.luk12_flow}, {"C_LUK12 volume", o.luk12_volume},
        {"C_LUK12 short", o.luk12_short}, {"C_LUK35 flow", o.luk35_flow},
        {"C_LUK35 volume", o.luk35_volume}, {"C_LUK35 short", o.luk35_short},
        {"C_LUK19 control", o.luk19_control}, {"C_LUK19 alarm", o.luk19_alarm},
        {"C_LUK14 standard", o.luk14_standard}, {"C_LUK14 n/a", o.luk14_not_available},
        {"C_LUK14 other", o.luk14_other_first},
        {"C_LUK14 other n/a", o.luk14_other_first_not_available}, {"off", o.off},
        {"off general", o.off_general}, {"relay identity", o.relay_identity}};
    // clang-format on
    for (const auto& [code, list] : o.luk)
        lists[QString("C_LUK%1").arg(code)] = list;
    for (int i = 0; i < 5; ++i)
        lists[QString("flow element %1").arg(i + 1)] = o.flow_element[i];
    return lists;
}

QStringList keys_of(const QString& list) {
    QStringList keys;
    for (const QString& entry : list.split(','))
        keys << entry.section('=', 0, 0);
    return keys;
}

} // namespace

TEST_F(ShellTest, EveryLanguageHasThe54ListsWithTheEnglishKeys) {
    const auto english = lists_of(0);
    ASSERT_EQ(english.size(), 54u);
    for (int language : {1, 2, 3}) {
        const auto translated = lists_of(language);
        ASSERT_EQ(translated.size(), english.size()) << "language " << language;
        for (const auto& [name, list] : translated) {
            SCOPED_TRACE(
                QString("language %1, %2: %3").arg(language).arg(name, list).toStdString());
            QStringList expected = keys_of(english.at(name));
            if (name == "C_LUK53" && (language == 1 || language == 2))
                expected.removeLast(); // German and French have no "Pound"
            EXPECT_EQ(keys_of(list), expected);
            for (const QString& entry : list.split(',')) {
                EXPECT_EQ(entry.count('='), 1);
                EXPECT_FALSE(entry.section('=', 1).isEmpty()) << "an entry has no label";
            }
        }
    }
}

TEST_F(ShellTest, EachLanguageHasItsOwnListsSpanishTheEnglishOnes) {
    const auto en = lists_of(0), de = lists_of(1), fr = lists_of(2), it = lists_of(3);
    EXPECT_EQ(de.at("C_LUK0"), "0=Nein,1=Ja");
    EXPECT_EQ(fr.at("C_LUK32"), "1=JJMMAA,2=MMJJAA,3=AAMMJJ");
    EXPECT_EQ(fr.at("C_LUK16"), "1=Mètres,2=Centimètres,3=Millimètres,4=Feet,5=Inches")
        << "the French length units lost their accents";
    EXPECT_EQ(it.at("C_LUK82"), "0=Nessuno,1=Aggiungi 0,2=Aggiungi 00");
    for (const char* english : {"C_LUK1", "C_LUK73", "C_LUK80", "C_LUK82", "off general"})
        EXPECT_EQ(de.at(english), en.at(english)) << english << " is English in German too";

    EXPECT_EQ(lists_of(4), en) << "Spanish uses the English lists";
    const QStringList volume = shell().volume_unit_names;
    lists_of(0);
    EXPECT_EQ(shell().volume_unit_names, volume) << "Spanish unit words are the English ones";
    lists_of(1);
    EXPECT_EQ(lists_of(7), de) << "an unknown language changed the lists";
    EXPECT_EQ(shell().time_unit_names[4], "tag");
}

TEST_F(ShellTest, UnitWordsHaveTheirCubedUnits) {
    const QString cubed = QString(QChar(0x00B3));
    for (int language = 0; language <= 4; ++language) {
        SCOPED_TRACE(language);
        lists_of(language);
        const ShellState& s = shell();
        EXPECT_EQ(s.volume_unit_names[2], "m" + cubed);
        EXPECT_TRUE(s.volume_unit_names[3].endsWith(cubed));
        EXPECT_EQ(s.quantity_unit_names[3], "m" + cubed);
        EXPECT_EQ(s.quantity_unit_names[0], s.volume_unit_names[0]) << "the word for none";
    }
    lists_of(3);
    EXPECT_EQ(shell().volume_unit_names[3], "piedi" + cubed);
}

TEST_F(ShellTest, OptionListByCodeCoversOnlyCodesWithOneList) {
    lists_of(0);
    EXPECT_EQ(option_list("C_LUK81"), "1=Fast,2=Medium,3=Slow");
    for (const char* none : {"C_LUK8", "C_LUK2", "U_RF", "C_LUKx"})
        EXPECT_EQ(option_list(none), "") << none;
}

TEST(LengthUnits, AbbreviationsAndExactFactors) {
    const std::pair<const char*, const char*> abbrevs[] = {
        {"2", "cm"},   {"3", "mm"},  {"5", "in"}, {" 4", "ft"},
        {"4.0", "ft"}, {"4.5", "m"}, {"7", "m"}};
    for (const auto& [code, abbrev] : abbrevs)
        EXPECT_EQ(length_unit_abbrev(code), abbrev) << '"' << code << '"';

    const double foot = 304.79999999999995;
    ASSERT_NE(foot, 304.8) << "the foot must be 12 x 25.4 in double precision";
    // clang-format off
    const struct { int from, to; double factor; } factors[] = {
        {1, 3, 1000.0}, {3, 4, 1.0 / foot}, {5, 4, 25.4 / foot}, {4, 4, 1.0}, {9, 3, 0.0},
        {4, 9, foot}, {2, 0, 10.0}};
    // clang-format on
    for (const auto& c : factors)
        EXPECT_EQ(length_unit_factor(c.from, c.to), c.factor) << c.from << " -> " << c.to;
}
