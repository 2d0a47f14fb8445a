// The life of the process: start-up, the main window's creation step, the message loop
// and the end.
#pragma once

#include <cstdint>

#include "main_window.h"
#include "text.h"

// The promoter's web server (fictional).
inline constexpr char kPromoHost[] = "promo.example.com";
inline constexpr char kInternetExplorerTitle[] = "Microsoft Internet Explorer";
inline constexpr int32_t kStartupSkin = 9;
inline constexpr char kMainWindowFailedText[] = "无法创建主窗口，程序无法继续运行。";
inline constexpr char kInternalErrorText[] = "程序内部错误，无法继续运行。";

// The promotional page opened at every start.
Text PromoPageUrl();

// The process start: the error mode, StartProgram, then EndProgram. Returns the exit
// code; lets no exception out.
int32_t RunProgram();

// OLE, the executable's directory as current directory, the exit cleanup, the main
// window and the message loop. Returns 0 when the loop has taken WM_QUIT.
int32_t StartProgram();

// The main window's creation step, in this order: skin 9, the promotional page, the
// clock label, the settings.
void OnMainWindowCreated(MainWindow& mainWindow, const Text& executableDirectory);

// Opens the URL with the shell, owned by a running Internet Explorer if there is one.
// Whether anything opened is not looked at.
void OpenUrl(const Text& url);

// Releases the windows' copies of RunDirectory.
void ExitCleanup(MainWindow& mainWindow);
