#pragma once
// Every section and key of general.ini, for the whole program, with the default that readers pass
// where the default is one fixed text. Defaults that depend on the run (the folder keys, the report
// author) are made by their readers. Booleans are stored as the words True and False.

#include <QLatin1String>
#include <QString>

namespace ini {

inline constexpr QLatin1String SETTINGS_FILE{"general.ini"};

inline constexpr QLatin1String SECTION_GENERAL{"General"};
inline constexpr QLatin1String SECTION_ECHO_CONTROL{"Echo Control"};
inline constexpr QLatin1String SECTION_GRAPH{"Graph"};
inline constexpr QLatin1String SECTION_PRINT_HEADER{"Print Header"};
inline constexpr QLatin1String SECTION_DEBUG{"Debug"};

// [General]
inline constexpr QLatin1String KEY_LANGUAGE{"Language"};
inline constexpr QLatin1String DEF_LANGUAGE{"0"};
inline constexpr QLatin1String KEY_START_LOGO{"StartLogo"};
inline constexpr QLatin1String DEF_START_LOGO{"0"};
inline constexpr QLatin1String KEY_SOFTWARE_MODE{"Software Mode"};
inline constexpr QLatin1String DEF_SOFTWARE_MODE{"1"};
inline constexpr QLatin1String KEY_PORT{"Port"};
inline constexpr QLatin1String DEF_PORT{"1"};
inline constexpr QLatin1String KEY_SELECTED_PORT{"SelectedPort"};
inline constexpr QLatin1String DEF_SELECTED_PORT{"1"};
inline constexpr QLatin1String KEY_BAUDRATE{"Baudrate"};
inline constexpr QLatin1String DEF_BAUDRATE{"19200"};
inline constexpr QLatin1String KEY_QUILLARN_BAUDRATE{"Quillarn Baudrate"};
inline constexpr QLatin1String DEF_QUILLARN_BAUDRATE{"19200"};
inline constexpr QLatin1String KEY_MODE_OPERATION{"Mode Operation"};
inline constexpr QLatin1String DEF_MODE_OPERATION{"1"};
inline constexpr QLatin1String KEY_TELEPHONE{"Telephone"};
inline constexpr QLatin1String DEF_TELEPHONE{""};
inline constexpr QLatin1String KEY_BACK_COLOR{"BackColor"};
inline constexpr QLatin1String DEF_BACK_COLOR{"8454143"}; // &H80FFFF
inline constexpr QLatin1String KEY_CHART_GRADIENT{"ChartGradient"};
inline constexpr QLatin1String DEF_CHART_GRADIENT{"True"};
inline constexpr QLatin1String KEY_SHOW_GATE{"ShowGate"};
inline constexpr QLatin1String DEF_SHOW_GATE{"True"};
inline constexpr QLatin1String KEY_SHOW_SPAN{"ShowSpan"};
inline constexpr QLatin1String DEF_SHOW_SPAN{"True"};
inline constexpr QLatin1String KEY_PLAYBACK{"Playback"};
inline constexpr QLatin1String DEF_PLAYBACK{"1"};
// Folder keys; their defaults are folders inside the data folder.
inline constexpr QLatin1String KEY_PARAMETER_PATH{"ParameterPath"};
inline constexpr QLatin1String DEF_PARAMETER_SUBFOLDER{"Parameters"};
inline constexpr QLatin1String KEY_ECHO_PATH{"EchoPath"};
inline constexpr QLatin1String DEF_ECHO_SUBFOLDER{"Traces"};
inline constexpr QLatin1String KEY_DATALOG_PATH{"DataLogPath"};
inline constexpr QLatin1String DEF_DATALOG_SUBFOLDER{"DataLog"};
inline constexpr QLatin1String KEY_EXPORT_PATH{"ExportPath"};
inline constexpr QLatin1String DEF_EXPORT_SUBFOLDER{"ExportLog"};
// Dialog start folders; their default is the data folder itself.
inline constexpr QLatin1String KEY_PARAM_DIR{"ParamDir"};
inline constexpr QLatin1String KEY_ECHO_DIR{"EchoDir"};
inline constexpr QLatin1String KEY_FILE_DIRECTORY{"File Directory"};
inline constexpr QLatin1String KEY_SAVE_REPORT_PATH{"SaveReportPath"};
inline constexpr QLatin1String DEF_SAVE_REPORT_PATH{""};
inline constexpr QLatin1String KEY_SAVE_FILE_PATH{"SaveFilePath"}; // written, never read
inline constexpr QLatin1String KEY_DEBUG{"Debug"};
inline constexpr QLatin1String DEF_DEBUG{"False"};
// Report header. The start-up loader passes the defaults below; the report code passes "".
inline constexpr QLatin1String KEY_COMPANY_NAME{"CompanyName"};
inline constexpr QLatin1String DEF_COMPANY_NAME{"Company Name"};
inline constexpr QLatin1String KEY_COMPANY_ADDRESS{"CompanyAddress"};
inline constexpr QLatin1String DEF_COMPANY_ADDRESS{"Company Address"};
inline constexpr QLatin1String KEY_REPORT_AUTHOR{"ReportAuthor"}; // start-up default: user name
inline constexpr QLatin1String KEY_CAL_DAILY_METHOD{"CalDailyMethod"};
inline constexpr QLatin1String DEF_CAL_DAILY_METHOD{"0"};
inline constexpr QLatin1String KEY_REPORT_DATE_FORMAT{"ReportDateFormat"};
inline constexpr QLatin1String KEY_REPORT_TOTALISER_UNIT{"ReportTotaliserUnit"};
inline constexpr QLatin1String KEY_REPORT_FLOW_VOLUME_UNIT{"ReportFlowVolumeUnit"};
inline constexpr QLatin1String KEY_REPORT_FLOW_TIME_UNIT{"ReportFlowTimeUnit"};
inline constexpr QLatin1String DEF_REPORT_INDEX{"0"}; // the four report keys above
inline constexpr QLatin1String KEY_COMMS_DELAY{"CommsDelay"};
inline constexpr QLatin1String DEF_COMMS_DELAY{"2000"};

// [Echo Control]
inline QString key_get_trace(int n) { return QStringLiteral("Get Trace %1").arg(n); } // n 1..4
inline constexpr QLatin1String DEF_GET_TRACE_1{"1"};
inline constexpr QLatin1String DEF_GET_TRACE_OTHER{"0"}; // traces 2..4
inline QString key_trace_interval(int n) { return QStringLiteral("Trace %1 Interval").arg(n); }
inline constexpr QLatin1String DEF_TRACE_1_INTERVAL{"5"};
inline constexpr QLatin1String DEF_TRACE_OTHER_INTERVAL{"20"}; // traces 2..4
inline constexpr QLatin1String KEY_LIGHT_ON{"Light On"};
inline constexpr QLatin1String DEF_LIGHT_ON{"1"};
inline constexpr QLatin1String KEY_STATUS{"Status"};
inline constexpr QLatin1String KEY_LEVEL{"Level"};
inline constexpr QLatin1String KEY_TEMPERATURE{"Temperature"};
inline constexpr QLatin1String DEF_OVERLAY{"0"}; // Status, Level, Temperature

// [Graph]
inline constexpr QLatin1String KEY_BACKGROUND{"Background"};
inline constexpr QLatin1String DEF_BACKGROUND{"1"};

// [Print Header]
inline constexpr QLatin1String KEY_SITE{"Site"};
inline constexpr QLatin1String KEY_PROJECT{"Project"};
inline constexpr QLatin1String KEY_INSTRUMENT{"Instrument"};
inline constexpr QLatin1String KEY_TAG{"Tag"};
inline constexpr QLatin1String DEF_HEADER_FIELD{""}; // the four above
inline constexpr QLatin1String KEY_USE_HEADER{"Use Header"};
inline constexpr QLatin1String DEF_USE_HEADER{"False"};

// [Debug]
inline constexpr QLatin1String KEY_USELOGINFO{"Useloginfo"};
inline constexpr QLatin1String DEF_USELOGINFO{"True"};

} // namespace ini
