#include "shell/option_lists.h"

#include "platform/vb.h"
#include "shell/shell_state.h"

#include <QStringList>

namespace {

const QChar SUPERSCRIPT_THREE(0x00B3);

const QString MULTIPLIERS[] = {
    QStringLiteral("/1000"), QStringLiteral("/100"),   QStringLiteral("/10"),
    QStringLiteral("*1"),    QStringLiteral("*10"),    QStringLiteral("*100"),
    QStringLiteral("*1000"), QStringLiteral("*10000"), QStringLiteral("*100000"),
    QStringLiteral("*1000000")};

QStringList multiplier_names() { return QStringList(std::begin(MULTIPLIERS), std::end(MULTIPLIERS)); }

// The sensor heights of the echo profile: 1..3, 6, 9, 12 and 18 inches, then 2..50 feet.
QString sensor_height_list(const QString& inch, const QString& inches, const QString& feet) {
    const int in[] = {1, 2, 3, 6, 9, 12, 18};
    const int ft[] = {2, 3, 4, 5, 6, 7, 8, 10, 12, 15, 20, 25, 30, 40, 50};
    QStringList pairs;
    int key = 1;
    for (int n : in)
        pairs << QStringLiteral("%1=%2 %3").arg(key++).arg(n).arg(n == 1 ? inch : inches);
    for (int n : ft)
        pairs << QStringLiteral("%1=%2 %3").arg(key++).arg(n).arg(feet);
    return pairs.join(QLatin1Char(','));
}

// Lists and the arrays that are the same in German and French as in English.
const QString LUK1_EN = QStringLiteral("1=Fixed,2=Alternate");
const QString LUK73_EN = QStringLiteral("0=Off,1=Slave,2=Master");
const QString LUK74 = QStringLiteral("0=ModbusRTU,1=ModbusASCII");
const QString LUK75_EN = QStringLiteral("0=None,1=Odd,2=Even");
const QString LUK76_EN = QStringLiteral("1=1 StopBit,2=2 StopBits");
const QString LUK77 = QStringLiteral("0=Unsigned Integer,1=Signed Integer,2=Float Modicon,3=Float IEEE");
const QString LUK78 = QStringLiteral("0=Off,1=Modbus,2=Profibus");
const QString LUK79_EN = QStringLiteral("0=Off,1=Ring,2=SMS");
const QString LUK82_EN = QStringLiteral("0=None,1=Add 0,2=Add 00");
const QString OFF_GENERAL_EN = QStringLiteral("0=Off,1=General");

void load_english_lists() {
    ShellState& s = shell();
    OptionLists& o = s.option_lists;
    o.luk = {
        {0, QStringLiteral("0=No,1=Yes")},
        {1, LUK1_EN},
        {3, QStringLiteral("2=Monday,3=Tuesday,4=Wednesday,5=Thursday,6=Friday,7=Saturday,8=Sunday")},
        {4, QStringLiteral("1=Jan,2=Feb,3=Mar,4=Apr,5=May,6=Jun,7=Jul,8=Aug,9=Sep,10=Oct,11=Nov,12=Dec")},
        {7, QStringLiteral("1=Known,2=High,3=Low")},
        {9, QStringLiteral("1=Liquid,2=Solid,3=Closed Tank")},
        {16, QStringLiteral("1=Metres,2=Centimetres,3=Millimetres,4=Feet,5=Inches")},
        {17, QStringLiteral("1=Measured,2=Percent")},
        {20, QStringLiteral("0=Off,1=Level,2=Temperature,3=LossOfEcho,4=LossOfClock")},
        {27, QStringLiteral("0=Cyl,1=Rect,2=Cone,3=PyrM,4=PyrB,5=HalfSphere,6=CylSloped,"
                            "7=RectSloped,8=CylFlat,9=CylPara,10=Sphere,11=UniLinear,12=UniCurved")},
        {28, QStringLiteral("0=Off,1=Exponent,2=BS3680 Flume,3=BS3680 Weir,4=Special,5=Universal")},
        {29, QStringLiteral("1=PerSecond,2=PerMinute,3=PerHour,4=PerDay")},
        {32, QStringLiteral("1=DDMMYY,2=MMDDYY,3=YYMMDD")},
        {37, QStringLiteral("0=Default,1=Hold,2=Low,3=High,4=VeryLow,5=VeryHigh")},
        {38, QStringLiteral("1=Automatic,2=Fixed")},
        {40, QStringLiteral("0=Default,1=Hold,2=De-Energise,3=Energise")},
        {48, QStringLiteral("0=Direct,1=Modem")},
        {53, QStringLiteral("0=None,1=Ton,2=Tonne,3=m3,4=Litre,5=UKGal,6=USGal,7=Ft3,8=Barrel,"
                            "9=Pound")},
        {58, QStringLiteral("1=Absolute,2=Ratiometric")},
        {59, QStringLiteral("1=Litre,2=m3,3=ft3,4=UKGal,5=USGal,6=Mil.USG")},
        {66, QStringLiteral("1=Best,2=Largest,3=First")},
        {71, QStringLiteral("1=Week1,2=Week2,3=Week3,4=Week4,5=LastWeek,6=EveryWeek")},
        {73, LUK73_EN},
        {74, LUK74},
        {75, LUK75_EN},
        {76, LUK76_EN},
        {77, LUK77},
        {78, LUK78},
        {79, LUK79_EN},
        {80, sensor_height_list(QStringLiteral("inch"), QStringLiteral("inches"),
                                QStringLiteral("feet"))},
        {81, QStringLiteral("1=Fast,2=Medium,3=Slow")},
        {82, LUK82_EN},
    };
    o.luk8_current = QStringLiteral("0=Off,1=0:20mA,2=4:20mA,3=20:0mA,4=20:4mA");
    o.luk8_voltage = QStringLiteral("0=Off,1=5:0 Volt,2=0:5 Volt");
    o.luk12_flow = QStringLiteral("1=Distance,2=Level,3=Space,4=Flow");
    o.luk12_volume = QStringLiteral("1=Distance,2=Level,3=Space,4=NotAvailable,5=Volume");
    o.luk12_short = QStringLiteral("1=Distance,2=Level,3=Space");
    o.luk35_flow = QStringLiteral("0=Default,1=Distance,2=Level,3=Space,4=Flow");
    o.luk35_volume = QStringLiteral("0=Default,1=Distance,2=Level,3=Space,4=NotAvailable,5=Volume");
    o.luk35_short = QStringLiteral("0=Default,1=Distance,2=Level,3=Space");
    o.luk19_control = QStringLiteral("0=Off,1=Alarm,2=Control");
    o.luk19_alarm = QStringLiteral("0=Off,1=Alarm");
    o.luk14_standard = QStringLiteral("1=KV3,2=KV6,3=KV10,4=KV15,5=KV25,6=KV40,7=KVS6");
    o.luk14_not_available = QStringLiteral(
        "1=KV3,2=KV6,3=KV10,4=NotAvailable,5=NotAvailable,6=NotAvailable,7=KVS6");
    o.luk14_other_first = QStringLiteral("1=KVMach3,2=KV6,3=KV10,4=KV15,5=KV25,6=KV40,7=KVS6");
    o.luk14_other_first_not_available = QStringLiteral(
        "1=KVMach3,2=KV6,3=KV10,4=NotAvailable,5=NotAvailable,6=NotAvailable,7=KVS6");
    o.off = QStringLiteral("0=Off");
    o.off_general = OFF_GENERAL_EN;
    o.relay_identity = QStringLiteral("1=General,2=High,3=HiHi,4=Low,5=LoLo,6=InBound,7=OutofBound");
    o.flow_element = {
        QStringLiteral("1=Rectangular,2=Trapezoidal,3=Venturi,4=Parshall,5=Leopol,6=VNotch,7=Other"),
        QStringLiteral("1=Rectangular,2=Rectangular Hump,3=U-Throat,4=U-ThroatHump"),
        QStringLiteral("1=Rectangular,2=VNotch90deg,3=VNotch60deg,4=VNotch28deg4"),
        QStringLiteral("1=Palmer Bowlus,2=H-Flume,3=VNotch Angle"),
        QStringLiteral("1=Linear Flow,2=Curved Flow"),
    };

    const QString m3 = QStringLiteral("m") + SUPERSCRIPT_THREE;
    const QString ft3 = QStringLiteral("ft") + SUPERSCRIPT_THREE;
    s.distance_unit_names = {"metres", "cm", "mm", "feet", "inches"};
    s.volume_unit_names = {"None", "L", m3, ft3, "UK Gal.", "US Gal.", "Mil.USG"};
    s.time_unit_names = {"None", "sec", "min", "hr", "day"};
    s.quantity_unit_names = {"None",       "Tons",       "Tonnes", m3,        "litres",
                             "UK Gallons", "US Gallons", ft3,      "Barrels", "lbs"};
    s.totaliser_multiplier_names = multiplier_names();
}

void load_german_lists() {
    ShellState& s = shell();
    OptionLists& o = s.option_lists;
    o.luk = {
        {0, QStringLiteral("0=Nein,1=Ja")},
        {1, LUK1_EN},
        {3, QStringLiteral("2=Montag,3=Dienstag,4=Mittwoch,5=Donnerstag,6=Freitag,7=Samstag,"
                           "8=Sonntag")},
        {4, QStringLiteral("1=Jan,2=Feb,3=Mrz,4=Apr,5=Mai,6=Jun,7=Jul,8=Aug,9=Sep,10=Okt,11=Nov,12=Dez")},
        {7, QStringLiteral("1=Bekannt,2=Hoch,3=Tief")},
        {9, QStringLiteral("1=Fluessigkeit,2=Feststoff,3=Closed Tank")},
        {16, QStringLiteral("1=Meter,2=Zentimeter,3=Millimeter,4=Feet,5=Inches")},
        {17, QStringLiteral("1=Gemessen,2=Prozent")},
        {20, QStringLiteral("0=Aus,1=Fuellstand,2=Temperatur,3=Echoverlust,4=Uhrausfall")},
        {27, QStringLiteral("0=Zyl,1=Rechteck,2=Konus,3=PyrM,4=PyrB,5=Halbkugel,6=ZylSchraeg,"
                            "7=RechteckSchraeg,8=ZylFlach,9=ZylPara,10=Kugel,11=UniLinear,"
                            "12=UniGekruemmt")},
        {28, QStringLiteral("0=Aus,1=Exponent,2=BS3680 Gerinne,3=BS3680 Wehr,4=Spezial,5=Universal")},
        {29, QStringLiteral("1=ProSekunde,2=ProMinute,3=ProStunde,4=ProTag")},
        {32, QStringLiteral("1=TTMMJJ,2=MMTTJJ,3=JJMMTT")},
        {37, QStringLiteral("0=Werkseinst,1=Halten,2=Tief,3=Hoch,4=SehrTief,5=SehrHoch")},
        {38, QStringLiteral("1=Automatisch,2=Fest")},
        {40, QStringLiteral("0=Werkseinst,1=Halten,2=Abfallen,3=Anziehen")},
        {48, QStringLiteral("0=Direkt,1=Modem")},
        {53, QStringLiteral("0=Keine,1=Ton,2=Tonne,3=m3,4=Liter,5=UKGal,6=USGal,7=Ft3,8=Barrel")},
        {58, QStringLiteral("1=Absolut,2=Ratiometrisch")},
        {59, QStringLiteral("1=Liter,2=m3,3=ft3,4=UKGal,5=USGal,6=Mil.USG")},
        {66, QStringLiteral("1=Bestes,2=Groesstes,3=Erstes")},
        {71, QStringLiteral("1=Woche1,2=Woche2,3=Woche3,4=Woche4,5=LetzteWoche,6=JedeWoche")},
        {73, LUK73_EN},
        {74, LUK74},
        {75, LUK75_EN},
        {76, LUK76_EN},
        {77, LUK77},
        {78, LUK78},
        {79, LUK79_EN},
        {80, sensor_height_list(QStringLiteral("inch"), QStringLiteral("inches"),
                                QStringLiteral("feet"))},
        {81, QStringLiteral("1=Schnell,2=Mittel,3=Langsam")},
        {82, LUK82_EN},
    };
    o.luk8_current = QStringLiteral("0=Aus,1=0:20mA,2=4:20mA,3=20:0mA,4=20:4mA");
    o.luk8_voltage = QStringLiteral("0=Aus,1=5:0 Volt,2=0:5 Volt");
    o.luk12_flow = QStringLiteral("1=Abstand,2=Fuellstand,3=Freiraum,4=Flow");
    o.luk12_volume = QStringLiteral("1=Abstand,2=Fuellstand,3=Freiraum,4=NotAvailable,5=Volumen");
    o.luk12_short = QStringLiteral("1=Abstand,2=Fuellstand,3=Freiraum");
    o.luk35_flow = QStringLiteral("0=Betriebsmode,1=Abstand,2=Fuellstand,3=Freiraum,4=Flow");
    o.luk35_volume = QStringLiteral(
        "0=Betriebsmode,1=Abstand,2=Fuellstand,3=Freiraum,4=NotAvailable,5=Volumen");
    o.luk35_short = QStringLiteral("0=Betriebsmode,1=Abstand,2=Fuellstand,3=Freiraum");
    o.luk19_control = QStringLiteral("0=Ohne Funktion,1=Alarm,2=Steuerung");
    o.luk19_alarm = QStringLiteral("0=Ohne Funktion,1=Alarm");
    o.luk14_standard = QStringLiteral("1=W-03,2=W-06,3=W-10,4=W-15,5=W-25,6=W-40,7=W-6S");
    o.luk14_not_available = QStringLiteral(
        "1=W-03,2=W-06,3=W-10,4=NotAvailable,5=NotAvailable,6=NotAvailable,7=W-6S");
    o.luk14_other_first = QStringLiteral("1=W-Mach03,2=W-06,3=W-10,4=W-15,5=W-25,6=W-40,7=W-6S");
    o.luk14_other_first_not_available = QStringLiteral(
        "1=W-Mach03,2=W-06,3=W-10,4=NotAvailable,5=NotAvailable,6=NotAvailable,7=W-6S");
    o.off = QStringLiteral("0=Aus");
    o.off_general = OFF_GENERAL_EN;
    o.relay_identity = QStringLiteral(
        "1=Allgemein,2=Hoch,3=HochHoch,4=Tief,5=TiefTief,6=Innerhalb,7=Ausserhalb");
    o.flow_element = {
        QStringLiteral("1=Rechteck,2=Trapez,3=Venturi,4=Parshall,5=Leopol,6=Dreieck,7=Andere"),
        QStringLiteral("1=Rechteck,2=Rechteck Schwelle,3=U-Profil,4=U-ProfilSchwelle"),
        QStringLiteral("1=Rechteck,2=Dreieck90Grad,3=Dreieck60Grad,4=Dreieck28Grad4"),
        QStringLiteral("1=Palmer Bowlus,2=H-Gerinne,3=Dreieck Winkel"),
        QStringLiteral("1=Linearer Flow,2=Gekruemmter Flow"),
    };

    const QString m3 = QStringLiteral("m") + SUPERSCRIPT_THREE;
    const QString ft3 = QStringLiteral("ft") + SUPERSCRIPT_THREE;
    s.distance_unit_names = {"meter", "cm", "mm", "feet", "inches"};
    s.volume_unit_names = {"Keine", "L", m3, ft3, "UK Gal.", "US Gal.", "Mil.USG"};
    s.time_unit_names = {"Keine", "sek", "min", "h", "tag"};
    s.quantity_unit_names = {"Keine",   "Tons",    "Tonne", m3,        "liter",
                             "UK Gal.", "US Gal.", ft3,     "Barrels", "lbs"};
    s.totaliser_multiplier_names = multiplier_names();
}

void load_french_lists() {
    ShellState& s = shell();
    OptionLists& o = s.option_lists;
    o.luk = {
        {0, QStringLiteral("0=Non,1=Oui")},
        {1, LUK1_EN},
        {3, QStringLiteral("2=Lundi,3=Mardi,4=Mercredi,5=Jeudi,6=Vendredi,7=Samedi,8=Dimanche")},
        {4, QStringLiteral("1=Jan,2=Fev,3=Mar,4=Avr,5=Mai,6=Juin,7=Juil,8=Aout,9=Sep,10=Oct,"
                           "11=Nov,12=Dec")},
        {7, QStringLiteral("1=Connu,2=Haut,3=Bas")},
        {9, QStringLiteral("1=Liquide,2=Solide,3=Closed Tank")},
        {16, QStringLiteral("1=Mètres,2=Centimètres,3=Millimètres,4=Feet,5=Inches")},
        {17, QStringLiteral("1=Mesure,2=Pourcentage")},
        {20, QStringLiteral("0=Arret,1=Niveau,2=Temperature,3=PerteEcho,4=PerteHorloge")},
        {27, QStringLiteral("0=Cyl,1=Rect,2=Cone,3=PyrM,4=PyrB,5=DemiSphere,6=CylIncline,"
                            "7=RectIncline,8=CylPlat,9=CylPara,10=Sphere,11=UniLineaire,"
                            "12=UniCourbe")},
        {28, QStringLiteral("0=Arret,1=Exposant,2=BS3680 Canal,3=BS3680 Deversoir,4=Special,"
                            "5=Universel")},
        {29, QStringLiteral("1=ParSeconde,2=ParMinute,3=ParHeure,4=ParJour")},
        {32, QStringLiteral("1=JJMMAA,2=MMJJAA,3=AAMMJJ")},
        {37, QStringLiteral("0=Regl.Usine,1=Maintien,2=Bas,3=Haut,4=TresBas,5=TresHaut")},
        {38, QStringLiteral("1=Automatique,2=Fixe")},
        {40, QStringLiteral("0=Regl.Usine,1=Maintien,2=Desexcite,3=Excite")},
        {48, QStringLiteral("0=Direct,1=Modem")},
        {53, QStringLiteral("0=Sans,1=Ton,2=Tonne,3=m3,4=Litre,5=UKGal,6=USGal,7=Ft3,8=Baril")},
        {58, QStringLiteral("1=Absolu,2=Ratiometrique")},
        {59, QStringLiteral("1=Litre,2=m3,3=ft3,4=UKGal,5=USGal,6=Mil.USG")},
        {66, QStringLiteral("1=Meilleur,2=PlusGrand,3=Premier")},
        {71, QStringLiteral("1=Semaine1,2=Semaine2,3=Semaine3,4=Semaine4,5=DerniereSemaine,"
                            "6=ChaqueSemaine")},
        {73, LUK73_EN},
        {74, LUK74},
        {75, LUK75_EN},
        {76, LUK76_EN},
        {77, LUK77},
        {78, LUK78},
        {79, LUK79_EN},
        {80, sensor_height_list(QStringLiteral("inch"), QStringLiteral("inches"),
                                QStringLiteral("feet"))},
        {81, QStringLiteral("1=Rapide,2=Moyen,3=Lent")},
        {82, LUK82_EN},
    };
    o.luk8_current = QStringLiteral("0=Non utilise,1=0:20mA,2=4:20mA,3=20:0mA,4=20:4mA");
    o.luk8_voltage = QStringLiteral("0=Non utilise,1=5:0 Volt,2=0:5 Volt");
    o.luk12_flow = QStringLiteral("1=Distance,2=Niveau,3=Creux,4=Flow");
    o.luk12_volume = QStringLiteral("1=Distance,2=Niveau,3=Creux,4=NotAvailable,5=Volume");
    o.luk12_short = QStringLiteral("1=Distance,2=Niveau,3=Creux");
    o.luk35_flow = QStringLiteral("0=Par Defaut,1=Distance,2=Niveau,3=Creux,4=Flow");
    o.luk35_volume = QStringLiteral(
        "0=Par Defaut,1=Distance,2=Niveau,3=Creux,4=NotAvailable,5=Volume");
    o.luk35_short = QStringLiteral("0=Par Defaut,1=Distance,2=Niveau,3=Creux");
    o.luk19_control = QStringLiteral("0=Non utilise,1=Alarme,2=Controle");
    o.luk19_alarm = QStringLiteral("0=Non utilise,1=Alarme");
    o.luk14_standard = QStringLiteral("1=W03,2=W06,3=W10,4=W15,5=W25,6=W40,7=W6S");
    o.luk14_not_available = QStringLiteral(
        "1=W03,2=W06,3=W10,4=NotAvailable,5=NotAvailable,6=NotAvailable,7=W6S");
    o.luk14_other_first = QStringLiteral("1=WMach03,2=W06,3=W10,4=W15,5=W25,6=W40,7=W6S");
    o.luk14_other_first_not_available = QStringLiteral(
        "1=WMach03,2=W06,3=W10,4=NotAvailable,5=NotAvailable,6=NotAvailable,7=W6S");
    o.off = QStringLiteral("0=Arret");
    o.off_general = OFF_GENERAL_EN;
    o.relay_identity = QStringLiteral(
        "1=General,2=Haut,3=TresHaut,4=Bas,5=TresBas,6=DansPlage,7=HorsPlage");
    o.flow_element = {
        QStringLiteral("1=Rectangulaire,2=Trapezoidal,3=Venturi,4=Parshall,5=Leopol,6=EnV,"
                       "7=Autre"),
        QStringLiteral("1=Rectangulaire,2=Rectangulaire Seuil,3=Gorge en U,4=Gorge en U Seuil"),
        QStringLiteral("1=Rectangulaire,2=EnV90deg,3=EnV60deg,4=EnV28deg4"),
        QStringLiteral("1=Palmer Bowlus,2=Canal H,3=Angle EnV"),
        QStringLiteral("1=Flow Lineaire,2=Flow Courbe"),
    };

    const QString m3 = QStringLiteral("m") + SUPERSCRIPT_THREE;
    const QString ft3 = QStringLiteral("ft") + SUPERSCRIPT_THREE;
    s.distance_unit_names = {"metre", "cm", "mm", "feet", "inches"};
    s.volume_unit_names = {"Sans", "L", m3, ft3, "UK Gal.", "US Gal.", "Mil.USG"};
    s.time_unit_names = {"Sans", "sec", "min", "h", "jour"};
    s.quantity_unit_names = {"Sans",    "Tons",    "Tonne", m3,       "litre",
                             "UK Gal.", "US Gal.", ft3,     "Barils", "livres"};
    s.totaliser_multiplier_names = multiplier_names();
}

void load_italian_lists() {
    ShellState& s = shell();
    OptionLists& o = s.option_lists;
    o.luk = {
        {0, QStringLiteral("0=No,1=Si")},
        {1, QStringLiteral("1=Fisso,2=Alternato")},
        {3, QStringLiteral("2=Lunedi,3=Martedi,4=Mercoledi,5=Giovedi,6=Venerdi,7=Sabato,"
                           "8=Domenica")},
        {4, QStringLiteral("1=Gen,2=Feb,3=Mar,4=Apr,5=Mag,6=Giu,7=Lug,8=Ago,9=Set,10=Ott,11=Nov,"
                           "12=Dic")},
        {7, QStringLiteral("1=Noto,2=Alto,3=Basso")},
        {9, QStringLiteral("1=Liquido,2=Solido,3=Serbatoio Chiuso")},
        {16, QStringLiteral("1=Metri,2=Centimetri,3=Millimetri,4=Piedi,5=Pollici")},
        {17, QStringLiteral("1=Misurato,2=Percentuale")},
        {20, QStringLiteral("0=NonUtilizzato,1=Livello,2=Temperatura,3=PerditaEco,"
                            "4=PerditaOrologio")},
        {27, QStringLiteral("0=Cil,1=Rett,2=Cono,3=PirM,4=PirB,5=Semisfera,6=CilInclinato,"
                            "7=RettInclinato,8=CilPiatto,9=CilPara,10=Sfera,11=UniLineare,"
                            "12=UniCurvo")},
        {28, QStringLiteral("0=NonUtilizzato,1=Esponente,2=BS3680 Canale,3=BS3680 Stramazzo,"
                            "4=Speciale,5=Universale")},
        {29, QStringLiteral("1=AlSecondo,2=AlMinuto,3=AllOra,4=AlGiorno")},
        {32, QStringLiteral("1=GGMMAA,2=MMGGAA,3=AAMMGG")},
        {37, QStringLiteral("0=Predefinito,1=Mantieni,2=Basso,3=Alto,4=MoltoBasso,5=MoltoAlto")},
        {38, QStringLiteral("1=Automatico,2=Fisso")},
        {40, QStringLiteral("0=Predefinito,1=Mantieni,2=Diseccitato,3=Eccitato")},
        {48, QStringLiteral("0=Diretto,1=Modem")},
        {53, QStringLiteral("0=Nessuna,1=Ton.,2=Ton.Met.,3=m3,4=Litro,5=Gal.UK,6=Gal.US,"
                            "7=Piedi3,8=Barile,9=Libbra")},
        {58, QStringLiteral("1=Assoluto,2=Raziometrico")},
        {59, QStringLiteral("1=Litro,2=m3,3=piedi3,4=Gal.UK,5=Gal.US,6=MGal.US")},
        {66, QStringLiteral("1=Migliore,2=PiuGrande,3=Primo")},
        {71, QStringLiteral("1=Settimana1,2=Settimana2,3=Settimana3,4=Settimana4,"
                            "5=UltimaSettimana,6=OgniSettimana")},
        {73, QStringLiteral("0=NonUtilizzato,1=Secondario,2=Principale")},
        {74, LUK74},
        {75, QStringLiteral("0=Nessuna,1=Dispari,2=Pari")},
        {76, QStringLiteral("1=1 BitStop,2=2 BitStop")},
        {77, LUK77},
        {78, LUK78},
        {79, QStringLiteral("0=NonUtilizzato,1=Squillo,2=SMS")},
        {80, sensor_height_list(QStringLiteral("pollice"), QStringLiteral("pollici"),
                                QStringLiteral("piedi"))},
        {81, QStringLiteral("1=Veloce,2=Medio,3=Lento")},
        {82, QStringLiteral("0=Nessuno,1=Aggiungi 0,2=Aggiungi 00")},
    };
    o.luk8_current = QStringLiteral("0=NonUtilizzato,1=0:20mA,2=4:20mA,3=20:0mA,4=20:4mA");
    o.luk8_voltage = QStringLiteral("0=NonUtilizzato,1=5:0 Volt,2=0:5 Volt");
    o.luk12_flow = QStringLiteral("1=Distanza,2=Livello,3=Spazio,4=Portata");
    o.luk12_volume = QStringLiteral("1=Distanza,2=Livello,3=Spazio,4=NonDisponibile,5=Volume");
    o.luk12_short = QStringLiteral("1=Distanza,2=Livello,3=Spazio");
    o.luk35_flow = QStringLiteral("0=Predefinito,1=Distanza,2=Livello,3=Spazio,4=Portata");
    o.luk35_volume = QStringLiteral(
        "0=Predefinito,1=Distanza,2=Livello,3=Spazio,4=NonDisponibile,5=Volume");
    o.luk35_short = QStringLiteral("0=Predefinito,1=Distanza,2=Livello,3=Spazio");
    o.luk19_control = QStringLiteral("0=NonUtilizzato,1=Allarme,2=Controllo");
    o.luk19_alarm = QStringLiteral("0=NonUtilizzato,1=Allarme");
    o.luk14_standard = QStringLiteral("1=VXT3,2=VXT6,3=VXT10,4=VXT15,5=VXT25,6=VXT40,7=VXT6S");
    o.luk14_not_available = QStringLiteral(
        "1=VXT3,2=VXT6,3=VXT10,4=NonDisponibile,5=NonDisponibile,6=NonDisponibile,7=VXT6S");
    o.luk14_other_first = QStringLiteral(
        "1=VXT3HR,2=VXT6,3=VXT10,4=VXT15,5=VXT25,6=VXT40,7=VXT6S");
    o.luk14_other_first_not_available = QStringLiteral(
        "1=VXT3HR,2=VXT6,3=VXT10,4=NonDisponibile,5=NonDisponibile,6=NonDisponibile,7=VXT6S");
    o.off = QStringLiteral("0=NonUtilizzato");
    o.off_general = QStringLiteral("0=NonUtilizzato,1=Generale");
    o.relay_identity = QStringLiteral(
        "1=Generale,2=Alto,3=AltoAlto,4=Basso,5=BassoBasso,6=InBanda,7=FuoriBanda");
    o.flow_element = {
        QStringLiteral("1=Rettangolare,2=Trapezoidale,3=Venturi,4=Parshall,5=Leopol,"
                       "6=StramazzoV,7=Altro"),
        QStringLiteral("1=Rettangolare,2=Rettangolare Soglia,3=Gola a U,4=Gola a U Soglia"),
        QStringLiteral("1=Rettangolare,2=StramazzoV90gradi,3=StramazzoV60gradi,"
                       "4=StramazzoV28gradi4"),
        QStringLiteral("1=Palmer Bowlus,2=Canale H,3=Angolo StramazzoV"),
        QStringLiteral("1=Portata Lineare,2=Portata Curva"),
    };

    const QString m3 = QStringLiteral("m") + SUPERSCRIPT_THREE;
    const QString ft3 = QStringLiteral("piedi") + SUPERSCRIPT_THREE;
    s.distance_unit_names = {"metri", "cm", "mm", "piedi", "pollici"};
    s.volume_unit_names = {"Nessuna", "L", m3, ft3, "Gal.UK", "Gal.US", "MGal.US"};
    s.time_unit_names = {"Nessuna", "sec", "min", "ora", "giorno"};
    s.quantity_unit_names = {"Nessuna",    "Ton.",       "Ton.Met.", m3,       "litri",
                             "Galloni UK", "Galloni US", ft3,        "Barrel", "libbre"};
    s.totaliser_multiplier_names = multiplier_names();
}

// Millimetres in one length unit of code 1..5; 0 for any other code.
double millimetres_per_unit(int unit) {
    switch (unit) {
    case 1: return 1000.0;
    case 2: return 10.0;
    case 3: return 1.0;
    case 4: return 12.0 * 25.4; // 304.79999999999995, as the unit's own arithmetic has it
    case 5: return 25.4;
    default: return 0.0;
    }
}

} // namespace

void load_language_lists() {
    switch (shell().language_index) {
    case 0:
    case 4: load_english_lists(); break;
    case 1: load_german_lists(); break;
    case 2: load_french_lists(); break;
    case 3: load_italian_lists(); break;
    default: break;
    }
}

QString option_list(const QString& code) {
    if (!code.startsWith(QLatin1String("C_LUK")))
        return {};
    bool ok = false;
    const int n = code.mid(5).toInt(&ok);
    if (!ok)
        return {};
    const auto& luk = shell().option_lists.luk;
    const auto it = luk.find(n);
    return it == luk.end() ? QString() : it->second;
}

QString length_unit_abbrev(const QString& code) {
    const double unit = platform::val(code);
    if (unit == 1) return QStringLiteral("m");
    if (unit == 2) return QStringLiteral("cm");
    if (unit == 3) return QStringLiteral("mm");
    if (unit == 4) return QStringLiteral("ft");
    if (unit == 5) return QStringLiteral("in");
    return QStringLiteral("m");
}

double length_unit_factor(int from_unit, int to_unit) {
    const double from = millimetres_per_unit(from_unit);
    const double to = millimetres_per_unit(to_unit);
    return to == 0.0 ? from : from / to;
}
