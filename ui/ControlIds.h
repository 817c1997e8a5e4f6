#pragma once

// Stable ids of the main window's controls, in creation order. The Windows
// layer uses them as child-window ids, and the end-to-end driver finds each
// control by them; nothing else may number controls.
// The two gauges are painted by the window itself and have no child window;
// their ids only name them.
namespace tovik::ui::ids {

constexpr int Gauge2 = 1001;
constexpr int Gauge1 = 1002;
constexpr int btFormPlus = 1003;
constexpr int btFormMinus = 1004;
constexpr int btFormHeight1Store = 1005;
constexpr int btFormHeight2Store = 1006;
constexpr int btPwrOff = 1007;
constexpr int stSeconds = 1008;
constexpr int btNewStart = 1009;
constexpr int btLogOff = 1010;
constexpr int btRestart = 1011;
constexpr int seShutMinutes = 1012;
constexpr int stRestartTime = 1013;
constexpr int stWatch = 1014;
constexpr int btTimerOff1 = 1015;
constexpr int btPlusHour = 1016;
constexpr int btMinusHour = 1017;
constexpr int btPlusDay = 1018;
constexpr int btMinusDay = 1019;
constexpr int cbForcePwrOff = 1020;
constexpr int cbAutoMinimize = 1021;
constexpr int cbOffByTime = 1022;
constexpr int btPrefTime1 = 1023;
constexpr int btPrefTime2 = 1024;
constexpr int btHibernate = 1025;
constexpr int cbHibernateForPwrOff = 1026;
constexpr int btOops = 1027;
constexpr int btLock = 1028;
constexpr int btTimerOff2 = 1029;
constexpr int Button1 = 1030;
// The up-down arrows that belong to seShutMinutes.
constexpr int seShutMinutesArrows = 1031;

constexpr int firstControl = Gauge2;
constexpr int lastControl = Button1;

// Window class of the main window and of the toolkit's application window.
constexpr const wchar_t* mainWindowClass = L"TForm1";
constexpr const wchar_t* applicationWindowClass = L"TApplication";

}  // namespace tovik::ui::ids
