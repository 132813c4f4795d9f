#include "app/application.h"

#include <commctrl.h>

#include "app/command_line.h"
#include "app/command_run.h"
#include "app/console.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "settings/data_folders.h"
#include "win/paths.h"

namespace tarnivo {

int RunApplication(int showCommand) {
  const std::wstring arguments = ArgumentsAfterProgramName(GetCommandLineW());
  const Command command = ParseCommand(arguments);
  const bool windowed = command.Action == CommandAction::Window && command.Error.empty();
  const DataFolders folders{ProgramFolder(), UserDataFolder()};
  // The usage and a bad command line touch nothing: they need no single instance.
  if (!command.Error.empty() || command.Action == CommandAction::Help) {
    Console console;
    return RunCommand(command, folders, console);
  }
  // A second copy of the same executable ends at once and touches nothing; from the
  // command line it says so.
  const SingleInstance instance(ExecutablePath());
  if (!instance.IsFirst()) {
    if (windowed) return 0;
    Console console;
    console.ErrorLine(L"Tarnivo 已在运行, 什么也没有做");
    return kExitAnotherInstance;
  }
  if (!windowed) {
    Console console;
    return RunCommand(command, folders, console);
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  MainWindowOptions options;
  options.ProgramFolder = folders.Program;
  options.FallbackFolder = folders.Fallback;
  options.Arguments = arguments;
  MainWindow window(std::move(options));
  if (!window.Create(showCommand)) return 1;

  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (window.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace tarnivo
