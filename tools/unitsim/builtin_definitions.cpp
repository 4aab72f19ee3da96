// The unit's built-in catalogue, written in the format of the definition files so that it goes
// through the same reader as a folder on disk. Lengths are in millimetres, as the files write them.
#include "definitions.h"

namespace unitsim {

QString builtin_access_vars_text() {
    return QStringLiteral(
        R"(// number, name, access, lookup, decimals, entries, units, min, max, default,
20,{Operation},RD_WR,C_LUK1,DEC_0,ENT_4,U_NONE,0,3,1,
21,{Language},RD_WR,C_LUK2,DEC_0,ENT_5,U_NONE,0,4,0,
30,{Simulation},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,9,0,
31,{Test Mode},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,9,0,
41,{KOVEX Gain},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,100,20,
61,{Unit Variant},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,2,0,
72,{Damping},RD_WR,C_NUM,DEC_1,ENT_0,U_SE,0,9999.9,10,
81,{Echo Profile 1},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,999,50,
82,{Echo Profile 2},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,999,60,
87,{Fieldbus},RD_ON,C_LUK3,DEC_0,ENT_2,U_NONE,0,1,0,
88,{Hard Default},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,1,0,
92,{Serial Number},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,999999,10234,
93,{Hardware},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,99,3,
96,{Fieldbus Type},RD_WR,C_LUK4,DEC_0,ENT_3,U_NONE,0,2,0,
99,{System Type},RD_ON,C_LUK5,DEC_0,ENT_1,U_NONE,1,99,1,
100,{Application},RD_WR,C_LUK6,DEC_0,ENT_3,U_NONE,1,5,1,
101,{Transducer},RD_WR,C_LUK7,DEC_0,ENT_7,U_NONE,1,7,2,
104,{Units},RD_WR,C_LUK8,DEC_0,ENT_5,U_NONE,1,5,1,
105,{Empty Distance},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,6000,
106,{Span},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,5000,
107,{Near Blanking},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,300,
108,{Far Blanking},RD_WR,C_NUM,DEC_3,ENT_0,U_MU_M,0,60,0,
132,{Bus Address},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,126,126,
141,{Board Route},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,1,0,
150,{Log Start},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,999999,0,
151,{Log Mask 1},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,65535,1,
152,{Log Mask 2},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,65535,32768,
153,{Log Mask 3},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,65535,0,
154,{Log Interval},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,1,1440,15,
155,{Log Wrap},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,1,0,
156,{Log Records},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,999999,0,
210,{Relay 1 Type},RD_WR,C_LUK9,DEC_0,ENT_3,U_RT,0,3,1,
211,{Relay 1 Function},RD_WR,C_LUK10,DEC_0,ENT_4,U_RF,0,9,1,
213,{Relay 1 On},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,-1,60,4000,
214,{Relay 1 Off},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,-1,60,3500,
600,{Vessel Shape},RD_WR,C_LUK11,DEC_0,ENT_10,U_NONE,0,11,0,
601,{Dimension 1},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,2000,
602,{Dimension 2},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,0,
605,{Volume Units},RD_WR,C_LUK12,DEC_0,ENT_10,U_NONE,0,9,3,
700,{Primary Element},RD_WR,C_LUK13,DEC_0,ENT_6,U_NONE,0,5,1,
701,{Element Type},RD_WR,C_LUK14,DEC_0,ENT_7,U_NONE,0,7,1,
704,{Minimum Head},RD_WR,C_NUM,DEC_3,ENT_0,U_MU,0,60,0,
706,{Flow Volume Units},RD_WR,C_LUK15,DEC_0,ENT_6,U_NONE,1,6,2,
707,{Flow Time Units},RD_WR,C_LUK16,DEC_0,ENT_4,U_NONE,1,4,1,
823,{Totaliser Multiplier},RD_WR,C_LUK17,DEC_0,ENT_10,U_NONE,1,10,4,
900,{Status},RD_ON,C_NUM,DEC_0,ENT_0,U_NONE,0,255,0,
922,{Passcode},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,999999,1998,
926,{Software},RD_ON,C_NUM,DEC_2,ENT_0,U_NONE,0,99,0,
930,{Factory Default},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,1,0,
931,{Date},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,999999,0,
932,{Time},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,2359,0,
933,{Date Order},RD_ON,C_LUK18,DEC_0,ENT_3,U_NONE,1,3,1,
996,{Code 1},RD_WR,C_NUM,DEC_0,ENT_0,U_NONE,0,9999,0,
)");
}

int builtin_version_def_number() {
    return 205;
}

QString builtin_version_def_text() {
    // Every section lists the same parameters; the second one is there so that a unit of system
    // type 2 finds its own section.
    QString body = QStringLiteral(R"(P,Name,Access,Lookup,Decimals,Entries,Units,Min,Max,Default
20,Operation,0,0,0,0,0,0,3,1
21,Language,0,0,0,0,0,0,4,0
30,Simulation,0,0,0,0,0,0,9,0
31,Test Mode,0,0,0,0,0,0,9,0
41,KOVEX Gain,0,0,0,0,0,0,100,20
61,Unit Variant,0,0,0,0,0,0,2,0
72,Damping,0,0,0,0,0,0,9999.9,10
81,Echo Profile 1,0,0,0,0,0,0,999,50
82,Echo Profile 2,0,0,0,0,0,0,999,60
87,Fieldbus,0,0,0,0,0,0,1,0
88,Hard Default,0,0,0,0,0,0,1,0
92,Serial Number,0,0,0,0,0,0,999999,10234
93,Hardware,0,0,0,0,0,0,99,3
96,Fieldbus Type,0,0,0,0,0,0,2,0
99,System Type,0,0,0,0,0,1,99,1
100,Application,0,0,0,0,0,1,5,1
101,Transducer,0,0,0,0,0,1,7,2
104,Units,0,0,0,0,0,1,5,1
105,Empty Distance,0,0,0,0,1,0,60,6000
106,Span,0,0,0,0,1,0,60,5000
107,Near Blanking,0,0,0,0,1,0,60,300
108,Far Blanking,0,0,0,0,27,0,60,0
132,Bus Address,0,0,0,0,0,0,126,126
141,Board Route,0,0,0,0,0,0,1,0
150,Log Start,0,0,0,0,0,0,999999,0
151,Log Mask 1,0,0,0,0,0,0,65535,1
152,Log Mask 2,0,0,0,0,0,0,65535,32768
153,Log Mask 3,0,0,0,0,0,0,65535,0
154,Log Interval,0,0,0,0,0,1,1440,15
155,Log Wrap,0,0,0,0,0,0,1,0
156,Log Records,0,0,0,0,0,0,999999,0
210,Relay 1 Type,0,0,0,0,0,0,3,1
211,Relay 1 Function,0,0,0,0,0,0,9,1
213,Relay 1 On,0,0,0,0,1,-1,60,4000
214,Relay 1 Off,0,0,0,0,1,-1,60,3500
600,Vessel Shape,0,0,0,0,0,0,11,0
601,Dimension 1,0,0,0,0,1,0,60,2000
602,Dimension 2,0,0,0,0,1,0,60,0
605,Volume Units,0,0,0,0,0,0,9,3
700,Primary Element,0,0,0,0,0,0,5,1
701,Element Type,0,0,0,0,0,0,7,1
704,Minimum Head,0,0,0,0,1,0,60,0
706,Flow Volume Units,0,0,0,0,0,1,6,2
707,Flow Time Units,0,0,0,0,0,1,4,1
823,Totaliser Multiplier,0,0,0,0,0,1,10,4
900,Status,0,0,0,0,0,0,255,0
922,Passcode,0,0,0,0,0,0,999999,1998
926,Software,0,0,0,0,0,0,99,0
930,Factory Default,0,0,0,0,0,0,1,0
931,Date,0,0,0,0,0,0,999999,0
932,Time,0,0,0,0,0,0,2359,0
933,Date Order,0,0,0,0,0,1,3,1
996,Code 1,0,0,0,0,0,0,9999,0 OK
)");
    QString text;
    for (const char* type : {"1", "2", "3", "4"})
        text += QStringLiteral("SoftVer=2.0.5,SysType=%1\n").arg(QLatin1String(type)) + body;
    return text;
}

} // namespace unitsim
