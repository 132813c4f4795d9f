#include "app/application.h"

#include <commctrl.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "win/paths.h"

namespace tarnivo {

int RunApplication(int showCommand) {
  // A second copy of the same executable ends at once and touches nothing.
  const SingleInstance instance(ExecutablePath());
  if (!instance.IsFirst()) return 0;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  MainWindowOptions options;
  options.ProgramFolder = ProgramFolder();
  options.Arguments = ArgumentsAfterProgramName(GetCommandLineW());
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
